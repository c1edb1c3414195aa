// krshot FORM WORKDIR MARKERS: started on a virtual screen by
// scripts/screenshots-keyrally.sh. Writes a small word file into WORKDIR, starts
// KeyRally on it on the same screen, brings it into FORM, writes MARKERS\ready,
// waits for MARKERS\done (the picture is taken), then ends the program.
// FORM: main (the main window), menu (its File menu open), about (the about box),
// game1 and game2 (a game just started, and four seconds on: the word has shrunk),
// end (one word typed, then the score box at the end: takes the game's 180 seconds),
// editor (the word list editor), font (the word's font dialog).
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
  if (argc < 4) return Fail("usage: krshot main|menu|about|game1|game2|end|editor|font WORKDIR MARKERS");
  std::string form = argv[1], dir = argv[2], markers = argv[3];
  if (dir.back() != '\\') dir += '\\';
  if (markers.back() != '\\') markers += '\\';
  WriteFile(dir + "基本単語.wds", krtest::WdsBytes({"apple", "りんご", "keyboard", "打鍵", "ﾀｲﾋﾟﾝｸﾞ"}));
  WriteFile(dir + "one.wds", krtest::WdsBytes({"apple"}));  // a known word to type for the end

  Process p;
  if (!p.Start(krtest::ProgramPath(), form == "end" ? "one.wds" : "基本単語.wds", dir))
    return Fail("cannot start KeyRally.exe");
  HWND frame = krtest::WaitFrame(p.Pid(), 60000);
  if (!frame) return Fail("no main window");
  if (form == "menu") {
    // a recent file, then the File menu opened from the keyboard
    krtest::PressKeys(frame, {VK_MENU, 'F'});
    ::Sleep(500);
  } else if (form == "about") {
    krtest::Command(frame, ID_APP_ABOUT);
    if (!WaitWindow(p.Pid(), krtest::kAboutCaption, "#32770", 30000)) return Fail("no about box");
  } else if (form == "game1" || form == "game2" || form == "end") {
    HWND edit = ::GetDlgItem(::GetDlgItem(frame, AFX_IDW_PANE_FIRST), IDC_WORD_EDIT);
    krtest::Command(frame, ID_GAME_START);
    if (!WaitFor([&] { return ::IsWindowEnabled(edit) != FALSE; }, 30000)) return Fail("the game did not start");
    if (form == "game2") ::Sleep(4000);  // the later moment of the picture, not a wait for the program
    if (form == "end") {
      SetText(::GetParent(edit), IDC_WORD_EDIT, "APPLE");
      krtest::PressKeys(frame, {VK_RETURN});
      if (!WaitFor([&] { return GetText(edit).empty(); }, 30000)) return Fail("the word was not taken");
      if (!WaitMessageBox(p.Pid(), 200000).hwnd) return Fail("no score box");
    }
  } else if (form == "editor") {
    krtest::Command(frame, ID_WORD_LIST);
    HWND dlg = WaitWindow(p.Pid(), krtest::kWordListCaption, "#32770", 30000);
    if (!dlg) return Fail("no word list editor");
    ::SendMessageA(::GetDlgItem(dlg, IDC_WORDLIST_LIST), LB_SETCURSEL, 1, 0);
    SetText(dlg, IDC_WORDLIST_ENTRY, "りんご");
  } else if (form == "font") {
    krtest::Command(frame, ID_WORD_FONT);
    if (!krtest::WaitFontDialog(p.Pid(), 30000)) return Fail("no font dialog");
  }
  WriteFile(markers + "ready", "ready");
  WaitFor([&] { return Exists(markers + "done"); }, 60000);
  return 0;  // the Process ends the program
}
