// The installer packed into one file: the plain installer, then a payload that holds
// the distribution's listed files and Setup.ini in a cabinet, an index of those files
// and a SHA-256 over it all. Portable: the layout and its checks; the program reads
// and writes the bytes.
//
//   plain installer (its DOS header's reserved words carry the mark below)
//   header   kHeaderSize bytes: magic, sizes, the installer's time, the digest
//   cabinet  the files, compressed
//   index    name, size, time and attributes of each file, in the cabinet's order
//
// The digest covers the plain installer as it was (the mark cleared), the cabinet and
// the index; the header's own fields are held to the file's size and magic instead.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace package {

// The mark lies in the reserved words of the DOS header (e_res2), which the linker
// leaves zero and the loader never reads: a package knows itself from its own image,
// and a cut one, whose payload is gone, still knows it was one.
constexpr std::size_t kDosHeaderSize = 0x40;
constexpr std::size_t kMarkOffset = 0x28;
constexpr std::size_t kMarkSize = 20;

// The installer size the mark gives (where the payload begins), 0 when the header
// carries no mark: a plain installer, or no program at all.
std::uint32_t ReadMark(const unsigned char* dosHeader);
// Marks a copy of a plain installer's first bytes, or clears the mark again.
void WriteMark(unsigned char* dosHeader, std::uint32_t installerSize);
void ClearMark(unsigned char* dosHeader);
// A program's first bytes that carry no mark ("MZ", reserved words all zero).
bool IsPlainInstaller(const unsigned char* dosHeader, std::size_t size);

constexpr std::size_t kHeaderSize = 64;
constexpr std::size_t kDigestSize = 32;

struct Header {
  std::uint64_t nCabinetSize = 0;
  std::uint64_t nIndexSize = 0;
  std::uint64_t nInstallerTime = 0;  // last-write time of the plain installer (100 ns since 1601)
  unsigned char digest[kDigestSize] = {};
};

std::string EncodeHeader(const Header& header);
// False when the bytes are no header of this layout.
bool DecodeHeader(const unsigned char* bytes, std::size_t size, Header& out);
// Whether installer, header, cabinet and index make up exactly `fileSize` bytes: a cut
// or lengthened file does not.
bool FitsFile(const Header& header, std::uint32_t installerSize, std::uint64_t fileSize);

// Above this the index cannot be one of ours: it is read whole into memory.
constexpr std::uint64_t kMaxIndexSize = 64ull << 20;

struct Entry {
  std::string strName;  // relative to the distribution folder, "\" between folders
  std::uint64_t nSize = 0;
  std::uint64_t nWriteTime = 0;  // 100 ns since 1601, as the file system keeps it
  std::uint32_t dwAttributes = 0;
};

std::string EncodeIndex(const std::vector<Entry>& entries);
// False for bytes that are no index, or that name a file no folder of ours could take:
// a name that leads outside the folder, two names that are one file on Windows, the
// installer's own name, or no Setup.ini.
bool DecodeIndex(const std::string& bytes, std::vector<Entry>& out);

// Whether a name may be a file of the package: inside the folder, no more than the
// cabinet holds, not the installer (which the package itself is).
bool IsPackableName(const std::string& name);

}  // namespace package
