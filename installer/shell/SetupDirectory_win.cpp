#include "SetupDirectory.h"

#include "FolderPath.h"

namespace shell {

BOOL WriteSetupDirectoryTo(const CString& profileName, const CString& filePath, const CString& installedExe,
                           const CString& relativeExe) {
  if (installedExe.empty() || relativeExe.empty()) return FALSE;
  if (FindText(installedExe, relativeExe) == CString::npos) return FALSE;
  // A read-only record file would refuse the write; it may not exist yet.
  ::SetFileAttributesA(filePath.c_str(), FILE_ATTRIBUTE_NORMAL);
  ::WritePrivateProfileStringA(kSetupDirSection, relativeExe.c_str(), installedExe.c_str(), profileName.c_str());
  return TRUE;
}

CString ReadSetupDirectoryFrom(const CString& profileName, const CString& relativeExe) {
  if (relativeExe.empty()) return CString();
  char buf[260] = {0};
  ::GetPrivateProfileStringA(kSetupDirSection, relativeExe.c_str(), "", buf, sizeof(buf), profileName.c_str());
  CString value(buf);
  std::size_t at = FindText(value, relativeExe);
  if (at == CString::npos) return CString();
  return value.substr(0, at);
}

}  // namespace shell

namespace {
CString WindowsIniPath() {
  char dir[260] = {0};
  UINT n = ::GetWindowsDirectoryA(dir, sizeof(dir));
  if (n == 0 || n >= sizeof(dir)) return CString();
  return shell::JoinFolderName(CString(dir, n), shell::kSetupDirIni);  // "C:\" already ends with one
}
}  // namespace

BOOL WriteSetupDirectory(CString installedExe, CString relativeExe) {
  return shell::WriteSetupDirectoryTo(shell::kSetupDirIni, WindowsIniPath(), installedExe, relativeExe);
}

CString ReadSetupDirectory(CString relativeExe) { return shell::ReadSetupDirectoryFrom(shell::kSetupDirIni, relativeExe); }
