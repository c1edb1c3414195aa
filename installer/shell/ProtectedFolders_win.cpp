#include "ProtectedFolders_win.h"

#include <initguid.h>  // the known folders' ids are defined here
#include <knownfolders.h>
#include <shlobj.h>

#include "Mbcs.h"
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

template <typename F>
F Kernel32(const char* name) {
  return reinterpret_cast<F>(reinterpret_cast<void (*)()>(::GetProcAddress(::GetModuleHandleA("kernel32.dll"), name)));
}

// A 32-bit program on a 64-bit Windows.
bool IsWow64() {
  using Fn = BOOL(WINAPI*)(HANDLE, PBOOL);
  static const Fn isWow64 = Kernel32<Fn>("IsWow64Process");
  BOOL wow = FALSE;
  return isWow64 && isWow64(::GetCurrentProcess(), &wow) && wow;
}

// The path of a known folder as the shell gives it, without making or checking it:
// by its id where the system knows ids (Vista on), else by its number. "" when the shell
// gives none, or none in this code page.
std::string KnownFolder(const KNOWNFOLDERID& id, int csidl) {
  using Fn = HRESULT(WINAPI*)(REFKNOWNFOLDERID, DWORD, HANDLE, PWSTR*);
  static const Fn getKnown = reinterpret_cast<Fn>(
      reinterpret_cast<void (*)()>(::GetProcAddress(::GetModuleHandleA("shell32.dll"), "SHGetKnownFolderPath")));
  if (getKnown) {
    PWSTR wide = nullptr;
    std::string path;
    if (SUCCEEDED(getKnown(id, 0x4000 /* KF_FLAG_DONT_VERIFY */, nullptr, &wide)) && wide) {
      char buf[2 * MAX_PATH] = "";
      BOOL lost = FALSE;
      int n = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, -1, buf, sizeof buf, nullptr, &lost);
      if (n > 1 && !lost) path.assign(buf, static_cast<std::size_t>(n - 1));
    }
    ::CoTaskMemFree(wide);
    return path;
  }
  char buf[MAX_PATH] = "";
  return SUCCEEDED(::SHGetFolderPathA(nullptr, csidl | CSIDL_FLAG_DONT_VERIFY, nullptr, SHGFP_TYPE_CURRENT, buf))
             ? std::string(buf)
             : std::string();
}

}  // namespace

namespace shell {

std::string FinalPathOf(HANDLE h) {
  using Fn = DWORD(WINAPI*)(HANDLE, LPSTR, DWORD, DWORD);
  static const Fn finalPath = Kernel32<Fn>("GetFinalPathNameByHandleA");
  char buf[2 * MAX_PATH] = "";
  DWORD n = finalPath ? finalPath(h, buf, sizeof buf, 0 /* a drive letter's path, normalised */) : 0;
  if (n == 0 || n >= sizeof buf) return std::string();
  std::string path(buf, n);
  if (path.compare(0, 8, "\\\\?\\UNC\\") == 0) return "\\" + path.substr(7);
  if (path.compare(0, 4, "\\\\?\\") == 0) return path.substr(4);
  return path;
}

Lookup CFolderLookup::Identify(const std::string& path, FolderIdentity& id) {
  id = FolderIdentity();
  HANDLE h = ::CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    switch (::GetLastError()) {
      case ERROR_FILE_NOT_FOUND:
      case ERROR_PATH_NOT_FOUND:
      case ERROR_INVALID_NAME:
      case ERROR_INVALID_DRIVE:
      case ERROR_NOT_READY:  // a drive without its disk
      case ERROR_BAD_NETPATH:
      case ERROR_BAD_NET_NAME:
        return Lookup::Missing;
      default:
        return Lookup::Unreadable;
    }
  }
  BY_HANDLE_FILE_INFORMATION info;
  const bool read = ::GetFileInformationByHandle(h, &info) != FALSE;
  if (read) {
    id.nVolume = info.dwVolumeSerialNumber;
    id.nIndex = (static_cast<unsigned long long>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    id.strFinal = FinalPathOf(h);
  }
  ::CloseHandle(h);
  if (!read) return Lookup::Unreadable;
  // a volume mounted in a folder is a root too, under a name that is not one
  char volume[2 * MAX_PATH] = "";
  const std::string real = id.strFinal.empty() ? path : id.strFinal;
  id.bVolumeRoot = ::GetVolumePathNameA(real.c_str(), volume, sizeof volume) &&
                   ComparableFolder(volume) == ComparableFolder(real);
  return Lookup::Found;
}

}  // namespace shell

CString FullFolderPath(const CString& text) {
  if (text.empty()) return CString();
  char buf[2 * MAX_PATH] = "";
  DWORD n = ::GetFullPathNameA(text.c_str(), sizeof buf, buf, nullptr);
  if (n == 0 || n >= sizeof buf) return CString();
  CString folder(buf, n);
  return mbcs::FindLastChar(folder, '\\') == folder.size() - 1 ? folder : folder + "\\";
}

BOOL IsProtectedInstallFolder(const CString& folder) {
  const bool windows64 = sizeof(void*) == 8 || IsWow64();
  std::vector<shell::ProtectedFolder> folders;
  auto add = [&folders](const std::string& path, bool required) { folders.push_back({Spelt(path), required}); };
  char buf[MAX_PATH + 1] = "";
  auto got = [&buf](DWORD n) { return n > 0 && n < MAX_PATH ? std::string(buf, n) : std::string(); };
  const std::string windows = got(::GetWindowsDirectoryA(buf, MAX_PATH));
  add(windows, true);
  add(got(::GetSystemDirectoryA(buf, MAX_PATH)), true);
  add(got(::GetSystemWow64DirectoryA(buf, MAX_PATH)), windows64);
  // a 32-bit program reaches the real system folder by this name alone
  if (IsWow64()) add(windows.empty() ? windows : windows + "\\Sysnative", true);
  add(KnownFolder(FOLDERID_ProgramFiles, CSIDL_PROGRAM_FILES), true);
  add(KnownFolder(FOLDERID_ProgramFilesX86, CSIDL_PROGRAM_FILESX86), windows64);
  add(KnownFolder(FOLDERID_Profile, CSIDL_PROFILE), true);
  add(KnownFolder(FOLDERID_Startup, CSIDL_STARTUP), true);
  add(KnownFolder(FOLDERID_Desktop, CSIDL_DESKTOPDIRECTORY), true);
  add(KnownFolder(FOLDERID_Programs, CSIDL_PROGRAMS), true);
  add(KnownFolder(FOLDERID_CommonStartup, CSIDL_COMMON_STARTUP), true);
  add(KnownFolder(FOLDERID_PublicDesktop, CSIDL_COMMON_DESKTOPDIRECTORY), true);
  add(KnownFolder(FOLDERID_CommonPrograms, CSIDL_COMMON_PROGRAMS), true);
  // what else names them: the environment, and the values the install takes its
  // shortcut folders from
  for (const char* name : {"USERPROFILE", "ProgramFiles", "ProgramW6432", "ProgramFiles(x86)"})
    add(got(::GetEnvironmentVariableA(name, buf, MAX_PATH)), false);
  const char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
  for (const char* name : {"Common Startup", "Common Desktop", "Common Programs"})
    add(shell::ReadFolderValue(HKEY_LOCAL_MACHINE, kShellFolders, name), false);
  for (const CString& f : {GetProgramFilesFolder(), GetStartupFolder(), GetDesktopFolder(), GetProgramsFolder()})
    add(f, false);
  shell::CFolderLookup lookup;
  return shell::IsProtectedFolder(Spelt(folder), folders, lookup) ? TRUE : FALSE;
}
