// Shared by KeyRally's GUI tests and its screenshot driver: starting the program,
// finding its frame, keys, menus, file dialogs, status bar texts, word files, the
// program's settings key and its records folder.
#pragma once
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "../../typing/res/resource.h"  // by path: the installer has a resource.h too
#include "uitest.h"

namespace krtest {

constexpr const char* kAppTitle = "打鍵丸";
constexpr const char* kUntitledTitle = "無題 - KeyRally";
constexpr const char* kOpenCaption = "ﾌｧｲﾙを開く";
constexpr const char* kSaveCaption = "名前を付けて保存";
constexpr const char* kAboutCaption = "KeyRally のﾊﾞｰｼﾞｮﾝ情報";
constexpr const char* kWordListCaption = "単語リスト";
constexpr const char* kParentKey = "Software\\Local AppWizard-Generated Applications";
constexpr const char* kSettingsKey = "Software\\Local AppWizard-Generated Applications\\打鍵丸";
constexpr const char* kRecentKey = "Software\\Local AppWizard-Generated Applications\\打鍵丸\\Recent File List";

inline std::string ProgramPath() { return uitest::ModuleDir() + "KeyRally.exe"; }

// The ".wds" bytes of a list of words, as the format gives them.
inline std::string WdsBytes(const std::vector<std::string>& words) {
  auto le = [](uint32_t v, int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
    return s;
  };
  std::string s = le(static_cast<uint32_t>(words.size()), 4);
  for (const auto& w : words) {
    uint32_t n = static_cast<uint32_t>(w.size());
    s += n < 0xFF ? le(n, 1) : n < 0xFFFE ? "\xFF" + le(n, 2) : "\xFF\xFF\xFF" + le(n, 4);
    s += w;
  }
  return s;
}

// The program's frame: a visible top-level window of the framework's class with a menu.
inline HWND FindFrame(DWORD pid) {
  for (HWND h : uitest::TopWindows(pid))
    if (uitest::ClassOf(h).compare(0, 4, "Afx:") == 0 && ::GetMenu(h)) return h;
  return nullptr;
}
inline HWND WaitFrame(DWORD pid, DWORD timeoutMs = uitest::kDefaultTimeoutMs) {
  HWND h = nullptr;
  uitest::WaitFor([&] { return (h = FindFrame(pid)) != nullptr; }, timeoutMs);
  return h;
}
inline bool WaitTitle(HWND frame, const std::string& title, DWORD timeoutMs = uitest::kDefaultTimeoutMs) {
  return uitest::WaitFor([&] { return uitest::GetText(frame) == title; }, timeoutMs);
}

// Keys as a user types them: the frame comes to the front, then SendInput.
inline void PressKeys(HWND frame, std::initializer_list<WORD> keys) {
  ::SetForegroundWindow(frame);
  // keys reach the frame's accelerators only once it is enabled and active in its own
  // thread again (a closing dialog or box hands the activation back a moment later)
  uitest::WaitFor(
      [&] {
        GUITHREADINFO info = {sizeof info};
        return ::GetForegroundWindow() == frame && ::IsWindowEnabled(frame) &&
               ::GetGUIThreadInfo(::GetWindowThreadProcessId(frame, nullptr), &info) && info.hwndActive == frame;
      },
      3000);
  std::vector<INPUT> in;
  for (WORD k : keys) {
    INPUT i = {};
    i.type = INPUT_KEYBOARD;
    i.ki.wVk = k;
    in.push_back(i);
  }
  for (auto it = keys.end(); it != keys.begin();) {
    INPUT i = {};
    i.type = INPUT_KEYBOARD;
    i.ki.wVk = *--it;
    i.ki.dwFlags = KEYEVENTF_KEYUP;
    in.push_back(i);
  }
  ::SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}

inline void Command(HWND frame, UINT id) { ::PostMessageA(frame, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

// A menu item as the program shows it (read inside the program by krmenuprobe.dll).
struct MenuItem {
  int level;
  UINT id;  // 0xFFFFFFFF for a pop-up
  UINT state;
  std::string text;
};
using Menu = std::vector<MenuItem>;

// The program's menu bar with every pop-up brought up to date as when it opens.
inline Menu ReadMenu(HWND frame) {
  Menu menu;
  std::string text;
  bool got = uitest::AskProbe(frame, "krmenuprobe.dll", "KrMenuProbe", "KeyRallyTestMenuProbe", "krmenu", 0, text);
  if (!got) return menu;
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find('\n', at);
    std::string line = text.substr(at, end - at);
    at = end == std::string::npos ? text.size() : end + 1;
    MenuItem item;
    if (std::sscanf(line.c_str(), "%d\t%u\t%u\t", &item.level, &item.id, &item.state) != 3) continue;
    size_t tab = line.find('\t', line.find('\t', line.find('\t') + 1) + 1);
    item.text = line.substr(tab + 1);
    menu.push_back(item);
  }
  return menu;
}

// The window that has the keyboard focus in the frame's thread.
inline HWND FocusOf(HWND frame) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  return ::GetGUIThreadInfo(::GetWindowThreadProcessId(frame, nullptr), &info) ? info.hwndFocus : nullptr;
}

// A one-line edit in the view, made and focused by the program's own thread (through
// krmenuprobe.dll), so that keys typed into it go through the program's message loop.
constexpr int kTypingBoxId = 0x7FF0;
inline HWND MakeTypingBox(HWND frame) {
  uitest::ProbeHook hook(frame, "krmenuprobe.dll", "KrMenuProbe");
  HWND edit = nullptr;
  if (hook) {
    ::PostMessageA(frame, ::RegisterWindowMessageA("KeyRallyTestEditProbe"), 0, 0);
    HWND view = ::GetDlgItem(frame, AFX_IDW_PANE_FIRST);
    uitest::WaitFor([&] { return (edit = ::GetDlgItem(view, kTypingBoxId)) != nullptr && FocusOf(frame) == edit; },
                    10000);
  }
  return edit;
}

// Items of pop-up `index` of the bar (or of the bar itself with -1).
inline Menu PopupItems(const Menu& menu, int index) {
  Menu out;
  int top = -1;
  for (size_t i = 0; i < menu.size(); ++i) {
    if (menu[i].level == 0) ++top;
    if (index < 0 ? menu[i].level == 0 : (top == index && menu[i].level == 1)) out.push_back(menu[i]);
  }
  return out;
}
inline std::vector<std::string> Texts(const Menu& items) {
  std::vector<std::string> v;
  for (const auto& i : items) v.push_back(i.text);
  return v;
}

// The common font dialog of the process: the dialog with the face (1136), style (1137)
// and size (1138) boxes.
inline HWND WaitFontDialog(DWORD pid, DWORD timeoutMs = uitest::kDefaultTimeoutMs) {
  HWND dlg = nullptr;
  uitest::WaitFor(
      [&] {
        for (HWND h : uitest::TopWindows(pid))
          if (uitest::ClassOf(h) == "#32770" && ::GetDlgItem(h, 1137) && ::GetDlgItem(h, 1138)) dlg = h;
        return dlg != nullptr;
      },
      timeoutMs);
  return dlg;
}

// Types a full path into a file dialog of the process and confirms it.
inline bool ChooseFile(DWORD pid, const char* caption, const std::string& path) {
  HWND dlg = uitest::WaitWindow(pid, caption, "#32770");
  if (!dlg) return false;
  int id = ::GetDlgItem(dlg, 1148) ? 1148 : 1152;  // file name box: combo (explorer style) or edit
  if (!uitest::WaitFor([&] { return uitest::SetText(dlg, id, path) && uitest::GetText(dlg, id) == path; }, 5000))
    return false;
  uitest::Click(dlg, IDOK);
  return uitest::WaitGone(dlg);
}

// Text of a status bar pane of another process (the text needs a buffer there).
inline std::string PaneText(HWND bar, int index) {
  DWORD pid = 0;
  ::GetWindowThreadProcessId(bar, &pid);
  HANDLE proc = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
  if (!proc) return "<no access>";
  char* remote = static_cast<char*>(::VirtualAllocEx(proc, nullptr, 1024, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  std::string text;
  if (remote) {
    // the length message counts characters here, not bytes: read the whole buffer
    if (LOWORD(::SendMessageA(bar, SB_GETTEXTLENGTHA, static_cast<WPARAM>(index), 0)) < 500) {
      ::SendMessageA(bar, SB_GETTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(remote));
      char buf[1025] = "";
      SIZE_T got = 0;
      ::ReadProcessMemory(proc, remote, buf, 1024, &got);
      text = buf;
    }
    ::VirtualFreeEx(proc, remote, 0, MEM_RELEASE);
  }
  ::CloseHandle(proc);
  return text;
}

// Deletes a key with everything under it.
inline void DeleteKeyTree(HKEY root, const std::string& path) {
  HKEY h;
  if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_READ | KEY_WRITE, &h) == ERROR_SUCCESS) {
    char name[512];
    for (;;) {
      DWORD n = sizeof name;
      if (::RegEnumKeyExA(h, 0, name, &n, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
      DeleteKeyTree(root, path + "\\" + name);
    }
    ::RegCloseKey(h);
  }
  ::RegDeleteKeyA(root, path.c_str());
}

// The string values of a key, name by name ("" when missing).
inline std::string RegString(const std::string& path, const std::string& name) {
  HKEY h;
  if (::RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return "";
  char buf[1024] = "";
  DWORD size = sizeof buf - 1, type = 0;
  LONG r = ::RegQueryValueExA(h, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buf), &size);
  ::RegCloseKey(h);
  return r == ERROR_SUCCESS && type == REG_SZ ? std::string(buf) : std::string();
}
inline bool RegHasValue(const std::string& path, const std::string& name) {
  HKEY h;
  if (::RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
  LONG r = ::RegQueryValueExA(h, name.c_str(), nullptr, nullptr, nullptr, nullptr);
  ::RegCloseKey(h);
  return r == ERROR_SUCCESS;
}

// Keeps the user's recent-file list out of the tests: the program's settings key is
// emptied for the test and put back afterwards.
class SettingsGuard {
 public:
  SettingsGuard() {
    HKEY h;
    m_bParentExisted = ::RegOpenKeyExA(HKEY_CURRENT_USER, kParentKey, 0, KEY_READ, &h) == ERROR_SUCCESS;
    if (m_bParentExisted) ::RegCloseKey(h);
    for (int i = 1; i <= 16; ++i) {
      std::string name = "File" + std::to_string(i);
      if (RegHasValue(kRecentKey, name)) m_saved.emplace_back(name, RegString(kRecentKey, name));
    }
    DeleteKeyTree(HKEY_CURRENT_USER, kSettingsKey);
  }
  ~SettingsGuard() {
    DeleteKeyTree(HKEY_CURRENT_USER, kSettingsKey);
    if (!m_bParentExisted) ::RegDeleteKeyA(HKEY_CURRENT_USER, kParentKey);  // fails when others use it
    if (m_saved.empty()) return;
    HKEY h;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, kRecentKey, 0, nullptr, 0, KEY_WRITE, nullptr, &h, nullptr) !=
        ERROR_SUCCESS)
      return;
    for (const auto& v : m_saved)
      ::RegSetValueExA(h, v.first.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(v.second.c_str()),
                       static_cast<DWORD>(v.second.size() + 1));
    ::RegCloseKey(h);
  }
  SettingsGuard(const SettingsGuard&) = delete;
  SettingsGuard& operator=(const SettingsGuard&) = delete;

 private:
  std::vector<std::pair<std::string, std::string>> m_saved;
  bool m_bParentExisted = false;
};

// The program's records in the prefix: %APPDATA%\KeyRally\ and the file in it.
inline std::string RecordsFolder() {
  const char* appdata = std::getenv("APPDATA");
  return appdata && *appdata ? std::string(appdata) + "\\KeyRally\\" : std::string();
}
inline std::string RecordsPath() { return RecordsFolder() + "records.tsv"; }

// Keeps the records a user made in the prefix out of the tests: the program's records
// folder is set aside for the test, and what the test made is removed before it is
// put back.
class RecordsGuard {
 public:
  RecordsGuard() : m_folder(RecordsFolder()) {
    if (m_folder.empty()) return;
    std::string dir = m_folder.substr(0, m_folder.size() - 1);
    m_aside = dir + ".kept-by-test";
    if (::GetFileAttributesA(m_aside.c_str()) == INVALID_FILE_ATTRIBUTES)  // not left by a test that died
      m_moved = ::MoveFileA(dir.c_str(), m_aside.c_str()) != FALSE;
    else
      uitest::RemoveTree(m_folder);
  }
  ~RecordsGuard() {
    if (m_folder.empty()) return;
    uitest::RemoveTree(m_folder);
    if (m_moved || ::GetFileAttributesA(m_aside.c_str()) != INVALID_FILE_ATTRIBUTES)
      ::MoveFileA(m_aside.c_str(), m_folder.substr(0, m_folder.size() - 1).c_str());
  }
  RecordsGuard(const RecordsGuard&) = delete;
  RecordsGuard& operator=(const RecordsGuard&) = delete;

 private:
  std::string m_folder, m_aside;
  bool m_moved = false;
};

}  // namespace krtest
