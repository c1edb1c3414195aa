// hbfontprobe.dll: font handles do not cross processes, so a GUI test cannot read the
// font of another program's control. The test hooks the program's thread with this
// DLL and posts the dialog a registered message (wParam: a number, lParam: a control
// id); inside the program the hook writes that control's font to
// %TEMP%\hbfont_<pid>_<number>.txt as: height TAB width TAB weight TAB italic TAB
// character set TAB face.
#include <windows.h>

#include <cstdio>
#include <string>

extern "C" __declspec(dllexport) LRESULT CALLBACK HbFontProbe(int code, WPARAM wParam, LPARAM lParam) {
  static const UINT probe = ::RegisterWindowMessageA("HanbellTestFontProbe");
  MSG* msg = reinterpret_cast<MSG*>(lParam);
  if (code == HC_ACTION && wParam == PM_REMOVE && msg->message == probe) {
    HWND control = ::GetDlgItem(msg->hwnd, static_cast<int>(msg->lParam));
    HFONT font = control ? reinterpret_cast<HFONT>(::SendMessageA(control, WM_GETFONT, 0, 0)) : nullptr;
    LOGFONTA lf = {};
    std::string out = "none";
    if (font && ::GetObjectA(font, sizeof lf, &lf) == sizeof lf) {
      char line[200];
      std::snprintf(line, sizeof line, "%ld\t%ld\t%ld\t%d\t%d\t", lf.lfHeight, lf.lfWidth, lf.lfWeight, lf.lfItalic,
                    lf.lfCharSet);
      out = std::string(line) + lf.lfFaceName;
    }
    char dir[MAX_PATH] = "";
    ::GetTempPathA(MAX_PATH, dir);
    std::string path = std::string(dir) + "hbfont_" + std::to_string(::GetCurrentProcessId()) + "_" +
                       std::to_string(static_cast<unsigned>(msg->wParam)) + ".txt";
    std::string tmp = path + ".part";
    if (FILE* f = std::fopen(tmp.c_str(), "wb")) {
      std::fwrite(out.data(), 1, out.size(), f);
      std::fclose(f);
      ::MoveFileA(tmp.c_str(), path.c_str());  // the test sees the whole file or none
    }
    msg->message = WM_NULL;
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}
