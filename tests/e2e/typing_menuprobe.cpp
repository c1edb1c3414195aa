// krmenuprobe.dll: menus live in their own process under Wine, so a GUI test cannot
// read another program's menu bar. The test hooks the program's thread with this
// DLL and posts it a registered message; inside the program the hook opens every
// pop-up as the user would (WM_INITMENUPOPUP to the frame, which updates the items)
// and writes the menu bar to %TEMP%\krmenu_<pid>_<n>.txt, one item per line:
// level TAB id TAB state TAB text. A last line at level -1 names the frame's class
// icon: id 133 when it is the program's icon 133, else 0 (class data cannot be read
// from another process either).
// A second message puts a one-line edit (id 0x7FF0) into the view and gives it the
// focus: a typing box made by the program's own thread, so that keys typed into it
// pass through the program's message loop like those typed into the game's box.
// A third message asks about the game (lParam: the question, kGame* below): the sounds
// played and beeps sounded since the last such ask (the first ask starts recording by
// pointing the program's imports of PlaySoundA and MessageBeep at recorders); the
// frame as the view draws it now (every TextOutA of one repaint with its place,
// extent, font and colour); the items of the pop-up menu that is open; and the view's
// window class and styles and those of its typing box; or, asked through the word
// list editor, the items of its list box (ANSI list box texts do not cross processes);
// or, asked through the records window, the rows of its list view. One more question
// hands the game a clock of the test's own: the program's import of the C library's
// time is pointed at the real time plus an offset, and each ask moves it on by a
// game's 180 seconds, so that a game ends at its next tick.
#include <windows.h>
#include <commctrl.h>
#include <mmsystem.h>

#include <ctime>

#include <cstdio>
#include <string>

#include "ProbeReply.h"

namespace {
constexpr LPARAM kGameSounds = 1, kGameFrame = 2, kGamePopup = 3, kGameView = 4, kGameListBox = 5,
                 kGameClockAhead = 6, kGameListView = 7;
constexpr int kViewId = 0xE900, kEditId = 1000, kRecordsListId = 1206;

// ---- the clock ----
long long g_llAhead = 0;  // seconds added to the real time
__time64_t(__cdecl* g_pfnTime64)(__time64_t*) = nullptr;
__time32_t(__cdecl* g_pfnTime32)(__time32_t*) = nullptr;
__time64_t __cdecl AheadTime64(__time64_t* t) {
  __time64_t v = g_pfnTime64(nullptr) + g_llAhead;
  if (t) *t = v;
  return v;
}
__time32_t __cdecl AheadTime32(__time32_t* t) {
  __time32_t v = static_cast<__time32_t>(g_pfnTime32(nullptr) + g_llAhead);
  if (t) *t = v;
  return v;
}
std::string MoveClockOn() {
  if (!g_pfnTime64 && !g_pfnTime32) {
    g_pfnTime64 = reinterpret_cast<decltype(g_pfnTime64)>(
        PatchProgramImport("msvcrt.dll", "_time64", reinterpret_cast<void*>(&AheadTime64)));
    if (!g_pfnTime64)  // a C library whose time is 32 bits wide
      g_pfnTime32 = reinterpret_cast<decltype(g_pfnTime32)>(
          PatchProgramImport("msvcrt.dll", "time", reinterpret_cast<void*>(&AheadTime32)));
    if (!g_pfnTime64 && !g_pfnTime32) return "no clock";
  }
  g_llAhead += 180;
  return "ahead " + std::to_string(g_llAhead);
}

// ---- sounds ----
std::string g_sounds;
BOOL(WINAPI* g_pfnPlaySound)(LPCSTR, HMODULE, DWORD) = nullptr;
BOOL(WINAPI* g_pfnMessageBeep)(UINT) = nullptr;
BOOL WINAPI RecordPlaySound(LPCSTR name, HMODULE mod, DWORD flags) {
  char line[400];
  std::snprintf(line, sizeof line, "play\t%s\t%#lx\n", name ? name : "(none)", static_cast<unsigned long>(flags));
  g_sounds += line;
  return g_pfnPlaySound ? g_pfnPlaySound(name, mod, flags) : FALSE;
}
BOOL WINAPI RecordMessageBeep(UINT type) {
  g_sounds += "beep\t" + std::to_string(type) + "\n";
  return g_pfnMessageBeep ? g_pfnMessageBeep(type) : FALSE;
}

// ---- text drawn ----
bool g_bRecordText = false;
std::string g_texts;
BOOL(WINAPI* g_pfnTextOut)(HDC, int, int, LPCSTR, int) = nullptr;
BOOL WINAPI RecordTextOut(HDC dc, int x, int y, LPCSTR text, int n) {
  if (g_bRecordText) {
    SIZE size = {0, 0};
    ::GetTextExtentPoint32A(dc, text, n, &size);
    LOGFONTA lf = {};
    ::GetObjectA(::GetCurrentObject(dc, OBJ_FONT), sizeof lf, &lf);
    char line[200];
    std::snprintf(line, sizeof line, "%d\t%d\t%ld\t%ld\t%ld\t%lu\t%s\t", x, y, size.cx, size.cy, lf.lfHeight,
                  static_cast<unsigned long>(::GetTextColor(dc)), lf.lfFaceName);
    g_texts += line + std::string(text, static_cast<size_t>(n)) + "\n";
  }
  return g_pfnTextOut(dc, x, y, text, n);
}

BOOL CALLBACK FindPopup(HWND h, LPARAM l) {
  char cls[32] = "";
  ::GetClassNameA(h, cls, sizeof cls);
  if (std::string(cls) == "#32768" && ::IsWindowVisible(h)) {
    *reinterpret_cast<HWND*>(l) = h;
    return FALSE;
  }
  return TRUE;
}

std::string AnswerGame(HWND frame, LPARAM what) {
  HWND view = ::GetDlgItem(frame, kViewId);
  HWND edit = view ? ::GetDlgItem(view, kEditId) : nullptr;
  char buf[400];
  if (what == kGameSounds) {
    if (!g_pfnPlaySound) {
      g_pfnPlaySound = reinterpret_cast<decltype(g_pfnPlaySound)>(
          PatchProgramImport("winmm.dll", "PlaySoundA", reinterpret_cast<void*>(&RecordPlaySound)));
      g_pfnMessageBeep = reinterpret_cast<decltype(g_pfnMessageBeep)>(
          PatchProgramImport("user32.dll", "MessageBeep", reinterpret_cast<void*>(&RecordMessageBeep)));
      if (!g_pfnPlaySound || !g_pfnMessageBeep) return "not recording";
    }
    std::string out;
    out.swap(g_sounds);
    return out;
  }
  if (what == kGameFrame) {
    if (!g_pfnTextOut)
      g_pfnTextOut = reinterpret_cast<decltype(g_pfnTextOut)>(
          PatchProgramImport("gdi32.dll", "TextOutA", reinterpret_cast<void*>(&RecordTextOut)));
    if (!g_pfnTextOut || !view) return "not recording";
    RECT r;
    ::GetClientRect(view, &r);
    g_texts.clear();
    g_bRecordText = true;
    ::RedrawWindow(view, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    g_bRecordText = false;
    std::snprintf(buf, sizeof buf, "%ld\t%ld\n", r.right, r.bottom);
    return buf + g_texts;
  }
  if (what == kGamePopup) {
    HWND popup = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), FindPopup, reinterpret_cast<LPARAM>(&popup));
    HMENU menu = popup ? reinterpret_cast<HMENU>(::SendMessageA(popup, MN_GETHMENU, 0, 0)) : nullptr;
    if (!menu) return "no popup";
    std::string out;
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
      char text[200] = "";
      ::GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
      UINT state = ::GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_GRAYED;
      std::snprintf(buf, sizeof buf, "%u\t%u\t%s\n", ::GetMenuItemID(menu, i), state, text);
      out += buf;
    }
    return out;
  }
  if (what == kGameView && view) {
    HCURSOR arrow = ::LoadCursorA(nullptr, IDC_ARROW);
    std::snprintf(buf, sizeof buf,
                  "class style %#lx\nbrush %d\narrow cursor %d\nicon %d\nstyle %#lx\nex style %#lx\n"
                  "edit style %#lx\nedit ex style %#lx\nedit font %d\n",
                  static_cast<unsigned long>(::GetClassLongPtrA(view, GCL_STYLE)),
                  ::GetClassLongPtrA(view, GCLP_HBRBACKGROUND) != 0,
                  reinterpret_cast<HCURSOR>(::GetClassLongPtrA(view, GCLP_HCURSOR)) == arrow,
                  ::GetClassLongPtrA(view, GCLP_HICON) != 0, static_cast<unsigned long>(::GetWindowLongA(view, GWL_STYLE)),
                  static_cast<unsigned long>(::GetWindowLongA(view, GWL_EXSTYLE)),
                  static_cast<unsigned long>(edit ? ::GetWindowLongA(edit, GWL_STYLE) : 0),
                  static_cast<unsigned long>(edit ? ::GetWindowLongA(edit, GWL_EXSTYLE) : 0),
                  edit && ::SendMessageA(edit, WM_GETFONT, 0, 0) != 0);
    return buf;
  }
  if (what == kGameClockAhead) return MoveClockOn();
  if (what == kGameListView) {
    HWND list = ::GetDlgItem(frame, kRecordsListId);  // here `frame` is the records window
    if (!list) return "no list";
    int rows = static_cast<int>(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    int columns = static_cast<int>(::SendMessageA(reinterpret_cast<HWND>(::SendMessageA(list, LVM_GETHEADER, 0, 0)),
                                                  HDM_GETITEMCOUNT, 0, 0));
    std::string out;
    for (int i = 0; i < rows; ++i) {
      bool selected = ::SendMessageA(list, LVM_GETITEMSTATE, i, LVIS_SELECTED) != 0;
      out += selected ? "*" : " ";
      for (int c = 0; c < columns; ++c) {
        char text[600] = "";
        LVITEMA item = {};
        item.iSubItem = c;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        ::SendMessageA(list, LVM_GETITEMTEXTA, i, reinterpret_cast<LPARAM>(&item));
        out += std::string(c ? "\t" : "") + text;
      }
      out += "\n";
    }
    return out;
  }
  if (what == kGameListBox) {
    HWND list = ::GetDlgItem(frame, 1000);  // here `frame` is the editor
    std::string out;
    int n = list ? static_cast<int>(::SendMessageA(list, LB_GETCOUNT, 0, 0)) : -1;
    for (int i = 0; i < n; ++i) {
      int len = static_cast<int>(::SendMessageA(list, LB_GETTEXTLEN, i, 0));
      std::string item(len > 0 ? static_cast<size_t>(len) + 1 : 1, '\0');
      if (len > 0) ::SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(&item[0]));
      out += item.c_str() + std::string("\n");
    }
    return std::to_string(n) + "\n" + out;
  }
  return "unknown question";
}

void Dump(HWND frame, HMENU menu, int level, std::string& out) {
  int n = ::GetMenuItemCount(menu);
  for (int i = 0; i < n; ++i) {
    char text[512] = "";
    ::GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
    HMENU sub = ::GetSubMenu(menu, i);
    UINT id = sub ? 0xFFFFFFFFu : ::GetMenuItemID(menu, i);
    if (sub) ::SendMessageA(frame, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(sub), MAKELPARAM(i, FALSE));
    UINT state = ::GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
    char line[640];
    std::snprintf(line, sizeof line, "%d\t%u\t%u\t%s\n", level, id,
                  static_cast<unsigned>(state & (MF_GRAYED | MF_CHECKED | MF_SEPARATOR)), text);
    out += line;
    if (sub) Dump(frame, sub, level + 1, out);
  }
}
}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK KrMenuProbe(int code, WPARAM wParam, LPARAM lParam) {
  static const UINT probe = ::RegisterWindowMessageA("KeyRallyTestMenuProbe");
  static const UINT editProbe = ::RegisterWindowMessageA("KeyRallyTestEditProbe");
  static const UINT gameProbe = ::RegisterWindowMessageA("KeyRallyTestGameProbe");
  MSG* msg = reinterpret_cast<MSG*>(lParam);
  if (code == HC_ACTION && wParam == PM_REMOVE && msg->message == editProbe) {
    HWND view = ::GetDlgItem(msg->hwnd, 0xE900);  // the view's pane id
    HWND edit = view ? ::GetDlgItem(view, 0x7FF0) : nullptr;
    if (view && !edit)
      edit = ::CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 10, 10, 200, 24,
                               view, reinterpret_cast<HMENU>(0x7FF0), ::GetModuleHandleA(nullptr), nullptr);
    if (edit) ::SetFocus(edit);
    msg->message = WM_NULL;
  }
  if (code == HC_ACTION && wParam == PM_REMOVE && msg->message == gameProbe) {
    WriteProbeReply("krgame", msg->wParam, AnswerGame(msg->hwnd, msg->lParam));
    msg->message = WM_NULL;
  }
  if (code == HC_ACTION && wParam == PM_REMOVE && msg->message == probe) {
    std::string out;
    if (HMENU bar = ::GetMenu(msg->hwnd)) Dump(msg->hwnd, bar, 0, out);
    HICON program = ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(133));
    HICON cls = reinterpret_cast<HICON>(::GetClassLongPtrA(msg->hwnd, GCLP_HICON));
    out += std::string("-1\t") + (program && cls == program ? "133" : "0") + "\t0\tclass icon\n";
    WriteProbeReply("krmenu", msg->wParam, out);
    msg->message = WM_NULL;
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}
