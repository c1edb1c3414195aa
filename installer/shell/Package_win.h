// The installer packed into one file (see Package.h): writing one, and a package's
// start, where its payload is checked and its files are written into a folder of
// their own that the run then uses as its distribution folder.
#pragma once
#include <cstdint>
#include <functional>
#include <vector>

#include "AfxWin.h"

namespace package {

// Progress of a long step: bytes done of all of them.
using Progress = std::function<void(std::uint64_t done, std::uint64_t total)>;

struct CSourceFile {
  CString strPath;  // where it is read
  CString strName;  // its name in the package, relative
};

enum class WriteResult { Written, SourceMissing, Failed };

// Writes the plain installer `installer` and the files into one package at `output`,
// replacing what is there. The package is made under another name beside `output` and
// takes its place only when whole, so that nothing half-written is ever left. `failed`
// names the file at fault: a source that cannot be read, or the output.
WriteResult WritePackage(const CString& installer, const std::vector<CSourceFile>& files, const CString& output,
                         CString& failed, const Progress& progress = nullptr);

// Where the running program's payload begins (its plain installer's size), read from
// its own image; 0 for a plain installer.
std::uint32_t RunningPayloadOffset();

enum class OpenResult {
  Extracted,  // the files lie in the new folder
  Damaged,    // cut, changed, or no package of ours: nothing was written
  NoFolder,   // the files could not be written into a folder of their own
};

// Checks the package `path`, whose payload begins at `installerSize`, against its
// digest before anything is written; then writes the plain installer as Setup.exe and
// every file with its time and attributes into a new folder under the temporary
// folder, made for this run alone under a random name. `folder` (with its backslash)
// is set once the folder was made, whatever follows; it is the caller's to remove.
OpenResult ExtractPackage(const CString& path, std::uint32_t installerSize, CString& folder,
                          const Progress& progress = nullptr);

// Removes a folder and everything below it; a link found inside is removed, never
// followed.
bool RemoveFolderTree(const CString& folder);

}  // namespace package
