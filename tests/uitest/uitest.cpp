#include "uitest.h"

#include <commctrl.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstdio>

namespace uitest {

Process::~Process() { Kill(); }

Process::Process(Process&& o) noexcept : m_pi(o.m_pi) { o.m_pi = {}; }
Process& Process::operator=(Process&& o) noexcept {
  if (this != &o) {
    Kill();
    m_pi = o.m_pi;
    o.m_pi = {};
  }
  return *this;
}

bool Process::Start(const std::string& exe, const std::string& args, const std::string& workDir) {
  Kill();
  std::string cmd = "\"" + exe + "\"";
  if (!args.empty()) cmd += " " + args;
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  std::string mutableCmd = cmd;
  BOOL ok = ::CreateProcessA(exe.c_str(), &mutableCmd[0], nullptr, nullptr, FALSE, 0, nullptr,
                             workDir.empty() ? nullptr : workDir.c_str(), &si, &m_pi);
  if (!ok) {
    m_pi = {};
    return false;
  }
  ::WaitForInputIdle(m_pi.hProcess, 5000);
  return true;
}

bool Process::Running() const {
  return m_pi.hProcess && ::WaitForSingleObject(m_pi.hProcess, 0) == WAIT_TIMEOUT;
}

bool Process::WaitExit(DWORD timeoutMs, DWORD* code) {
  if (!m_pi.hProcess) return false;
  if (::WaitForSingleObject(m_pi.hProcess, timeoutMs) != WAIT_OBJECT_0) {
    std::fprintf(stderr, "uitest: process %lu still running after %lu ms\n", static_cast<unsigned long>(Pid()),
                 static_cast<unsigned long>(timeoutMs));
    return false;
  }
  if (code) ::GetExitCodeProcess(m_pi.hProcess, code);
  return true;
}

void Process::Kill() {
  if (!m_pi.hProcess) return;
  if (::WaitForSingleObject(m_pi.hProcess, 0) == WAIT_TIMEOUT) {
    ::TerminateProcess(m_pi.hProcess, 255);
    ::WaitForSingleObject(m_pi.hProcess, 5000);
  }
  ::CloseHandle(m_pi.hProcess);
  if (m_pi.hThread) ::CloseHandle(m_pi.hThread);
  m_pi = {};
}

namespace {
struct EnumCtx {
  DWORD pid;
  bool visibleOnly;
  std::vector<HWND>* out;
};
BOOL CALLBACK EnumTop(HWND h, LPARAM l) {
  auto* c = reinterpret_cast<EnumCtx*>(l);
  DWORD pid = 0;
  ::GetWindowThreadProcessId(h, &pid);
  if (pid == c->pid && (!c->visibleOnly || ::IsWindowVisible(h))) c->out->push_back(h);
  return TRUE;
}
}  // namespace

std::vector<HWND> TopWindows(DWORD pid, bool visibleOnly) {
  std::vector<HWND> out;
  EnumCtx c{pid, visibleOnly, &out};
  ::EnumWindows(EnumTop, reinterpret_cast<LPARAM>(&c));
  return out;
}

std::string ClassOf(HWND hwnd) {
  char buf[256] = "";
  ::GetClassNameA(hwnd, buf, sizeof buf);
  return buf;
}

std::string GetText(HWND hwnd) {
  DWORD_PTR len = 0;
  if (!::SendMessageTimeoutA(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &len)) return std::string();
  std::string s(len + 1, '\0');
  DWORD_PTR n = 0;
  ::SendMessageTimeoutA(hwnd, WM_GETTEXT, len + 1, reinterpret_cast<LPARAM>(&s[0]), SMTO_ABORTIFHUNG, 5000, &n);
  s.resize(n);
  return s;
}

std::string GetText(HWND dlg, int id) { return GetText(::GetDlgItem(dlg, id)); }

bool SetText(HWND dlg, int id, const std::string& text) {
  HWND h = ::GetDlgItem(dlg, id);
  if (!h) return false;
  DWORD_PTR r = 0;
  return ::SendMessageTimeoutA(h, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG, 5000, &r) &&
         r;
}

bool Click(HWND dlg, int id) {
  HWND h = ::GetDlgItem(dlg, id);
  if (!h) return false;
  return ::PostMessageA(h, BM_CLICK, 0, 0) != 0;
}

int GetCheck(HWND dlg, int id) {
  DWORD_PTR r = 0;
  ::SendMessageTimeoutA(::GetDlgItem(dlg, id), BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 5000, &r);
  return static_cast<int>(r);
}

void SetCheck(HWND dlg, int id, bool checked) {
  DWORD_PTR r = 0;
  ::SendMessageTimeoutA(::GetDlgItem(dlg, id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0,
                        SMTO_ABORTIFHUNG, 5000, &r);
}

bool IsVisible(HWND dlg, int id) { return ::IsWindowVisible(::GetDlgItem(dlg, id)) != FALSE; }
bool IsEnabled(HWND dlg, int id) { return ::IsWindowEnabled(::GetDlgItem(dlg, id)) != FALSE; }

HWND WaitWindow(DWORD pid, const std::string& caption, const std::string& cls, DWORD timeoutMs) {
  HWND found = nullptr;
  WaitFor(
      [&] {
        for (HWND h : TopWindows(pid)) {
          if (!cls.empty() && ClassOf(h) != cls) continue;
          if (!caption.empty() && GetText(h) != caption) continue;
          found = h;
          return true;
        }
        return false;
      },
      timeoutMs);
  if (!found)
    std::fprintf(stderr, "uitest: no window \"%s\" (class \"%s\") of process %lu within %lu ms\n", caption.c_str(),
                 cls.c_str(), static_cast<unsigned long>(pid), static_cast<unsigned long>(timeoutMs));
  return found;
}

HWND WaitWindowWithControl(DWORD pid, int controlId, DWORD timeoutMs) {
  HWND found = nullptr;
  WaitFor(
      [&] {
        for (HWND h : TopWindows(pid)) {
          if (::GetDlgItem(h, controlId)) {
            found = h;
            return true;
          }
        }
        return false;
      },
      timeoutMs);
  if (!found)
    std::fprintf(stderr, "uitest: no window with control %d of process %lu within %lu ms\n", controlId,
                 static_cast<unsigned long>(pid), static_cast<unsigned long>(timeoutMs));
  return found;
}

bool WaitGone(HWND hwnd, DWORD timeoutMs) {
  bool ok = WaitFor([&] { return !::IsWindow(hwnd) || !::IsWindowVisible(hwnd); }, timeoutMs);
  if (!ok) std::fprintf(stderr, "uitest: window %p still shown after %lu ms\n", static_cast<void*>(hwnd),
                        static_cast<unsigned long>(timeoutMs));
  return ok;
}

namespace {
// The icon of a message box. Icon handles are the process's own, so the kind is told
// by the pixels: the icon static as shown on the screen against each system icon
// drawn the same size on the same background.
Icon ClassifyIcon(HWND iconStatic) {
  RECT r;
  if (!::GetWindowRect(iconStatic, &r)) return Icon::None;
  int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0 || w > 256 || h > 256) return Icon::None;
  HDC screen = ::GetDC(nullptr);
  HDC shot = ::CreateCompatibleDC(screen), probe = ::CreateCompatibleDC(screen);
  HBITMAP bShot = ::CreateCompatibleBitmap(screen, w, h), bProbe = ::CreateCompatibleBitmap(screen, w, h);
  HGDIOBJ oldShot = ::SelectObject(shot, bShot), oldProbe = ::SelectObject(probe, bProbe);
  ::BitBlt(shot, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  COLORREF back = ::GetPixel(shot, 0, 0);

  struct Kind {
    LPCSTR id;
    Icon icon;
  };
  const Kind kinds[] = {{IDI_ASTERISK, Icon::Information}, {IDI_EXCLAMATION, Icon::Warning},
                        {IDI_QUESTION, Icon::Question}, {IDI_HAND, Icon::Stop}};
  Icon best = Icon::None;
  int bestSame = 0, meaningful = 0;
  for (const Kind& k : kinds) {
    HBRUSH br = ::CreateSolidBrush(back);
    RECT all = {0, 0, w, h};
    ::FillRect(probe, &all, br);
    ::DeleteObject(br);
    ::DrawIconEx(probe, 0, 0, ::LoadIconA(nullptr, k.id), 0, 0, 0, nullptr, DI_NORMAL | DI_DEFAULTSIZE);
    int same = 0, drawn = 0;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        COLORREF a = ::GetPixel(shot, x, y), b = ::GetPixel(probe, x, y);
        if (b != back || a != back) {
          ++drawn;
          if (a == b) ++same;
        }
      }
    if (drawn > 0 && same > bestSame) {
      bestSame = same;
      meaningful = drawn;
      best = k.icon;
    }
  }
  ::SelectObject(shot, oldShot);
  ::SelectObject(probe, oldProbe);
  ::DeleteObject(bShot);
  ::DeleteObject(bProbe);
  ::DeleteDC(shot);
  ::DeleteDC(probe);
  ::ReleaseDC(nullptr, screen);
  // most of the icon's own pixels must agree
  return (meaningful > 0 && bestSame * 10 >= meaningful * 9) ? best : Icon::None;
}

HWND IconStatic(HWND box) {
  for (HWND c = ::GetWindow(box, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
    if (ClassOf(c) != "Static") continue;
    if ((::GetWindowLongA(c, GWL_STYLE) & SS_TYPEMASK) == SS_ICON && ::IsWindowVisible(c)) return c;
  }
  return nullptr;
}

Icon IconOf(HWND box) {
  HWND st = IconStatic(box);
  if (!st) return Icon::None;
  Icon icon = Icon::None;
  // the box may not have painted yet
  WaitFor([&] { return (icon = ClassifyIcon(st)) != Icon::None; }, 3000);
  return icon;
}
}  // namespace

MessageBoxInfo WaitMessageBox(DWORD pid, DWORD timeoutMs) {
  MessageBoxInfo info;
  WaitFor(
      [&] {
        for (HWND h : TopWindows(pid)) {
          if (ClassOf(h) != "#32770") continue;
          HWND text = ::GetDlgItem(h, 0xFFFF);
          if (!text) continue;
          info.hwnd = h;
          info.caption = GetText(h);
          info.text = GetText(text);
          info.icon = IconOf(h);
          for (HWND c = ::GetWindow(h, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT))
            if (ClassOf(c) == "Button") info.buttons.push_back(GetText(c));
          return true;
        }
        return false;
      },
      timeoutMs);
  if (!info.hwnd)
    std::fprintf(stderr, "uitest: no message box of process %lu within %lu ms\n", static_cast<unsigned long>(pid),
                 static_cast<unsigned long>(timeoutMs));
  return info;
}

bool Answer(const MessageBoxInfo& box, int buttonId) {
  if (!box.hwnd) return false;
  HWND b = ::GetDlgItem(box.hwnd, buttonId);
  if (b) return ::PostMessageA(b, BM_CLICK, 0, 0) != 0;
  return ::PostMessageA(box.hwnd, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), 0) != 0;
}

std::vector<TreeItem> TreeItems(HWND tree, DWORD pid) {
  std::vector<TreeItem> out;
  HANDLE hProc = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
  if (!hProc) return out;
  const SIZE_T kText = 1024;
  char* remote = static_cast<char*>(
      ::VirtualAllocEx(hProc, nullptr, sizeof(TVITEMA) + kText, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  if (!remote) {
    ::CloseHandle(hProc);
    return out;
  }
  auto next = [&](HTREEITEM h, UINT code) {
    DWORD_PTR r = 0;
    ::SendMessageTimeoutA(tree, TVM_GETNEXTITEM, code, reinterpret_cast<LPARAM>(h), SMTO_ABORTIFHUNG, 5000, &r);
    return reinterpret_cast<HTREEITEM>(r);
  };
  auto text = [&](HTREEITEM h) {
    TVITEMA it = {};
    it.mask = TVIF_TEXT;
    it.hItem = h;
    it.pszText = remote + sizeof(TVITEMA);
    it.cchTextMax = static_cast<int>(kText);
    ::WriteProcessMemory(hProc, remote, &it, sizeof it, nullptr);
    DWORD_PTR r = 0;
    ::SendMessageTimeoutA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(remote), SMTO_ABORTIFHUNG, 5000, &r);
    char buf[1024] = "";
    ::ReadProcessMemory(hProc, remote + sizeof(TVITEMA), buf, sizeof buf - 1, nullptr);
    return std::string(buf);
  };
  // depth-first walk with an explicit stack
  std::vector<std::pair<HTREEITEM, int>> stack;
  for (HTREEITEM h = next(nullptr, TVGN_ROOT); h; h = next(h, TVGN_NEXT)) stack.emplace_back(h, 0);
  std::vector<std::pair<HTREEITEM, int>> order(stack.rbegin(), stack.rend());
  while (!order.empty()) {
    auto [h, depth] = order.back();
    order.pop_back();
    out.push_back({h, text(h), depth});
    std::vector<std::pair<HTREEITEM, int>> kids;
    for (HTREEITEM c = next(h, TVGN_CHILD); c; c = next(c, TVGN_NEXT)) kids.emplace_back(c, depth + 1);
    order.insert(order.end(), kids.rbegin(), kids.rend());
  }
  ::VirtualFreeEx(hProc, remote, 0, MEM_RELEASE);
  ::CloseHandle(hProc);
  return out;
}

bool TreeSelect(HWND tree, HTREEITEM item) {
  DWORD_PTR r = 0;
  return ::SendMessageTimeoutA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item), SMTO_ABORTIFHUNG,
                               5000, &r) &&
         r;
}

HTREEITEM TreeSelected(HWND tree) {
  DWORD_PTR r = 0;
  ::SendMessageTimeoutA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0, SMTO_ABORTIFHUNG, 5000, &r);
  return reinterpret_cast<HTREEITEM>(r);
}

bool TreeChecked(HWND tree, HTREEITEM item) {
  DWORD_PTR r = 0;
  ::SendMessageTimeoutA(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_STATEIMAGEMASK,
                        SMTO_ABORTIFHUNG, 5000, &r);
  return (r >> 12) == 2;
}

bool TreeSetCheck(HWND tree, DWORD pid, HTREEITEM item, bool checked) {
  TVITEMA it = {};
  it.mask = TVIF_STATE;
  it.hItem = item;
  it.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
  it.stateMask = TVIS_STATEIMAGEMASK;
  return SendWithRemoteData(tree, pid, TVM_SETITEMA, 0, &it, sizeof it) != 0;
}

// Read as UTF-16 and turned into code page 932: Wine hands the ANSI text of another
// process's list box back in UTF-16.
std::vector<std::string> ListTexts(HWND list) {
  std::vector<std::string> out;
  DWORD_PTR count = 0;
  if (!::SendMessageTimeoutW(list, LB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &count)) return out;
  for (int i = 0; i < static_cast<int>(count); ++i) {
    DWORD_PTR len = 0;
    ::SendMessageTimeoutW(list, LB_GETTEXTLEN, i, 0, SMTO_ABORTIFHUNG, 5000, &len);
    std::wstring wide(static_cast<int>(len) > 0 ? len + 1 : 1, L'\0');
    DWORD_PTR n = 0;
    ::SendMessageTimeoutW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(&wide[0]), SMTO_ABORTIFHUNG, 5000, &n);
    int wn = static_cast<int>(n) > 0 ? static_cast<int>(n) : 0;
    std::string text(static_cast<size_t>(wn) * 2 + 1, '\0');
    int bytes = ::WideCharToMultiByte(932, 0, wide.c_str(), wn, &text[0], static_cast<int>(text.size()), nullptr,
                                      nullptr);
    text.resize(bytes > 0 ? static_cast<size_t>(bytes) : 0);
    out.push_back(text);
  }
  return out;
}

bool DoubleClickListEntry(HWND list, int index) {
  DWORD_PTR height = 0, top = 0;
  if (!::SendMessageTimeoutA(list, LB_GETITEMHEIGHT, index, 0, SMTO_ABORTIFHUNG, 5000, &height) ||
      !::SendMessageTimeoutA(list, LB_GETTOPINDEX, 0, 0, SMTO_ABORTIFHUNG, 5000, &top))
    return false;
  LPARAM at = MAKELPARAM(4, (index - static_cast<int>(top)) * static_cast<int>(height) + static_cast<int>(height) / 2);
  return ::PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at) && ::PostMessageA(list, WM_LBUTTONUP, 0, at) &&
         ::PostMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at) && ::PostMessageA(list, WM_LBUTTONUP, 0, at);
}

HWND FocusOf(HWND wnd) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  return ::GetGUIThreadInfo(::GetWindowThreadProcessId(wnd, nullptr), &info) ? info.hwndFocus : nullptr;
}

bool PressKey(HWND top, WORD vk) {
  ::SetForegroundWindow(top);
  // keys go to the active window of the foreground thread
  bool active = WaitFor(
      [&] {
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        return ::GetForegroundWindow() == top &&
               ::GetGUIThreadInfo(::GetWindowThreadProcessId(top, nullptr), &info) && info.hwndActive == top;
      },
      3000);
  INPUT in[2] = {};
  in[0].type = in[1].type = INPUT_KEYBOARD;
  in[0].ki.wVk = in[1].ki.wVk = vk;
  in[1].ki.dwFlags = KEYEVENTF_KEYUP;
  return active && ::SendInput(2, in, sizeof(INPUT)) == 2;
}

LRESULT SendWithRemoteData(HWND wnd, DWORD pid, UINT msg, WPARAM wParam, const void* data, size_t size) {
  HANDLE hProc = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
  if (!hProc) return 0;
  void* remote = ::VirtualAllocEx(hProc, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  DWORD_PTR r = 0;
  if (remote && ::WriteProcessMemory(hProc, remote, data, size, nullptr))
    ::SendMessageTimeoutA(wnd, msg, wParam, reinterpret_cast<LPARAM>(remote), SMTO_ABORTIFHUNG, 5000, &r);
  if (remote) ::VirtualFreeEx(hProc, remote, 0, MEM_RELEASE);
  ::CloseHandle(hProc);
  return static_cast<LRESULT>(r);
}

// ---- files ------------------------------------------------------------------------
bool WriteFile(const std::string& path, const std::string& bytes) {
  HANDLE h = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD n = 0;
  BOOL ok = ::WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
  ::CloseHandle(h);
  return ok && n == bytes.size();
}

bool ReadFile(const std::string& path, std::string& bytes) {
  HANDLE h = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                           nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD size = ::GetFileSize(h, nullptr);
  bytes.assign(size, '\0');
  DWORD n = 0;
  BOOL ok = size == 0 || ::ReadFile(h, &bytes[0], size, &n, nullptr);
  ::CloseHandle(h);
  bytes.resize(n);
  return ok != FALSE;
}

bool MakeDirs(const std::string& path) {
  for (size_t i = 3; i <= path.size(); ++i) {
    if (i == path.size() || path[i] == '\\') {
      std::string part = path.substr(0, i);
      if (!part.empty() && part.back() != ':') ::CreateDirectoryA(part.c_str(), nullptr);
    }
  }
  DWORD a = ::GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool RemoveTree(const std::string& path) {
  std::string dir = path;
  if (!dir.empty() && dir.back() == '\\') dir.pop_back();
  WIN32_FIND_DATAA fd;
  HANDLE h = ::FindFirstFileA((dir + "\\*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      std::string name = fd.cFileName;
      if (name == "." || name == "..") continue;
      std::string full = dir + "\\" + name;
      ::SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveTree(full);
      else
        ::DeleteFileA(full.c_str());
    } while (::FindNextFileA(h, &fd));
    ::FindClose(h);
  }
  ::SetFileAttributesA(dir.c_str(), FILE_ATTRIBUTE_NORMAL);
  return ::RemoveDirectoryA(dir.c_str()) != FALSE;
}

std::string TempDir(const std::string& name) {
  char buf[MAX_PATH] = "";
  ::GetTempPathA(MAX_PATH, buf);
  std::string base = buf;
  if (!base.empty() && base.back() != '\\') base += '\\';
  std::string dir = base + name + "_" + std::to_string(::GetCurrentProcessId()) + "_" + std::to_string(::GetTickCount()) + "\\";
  RemoveTree(dir);
  MakeDirs(dir.substr(0, dir.size() - 1));
  return dir;
}

std::string WindowsDir() {
  char buf[MAX_PATH] = "";
  ::GetWindowsDirectoryA(buf, MAX_PATH);
  std::string s = buf;
  if (s.empty() || s.back() != '\\') s += '\\';
  return s;
}

std::string ModuleDir() {
  char buf[MAX_PATH] = "";
  ::GetModuleFileNameA(nullptr, buf, MAX_PATH);
  std::string s = buf;
  size_t slash = s.find_last_of('\\');
  return slash == std::string::npos ? std::string() : s.substr(0, slash + 1);
}

bool RequestShot(const std::string& dir, const std::string& name, const std::string& caption, DWORD timeoutMs) {
  std::string base = dir;
  if (!base.empty() && base.back() != '\\') base += '\\';
  // the request appears whole: written under another name, then renamed
  if (!WriteFile(base + name + ".tmp", caption) ||
      !::MoveFileExA((base + name + ".tmp").c_str(), (base + name + ".txt").c_str(), MOVEFILE_REPLACE_EXISTING))
    return false;
  std::string done = base + name + ".done";
  return WaitFor([&] { return ::GetFileAttributesA(done.c_str()) != INVALID_FILE_ATTRIBUTES; }, timeoutMs);
}

std::string ShortcutTarget(const std::string& lnk) {
  std::string target = "<unreadable>";
  ::CoInitialize(nullptr);
  IShellLinkA* link = nullptr;
  IPersistFile* file = nullptr;
  WCHAR wide[MAX_PATH] = L"";
  if (SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&link))) &&
      SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
      ::MultiByteToWideChar(CP_ACP, 0, lnk.c_str(), -1, wide, MAX_PATH) && SUCCEEDED(file->Load(wide, STGM_READ))) {
    char path[MAX_PATH] = "";
    if (SUCCEEDED(link->GetPath(path, MAX_PATH, nullptr, 0))) target = path;
  }
  if (file) file->Release();
  if (link) link->Release();
  ::CoUninitialize();
  return target;
}

ProbeHook::ProbeHook(HWND wnd, const char* dllName, const char* hookProc) {
  std::string dllPath = ModuleDir() + dllName;
  HMODULE dll = ::GetModuleHandleA(dllPath.c_str());
  if (!dll) dll = ::LoadLibraryA(dllPath.c_str());
  if (!dll) return;
  FARPROC found = ::GetProcAddress(dll, (std::string(hookProc) + "@12").c_str());  // stdcall decoration
  if (!found) found = ::GetProcAddress(dll, hookProc);
  HOOKPROC proc = reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(found));
  if (proc) m_hook = ::SetWindowsHookExA(WH_GETMESSAGE, proc, dll, ::GetWindowThreadProcessId(wnd, nullptr));
}

ProbeHook::~ProbeHook() {
  if (m_hook) ::UnhookWindowsHookEx(m_hook);
}

bool AskProbe(HWND wnd, const char* dllName, const char* hookProc, const char* message, const char* replyPrefix,
              LPARAM what, std::string& answer) {
  static unsigned counter = 0;
  ProbeHook hook(wnd, dllName, hookProc);
  if (!hook) return false;
  DWORD pid = 0;
  ::GetWindowThreadProcessId(wnd, &pid);
  unsigned n = ++counter;
  char dir[MAX_PATH] = "";
  ::GetTempPathA(MAX_PATH, dir);
  std::string path = std::string(dir) + replyPrefix + "_" + std::to_string(pid) + "_" + std::to_string(n) + ".txt";
  ::PostMessageA(wnd, ::RegisterWindowMessageA(message), n, what);
  bool got = WaitFor([&] { return ReadFile(path, answer); }, 10000);
  ::DeleteFileA(path.c_str());
  return got;
}

}  // namespace uitest
