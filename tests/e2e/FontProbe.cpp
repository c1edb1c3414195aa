// hbfontprobe.dll: font handles do not cross processes, so a GUI test cannot read the
// font of another program's control. The test hooks the program's thread with this
// DLL and posts the dialog a registered message (wParam: a number, lParam: a control
// id); inside the program the hook writes that control's font to
// %TEMP%\hbfont_<pid>_<number>.txt as: height TAB width TAB weight TAB italic TAB
// character set TAB face.
// With lParam kProbeBeeps it answers instead with the beeps the program has sounded
// since it was first asked ("500/10 500/10", frequency/duration): the first such ask
// points the program's import of Beep at a recorder and pins this DLL in the process.
// With lParam kProbeRefuseUninstallKey the program's RegCreateKeyExA refuses, from then
// on, every key below "...\UnInstall\" with ERROR_ACCESS_DENIED; the answer is "refusing".
// With lParam kProbeIcons it tells whether the window's icons are the program's.
// With lParam kProbeRefuseSharedCounts the program can no longer write the shared-file
// counts: RegCreateKeyExA and a writing RegOpenKeyExA of "...\SharedDLLs" answer
// ERROR_ACCESS_DENIED; the answer is "refusing".
// With lParam kProbeDllSearch the program loads hbplant.dll by its bare name, as a
// planted DLL would be found: "loaded" or "not found".
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "ProbeReply.h"

namespace {

constexpr LPARAM kProbeBeeps = -2;
constexpr LPARAM kProbeRefuseUninstallKey = -3;
constexpr LPARAM kProbeIcons = -4;
constexpr LPARAM kProbeRefuseSharedCounts = -5;
constexpr LPARAM kProbeDllSearch = -6;

// The window's big and small icon against the program's icon 128: "program", "other" or
// "none" for each (icon handles do not cross processes under Wine).
std::string IconsOf(HWND wnd) {
  HICON program = ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(128));
  auto name = [&](WPARAM which) -> std::string {
    HICON h = reinterpret_cast<HICON>(::SendMessageA(wnd, WM_GETICON, which, 0));
    return !h ? "none" : h == program ? "program" : "other";
  };
  return name(ICON_BIG) + " " + name(ICON_SMALL);
}

std::string g_beeps;
bool g_bRecording = false;

BOOL WINAPI RecordBeep(DWORD freq, DWORD duration) {
  if (!g_beeps.empty()) g_beeps += " ";
  g_beeps += std::to_string(freq) + "/" + std::to_string(duration);
  return TRUE;
}

// Points the program's own import of `function` from `dll` at `replacement`; the
// original goes to *original. Pins this DLL in the process, which then calls into it.
bool PatchImport(const char* dll, const char* function, const void* replacement, ULONG_PTR* original) {
  BYTE* base = reinterpret_cast<BYTE*>(::GetModuleHandleA(nullptr));
  auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
  const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (!dir.VirtualAddress) return false;
  for (auto* imp = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); imp->Name; ++imp) {
    if (_stricmp(reinterpret_cast<char*>(base + imp->Name), dll) != 0 || !imp->OriginalFirstThunk) continue;
    auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->OriginalFirstThunk);
    auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->FirstThunk);
    for (; names->u1.AddressOfData; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
      if (std::strcmp(reinterpret_cast<char*>(byName->Name), function) != 0) continue;
      HMODULE self = nullptr;
      ::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                           reinterpret_cast<LPCSTR>(&PatchImport), &self);
      DWORD old = 0;
      if (!::VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &old)) return false;
      if (original) *original = slots->u1.Function;
      slots->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
      ::VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, old, &old);
      return true;
    }
  }
  return false;
}

bool RecordBeeps() { return PatchImport("kernel32.dll", "Beep", reinterpret_cast<const void*>(&RecordBeep), nullptr); }

// Refuses the uninstall entry's key as a registry without write access would.
typedef LONG(WINAPI* RegCreateKeyExAFn)(HKEY, LPCSTR, DWORD, LPSTR, DWORD, REGSAM, LPSECURITY_ATTRIBUTES, PHKEY,
                                        LPDWORD);
ULONG_PTR g_realRegCreateKeyExA = 0;
bool g_bRefuseUninstallKey = false, g_bRefuseSharedCounts = false;
LONG WINAPI RefusingRegCreateKeyExA(HKEY root, LPCSTR key, DWORD reserved, LPSTR cls, DWORD options, REGSAM sam,
                                    LPSECURITY_ATTRIBUTES sa, PHKEY result, LPDWORD disposition) {
  if (key && g_bRefuseUninstallKey && std::strstr(key, "\\UnInstall\\")) return ERROR_ACCESS_DENIED;
  if (key && g_bRefuseSharedCounts && std::strstr(key, "\\SharedDLLs")) return ERROR_ACCESS_DENIED;
  return reinterpret_cast<RegCreateKeyExAFn>(g_realRegCreateKeyExA)(root, key, reserved, cls, options, sam, sa, result,
                                                                    disposition);
}

typedef LONG(WINAPI* RegOpenKeyExAFn)(HKEY, LPCSTR, DWORD, REGSAM, PHKEY);
ULONG_PTR g_realRegOpenKeyExA = 0;
LONG WINAPI RefusingRegOpenKeyExA(HKEY root, LPCSTR key, DWORD options, REGSAM sam, PHKEY result) {
  if (key && g_bRefuseSharedCounts && (sam & KEY_SET_VALUE) && std::strstr(key, "\\SharedDLLs"))
    return ERROR_ACCESS_DENIED;
  return reinterpret_cast<RegOpenKeyExAFn>(g_realRegOpenKeyExA)(root, key, options, sam, result);
}

// The registry refusals: RegCreateKeyExA always, RegOpenKeyExA for the shared counts.
bool RefuseKeys(bool sharedCounts) {
  bool patched = g_realRegCreateKeyExA != 0 ||
                 PatchImport("advapi32.dll", "RegCreateKeyExA", reinterpret_cast<const void*>(&RefusingRegCreateKeyExA),
                             &g_realRegCreateKeyExA);
  if (sharedCounts && patched && !g_realRegOpenKeyExA)
    patched = PatchImport("advapi32.dll", "RegOpenKeyExA", reinterpret_cast<const void*>(&RefusingRegOpenKeyExA),
                          &g_realRegOpenKeyExA);
  if (patched) (sharedCounts ? g_bRefuseSharedCounts : g_bRefuseUninstallKey) = true;
  return patched;
}

std::string FontOf(HWND dlg, int id) {
  HWND control = ::GetDlgItem(dlg, id);
  HFONT font = control ? reinterpret_cast<HFONT>(::SendMessageA(control, WM_GETFONT, 0, 0)) : nullptr;
  LOGFONTA lf = {};
  if (!font || ::GetObjectA(font, sizeof lf, &lf) != sizeof lf) return "none";
  char line[200];
  std::snprintf(line, sizeof line, "%ld\t%ld\t%ld\t%d\t%d\t", lf.lfHeight, lf.lfWidth, lf.lfWeight, lf.lfItalic,
                lf.lfCharSet);
  return std::string(line) + lf.lfFaceName;
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK HbFontProbe(int code, WPARAM wParam, LPARAM lParam) {
  static const UINT probe = ::RegisterWindowMessageA("HanbellTestFontProbe");
  MSG* msg = reinterpret_cast<MSG*>(lParam);
  if (code == HC_ACTION && wParam == PM_REMOVE && msg->message == probe) {
    std::string out;
    if (msg->lParam == kProbeDllSearch) {
      HMODULE planted = ::LoadLibraryA("hbplant.dll");
      out = planted ? "loaded" : "not found";
      if (planted) ::FreeLibrary(planted);
    } else if (msg->lParam == kProbeIcons) {
      out = IconsOf(msg->hwnd);
    } else if (msg->lParam == kProbeBeeps) {
      if (!g_bRecording) g_bRecording = RecordBeeps();
      out = g_bRecording ? g_beeps : "not recording";
    } else if (msg->lParam == kProbeRefuseUninstallKey || msg->lParam == kProbeRefuseSharedCounts) {
      out = RefuseKeys(msg->lParam == kProbeRefuseSharedCounts) ? "refusing" : "not patched";
    } else {
      out = FontOf(msg->hwnd, static_cast<int>(msg->lParam));
    }
    WriteProbeReply("hbfont", msg->wParam, out);
    msg->message = WM_NULL;
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}
