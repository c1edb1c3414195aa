// krshot FORM WORKDIR MARKERS: started on a virtual screen by
// scripts/screenshots-keyrally.sh. Writes a small word file into WORKDIR, starts
// KeyRally on it on the same screen, brings it into FORM, writes MARKERS\ready,
// waits for MARKERS\done (the picture is taken), then ends the program.
// FORM: main (the main window), menu (its File menu open), about (the about box),
// game1 and game2 (a game just started, and four seconds on: the word has shrunk),
// end (one word typed, then the score box at the end: takes the game's 180 seconds),
// editor (the word list editor), font (the word's font dialog), records and
// records-max (the records window over a sample of games, as it opens and
// maximised). The program's records folder is kept aside and put back.
#include <cstdio>
#include <string>

#include "Records.h"
#include "typing_helpers.h"

using namespace uitest;

namespace {
int Fail(const char* what) {
  std::fprintf(stderr, "krshot: %s\n", what);
  return 1;
}
bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// A few weeks of play: the list the program opens climbing with its ups and downs,
// and three other lists.
void WriteSampleRecords(const std::string& dir) {
  std::string file = krrec::HeaderLine();
  auto add = [&](int day, int minute, const std::string& name, const std::string& path, int total, int right,
                 int wrong) {
    krrec::GameRecord g;
    char when[32];
    std::snprintf(when, sizeof when, "2026-%02d-%02d %02d:%02d:00", 2 + day / 28, 1 + day % 28, 19 + minute / 60,
                  minute % 60);
    g.when = when;
    g.name = name;
    g.path = path;
    g.total = total;
    g.right = right;
    g.wrong = wrong;
    g.chars = right * 5;
    file += krrec::FormatLine(g);
  };
  const std::string words = "C:\\Program Files\\KeyRally\\words\\";
  for (int i = 0; i < 12; ++i) add(i / 3, i % 3 * 7, "english.wds", words + "english.wds", 1800 + i * 260, 3 + i, 2);
  for (int i = 0; i < 5; ++i)
    add(4 + i, 30, "romaji.wds", words + "romaji.wds", 2500 + i * 400 - (i % 2) * 700, 4 + i, 1);
  add(10, 5, "無題", "", 900, 1, 3);
  for (int i = 0; i < 57; ++i) {
    int total = 2200 + i * 150 + (i * 37 % 11) * 110 - (i % 3 == 0 ? 600 : 0) - (i > 44 ? (i - 44) * 160 : 0);
    add(11 + i / 4, i % 4 * 9, "基本単語.wds", dir + "基本単語.wds", total, total / 620, i % 4);
  }
  WriteFile(krtest::RecordsFolder() + krrec::kFileName, file);
}
}  // namespace

int main(int argc, char** argv) {
  if (argc < 4)
    return Fail("usage: krshot main|menu|about|game1|game2|end|editor|font|records|records-max WORKDIR MARKERS");
  std::string form = argv[1], dir = argv[2], markers = argv[3];
  if (dir.back() != '\\') dir += '\\';
  if (markers.back() != '\\') markers += '\\';
  WriteFile(dir + "基本単語.wds", krtest::WdsBytes({"apple", "りんご", "keyboard", "打鍵", "ﾀｲﾋﾟﾝｸﾞ"}));
  WriteFile(dir + "one.wds", krtest::WdsBytes({"apple"}));  // a known word to type for the end
  krtest::RecordsGuard records;  // made before the program starts and put back after it ended
  std::string list = "基本単語.wds";
  // the records' pictures show the word list's path: one of the prefix's own, not
  // the folder of the build
  struct Lists {
    std::string dir = "C:\\タイピング練習\\";
    ~Lists() { RemoveTree(dir); }
  } lists;
  if (form.compare(0, 7, "records") == 0) {
    ::CreateDirectoryA(lists.dir.c_str(), nullptr);
    list = lists.dir + "基本単語.wds";
    WriteFile(list, krtest::WdsBytes({"apple", "りんご", "keyboard", "打鍵", "ﾀｲﾋﾟﾝｸﾞ"}));
    ::CreateDirectoryA(krtest::RecordsFolder().c_str(), nullptr);
    WriteSampleRecords(lists.dir);
  }

  Process p;
  if (!p.Start(krtest::ProgramPath(), form == "end" ? "one.wds" : "\"" + list + "\"", dir))
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
  } else if (form == "records" || form == "records-max") {
    krtest::Command(frame, ID_GAME_RECORDS);
    HWND rec = WaitWindow(p.Pid(), "成績", "#32770", 30000);
    if (!rec) return Fail("no records window");
    if (form == "records-max") ::ShowWindow(rec, SW_MAXIMIZE);
    ::Sleep(500);  // the picture after the window has painted, not a wait for the program
  } else if (form == "font") {
    krtest::Command(frame, ID_WORD_FONT);
    if (!krtest::WaitFontDialog(p.Pid(), 30000)) return Fail("no font dialog");
  }
  WriteFile(markers + "ready", "ready");
  WaitFor([&] { return Exists(markers + "done"); }, 60000);
  return 0;  // the Process ends the program
}
