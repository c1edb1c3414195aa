// Shared by the uninstall's GUI tests: an installed application as an install leaves
// it (install folder with Setup.ini in Mode 2, files in the Windows folder with their
// use counts, shortcuts, program group, uninstall key), the program as Hanbell.exe in
// the Windows folder, and the registered command started as the system would start it.
// Everything is put back as it was at the end.
#pragma once
#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "InstallHelpers.h"

namespace untest {

using hbtest::Bytes;
using hbtest::Exists;

constexpr const char* kUninstallCaption = "Hanbell Ver4.00/UnInstaller...";
constexpr const char* kAuthorRoot = "C:\\hbdist\\";  // where the author's tree lay

// The six step indicators in the order the run reaches them.
constexpr int kIndicators[] = {IDC_UNINSTALL_FILES,   IDC_UNINSTALL_FOLDER, IDC_UNINSTALL_STARTUP,
                               IDC_UNINSTALL_DESKTOP, IDC_UNINSTALL_GROUP,  IDC_UNINSTALL_REGISTRY};

// A special folder as the program reads it, with a final backslash.
inline std::string ShellFolder(const char* value) {
  return hbtest::RegValue(HKEY_CURRENT_USER, hbtest::kShellFolders, value) + "\\";
}

inline bool KeyExists(const std::string& subKey) {
  HKEY h = nullptr;
  if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, subKey.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
  ::RegCloseKey(h);
  return true;
}

// A shared file's use count as text, "<none>" when there is none.
inline std::string SharedCount(const std::string& path) {
  return hbtest::RegValue(HKEY_LOCAL_MACHINE, hbtest::kSharedDlls, path);
}

inline void SetSharedCount(const std::string& path, DWORD count) {
  HKEY h = nullptr;
  if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, hbtest::kSharedDlls, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr) !=
      ERROR_SUCCESS)
    return;
  ::RegSetValueExA(h, path.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&count), sizeof count);
  ::RegCloseKey(h);
}

// What the prefix holds of a test and its install, put back at the end; the shared-file
// key itself goes again when the test made it.
class CRestore : public hbtest::PrefixRestore {
 public:
  CRestore() {
    if (!KeyExists(hbtest::kSharedDlls)) Key(HKEY_LOCAL_MACHINE, hbtest::kSharedDlls);
  }
};

namespace detail {
// Starts a program of the host (not a Windows one) with these arguments. Wine can
// neither wait for it nor give its exit code: the caller waits for what it makes.
// Wine's own functions for host names are looked up, since no header declares them.
inline bool RunHost(const char* unixProgram, const std::vector<std::string>& unixArgs) {
  using DosName = WCHAR*(CDECL*)(const char*);
  auto dosName = reinterpret_cast<DosName>(
      reinterpret_cast<void (*)()>(::GetProcAddress(::GetModuleHandleA("kernel32"), "wine_get_dos_file_name")));
  WCHAR* program = dosName ? dosName(unixProgram) : nullptr;
  if (!program) return false;
  auto wide = [](const std::string& utf8) {
    std::wstring w(utf8.size() + 1, L'\0');
    w.resize(static_cast<std::size_t>(::MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, &w[0], static_cast<int>(w.size()))) - 1);
    return w;
  };
  std::wstring cmd = L"host";
  for (const std::string& a : unixArgs) cmd += L" \"" + wide(a) + L"\"";
  STARTUPINFOW si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  BOOL ok = ::CreateProcessW(program, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
  ::HeapFree(::GetProcessHeap(), 0, program);
  if (!ok) return false;
  ::CloseHandle(pi.hProcess);
  ::CloseHandle(pi.hThread);
  return true;
}

// The host's name of a path of this prefix (UTF-8), "" when there is none.
inline std::string UnixName(const std::string& path) {
  using UnixNameFn = char*(CDECL*)(const WCHAR*);
  auto unixName = reinterpret_cast<UnixNameFn>(
      reinterpret_cast<void (*)()>(::GetProcAddress(::GetModuleHandleA("kernel32"), "wine_get_unix_file_name")));
  std::wstring w(path.size() + 1, L'\0');
  w.resize(static_cast<std::size_t>(::MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, &w[0], static_cast<int>(w.size()))) - 1);
  char* u = unixName ? unixName(w.c_str()) : nullptr;
  std::string s = u ? u : "";
  if (u) ::HeapFree(::GetProcessHeap(), 0, u);
  return s;
}
}  // namespace detail

// A symbolic link `link` (in an existing folder) to the folder `target`, as a user who
// may write to an install folder could plant a junction. Wine's own calls make none and
// cannot remove one, so the host's ln makes it and its rm takes it away at the end,
// before the folders around it are removed. (Wine shows a link to a file as the file
// itself, so only folder links can be seen as links here.)
inline bool PlantLink(CRestore& restore, const std::string& link, const std::string& target) {
  std::size_t slash = link.find_last_of('\\');
  std::string unixLink = detail::UnixName(link.substr(0, slash)) + "/" + link.substr(slash + 1);
  std::string unixTarget = detail::UnixName(target);
  if (unixTarget.empty() || !detail::RunHost("/bin/ln", {"-s", unixTarget, unixLink})) return false;
  restore.Later([unixLink, link] {
    if (detail::RunHost("/bin/rm", {"-f", unixLink})) uitest::WaitFor([&] { return !Exists(link); }, 10000);
  });
  return uitest::WaitFor(
      [&] {
        DWORD attributes = hbtest::Attributes(link);
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
      },
      10000);
}

// Drive `letter` made a second name of the folder `target` (a link in the prefix's
// dosdevices, as subst makes one), taken away again at the end.
inline bool MapDrive(CRestore& restore, char letter, const std::string& target) {
  std::string c = detail::UnixName("C:\\"), unixTarget = detail::UnixName(target);
  std::size_t at = c.rfind("/dosdevices/");
  if (at == std::string::npos) at = c.rfind("/drive_c");
  if (at == std::string::npos || unixTarget.empty()) return false;
  std::string link = c.substr(0, at) + "/dosdevices/" + static_cast<char>(::tolower(letter)) + ":";
  std::string root = std::string(1, letter) + ":\\";
  if (!detail::RunHost("/bin/ln", {"-s", unixTarget, link})) return false;
  restore.Later([link, root] {
    if (detail::RunHost("/bin/rm", {"-f", link}))
      uitest::WaitFor([&] { return ::GetDriveTypeA(root.c_str()) == DRIVE_NO_ROOT_DIR; }, 10000);
  });
  return uitest::WaitFor([&] { return ::GetDriveTypeA(root.c_str()) != DRIVE_NO_ROOT_DIR; }, 10000);
}

// The built program as Hanbell.exe in the Windows folder, beside a Hanbell.ini that
// holds a record.
inline void PlaceInstallerCopy() {
  std::string exe = uitest::WindowsDir() + "Hanbell.exe", ini = uitest::WindowsDir() + "Hanbell.ini";
  ::SetFileAttributesA(exe.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_TRUE(::CopyFileA(hbtest::ProgramPath().c_str(), exe.c_str(), FALSE));
  if (!Exists(ini)) uitest::WriteFile(ini, "[SetupDirectory]\r\nHbUnTest=C:\\hbuntest\\\r\n");
}

// The registered command of an uninstall key, started from the Windows folder as the
// system would start it.
inline bool StartCommandOf(uitest::Process& p, const std::string& key) {
  std::string command = hbtest::RegValue(HKEY_LOCAL_MACHINE, key, "UninstallString");
  std::size_t options = command.find(" -d");
  EXPECT_NE(options, std::string::npos) << command;
  if (options == std::string::npos) return false;
  bool started = p.Start(command.substr(0, options), command.substr(options + 1), uitest::WindowsDir());
  EXPECT_TRUE(started) << command;
  return started;
}

// The registered command started, and the uninstall dialog it opens, or nullptr.
inline HWND StartRegisteredCommand(uitest::Process& p, const std::string& key) {
  if (!StartCommandOf(p, key)) return nullptr;
  return uitest::WaitWindow(p.Pid(), kUninstallCaption, "#32770");
}

// Whether Wine's own uninstaller lists an entry of this display name.
inline bool Listed(const std::string& displayName) {
  return hbtest::Output("uninstaller.exe --list").find("|||" + displayName) != std::string::npos;
}

// An installed application named after its executable title, as if installed from a
// distribution authored in kAuthorRoot. Entries are laid out in the install folder at
// once; Write() then writes Setup.ini and the key.
class CInstalled {
 public:
  CInstalled(CRestore& restore, const std::string& title)
      : m_restore(restore), m_title(title), m_dir(uitest::TempDir("hb_un_" + title)),
        m_startup(ShellFolder("Startup")), m_desktop(ShellFolder("Desktop")), m_programs(ShellFolder("Programs")) {
    m_restore.Remove(m_dir);
    m_restore.Key(HKEY_LOCAL_MACHINE, Key());
    m_tree.push_back(std::string(kAuthorRoot) + "|16");
    m_groupFiles.push_back(kAuthorRoot);
    m_groupNames.push_back("Dummy");
    m_systemFiles.push_back(kAuthorRoot);
    m_setup["Title"] = title + " ﾃｽﾄ";
    m_setup["Mode"] = "2";
    m_setup["STime"] = "0";
    File(title + ".exe", "MZ");
  }
  CInstalled(const CInstalled&) = delete;
  CInstalled& operator=(const CInstalled&) = delete;

  const std::string& Dir() const { return m_dir; }
  std::string Key() const { return hbtest::kUninstallBase + m_title; }
  std::string Name() const { return m_strPrgShortCut.empty() ? m_title + "へのｼｮｰﾄｶｯﾄ" : m_strPrgShortCut; }
  std::string StartupLink() const { return m_startup + Name() + ".lnk"; }
  std::string DesktopLink() const { return m_desktop + Name() + ".lnk"; }
  std::string GroupDir() const { return m_programs + (m_strPrgGroup.empty() ? m_title : m_strPrgGroup); }

  // A file below the install folder (its folders added before), listed in the tree.
  void File(const std::string& rel, const std::string& bytes = "x", DWORD attributes = FILE_ATTRIBUTE_ARCHIVE) {
    ASSERT_TRUE(uitest::WriteFile(m_dir + rel, bytes)) << rel;
    ::SetFileAttributesA((m_dir + rel).c_str(), attributes);
    List(rel, attributes);
  }
  void Folder(const std::string& rel) {
    ASSERT_TRUE(::CreateDirectoryA((m_dir + rel).c_str(), nullptr)) << rel;
    List(rel + "\\", FILE_ATTRIBUTE_DIRECTORY);
  }
  // A tree entry as stored, relative to the author's folder or absolute, with nothing
  // laid out for it.
  void List(const std::string& path, DWORD attributes) {
    bool bAbsolute = path.size() > 1 && (path[1] == ':' || path[0] == '\\');
    m_tree.push_back((bAbsolute ? "" : kAuthorRoot) + path + "|" + std::to_string(attributes));
  }
  // A file the install put into the Windows folder, with the use count it left (0: none).
  // `bLayOut` false only lists a file that is there already.
  void WindowsFile(const std::string& name, DWORD count, bool bLayOut = true) {
    std::string path = uitest::WindowsDir() + name;
    m_restore.WindowsFile(name);
    if (bLayOut) ASSERT_TRUE(uitest::WriteFile(path, "dll " + name));
    if (count) SetSharedCount(path, count);
    m_tree.push_back(kAuthorRoot + name + "|32");
    m_systemFiles.push_back(kAuthorRoot + name);
  }
  // A group file and the name its link has in the program group.
  void GroupFile(const std::string& rel, const std::string& linkName, const std::string& givenName = "") {
    m_groupFiles.push_back(kAuthorRoot + rel);
    m_groupNames.push_back(givenName);
    m_groupLinks.push_back(linkName);
  }
  // The three options, with the executable's shortcuts and the group's links made.
  void Options(bool bStartUp, bool bDesktop, bool bProgram) {
    m_options[0] = bStartUp;
    m_options[1] = bDesktop;
    m_options[2] = bProgram;
    for (const std::string& p : {StartupLink(), DesktopLink(), GroupDir()}) m_restore.Remove(p);
    if (bStartUp) ASSERT_TRUE(uitest::WriteFile(StartupLink(), "lnk"));
    if (bDesktop) ASSERT_TRUE(uitest::WriteFile(DesktopLink(), "lnk"));
    if (bProgram) {
      ASSERT_TRUE(::CreateDirectoryA(GroupDir().c_str(), nullptr));
      ASSERT_TRUE(uitest::WriteFile(GroupDir() + "\\" + Name() + ".lnk", "lnk"));
      for (const std::string& link : m_groupLinks)
        ASSERT_TRUE(uitest::WriteFile(GroupDir() + "\\" + link + ".lnk", "lnk"));
    }
  }
  std::map<std::string, std::string>& Setup() { return m_setup; }  // "<absent>" leaves a key out
  std::string m_strPrgShortCut, m_strPrgGroup;                     // set before Options

  // Setup.ini as an install leaves it, then the uninstall key with its command.
  void Write() {
    std::string ini = "[Setup]\r\n";
    for (const auto& kv : m_setup)
      if (kv.second != "<absent>") ini += kv.first + "=" + kv.second + "\r\n";
    ini += "[TreeCtrl]\r\nSelect=" + std::string(kAuthorRoot) + m_title + ".exe\r\nTopRoot=C:\\hbdist\r\n";
    for (std::size_t i = 0; i < m_tree.size(); ++i) ini += "_f" + std::to_string(i) + "=" + m_tree[i] + "\r\n";
    ini += "Count=" + std::to_string(m_tree.size()) + "\r\n";
    ini += "[Option]\r\nStartUp=" + std::to_string(m_options[0]) + "\r\nProgram=" + std::to_string(m_options[2]) +
           "\r\nDesktop=" + std::to_string(m_options[1]) + "\r\nReboot=0\r\nBlueBack=1\r\n";
    ini += "[Altitude]\r\nInstallDir=\r\nPrgShortCut=" + m_strPrgShortCut + "\r\nPrgGroup=" + m_strPrgGroup +
           "\r\nExecute=0\r\nReadMe=\r\n";
    ini += List("AltitudeGroup", "_g", m_groupFiles) + List("AltitudeGrpSC", "_c", m_groupNames) +
           List("AltitudeSystem", "_s", m_systemFiles);
    ASSERT_TRUE(uitest::WriteFile(m_dir + "Setup.ini", ini));
    std::string command = uitest::WindowsDir() + "Hanbell.exe -d -t" + m_dir;
    hbtest::SetRegValue(HKEY_LOCAL_MACHINE, Key(), "DisplayName", &m_setup["Title"]);
    hbtest::SetRegValue(HKEY_LOCAL_MACHINE, Key(), "UninstallString", &command);
  }

  // What the install left, path by path (the tree in its order first), to compare
  // before and after a run.
  std::vector<std::string> Leftovers() const {
    std::vector<std::string> left;
    const std::string root = kAuthorRoot;
    for (const std::string& entry : m_tree) {
      std::string path = entry.substr(0, entry.rfind('|'));
      if (path.compare(0, root.size(), root) == 0) {
        std::string rel = path.substr(root.size());
        bool bWindows = std::find(m_systemFiles.begin() + 1, m_systemFiles.end(), path) != m_systemFiles.end();
        path = (bWindows ? uitest::WindowsDir() : m_dir) + rel;
      }
      if (Exists(path)) left.push_back(path);
    }
    for (const std::string& p : {m_dir + "Setup.ini", StartupLink(), DesktopLink(), GroupDir()})
      if (Exists(p)) left.push_back(p);
    if (KeyExists(Key())) left.push_back("HKLM\\" + Key());
    return left;
  }

 private:
  static std::string List(const char* section, const char* prefix, const std::vector<std::string>& entries) {
    std::string s = std::string("[") + section + "]\r\nFiles=" + std::to_string(entries.size()) + "\r\n";
    for (std::size_t i = 0; i < entries.size(); ++i) s += prefix + std::to_string(i) + "=" + entries[i] + "\r\n";
    return s;
  }

  CRestore& m_restore;
  std::string m_title, m_dir, m_startup, m_desktop, m_programs;
  std::vector<std::string> m_tree, m_groupFiles, m_groupNames, m_systemFiles, m_groupLinks;
  std::map<std::string, std::string> m_setup;
  int m_options[3] = {0, 0, 0};
};

// The window's big and small icons, read inside the program: "program program" when
// both are its icon 128.
inline std::string Icons(HWND wnd) { return hbtest::ProbeInside(wnd, -4); }

// The indicators' states in the run's order: "-" disabled, "e" enabled, "c" enabled
// and checked ("!" checked while disabled).
inline std::string IndicatorStates(HWND dlg) {
  std::string s;
  for (int id : kIndicators) {
    bool on = uitest::IsEnabled(dlg, id);
    bool checked = uitest::GetCheck(dlg, id) == BST_CHECKED;
    s += checked ? (on ? 'c' : '!') : (on ? 'e' : '-');
  }
  return s;
}

// Presses 実行 (or types the key), expects the result box with one beep before it
// after the run's own, and returns it; the buttons are locked while it shows.
inline uitest::MessageBoxInfo RunAndWaitBox(uitest::Process& p, HWND dlg, WORD key = 0) {
  EXPECT_EQ(hbtest::Beeps(dlg), "");
  if (key) EXPECT_TRUE(uitest::PressKey(dlg, key));
  else EXPECT_TRUE(uitest::Click(dlg, IDOK));
  uitest::MessageBoxInfo box = uitest::WaitMessageBox(p.Pid());
  EXPECT_TRUE(box.hwnd) << "no box after 実行";
  if (!box.hwnd) return box;
  EXPECT_EQ(hbtest::Beeps(dlg), "500/30 500/10");
  EXPECT_EQ(::GetWindow(box.hwnd, GW_OWNER), dlg) << "the box belongs to the dialog";
  EXPECT_FALSE(uitest::IsEnabled(dlg, IDOK));
  EXPECT_FALSE(uitest::IsEnabled(dlg, IDCANCEL));
  return box;
}

// Answers the box and expects the program to end with exit code 0.
inline void CloseAndExpectEnd(uitest::Process& p, const uitest::MessageBoxInfo& box) {
  ASSERT_TRUE(uitest::Answer(box, IDOK));
  DWORD code = 1;
  EXPECT_TRUE(p.WaitExit(uitest::kDefaultTimeoutMs, &code)) << "the program did not end after the box";
  EXPECT_EQ(code, 0u);
}

}  // namespace untest
