// The platform's cabinet functions, FCI to write and FDI to read, from cabinet.dll of
// the system folder, loaded by its full path so that no other folder can lend a DLL of
// that name. The cabinet lies inside a bigger file (the package), at an offset.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "AfxWin.h"

class CCabinetWriter {
 public:
  CCabinetWriter();
  ~CCabinetWriter();
  CCabinetWriter(const CCabinetWriter&) = delete;
  CCabinetWriter& operator=(const CCabinetWriter&) = delete;

  // A cabinet written into `hFile` from `offset` on; the handle stays the caller's.
  bool Begin(HANDLE hFile, std::uint64_t offset);
  // Compresses `source` into the cabinet under `name` (a relative name).
  bool Add(const CString& source, const CString& name);
  // Writes what is still held back; the cabinet is whole after it.
  bool Finish();

  // Called with the uncompressed bytes of each block as it is compressed.
  std::function<void(unsigned long)> m_onBytes;

 private:
  friend struct CCabinetCalls;
  void End();

  HMODULE m_hCabinet = nullptr;
  void* m_hFci = nullptr;
  HANDLE m_hOut = INVALID_HANDLE_VALUE;
  std::uint64_t m_nOffset = 0;
  LONGLONG m_nOutAt = -1;  // where m_hOut's pointer stands, -1 when not known
  std::vector<std::string> m_temps;  // FCI's own working files, removed at the end
  bool m_bFailed = false;
};

// Where one file of a cabinet goes: a file (a handle) or memory (appended to a string).
struct CCabinetSink {
  HANDLE h = INVALID_HANDLE_VALUE;
  std::string* pMemory = nullptr;
  bool IsValid() const { return h != INVALID_HANDLE_VALUE || pMemory != nullptr; }
};

// Writes the files of the cabinet at `offset` of `hFile` (`size` bytes). For each file
// `create(name)` gives where to write it (an invalid sink refuses it and fails the
// whole), and `finish(name, sink)` ends it, closing its handle; false fails the whole.
// False when the cabinet cannot be read to its end.
bool ExtractCabinet(HANDLE hFile, std::uint64_t offset, std::uint64_t size,
                    const std::function<CCabinetSink(const std::string&)>& create,
                    const std::function<bool(const std::string&, const CCabinetSink&)>& finish);
