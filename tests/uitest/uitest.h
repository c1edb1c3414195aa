// A small driver for GUI tests: starts a program, finds its windows, reads and sets
// control texts, clicks, answers message boxes, waits for the end. Every wait polls
// against a deadline and fails with a message saying what it waited for.
#pragma once
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

namespace uitest {

constexpr DWORD kDefaultTimeoutMs = 20000;

class Process {
 public:
  Process() = default;
  ~Process();  // kills the process if it still runs: every test ends what it starts
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;
  Process(Process&& o) noexcept;
  Process& operator=(Process&& o) noexcept;

  // Starts `exe` with the command line `args` (after the program name) in `workDir`.
  bool Start(const std::string& exe, const std::string& args, const std::string& workDir = std::string());
  DWORD Pid() const { return m_pi.dwProcessId; }
  HANDLE Handle() const { return m_pi.hProcess; }
  bool Running() const;
  // Waits for the end; false on time-out. The exit code goes to *code.
  bool WaitExit(DWORD timeoutMs = kDefaultTimeoutMs, DWORD* code = nullptr);
  void Kill();

 private:
  PROCESS_INFORMATION m_pi = {};
};

// Top-level windows of a process (visible or not).
std::vector<HWND> TopWindows(DWORD pid, bool visibleOnly = true);

// Waits for a visible top-level window of `pid` with this caption (exact, empty = any)
// and class (empty = any; "#32770" for dialogs). Returns nullptr after the time-out.
HWND WaitWindow(DWORD pid, const std::string& caption, const std::string& cls = std::string(),
                DWORD timeoutMs = kDefaultTimeoutMs);
// Waits for a visible top-level window of `pid` that has a child with this id.
HWND WaitWindowWithControl(DWORD pid, int controlId, DWORD timeoutMs = kDefaultTimeoutMs);
// Waits until the window is gone or hidden.
bool WaitGone(HWND hwnd, DWORD timeoutMs = kDefaultTimeoutMs);

std::string GetText(HWND hwnd);
std::string GetText(HWND dlg, int id);
bool SetText(HWND dlg, int id, const std::string& text);
std::string ClassOf(HWND hwnd);
// Clicks a button by message (BM_CLICK); posted, so a modal box it opens does not block.
bool Click(HWND dlg, int id);
// Check box state (BST_CHECKED...), read and set by message.
int GetCheck(HWND dlg, int id);
void SetCheck(HWND dlg, int id, bool checked);
bool IsVisible(HWND dlg, int id);
bool IsEnabled(HWND dlg, int id);

// A message box of a process: its caption, its text (static 0xFFFF) and its icon.
enum class Icon { None, Information, Warning, Question, Stop };
struct MessageBoxInfo {
  HWND hwnd = nullptr;
  std::string caption;
  std::string text;
  Icon icon = Icon::None;
  std::vector<std::string> buttons;  // texts of its buttons, in order
};
// Waits for a message box (a #32770 window with a static 0xFFFF) of `pid`; hwnd is
// nullptr after the time-out.
MessageBoxInfo WaitMessageBox(DWORD pid, DWORD timeoutMs = kDefaultTimeoutMs);
// Presses the box's button with this id (IDOK, IDYES, IDNO, IDCANCEL, ...).
bool Answer(const MessageBoxInfo& box, int buttonId);

// Tree view in another process: item texts need a buffer in that process.
struct TreeItem {
  HTREEITEM item = nullptr;
  std::string text;
  int depth = 0;
};
std::vector<TreeItem> TreeItems(HWND tree, DWORD pid);  // depth-first, in display order
bool TreeSelect(HWND tree, HTREEITEM item);
HTREEITEM TreeSelected(HWND tree);
// Check boxes of a tree with TVS_CHECKBOXES.
bool TreeChecked(HWND tree, HTREEITEM item);
bool TreeSetCheck(HWND tree, DWORD pid, HTREEITEM item, bool checked);

// The entries of a list box, in order.
std::vector<std::string> ListTexts(HWND list);
// Double-clicks entry `index` of a list box with the mouse messages a user's
// double-click sends (the entry is selected by the first press).
bool DoubleClickListEntry(HWND list, int index);

// The window that has the keyboard focus in the thread of `wnd`.
HWND FocusOf(HWND wnd);
// Brings the top-level window `top` to the front and types the key there (down, up).
bool PressKey(HWND top, WORD vk);

// Sends `msg` to a window of process `pid` with lParam pointing to a copy of `data`
// made in that process; the reply is the message's result.
LRESULT SendWithRemoteData(HWND wnd, DWORD pid, UINT msg, WPARAM wParam, const void* data, size_t size);

// Polls `cond` until it holds or the time runs out.
template <class F>
bool WaitFor(F cond, DWORD timeoutMs = kDefaultTimeoutMs) {
  DWORD start = ::GetTickCount();
  for (;;) {
    if (cond()) return true;
    if (::GetTickCount() - start > timeoutMs) return false;
    ::Sleep(20);
  }
}

// Small file helpers for test folders (ANSI paths).
bool WriteFile(const std::string& path, const std::string& bytes);
bool ReadFile(const std::string& path, std::string& bytes);
bool MakeDirs(const std::string& path);
bool RemoveTree(const std::string& path);  // clears read-only bits first
std::string TempDir(const std::string& name);  // a fresh folder under %TEMP%, with a final backslash
std::string WindowsDir();                       // with a final backslash
std::string ModuleDir();                        // folder of the running test program, with a final backslash

// Asks a screenshot script that watches the folder `dir` for a picture of the screen
// as it is now: writes NAME.txt holding the caption and waits for the script's
// NAME.done. False when no picture was taken in time.
bool RequestShot(const std::string& dir, const std::string& name, const std::string& caption,
                 DWORD timeoutMs = 30000);

// The target of a shortcut file (".lnk") loaded back through IShellLinkA, or "<unreadable>".
std::string ShortcutTarget(const std::string& lnk);

// Hooks the thread of `wnd` (another program's) with the WH_GETMESSAGE procedure
// `hookProc` of a probe DLL beside the test program, for as long as it lives; the probe
// then acts inside that program on the messages posted to it.
class ProbeHook {
 public:
  ProbeHook(HWND wnd, const char* dllName, const char* hookProc);
  ~ProbeHook();
  ProbeHook(const ProbeHook&) = delete;
  ProbeHook& operator=(const ProbeHook&) = delete;
  explicit operator bool() const { return m_hook != nullptr; }

 private:
  HHOOK m_hook = nullptr;
};

// Asks a probe about a window of another program: hooks it (ProbeHook), posts the
// window the registered message `message` (wParam: a fresh number, lParam: `what`) and
// waits for the probe's answer file %TEMP%\<replyPrefix>_<pid>_<number>.txt. False
// when the probe could not be hooked or gave no answer in time.
bool AskProbe(HWND wnd, const char* dllName, const char* hookProc, const char* message, const char* replyPrefix,
              LPARAM what, std::string& answer);

}  // namespace uitest
