// KeyRally's game and word list editor through the real program: the boxes for an
// empty list, the editor's additions and deletions and when they reach the file, and
// one whole game of 180 seconds with judging, pausing, the pop-up menu, resizing and
// the font dialog on the way.
#include <cctype>

#include "Mbcs.h"
#include "typing_fixture.h"
#include "typing_game.h"

using krtest::Draw;
using krtest::DrawnFrame;
using krtest::Sounds;

namespace {

constexpr char kNoWordsText[] = "まず単語ファイルを読み込んでからゲームを始めるのだ!";
constexpr char kEmptyListText[] = "既存の単語ファイルを読み込むか、新しい単語ファイルを作るのだ!";
constexpr char kLoop[] = "play\tOpenin.wav\t0x20009\n";  // SND_FILENAME | SND_ASYNC | SND_LOOP
constexpr char kStop[] = "play\t(none)\t0x20000\n";     // no sound, SND_FILENAME

void ExpectBox(DWORD pid, const std::string& text, uitest::Icon icon) {
  uitest::MessageBoxInfo box = uitest::WaitMessageBox(pid);
  ASSERT_TRUE(box.hwnd) << "no box: " << text;
  EXPECT_EQ(box.caption, "打鍵丸");
  EXPECT_EQ(box.text, text);
  EXPECT_EQ(box.icon, icon);
  uitest::Answer(box, IDOK);
  EXPECT_TRUE(uitest::WaitGone(box.hwnd));
}

// The typing box: the middle half of the view's width, its lower edge 10 pixels above
// the bottom, as high as its font's "gM" plus the edges.
void ExpectBoxPlace(HWND frame) {
  RECT view, box = krtest::EditPlace(frame);
  ::GetClientRect(krtest::ViewOf(frame), &view);
  HWND edit = krtest::WordEdit(frame);
  HDC dc = ::GetDC(edit);  // no font of its own: the system font, here as there
  SIZE gM = {};
  ::GetTextExtentPoint32A(dc, "gM", 2, &gM);
  ::ReleaseDC(edit, dc);
  int cx = view.right, cy = view.bottom;
  EXPECT_EQ(box.left, cx / 4);
  EXPECT_EQ(box.right - box.left, 3 * cx / 4 - cx / 4);
  EXPECT_EQ(box.bottom, cy - 10);
  EXPECT_EQ(box.bottom - box.top, gM.cy + 2 * ::GetSystemMetrics(SM_CYEDGE) + 2);
}

// The header lines where they belong, in 15-point "ＭＳ ゴシック", and the word (if
// one is drawn) centred in the whole view.
void ExpectLayout(const DrawnFrame& f) {
  ASSERT_GE(f.texts.size(), 3u) << "nothing drawn";
  const auto &bonus = f.texts[0], &total = f.texts[1], &time = f.texts[2];
  EXPECT_EQ(bonus.x, 0);
  EXPECT_EQ(bonus.y, 0);
  EXPECT_EQ(total.x, f.W - total.w);
  EXPECT_EQ(total.y, 0);
  EXPECT_EQ(time.x, (f.W - time.w) / 2);
  EXPECT_EQ(time.y, 0);
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(f.texts[i].face, "ＭＳ ゴシック") << i;
    EXPECT_EQ(f.texts[i].fontHeight, -20) << i;  // 15 points at 96 dpi
  }
  EXPECT_EQ(bonus.text.size(), 9u + 5) << bonus.text;  // "追加得点:%5d"
  EXPECT_EQ(total.text.size(), 9u + 8) << total.text;  // "総合得点:%8d"
  if (f.texts.size() > 3) {
    const auto& w = f.Word();
    EXPECT_EQ(w.x, (f.W - w.w) / 2) << w.text;
    EXPECT_EQ(w.y, (f.H - w.h) / 2) << w.text;
  }
}

bool IsTimeLine(const std::string& s, std::initializer_list<const char*> shown) {
  for (const char* t : shown)
    if (s == std::string("残り時間　") + t) return true;
  return false;
}

// The word as typed in another letter case: ASCII and full-width letters swapped.
std::string OtherCase(const std::string& w) {
  std::string s = w;
  for (size_t i = 0; i < s.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    if (c == 0x82 && i + 1 < s.size()) {
      unsigned char t = static_cast<unsigned char>(s[i + 1]);
      if (t >= 0x60 && t <= 0x79) s[i + 1] = static_cast<char>(t + 0x21);
      else if (t >= 0x81 && t <= 0x9A) s[i + 1] = static_cast<char>(t - 0x21);
      ++i;
    } else if (mbcs::IsLeadByte(c)) {
      ++i;
    } else if (std::isalpha(c)) {
      s[i] = static_cast<char>(std::isupper(c) ? std::tolower(c) : std::toupper(c));
    }
  }
  return s;
}

// Waits for the word of `earlier` drawn smaller; `later` is that frame.
bool Shrinks(HWND frame, const DrawnFrame& earlier, DrawnFrame& later) {
  return uitest::WaitFor(
      [&] {
        later = Draw(frame);
        return later.Word().text == earlier.Word().text && later.Word().fontHeight > earlier.Word().fontHeight;
      },
      5000);
}

// Types the current word in another case and presses Enter; gives the total after.
int TypeTheWord(HWND frame) {
  HWND edit = krtest::WordEdit(frame);
  DrawnFrame f = Draw(frame);
  std::string word = f.Word().text;
  EXPECT_FALSE(word.empty()) << "no word drawn";
  EXPECT_TRUE(uitest::SetText(::GetParent(edit), IDC_WORD_EDIT, OtherCase(word)));
  krtest::PressKeys(frame, {VK_RETURN});
  EXPECT_TRUE(uitest::WaitFor([&] { return uitest::GetText(edit).empty(); }, 10000))
      << OtherCase(word) << " for " << word << " was not taken";
  EXPECT_EQ(Sounds(frame), "beep\t0\n") << "the default beep for a right word";
  return Draw(frame).Value(1);
}

}  // namespace

TEST_F(KeyRallyTest, WordListEditorAddsAndDeletesButOnlySavingWritesTheFile) {
  Put("words.wds", krtest::WdsBytes({}));
  uitest::Process p;
  HWND frame = Start(p, "words.wds");
  ASSERT_TRUE(frame);
  HWND edit = krtest::WordEdit(frame);
  ASSERT_TRUE(edit);
  ASSERT_EQ(Sounds(frame), "");

  // 開始 on an empty list: its box, and nothing else
  krtest::PressKeys(frame, {VK_CONTROL, 'A'});
  ExpectBox(p.Pid(), kNoWordsText, uitest::Icon::Warning);
  EXPECT_FALSE(::IsWindowEnabled(edit));
  EXPECT_EQ(krtest::StopResumeStates(frame), "停止 off, 再開 off");
  EXPECT_EQ(Sounds(frame), "");

  // the editor on an empty list: the prompt first, then the dialog
  krtest::Command(frame, ID_WORD_LIST);
  ExpectBox(p.Pid(), kEmptyListText, uitest::Icon::Warning);
  HWND dlg = uitest::WaitWindow(p.Pid(), krtest::kWordListCaption, "#32770");
  ASSERT_TRUE(dlg);
  HWND list = ::GetDlgItem(dlg, IDC_WORDLIST_LIST), entry = ::GetDlgItem(dlg, IDC_WORDLIST_ENTRY);
  ASSERT_TRUE(list && entry);
  EXPECT_FALSE(::GetDlgItem(dlg, IDOK) || ::GetDlgItem(dlg, IDCANCEL)) << "no OK step";
  EXPECT_FALSE(::GetWindowLongA(list, GWL_STYLE) & LBS_SORT);
  EXPECT_EQ(uitest::GetText(dlg, IDC_WORDLIST_ADD), "追加");
  EXPECT_EQ(uitest::GetText(dlg, IDC_WORDLIST_DELETE), "削除");
  EXPECT_TRUE(krtest::ListItems(dlg).empty());
  EXPECT_TRUE(uitest::WaitFor([&] { return krtest::FocusOf(dlg) == entry; }, 5000)) << "the entry has no focus";
  using Words = std::vector<std::string>;
  auto push = [&](const std::string& word, int button, const Words& expect) {
    EXPECT_TRUE(uitest::SetText(dlg, IDC_WORDLIST_ENTRY, word));
    if (button)
      uitest::Click(dlg, button);
    else
      krtest::PressKeys(dlg, {VK_RETURN});  // the dialog's OK command
    EXPECT_TRUE(uitest::WaitFor([&] { return krtest::ListItems(dlg) == expect && uitest::GetText(entry).empty(); },
                                10000))
        << word << ": " << krtest::ListItems(dlg).size() << " items, entry \"" << uitest::GetText(entry) << "\"";
  };
  push("Apple", IDC_WORDLIST_ADD, {"Apple"});
  EXPECT_EQ(krtest::FocusOf(dlg), entry) << "the entry takes the focus back";
  push("apple", 0, {"Apple", "apple"});
  EXPECT_TRUE(::IsWindowVisible(dlg)) << "Enter adds and leaves the dialog open";
  push("Apple", IDC_WORDLIST_ADD, {"Apple", "apple", "Apple"});  // duplicates are kept
  push("", IDC_WORDLIST_ADD, {"Apple", "apple", "Apple"});
  push("りんご", IDC_WORDLIST_ADD, {"Apple", "apple", "Apple", "りんご"});
  // deleting takes the first match in any case; an unknown word only clears the entry
  push("APPLE", IDC_WORDLIST_DELETE, {"apple", "Apple", "りんご"});
  push("banana", IDC_WORDLIST_DELETE, {"apple", "Apple", "りんご"});
  // a selected word comes into the entry; deleting it still takes the first match
  ::SendMessageA(list, LB_SETCURSEL, 0, 0);
  ::PostMessageA(list, WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_TRUE(uitest::WaitFor([&] { return uitest::GetText(entry) == "Apple"; }, 5000)) << uitest::GetText(entry);
  uitest::Click(dlg, IDC_WORDLIST_DELETE);
  EXPECT_TRUE(uitest::WaitFor([&] { return krtest::ListItems(dlg) == Words{"Apple", "りんご"}; }, 10000));
  krtest::PressKeys(dlg, {VK_ESCAPE});
  ASSERT_TRUE(uitest::WaitGone(dlg)) << "Esc did not close the editor";
  EXPECT_EQ(Bytes("words.wds"), krtest::WdsBytes({})) << "the editor wrote the file";

  // the document has the words: a game starts, and 上書き保存 writes them
  krtest::Command(frame, ID_GAME_START);
  EXPECT_TRUE(uitest::WaitFor([&] { return ::IsWindowEnabled(edit) != FALSE; }, 10000));
  EXPECT_EQ(Sounds(frame), kLoop);
  krtest::Command(frame, ID_GAME_STOP);
  krtest::PressKeys(frame, {VK_CONTROL, 'S'});
  // polled while the program may still be writing it: a read that fails is tried again
  EXPECT_TRUE(uitest::WaitFor(
      [&] {
        std::string b;
        return uitest::ReadFile(m_dir + "words.wds", b) && b == krtest::WdsBytes({"Apple", "りんご"});
      },
      10000));

  // with words, the editor opens without the prompt, filled in order; a word added
  // there and the close box
  krtest::Command(frame, ID_WORD_LIST);
  dlg = uitest::WaitWindow(p.Pid(), krtest::kWordListCaption, "#32770");
  ASSERT_TRUE(dlg) << "a prompt instead of the editor?";
  entry = ::GetDlgItem(dlg, IDC_WORDLIST_ENTRY);
  EXPECT_EQ(krtest::ListItems(dlg), (Words{"Apple", "りんご"}));
  push("extra", IDC_WORDLIST_ADD, {"Apple", "りんご", "extra"});
  ::PostMessageA(dlg, WM_SYSCOMMAND, SC_CLOSE, 0);
  ASSERT_TRUE(uitest::WaitGone(dlg)) << "the close box did not close the editor";
  // not marked modified: closing asks nothing, and the file keeps what was saved
  Close(p, frame);
  EXPECT_EQ(Bytes("words.wds"), krtest::WdsBytes({"Apple", "りんご"}));
}

TEST_F(KeyRallyTest, AGameOfOneHundredAndEightySeconds) {
  Put("game.wds", krtest::WdsBytes({"apple", "Keyboard", "りんご", "ﾀｲﾋﾟﾝｸﾞ", "ＡＢＣ"}));
  uitest::Process p;
  HWND frame = Start(p, "game.wds");
  ASSERT_TRUE(frame);
  HWND view = krtest::ViewOf(frame), edit = krtest::WordEdit(frame);
  ASSERT_TRUE(view && edit);

  // the view: a class without a background brush, a sunken edge instead of a border;
  // the typing box disabled, in the system's font
  auto facts = krtest::ViewFacts(frame);
  EXPECT_EQ(facts["class style"], "0xb");  // CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW
  EXPECT_EQ(facts["brush"], "0");
  EXPECT_EQ(facts["arrow cursor"], "1");
  EXPECT_EQ(facts["icon"], "0");
  unsigned long style = std::strtoul(facts["style"].c_str(), nullptr, 16);
  EXPECT_FALSE(style & WS_BORDER);
  EXPECT_TRUE(std::strtoul(facts["ex style"].c_str(), nullptr, 16) & WS_EX_CLIENTEDGE);
  unsigned long editStyle = std::strtoul(facts["edit style"].c_str(), nullptr, 16);
  EXPECT_EQ(editStyle & (WS_CHILD | WS_VISIBLE | WS_DISABLED | ES_AUTOHSCROLL),
            static_cast<unsigned long>(WS_CHILD | WS_VISIBLE | WS_DISABLED | ES_AUTOHSCROLL));
  EXPECT_TRUE(std::strtoul(facts["edit ex style"].c_str(), nullptr, 16) & WS_EX_CLIENTEDGE);
  EXPECT_EQ(facts["edit font"], "0");
  EXPECT_EQ(uitest::ClassOf(edit), "Edit");
  ExpectBoxPlace(frame);

  // before the first game: 0:00, the bonus and total 0, no word, nothing to pause
  DrawnFrame f = Draw(frame);
  ExpectLayout(f);
  EXPECT_EQ(f.texts.size(), 3u);
  EXPECT_EQ(f.Line(0), "追加得点:    0");
  EXPECT_EQ(f.Line(1), "総合得点:       0");
  EXPECT_EQ(f.Line(2), "残り時間　0:00");
  EXPECT_EQ(krtest::StopResumeStates(frame), "停止 off, 再開 off");
  ASSERT_EQ(Sounds(frame), "");

  // 開始: the box takes the keyboard, the loop plays, a word at 100 points in size
  krtest::PressKeys(frame, {VK_CONTROL, 'A'});
  ASSERT_TRUE(uitest::WaitFor([&] { return ::IsWindowEnabled(edit) && krtest::FocusOf(frame) == edit; }, 10000));
  EXPECT_EQ(Sounds(frame), kLoop);
  EXPECT_EQ(krtest::StopResumeStates(frame), "停止 on, 再開 off");
  f = Draw(frame);
  ExpectLayout(f);
  EXPECT_TRUE(IsTimeLine(f.Line(2), {"3:00", "2:59"})) << f.Line(2);
  EXPECT_EQ(f.Line(1), "総合得点:       0");
  EXPECT_EQ(f.Word().face, "ＭＳ Ｐゴシック");
  EXPECT_EQ(f.Word().color, 0u);
  EXPECT_LE(f.Word().fontHeight, -100) << "100 points are 133 pixels; a few ticks may have passed";

  // a wrong word stays for correction, barks, and the loop starts again
  krtest::PressKeys(frame, {'Z'});
  krtest::PressKeys(frame, {'Q'});
  krtest::PressKeys(frame, {VK_RETURN});
  std::string heard;
  EXPECT_TRUE(uitest::WaitFor([&] { return (heard += Sounds(frame)).find("Openin") != std::string::npos; }, 10000));
  EXPECT_EQ(heard, std::string("play\tbark.wav\t0x20000\n") + kLoop) << "the bark is synchronous, then the loop";
  EXPECT_EQ(uitest::GetText(edit), "zq");
  EXPECT_EQ(Draw(frame).Value(1), 0);

  // the word in another letter case is right: the box empties, a beep, the total grows
  int total = TypeTheWord(frame);
  EXPECT_GT(total, 0);
  EXPECT_LE(total, 1000);

  // 開始 during the game starts over: total 0, the clock from 3:00 again
  krtest::PressKeys(frame, {VK_CONTROL, 'A'});
  DWORD started = ::GetTickCount();
  EXPECT_TRUE(uitest::WaitFor([&] { return Draw(frame).Value(1) == 0; }, 10000));
  EXPECT_TRUE(IsTimeLine(Draw(frame).Line(2), {"3:00", "2:59"}));
  EXPECT_EQ(Sounds(frame), kLoop);
  total = TypeTheWord(frame);
  EXPECT_GT(total, 0);

  // the word shrinks, and stays centred
  DrawnFrame earlier = Draw(frame), later;
  EXPECT_TRUE(Shrinks(frame, earlier, later));
  ExpectLayout(later);
  EXPECT_LT(later.Value(0), earlier.Value(0)) << "the bonus falls with the size";

  // the right-click menu follows the rules; 停止 from it pauses the game
  ::PostMessageA(view, WM_RBUTTONUP, 0, MAKELPARAM(later.W / 2, 30));
  EXPECT_EQ(krtest::OpenPopup(frame),
            (std::vector<std::string>{"開始(&A)\tCtrl+A", "停止(&P)\tCtrl+P", "再開(&R)\tCtrl+R (grayed)"}));
  krtest::PressKeys(frame, {'P'});
  EXPECT_TRUE(uitest::WaitFor([&] { return krtest::StopResumeStates(frame) == "停止 off, 再開 on"; }, 10000));
  EXPECT_EQ(Sounds(frame), kStop);
  EXPECT_TRUE(::IsWindowEnabled(edit));

  // paused: the clock runs on but nothing shrinks; Enter still judges and adds the
  // frozen bonus; the new word comes at 1000
  DrawnFrame paused = Draw(frame), after;
  EXPECT_TRUE(uitest::WaitFor([&] { return (after = Draw(frame)).Line(2) != paused.Line(2); }, 5000));
  EXPECT_EQ(after.Word().fontHeight, paused.Word().fontHeight);
  EXPECT_EQ(after.Line(0), paused.Line(0));
  int frozen = paused.Value(0);
  // a wrong word barks, and the paused game stays silent after it (one Enter is
  // handled whole before the recording is read, so a loop would be in it)
  EXPECT_TRUE(uitest::SetText(view, IDC_WORD_EDIT, "zq"));
  krtest::PressKeys(frame, {VK_RETURN});
  heard.clear();
  EXPECT_TRUE(uitest::WaitFor([&] { return (heard += Sounds(frame)).find("bark") != std::string::npos; }, 10000));
  EXPECT_EQ(heard, "play\tbark.wav\t0x20000\n") << "no loop while paused";
  EXPECT_EQ(uitest::GetText(edit), "zq");
  EXPECT_EQ(TypeTheWord(frame), total + frozen);
  total += frozen;
  f = Draw(frame);
  EXPECT_EQ(f.Line(0), "追加得点: 1000");
  EXPECT_EQ(f.Word().fontHeight, -133);

  // paused, the pop-up menu offers 再開 only; 再開 from it runs the game again
  ::PostMessageA(view, WM_RBUTTONUP, 0, MAKELPARAM(f.W / 2, 30));
  EXPECT_EQ(krtest::OpenPopup(frame),
            (std::vector<std::string>{"開始(&A)\tCtrl+A", "停止(&P)\tCtrl+P (grayed)", "再開(&R)\tCtrl+R"}));
  krtest::PressKeys(frame, {'R'});
  EXPECT_TRUE(uitest::WaitFor([&] { return krtest::StopResumeStates(frame) == "停止 on, 再開 off"; }, 10000));
  EXPECT_EQ(Sounds(frame), kLoop);

  // a resized window: the box keeps its place, the word and the lines theirs
  ::SetWindowPos(frame, nullptr, 0, 0, 640, 480, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_TRUE(uitest::WaitFor([&] { return Draw(frame).W != f.W; }, 5000));
  ExpectBoxPlace(frame);
  ExpectLayout(Draw(frame));

  // the font dialog: black preset; the face and colour chosen are the word's, its
  // size still comes from the game
  krtest::Command(frame, ID_WORD_FONT);
  HWND dlg = krtest::WaitFontDialog(p.Pid());
  ASSERT_TRUE(dlg);
  HWND colours = ::GetDlgItem(dlg, 1139), faces = ::GetDlgItem(dlg, 1136);
  ASSERT_TRUE(colours && faces);
  auto colourAt = [&](LRESULT i) { return ::SendMessageA(colours, CB_GETITEMDATA, static_cast<WPARAM>(i), 0); };
  EXPECT_EQ(colourAt(::SendMessageA(colours, CB_GETCURSEL, 0, 0)), 0) << "the preset colour is black";
  LRESULT red = -1;
  for (LRESULT i = 0; i < ::SendMessageA(colours, CB_GETCOUNT, 0, 0); ++i)
    if (colourAt(i) == RGB(255, 0, 0)) red = i;
  ASSERT_GE(red, 0);
  ::SendMessageA(colours, CB_SETCURSEL, static_cast<WPARAM>(red), 0);
  ::SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(1139, CBN_SELCHANGE), reinterpret_cast<LPARAM>(colours));
  ASSERT_GE(::SendMessageA(faces, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("MS UI Gothic")), 0);
  ::SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(1136, CBN_SELCHANGE), reinterpret_cast<LPARAM>(faces));
  uitest::Click(dlg, IDOK);
  ASSERT_TRUE(uitest::WaitGone(dlg));
  EXPECT_TRUE(uitest::WaitFor([&] { return krtest::FocusOf(frame) == edit; }, 5000)) << "the box has the keyboard again";
  earlier = Draw(frame);
  EXPECT_EQ(earlier.Word().face, "MS UI Gothic");
  EXPECT_EQ(earlier.Word().color, static_cast<unsigned long>(RGB(255, 0, 0)));
  EXPECT_TRUE(Shrinks(frame, earlier, later)) << "the word no longer shrinks";
  // opened again, the dialog presets the word's colour; cancelling changes nothing
  krtest::Command(frame, ID_WORD_FONT);
  dlg = krtest::WaitFontDialog(p.Pid());
  ASSERT_TRUE(dlg);
  colours = ::GetDlgItem(dlg, 1139);
  EXPECT_EQ(colourAt(::SendMessageA(colours, CB_GETCURSEL, 0, 0)), RGB(255, 0, 0));
  uitest::Click(dlg, IDCANCEL);
  ASSERT_TRUE(uitest::WaitGone(dlg));
  EXPECT_EQ(Draw(frame).Word().color, static_cast<unsigned long>(RGB(255, 0, 0)));
  EXPECT_EQ(Draw(frame).Word().face, "MS UI Gothic");
  total = Draw(frame).Value(1);

  // another (empty) list during the game: no word is drawn or judged, nothing breaks
  krtest::PressKeys(frame, {VK_CONTROL, 'N'});
  ASSERT_TRUE(krtest::WaitTitle(frame, krtest::kUntitledTitle)) << uitest::GetText(frame);
  EXPECT_TRUE(uitest::WaitFor([&] { return Draw(frame).texts.size() == 3; }, 5000));
  EXPECT_TRUE(uitest::SetText(view, IDC_WORD_EDIT, "apple"));
  krtest::PressKeys(frame, {VK_RETURN});
  krtest::PressKeys(frame, {VK_CONTROL, 'P'});  // pressed after Enter: handled after it
  EXPECT_TRUE(uitest::WaitFor([&] { return krtest::StopResumeStates(frame) == "停止 off, 再開 on"; }, 10000));
  EXPECT_EQ(Sounds(frame), kStop) << "Enter without a word neither barked nor beeped";
  EXPECT_EQ(uitest::GetText(edit), "apple");
  EXPECT_EQ(Draw(frame).Value(1), total);
  krtest::PressKeys(frame, {VK_CONTROL, 'R'});
  EXPECT_TRUE(uitest::WaitFor([&] { return krtest::StopResumeStates(frame) == "停止 on, 再開 off"; }, 10000));
  EXPECT_EQ(Sounds(frame), kLoop);

  // the end, 180 seconds after the start: the box disabled, the sound stopped, the score
  DWORD left = 180000 - (::GetTickCount() - started);
  uitest::MessageBoxInfo box = uitest::WaitMessageBox(p.Pid(), left + 20000);
  ASSERT_TRUE(box.hwnd) << "the game did not end";
  EXPECT_GE(::GetTickCount() - started, 178000u) << "the game ended early";
  EXPECT_EQ(box.caption, "打鍵丸");
  EXPECT_EQ(box.text, "得点は " + std::to_string(total) + " 点です");
  EXPECT_EQ(box.icon, uitest::Icon::Information);
  EXPECT_FALSE(::IsWindowEnabled(edit));
  EXPECT_EQ(Sounds(frame), kStop);
  uitest::Answer(box, IDOK);
  ASSERT_TRUE(uitest::WaitGone(box.hwnd));
  f = Draw(frame);
  EXPECT_EQ(f.Line(2), "残り時間　0:00");
  EXPECT_EQ(f.Value(1), total);
  EXPECT_EQ(krtest::StopResumeStates(frame), "停止 off, 再開 off") << "nothing to pause or resume after the end";
  Close(p, frame);
}
