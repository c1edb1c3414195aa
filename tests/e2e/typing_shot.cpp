// krshot FORM WORKDIR MARKERS: started on a virtual screen by
// scripts/screenshots-keyrally.sh. Writes a small word file into WORKDIR, starts
// KeyRally on it on the same screen, brings it into FORM, writes MARKERS\ready,
// waits for MARKERS\done (the picture is taken), then ends the program.
// FORM: main (the main window), menu (its File menu open), about (the about box).
#include <cstdio>
#include <string>

#include "typing_helpers.h"

using namespace uitest;

namespace {
int Fail(const char* what) {
  std::fprintf(stderr, "krshot: %s\n", what);
  return 1;
}
bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) return Fail("usage: krshot main|menu|about WORKDIR MARKERS");
  std::string form = argv[1], dir = argv[2], markers = argv[3];
  if (dir.back() != '\\') dir += '\\';
  if (markers.back() != '\\') markers += '\\';
  WriteFile(dir + "基本単語.wds", krtest::WdsBytes({"apple", "りんご", "keyboard", "打鍵", "ﾀｲﾋﾟﾝｸﾞ"}));

  Process p;
  if (!p.Start(krtest::ProgramPath(), "基本単語.wds", dir)) return Fail("cannot start KeyRally.exe");
  HWND frame = krtest::WaitFrame(p.Pid(), 60000);
  if (!frame) return Fail("no main window");
  if (form == "menu") {
    // a recent file, then the File menu opened from the keyboard
    krtest::PressKeys(frame, {VK_MENU, 'F'});
    ::Sleep(500);
  } else if (form == "about") {
    krtest::Command(frame, ID_APP_ABOUT);
    if (!WaitWindow(p.Pid(), krtest::kAboutCaption, "#32770", 30000)) return Fail("no about box");
  }
  WriteFile(markers + "ready", "ready");
  WaitFor([&] { return Exists(markers + "done"); }, 60000);
  return 0;  // the Process ends the program
}
