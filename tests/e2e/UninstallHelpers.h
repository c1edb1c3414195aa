// Shared by the uninstall's GUI tests: an installed application as an install leaves
// it (install folder with Setup.ini in Mode 2, files in the Windows folder with their
// use counts, shortcuts, program group, uninstall key), the program as Hanbell.exe in
// the Windows folder, and the registered command started as the system would start it.
// Everything is put back as it was at the end.
#pragma once
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "WizardHelpers.h"

namespace untest {

constexpr const char* kUninstallCaption = "Hanbell Ver4.00/UnInstaller...";
constexpr const char* kAuthorRoot = "C:\\hbdist\\";  // where the author's tree lay
constexpr const char* kUninstallKeyBase = "SoftWare\\Microsoft\\Windows\\CurrentVersion\\UnInstall\\";
constexpr const char* kSharedDllsKey = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

// The six step indicators in the order the run reaches them.
constexpr int kIndicators[] = {IDC_UNINSTALL_FILES,   IDC_UNINSTALL_FOLDER, IDC_UNINSTALL_STARTUP,
                               IDC_UNINSTALL_DESKTOP, IDC_UNINSTALL_GROUP,  IDC_UNINSTALL_REGISTRY};

inline bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// A special folder as the program reads it, with a final backslash.
inline std::string ShellFolder(const char* value) {
  char buf[MAX_PATH] = "";
  DWORD cb = sizeof buf;
  ::RegGetValueA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", value,
                 RRF_RT_REG_SZ, nullptr, buf, &cb);
  return std::string(buf) + "\\";
}

inline bool KeyExists(const std::string& subKey) {
  HKEY h = nullptr;
  if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, subKey.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
  ::RegCloseKey(h);
  return true;
}

// A shared file's use count: -1 when there is none.
inline long SharedCount(const std::string& valueName) {
  DWORD value = 0, cb = sizeof value;
  if (::RegGetValueA(HKEY_LOCAL_MACHINE, kSharedDllsKey, valueName.c_str(), RRF_RT_REG_DWORD, nullptr, &value, &cb) !=
      ERROR_SUCCESS)
    return -1;
  return static_cast<long>(value);
}

inline void SetSharedCount(const std::string& valueName, long count) {
  HKEY h = nullptr;
  if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, kSharedDllsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr) !=
      ERROR_SUCCESS)
    return;
  if (count < 0) {
    ::RegDeleteValueA(h, valueName.c_str());
  } else {
    DWORD value = static_cast<DWORD>(count);
    ::RegSetValueExA(h, valueName.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
  }
  ::RegCloseKey(h);
}

// A file's bytes, or "<none>" when it is missing.
inline std::string Bytes(const std::string& path) {
  std::string bytes;
  return uitest::ReadFile(path, bytes) ? bytes : std::string("<none>");
}

// Puts a file back to the bytes (or the absence) it had when this was made.
class CKeepFile {
 public:
  explicit CKeepFile(const std::string& path) : m_path(path), m_bytes(Bytes(path)) {}
  ~CKeepFile() {
    ::SetFileAttributesA(m_path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (m_bytes == "<none>") ::DeleteFileA(m_path.c_str());
    else uitest::WriteFile(m_path, m_bytes);
  }
  CKeepFile(const CKeepFile&) = delete;
  CKeepFile& operator=(const CKeepFile&) = delete;

 private:
  std::string m_path, m_bytes;
};

// A fresh folder under %TEMP%, removed with its contents at the end.
class CScratch {
 public:
  explicit CScratch(const std::string& name) : m_dir(uitest::TempDir(name)) {}
  ~CScratch() { uitest::RemoveTree(m_dir); }
  CScratch(const CScratch&) = delete;
  CScratch& operator=(const CScratch&) = delete;
  const std::string& Dir() const { return m_dir; }

 private:
  std::string m_dir;
};

// The built program as Hanbell.exe in the Windows folder, beside a Hanbell.ini that
// holds a record; both are put back as they were at the end.
class CInstallerCopy {
 public:
  CInstallerCopy()
      : m_exe(uitest::WindowsDir() + "Hanbell.exe"), m_ini(uitest::WindowsDir() + "Hanbell.ini"), m_keepExe(m_exe),
        m_keepIni(m_ini) {
    ::SetFileAttributesA(m_exe.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_TRUE(::CopyFileA(hbtest::ProgramPath().c_str(), m_exe.c_str(), FALSE));
    if (!Exists(m_ini)) uitest::WriteFile(m_ini, "[SetupDirectory]\r\nHbUnTest=C:\\hbuntest\\\r\n");
  }
  const std::string& Exe() const { return m_exe; }
  const std::string& Ini() const { return m_ini; }

 private:
  std::string m_exe, m_ini;
  CKeepFile m_keepExe, m_keepIni;
};

// An installed application named after its executable title. Entries are added with
// the author's paths (kAuthorRoot), as the installed Setup.ini keeps them, and laid
// out in the install folder at once; Write() then writes Setup.ini and the key.
class CInstalled {
 public:
  explicit CInstalled(const std::string& title)
      : m_title(title), m_dir(uitest::TempDir("hb_un_" + title)), m_startup(ShellFolder("Startup")),
        m_desktop(ShellFolder("Desktop")), m_programs(ShellFolder("Programs")),
        m_bSharedKeyExisted(KeyExists(kSharedDllsKey)) {
    m_tree.push_back(std::string(kAuthorRoot) + "|16");
    m_groupFiles.push_back(kAuthorRoot);
    m_groupNames.push_back("Dummy");
    m_systemFiles.push_back(kAuthorRoot);
    m_setup["Title"] = title + " ﾃｽﾄ";
    m_setup["Mode"] = "2";
    m_setup["STime"] = "0";
    File(title + ".exe", "MZ");
  }
  ~CInstalled() {
    uitest::RemoveTree(m_dir);
    for (const std::string& link : {StartupLink(), DesktopLink()}) ::DeleteFileA(link.c_str());
    uitest::RemoveTree(GroupDir());
    ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, Key().c_str());
    for (const auto& w : m_windowsFiles) {
      ::SetFileAttributesA(w.first.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (!w.second.bKeep) ::DeleteFileA(w.first.c_str());
      SetSharedCount(w.first, w.second.nCountBefore);
    }
    if (!m_bSharedKeyExisted) ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, kSharedDllsKey);
  }
  CInstalled(const CInstalled&) = delete;
  CInstalled& operator=(const CInstalled&) = delete;

  const std::string& Dir() const { return m_dir; }
  std::string Key() const { return kUninstallKeyBase + m_title; }
  std::string Name() const { return m_strPrgShortCut.empty() ? m_title + "へのｼｮｰﾄｶｯﾄ" : m_strPrgShortCut; }
  std::string StartupLink() const { return m_startup + Name() + ".lnk"; }
  std::string DesktopLink() const { return m_desktop + Name() + ".lnk"; }
  std::string GroupDir() const { return m_programs + (m_strPrgGroup.empty() ? m_title : m_strPrgGroup); }

  // A file below the install folder (its folders added first), listed in the tree.
  void File(const std::string& rel, const std::string& bytes = "x", DWORD attributes = FILE_ATTRIBUTE_ARCHIVE) {
    ASSERT_TRUE(uitest::WriteFile(m_dir + rel, bytes)) << rel;
    ::SetFileAttributesA((m_dir + rel).c_str(), attributes);
    List(rel, attributes);
  }
  void Folder(const std::string& rel) {
    ASSERT_TRUE(::CreateDirectoryA((m_dir + rel).c_str(), nullptr)) << rel;
    List(rel + "\\", FILE_ATTRIBUTE_DIRECTORY);
  }
  // A tree entry as stored, with nothing laid out for it.
  void List(const std::string& relOrAbsolute, DWORD attributes) {
    bool bAbsolute = relOrAbsolute.size() > 1 && (relOrAbsolute[1] == ':' || relOrAbsolute[0] == '\\');
    m_tree.push_back((bAbsolute ? "" : kAuthorRoot) + relOrAbsolute + "|" + std::to_string(attributes));
  }
  // A file the install put into the Windows folder, with the use count it left (-1:
  // none), or only listed (`bLayOut` false) to aim at a file that is there already.
  void WindowsFile(const std::string& name, long count, bool bLayOut = true, const std::string& listedAs = "") {
    std::string path = uitest::WindowsDir() + name;
    WindowsEntry& e = m_windowsFiles[path];
    if (!e.bSeen) {
      e = {true, !bLayOut, SharedCount(path)};
    }
    if (bLayOut) ASSERT_TRUE(uitest::WriteFile(path, "dll " + name));
    SetSharedCount(path, count);
    std::string listed = std::string(kAuthorRoot) + (listedAs.empty() ? name : listedAs);
    m_tree.push_back(listed + "|32");
    m_systemFiles.push_back(listed);
  }
  // A group file's link in the program group (the group's shortcuts are made by Options).
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
    if (bStartUp) ASSERT_TRUE(uitest::WriteFile(StartupLink(), "lnk"));
    if (bDesktop) ASSERT_TRUE(uitest::WriteFile(DesktopLink(), "lnk"));
    if (bProgram) {
      ASSERT_TRUE(::CreateDirectoryA(GroupDir().c_str(), nullptr));
      ASSERT_TRUE(uitest::WriteFile(GroupDir() + "\\" + Name() + ".lnk", "lnk"));
      for (const std::string& link : m_groupLinks) ASSERT_TRUE(uitest::WriteFile(GroupDir() + "\\" + link + ".lnk", "lnk"));
    }
  }
  std::map<std::string, std::string>& Setup() { return m_setup; }  // [Setup] keys; "" value with "=" kept
  std::string m_strPrgShortCut, m_strPrgGroup;  // set before Options
  std::string m_strSelectRel;                   // "" = the executable

  // Setup.ini as an install leaves it, then the uninstall key with its command.
  void Write() {
    std::string ini = "[Setup]\r\n";
    for (const auto& kv : m_setup)
      if (kv.second != "<absent>") ini += kv.first + "=" + kv.second + "\r\n";
    ini += "[TreeCtrl]\r\nSelect=" + std::string(kAuthorRoot) + (m_strSelectRel.empty() ? m_title + ".exe" : m_strSelectRel) +
           "\r\nTopRoot=C:\\hbdist\r\n";
    for (std::size_t i = 0; i < m_tree.size(); ++i) ini += "_f" + std::to_string(i) + "=" + m_tree[i] + "\r\n";
    ini += "Count=" + std::to_string(m_tree.size()) + "\r\n";
    ini += "[Option]\r\nStartUp=" + std::to_string(m_options[0]) + "\r\nProgram=" + std::to_string(m_options[2]) +
           "\r\nDesktop=" + std::to_string(m_options[1]) + "\r\nReboot=0\r\nBlueBack=1\r\n";
    ini += "[Altitude]\r\nInstallDir=\r\nPrgShortCut=" + m_strPrgShortCut + "\r\nPrgGroup=" + m_strPrgGroup +
           "\r\nExecute=0\r\nReadMe=\r\n";
    ini += List("AltitudeGroup", "_g", m_groupFiles) + List("AltitudeGrpSC", "_c", m_groupNames) +
           List("AltitudeSystem", "_s", m_systemFiles);
    ASSERT_TRUE(uitest::WriteFile(m_dir + "Setup.ini", ini));

    HKEY h = nullptr;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_LOCAL_MACHINE, Key().c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr),
              ERROR_SUCCESS);
    std::string display = m_setup["Title"];
    std::string command = uitest::WindowsDir() + "Hanbell.exe -d -t" + m_dir;
    ::RegSetValueExA(h, "DisplayName", 0, REG_SZ, reinterpret_cast<const BYTE*>(display.c_str()),
                     static_cast<DWORD>(display.size() + 1));
    ::RegSetValueExA(h, "UninstallString", 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                     static_cast<DWORD>(command.size() + 1));
    ::RegCloseKey(h);
  }

  // The registered command read back from the registry and started from the Windows
  // folder; the uninstall dialog it opens, or nullptr.
  HWND Start(uitest::Process& p) const {
    char buf[1024] = "";
    DWORD cb = sizeof buf;
    EXPECT_EQ(::RegGetValueA(HKEY_LOCAL_MACHINE, Key().c_str(), "UninstallString", RRF_RT_REG_SZ, nullptr, buf, &cb),
              ERROR_SUCCESS);
    std::string command = buf;
    std::size_t options = command.find(" -d");
    EXPECT_NE(options, std::string::npos) << command;
    if (options == std::string::npos) return nullptr;
    EXPECT_TRUE(p.Start(command.substr(0, options), command.substr(options + 1), uitest::WindowsDir())) << command;
    return uitest::WaitWindow(p.Pid(), kUninstallCaption, "#32770");
  }

  // What the install left, path by path (install folder first), to compare before and after.
  std::vector<std::string> Leftovers() const {
    std::vector<std::string> left;
    for (const std::string& entry : m_tree) {
      std::string path = entry.substr(0, entry.rfind('|'));
      if (path.compare(0, std::string(kAuthorRoot).size(), kAuthorRoot) == 0)
        path = m_dir + path.substr(std::string(kAuthorRoot).size());
      if (Exists(path)) left.push_back(path);
    }
    for (const auto& w : m_windowsFiles)
      if (!w.second.bKeep && Exists(w.first)) left.push_back(w.first);
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
  struct WindowsEntry {
    bool bSeen = false;
    bool bKeep = false;  // was there before: never deleted by the test
    long nCountBefore = -1;
  };

  std::string m_title, m_dir, m_startup, m_desktop, m_programs;
  std::vector<std::string> m_tree, m_groupFiles, m_groupNames, m_systemFiles, m_groupLinks;
  std::map<std::string, WindowsEntry> m_windowsFiles;
  std::map<std::string, std::string> m_setup;
  bool m_bSharedKeyExisted;
  int m_options[3] = {0, 0, 0};
};

// The window's big and small icons, read inside the program: "program program" when
// both are its icon 128.
inline std::string Icons(HWND wnd) { return hbtest::ProbeInside(wnd, -4); }

// The indicators' states as "enabled/checked" letters: "-" disabled, "e" enabled,
// "c" enabled and checked, in the run's order.
inline std::string IndicatorStates(HWND dlg) {
  std::string s;
  for (int id : kIndicators) {
    bool on = uitest::IsEnabled(dlg, id);
    bool checked = uitest::GetCheck(dlg, id) == BST_CHECKED;
    s += checked ? (on ? 'c' : '!') : (on ? 'e' : '-');
  }
  return s;
}

// Presses 実行 (or the given key), expects the result box with one beep before it
// after the run's own, and returns it; the buttons are locked while it shows.
inline uitest::MessageBoxInfo RunAndWaitBox(uitest::Process& p, HWND dlg, WORD key = 0) {
  EXPECT_EQ(hbtest::Beeps(dlg), "");
  if (key) uitest::PostKey(dlg, key);
  else uitest::Click(dlg, IDOK);
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
