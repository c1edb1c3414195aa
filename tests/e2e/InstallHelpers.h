// Shared by the install tests: what an install leaves in the prefix, read back (shortcut
// targets through the shell link, registry values, a program's output) and put back as
// the test found it.
#pragma once
#include <shlwapi.h>

#include <functional>
#include <string>
#include <vector>

#include "WizardHelpers.h"

namespace hbtest {

constexpr const char* kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr const char* kUninstallBase = "SoftWare\\Microsoft\\Windows\\CurrentVersion\\UnInstall\\";
constexpr const char* kSharedDlls = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

inline bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
inline DWORD Attributes(const std::string& path) { return ::GetFileAttributesA(path.c_str()); }
inline std::string Bytes(const std::string& path) {
  std::string b;
  return uitest::ReadFile(path, b) ? b : std::string("<missing>");
}

// A value of a key: REG_SZ as text, REG_DWORD as its decimal number; "<none>" when absent.
inline unsigned long long WriteTime(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA a = {};
  ::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &a);
  return (static_cast<unsigned long long>(a.ftLastWriteTime.dwHighDateTime) << 32) | a.ftLastWriteTime.dwLowDateTime;
}
// Sets a file's last-write time some days from now (before it: negative).
inline void SetWriteTime(const std::string& path, int daysFromNow) {
  FILETIME ft;
  ::GetSystemTimeAsFileTime(&ft);
  ULARGE_INTEGER t;
  t.LowPart = ft.dwLowDateTime;
  t.HighPart = ft.dwHighDateTime;
  t.QuadPart += static_cast<long long>(daysFromNow) * 86400LL * 10000000LL;
  ft.dwLowDateTime = t.LowPart;
  ft.dwHighDateTime = t.HighPart;
  HANDLE h = ::CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE) << path;
  ::SetFileTime(h, nullptr, nullptr, &ft);
  ::CloseHandle(h);
}
inline std::string RegValue(HKEY root, const std::string& key, const std::string& value) {
  HKEY h = nullptr;
  if (::RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return "<none>";
  BYTE buf[2048] = {};
  DWORD size = sizeof buf - 1, type = 0;
  LONG r = ::RegQueryValueExA(h, value.c_str(), nullptr, &type, buf, &size);
  ::RegCloseKey(h);
  if (r != ERROR_SUCCESS) return "<none>";
  if (type == REG_DWORD) return std::to_string(*reinterpret_cast<DWORD*>(buf));
  return std::string(reinterpret_cast<char*>(buf));
}

inline void SetRegValue(HKEY root, const std::string& key, const std::string& value, const std::string* text) {
  HKEY h = nullptr;
  if (::RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr) != ERROR_SUCCESS) return;
  if (text)
    ::RegSetValueExA(h, value.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text->c_str()),
                     static_cast<DWORD>(text->size() + 1));
  else
    ::RegDeleteValueA(h, value.c_str());
  ::RegCloseKey(h);
}

// A key of an INI file as the profile functions read it; "<none>" when absent.
inline std::string IniValue(const std::string& ini, const char* section, const char* key) {
  char buf[300] = "";
  ::GetPrivateProfileStringA(section, key, "<none>", buf, sizeof buf, ini.c_str());
  return buf;
}

// What a console program prints, or "" when it cannot be started.
inline std::string Output(const std::string& commandLine) {
  SECURITY_ATTRIBUTES sa = {sizeof sa, nullptr, TRUE};
  HANDLE rd = nullptr, wr = nullptr;
  if (!::CreatePipe(&rd, &wr, &sa, 0)) return std::string();
  ::SetHandleInformation(rd, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdOutput = si.hStdError = wr;
  PROCESS_INFORMATION pi = {};
  std::string cmd = commandLine, out;
  BOOL started = ::CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &si, &pi);
  ::CloseHandle(wr);
  if (started) {
    char buf[4096];
    DWORD n = 0;
    while (::ReadFile(rd, buf, sizeof buf, &n, nullptr) && n > 0) out.append(buf, n);
    ::WaitForSingleObject(pi.hProcess, 30000);
    ::CloseHandle(pi.hProcess);
    ::CloseHandle(pi.hThread);
  }
  ::CloseHandle(rd);
  return out;
}

// Puts back, in reverse order, what a test registers and an install leaves: files and
// folders it made, files in the Windows folder (earlier bytes back, or removed), registry
// values and keys, records in Hanbell.ini.
class PrefixRestore {
 public:
  PrefixRestore() {
    for (const char* name : {"Hanbell.ini", "Hanbell.exe", "HbDummy.exe"}) WindowsFile(name);
  }
  ~PrefixRestore() {
    for (auto it = m_undo.rbegin(); it != m_undo.rend(); ++it) (*it)();
  }
  PrefixRestore(const PrefixRestore&) = delete;
  PrefixRestore& operator=(const PrefixRestore&) = delete;

  // A file or folder (with what is in it) that must not outlive the test.
  void Remove(const std::string& path) {
    m_undo.push_back([path] {
      ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (!::DeleteFileA(path.c_str())) uitest::RemoveTree(path);
    });
  }
  // A file of the Windows folder, its bytes and its shared-use count as they are now.
  void WindowsFile(const std::string& name) {
    std::string path = uitest::WindowsDir() + name, bytes;
    bool had = uitest::ReadFile(path, bytes);
    DWORD attributes = Attributes(path);
    m_undo.push_back([=] {
      ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (!had) {
        ::DeleteFileA(path.c_str());
      } else {
        uitest::WriteFile(path, bytes);
        ::SetFileAttributesA(path.c_str(), attributes);
      }
    });
    Value(HKEY_LOCAL_MACHINE, kSharedDlls, path);
  }
  // A registry value as it is now (REG_SZ or REG_DWORD, or absent).
  void Value(HKEY root, const std::string& key, const std::string& value) {
    HKEY h = nullptr;
    DWORD type = 0, size = 0;
    std::vector<BYTE> data;
    bool had = false, keyHad = false;
    if (::RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &h) == ERROR_SUCCESS) {
      keyHad = true;
      if (::RegQueryValueExA(h, value.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
        data.resize(size);
        had = ::RegQueryValueExA(h, value.c_str(), nullptr, &type, data.data(), &size) == ERROR_SUCCESS;
      }
      ::RegCloseKey(h);
    }
    m_undo.push_back([=] {
      HKEY k = nullptr;
      if (::RegOpenKeyExA(root, key.c_str(), 0, KEY_SET_VALUE, &k) != ERROR_SUCCESS) return;
      if (had)
        ::RegSetValueExA(k, value.c_str(), 0, type, data.data(), static_cast<DWORD>(data.size()));
      else
        ::RegDeleteValueA(k, value.c_str());
      DWORD subkeys = 0, values = 0;
      bool empty = ::RegQueryInfoKeyA(k, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr,
                                      nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
                   subkeys == 0 && values == 0;
      ::RegCloseKey(k);
      if (!keyHad && empty) ::RegDeleteKeyA(root, key.c_str());  // a key the test brought, left empty
    });
  }
  // A key (with its subkeys) that the test or the install makes.
  void Key(HKEY root, const std::string& key) {
    m_undo.push_back([=] { ::SHDeleteKeyA(root, key.c_str()); });
  }
  // The values of a key as they are now (its subkeys aside); a key that is not there
  // yet is removed again.
  void Values(HKEY root, const std::string& key) {
    struct Saved {
      std::string name;
      DWORD type;
      std::vector<BYTE> data;
    };
    std::vector<Saved> saved;
    HKEY h = nullptr;
    const bool had = ::RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &h) == ERROR_SUCCESS;
    for (DWORD i = 0; had; ++i) {
      char name[16384];
      BYTE data[16384];
      DWORD nameSize = sizeof name, dataSize = sizeof data, type = 0;
      if (::RegEnumValueA(h, i, name, &nameSize, nullptr, &type, data, &dataSize) != ERROR_SUCCESS) break;
      saved.push_back({name, type, std::vector<BYTE>(data, data + dataSize)});
    }
    if (had) ::RegCloseKey(h);
    m_undo.push_back([=] {
      if (!had) {
        ::SHDeleteKeyA(root, key.c_str());
        return;
      }
      HKEY k = nullptr;
      if (::RegOpenKeyExA(root, key.c_str(), 0, KEY_READ | KEY_SET_VALUE, &k) != ERROR_SUCCESS) return;
      char name[16384];
      for (DWORD n = sizeof name; ::RegEnumValueA(k, 0, name, &n, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
           n = sizeof name)
        ::RegDeleteValueA(k, name);
      for (const Saved& v : saved)
        ::RegSetValueExA(k, v.name.c_str(), 0, v.type, v.data.data(), static_cast<DWORD>(v.data.size()));
      ::RegCloseKey(k);
    });
  }

  // Anything else to undo, in the same reverse order.
  void Later(std::function<void()> undo) { m_undo.push_back(std::move(undo)); }
 private:
  std::vector<std::function<void()>> m_undo;
};

// The progress bar's position and top.
inline int ProgressPos(HWND wizard) {
  return static_cast<int>(::SendMessageA(::GetDlgItem(wizard, IDC_INSTALL_PROGRESS), PBM_GETPOS, 0, 0));
}
inline int ProgressTop(HWND wizard) {
  return static_cast<int>(::SendMessageA(::GetDlgItem(wizard, IDC_INSTALL_PROGRESS), PBM_GETRANGE, FALSE, 0));
}

// From now on the program's RegCreateKeyExA refuses the uninstall entry's key, as a
// registry without write access would (hbfontprobe.dll, hooked into the program).
inline bool RefuseUninstallKey(HWND wizard) { return ProbeInside(wizard, -3) == "refusing"; }

// From now on the program cannot write the shared-file counts (the key is refused to it,
// as to a user without write access), through any window of the program's thread.
inline bool RefuseSharedCounts(HWND wnd) { return ProbeInside(wnd, -5) == "refusing"; }

// Presses 登録 and returns the first box the install shows.
inline uitest::MessageBoxInfo Install(HWND wizard, DWORD pid) {
  EXPECT_TRUE(uitest::Click(wizard, IDOK));
  uitest::MessageBoxInfo box = uitest::WaitMessageBox(pid, 60000);
  EXPECT_TRUE(box.hwnd) << "no box after 登録";
  return box;
}

}  // namespace hbtest
