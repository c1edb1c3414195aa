// A folder of a test's own under the temporary folder, removed with everything in it.
#pragma once
#include <windows.h>

#include <string>

class CTestFolder {
 public:
  explicit CTestFolder(const char* tag) {
    char tmp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, tmp);
    m_path = std::string(tmp) + "hbtree_" + tag + "_" + std::to_string(::GetCurrentProcessId()) + "_" +
             std::to_string(::GetTickCount()) + "\\";
    ::CreateDirectoryA(m_path.c_str(), nullptr);
  }
  ~CTestFolder() { RemoveAll(m_path); }
  const std::string& Path() const { return m_path; }  // ends with a backslash

  static void RemoveAll(const std::string& folder) {
    WIN32_FIND_DATAA fd;
    HANDLE h = ::FindFirstFileA((folder + "*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
      do {
        std::string name = fd.cFileName;
        if (name == "." || name == "..") continue;
        std::string full = folder + name;
        ::SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveAll(full + "\\");
        else ::DeleteFileA(full.c_str());
      } while (::FindNextFileA(h, &fd));
      ::FindClose(h);
    }
    std::string dir = folder.substr(0, folder.size() - 1);
    ::SetFileAttributesA(dir.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::RemoveDirectoryA(dir.c_str());
  }

 private:
  std::string m_path;
};

inline bool WriteBytes(const std::string& path, const std::string& bytes) {
  HANDLE h = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD put = 0;
  bool ok = bytes.empty() || ::WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr);
  ::CloseHandle(h);
  return ok;
}

inline std::string ReadBytes(const std::string& path) {
  HANDLE h = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return "<missing>";
  std::string s(::GetFileSize(h, nullptr), '\0');
  DWORD got = 0;
  if (!s.empty()) ::ReadFile(h, &s[0], static_cast<DWORD>(s.size()), &got, nullptr);
  ::CloseHandle(h);
  return s;
}
