#include "ShellFolders.h"

#include "FolderPath.h"

namespace {
const char kCurrentVersion[] = "Software\\Microsoft\\Windows\\CurrentVersion";
const char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
}  // namespace

namespace shell {

CString ReadFolderValue(HKEY hRoot, const char* subKey, const char* valueName) {
  HKEY hKey = nullptr;
  if (::RegOpenKeyExA(hRoot, subKey, 0, KEY_ALL_ACCESS, &hKey) != ERROR_SUCCESS) return CString();
  char buf[260] = {0};
  DWORD cb = sizeof(buf);
  LONG r = ::RegQueryValueExA(hKey, valueName, nullptr, nullptr, reinterpret_cast<BYTE*>(buf), &cb);
  ::RegCloseKey(hKey);
  if (r != ERROR_SUCCESS) return CString();
  // The value ends at its first zero byte; a value that fills the buffer without one
  // is cut at the buffer's end rather than read past it.
  std::size_t n = 0;
  while (n < sizeof(buf) && buf[n] != '\0') ++n;
  return CString(buf, n) + "\\";
}

}  // namespace shell

CString GetProgramFilesFolder() { return shell::ReadFolderValue(HKEY_LOCAL_MACHINE, kCurrentVersion, "ProgramFilesDir"); }
CString GetStartupFolder() { return shell::ReadFolderValue(HKEY_CURRENT_USER, kShellFolders, "Startup"); }
CString GetDesktopFolder() { return shell::ReadFolderValue(HKEY_CURRENT_USER, kShellFolders, "Desktop"); }
CString GetProgramsFolder() { return shell::ReadFolderValue(HKEY_CURRENT_USER, kShellFolders, "Programs"); }

BOOL CreateFolderPath(CString strPath) {
  for (const std::string& level : shell::FolderLevels(strPath)) {
    if (!::CreateDirectoryA(level.c_str(), nullptr)) {
      DWORD err = ::GetLastError();
      if (err != ERROR_ALREADY_EXISTS && err != ERROR_INVALID_NAME) return FALSE;
    }
  }
  return TRUE;
}
