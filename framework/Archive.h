// The framework's archive: a buffered stream of little-endian numbers and
// length-prefixed strings over a file or any other byte stream. Portable, so the
// file formats built on it are tested natively.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

class CDocument;

// Where an archive's bytes come from or go to.
class CArchiveStream {
 public:
  virtual ~CArchiveStream() = default;
  // Reads up to n bytes; returns how many were read (0 at the end or on an error).
  virtual size_t Read(void* p, size_t n) = 0;
  // Writes all n bytes; false on an error.
  virtual bool Write(const void* p, size_t n) = 0;
  // How many bytes are likely left to read (a file's size, say); 0 when unknown.
  virtual size_t SizeHint() { return 0; }
};

// Converts the UTF-16LE text of an archived wide string to the program's code page.
typedef bool (*AFX_WIDE_TO_MB)(const uint16_t* pText, size_t nChars, std::string& out);

// Archived-string form: the byte length as 1 byte (0..254), as FF + 2 bytes
// (255..65533) or as FF FF FF + 4 bytes, then the text without a terminating zero.
// The marker FF FE FF before the length announces UTF-16LE text counted in characters.
namespace afxarchive {
constexpr size_t kMaxPrefix = 7;
size_t PrefixSize(size_t nLength);
// Writes the prefix for a text of nLength bytes; returns its size.
size_t PutPrefix(unsigned char* p, size_t nLength);

enum class Parse { ok, needMore, bad };
// Reads the prefix at p (n bytes available). On ok, *pHeader is the size of the
// prefix, *pLength the text length (bytes, or characters when *pWide).
Parse ParsePrefix(const unsigned char* p, size_t n, size_t* pHeader, uint64_t* pLength, bool* pWide);
}  // namespace afxarchive

class CArchive {
 public:
  enum Mode { store = 0, load = 1 };
  CArchive(CArchiveStream* pStream, unsigned nMode, size_t nBufSize = 64 * 1024);
  ~CArchive();  // flushes a storing archive
  CArchive(const CArchive&) = delete;
  CArchive& operator=(const CArchive&) = delete;

  bool IsLoading() const { return m_nMode == load; }
  bool IsStoring() const { return m_nMode == store; }
  // False once a read ran past the end, a write failed or a reader found the data
  // malformed (Fail). Later operations then do nothing.
  bool IsOK() const { return !m_bBad; }
  void Fail() { m_bBad = true; }
  // Flushes what is buffered; returns IsOK().
  bool Flush();
  bool Close() { return Flush(); }

  // Reads exactly n bytes or marks the archive bad; returns the bytes read.
  size_t Read(void* p, size_t n);
  void Write(const void* p, size_t n);
  // Appends everything up to the end of the stream to out. A stream too large to
  // hold in memory marks the archive bad and leaves out empty.
  void ReadToEnd(std::string& out);

  CArchive& operator<<(uint8_t v) { return PutLE(v, 1); }
  CArchive& operator<<(uint16_t v) { return PutLE(v, 2); }
  CArchive& operator<<(uint32_t v) { return PutLE(v, 4); }
  CArchive& operator<<(int32_t v) { return PutLE(static_cast<uint32_t>(v), 4); }
  CArchive& operator>>(uint8_t& v);
  CArchive& operator>>(uint16_t& v);
  CArchive& operator>>(uint32_t& v);
  CArchive& operator>>(int32_t& v);
  CArchive& operator<<(const std::string& s);
  // A wide string is converted with m_pfnWideToMultiByte; without one, or when the
  // conversion fails, the archive turns bad.
  CArchive& operator>>(std::string& s);

  CDocument* m_pDocument = nullptr;
  AFX_WIDE_TO_MB m_pfnWideToMultiByte = nullptr;

 private:
  CArchive& PutLE(uint32_t v, int nBytes);
  uint32_t GetLE(int nBytes);
  // Makes at least n bytes available in the buffer if the stream has them.
  bool Fill(size_t n);
  bool ReadWide(uint64_t nChars, std::string& s);
  void ReadRest(std::string& out);  // ReadToEnd without the memory check

  CArchiveStream* m_pStream;
  unsigned m_nMode;
  bool m_bBad = false;
  bool m_bEof = false;
  std::string m_buf;
  size_t m_nCur = 0;  // loading: next unread byte
  size_t m_nEnd = 0;  // loading: end of the valid bytes; storing: bytes waiting
};
