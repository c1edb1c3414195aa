#include "ProtectedFolders_win.h"

#include "ProtectedFolders.h"
#include "ShellFolders.h"

namespace {

// A path in full with the long names of what exists, so that a relative or short
// spelling compares as the folder it names; "" when it cannot be read.
std::string Spelt(const std::string& path) {
  if (path.empty()) return std::string();
  char full[2 * MAX_PATH] = "";
  DWORD n = ::GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
  if (n == 0 || n >= sizeof full) return std::string();
  std::string comparable = shell::ComparableFolder(std::string(full, n));
  char longName[2 * MAX_PATH] = "";
  n = comparable.empty() ? 0 : ::GetLongPathNameA(comparable.c_str(), longName, sizeof longName);
  return n > 0 && n < sizeof longName ? std::string(longName, n) : comparable;
}

}  // namespace

BOOL IsProtectedInstallFolder(const CString& folder) {
  char buf[MAX_PATH + 1] = "";
  auto got = [&buf](DWORD n) { return n > 0 && n < MAX_PATH ? std::string(buf, n) : std::string(); };
  std::vector<std::string> folders;
  folders.push_back(got(::GetWindowsDirectoryA(buf, MAX_PATH)));
  folders.push_back(got(::GetSystemDirectoryA(buf, MAX_PATH)));
  folders.push_back(got(::GetSystemWow64DirectoryA(buf, MAX_PATH)));  // none on a 32-bit Windows
  for (const char* name : {"USERPROFILE", "ProgramFiles", "ProgramW6432"})
    folders.push_back(got(::GetEnvironmentVariableA(name, buf, MAX_PATH)));
  // Read from the registry only: asking the shell for its folders would rewrite the
  // values the install then takes its shortcut folders from.
  const char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
  for (const char* name : {"Common Startup", "Common Desktop", "Common Programs"})
    folders.push_back(shell::ReadFolderValue(HKEY_LOCAL_MACHINE, kShellFolders, name));
  for (const CString& f : {GetProgramFilesFolder(), GetStartupFolder(), GetDesktopFolder(), GetProgramsFolder()})
    folders.push_back(f);
  for (std::string& f : folders) f = Spelt(f);
  return shell::IsProtectedFolder(Spelt(folder), folders) ? TRUE : FALSE;
}
