#include "QuietLog_win.h"

CQuietLogFile::CQuietLogFile(const char* name) {
  char dir[MAX_PATH + 1] = "";
  DWORD n = ::GetTempPathA(sizeof dir, dir);
  if (n == 0 || n >= sizeof dir) return;
  // readable while the run writes it, so that a tool can follow it
  m_hFile = ::CreateFileA((CString(dir, n) + name).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
}

CQuietLogFile::~CQuietLogFile() {
  if (m_hFile != INVALID_HANDLE_VALUE) ::CloseHandle(m_hFile);
}

// Each line goes to the file at once, so that a run that never ends still shows how
// far it came.
void CQuietLogFile::Write(const std::string& bytes) {
  if (m_hFile == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  ::WriteFile(m_hFile, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}
