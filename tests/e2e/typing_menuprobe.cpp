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
#include <windows.h>

#include <cstdio>
#include <string>

#include "ProbeReply.h"

namespace {
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
