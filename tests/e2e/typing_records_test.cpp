// KeyRally's records through the real program: finished games written to the records
// file in the application-data folder, the records window, a new best on the status
// bar, and the games that are not recorded. The games are short: the program's clock
// is moved on by the probe, so each ends at its next tick.
#include <sstream>

#include "Mbcs.h"
#include "typing_fixture.h"
#include "typing_game.h"

namespace {

constexpr char kNewBest[] = "自己最高得点です!";

std::vector<std::string> Split(const std::string& s, const std::string& sep) {
  std::vector<std::string> parts;
  size_t at = 0;
  for (size_t next; (next = s.find(sep, at)) != std::string::npos; at = next + sep.size())
    parts.push_back(s.substr(at, next - at));
  parts.push_back(s.substr(at));
  return parts;
}

// The records file's lines without their line breaks, the header first; none when
// there is no file.
std::vector<std::string> RecordLines() {
  std::string bytes;
  if (!uitest::ReadFile(krtest::RecordsPath(), bytes) || bytes.empty()) return {};
  std::vector<std::string> lines = Split(bytes, "\r\n");
  EXPECT_EQ(lines.back(), "") << "the last line ends in a line break";
  lines.pop_back();
  return lines;
}

int Chars(const std::string& word) {
  int n = 0;
  for (size_t i = 0; i < word.size(); ++i, ++n)
    if (mbcs::IsLeadByte(static_cast<unsigned char>(word[i]))) ++i;
  return n;
}

std::string Tenths(int tenths) { return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10); }

struct Played {
  int total = -1;
  int chars = 0;  // of the words typed right
};

// One game: `wrong` wrong words, then `right` words typed as shown; then the clock
// moved on past the end, and the end box answered.
Played PlayGame(uitest::Process& p, HWND frame, int right, int wrong) {
  Played g;
  HWND edit = krtest::WordEdit(frame);
  krtest::Command(frame, ID_GAME_START);
  EXPECT_TRUE(uitest::WaitFor([&] { return ::IsWindowEnabled(edit) != FALSE; }, 10000)) << "the game did not start";
  krtest::Sounds(frame);
  for (int i = 0; i < wrong; ++i) {
    EXPECT_TRUE(uitest::SetText(krtest::ViewOf(frame), IDC_WORD_EDIT, "zq"));
    krtest::PressKeys(frame, {VK_RETURN});
    std::string heard;
    EXPECT_TRUE(
        uitest::WaitFor([&] { return (heard += krtest::Sounds(frame)).find("bark") != std::string::npos; }, 10000));
  }
  for (int i = 0; i < right; ++i) {
    std::string word = krtest::Draw(frame).Word().text;
    EXPECT_FALSE(word.empty()) << "no word drawn";
    g.chars += Chars(word);
    EXPECT_TRUE(uitest::SetText(krtest::ViewOf(frame), IDC_WORD_EDIT, word));
    krtest::PressKeys(frame, {VK_RETURN});
    EXPECT_TRUE(uitest::WaitFor([&] { return uitest::GetText(edit).empty(); }, 10000)) << word << " was not taken";
  }
  int shown = krtest::Draw(frame).Value(1);
  EXPECT_TRUE(krtest::MoveClockOn(frame));
  uitest::MessageBoxInfo box = uitest::WaitMessageBox(p.Pid(), 10000);
  EXPECT_TRUE(box.hwnd) << "the game did not end at its next tick";
  if (!box.hwnd) return g;
  EXPECT_EQ(box.text, "得点は " + std::to_string(shown) + " 点です") << "the end box is as it was";
  g.total = shown;
  uitest::Answer(box, IDOK);
  EXPECT_TRUE(uitest::WaitGone(box.hwnd));
  krtest::Sounds(frame);  // answered after the program has done with the game's end
  return g;
}

}  // namespace

TEST_F(KeyRallyTest, FinishedGamesAreRecordedAndTheBestShown) {
  ASSERT_FALSE(krtest::RecordsFolder().empty()) << "no application-data folder";
  Put("記録.wds", krtest::WdsBytes({"apple", "りんご", "ﾀｲﾋﾟﾝｸﾞ"}));
  uitest::Process p;
  HWND frame = Start(p, "記録.wds");
  ASSERT_TRUE(frame);
  HWND status = ::GetDlgItem(frame, AFX_IDW_STATUS_BAR);
  ASSERT_TRUE(status);
  EXPECT_TRUE(RecordLines().empty()) << "nothing before the first game ends";

  // the first game: one wrong word and one right; the file and its folder are made,
  // with the header and the game's line; a first game is no new best
  Played first = PlayGame(p, frame, 1, 1);
  ASSERT_GT(first.total, 0);
  std::vector<std::string> lines = RecordLines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], "日時\t単語ファイル\tパス\t得点\t正解数\tミス数\t正解文字数\t文字/分\t正確さ(%)");
  std::vector<std::string> f = Split(lines[1], "\t");
  ASSERT_EQ(f.size(), 9u) << lines[1];
  EXPECT_EQ(f[0].size(), 19u) << f[0];
  EXPECT_EQ(f[1], "記録.wds");
  EXPECT_EQ(::lstrcmpiA(f[2].c_str(), (m_dir + "記録.wds").c_str()), 0) << f[2];
  EXPECT_EQ(f[3], std::to_string(first.total));
  EXPECT_EQ(f[4], "1");
  EXPECT_EQ(f[5], "1");
  EXPECT_EQ(f[6], std::to_string(first.chars));
  EXPECT_EQ(f[7], Tenths((first.chars * 600 + 90) / 180));
  EXPECT_EQ(f[8], "50.0");
  EXPECT_NE(krtest::PaneText(status, 0), kNewBest);

  // the second, with two words right, beats it: said on the status bar once the end
  // box is closed
  Played second = PlayGame(p, frame, 2, 0);
  ASSERT_GT(second.total, first.total);
  EXPECT_EQ(krtest::PaneText(status, 0), kNewBest);
  lines = RecordLines();
  ASSERT_EQ(lines.size(), 3u);
  std::vector<std::string> s = Split(lines[2], "\t");
  ASSERT_EQ(s.size(), 9u) << lines[2];
  EXPECT_EQ(s[3], std::to_string(second.total));
  EXPECT_EQ(s[4] + " " + s[5] + " " + s[8], "2 0 100.0");

  // a list played elsewhere and a line damaged by hand, added behind the program's back
  std::string bytes;
  ASSERT_TRUE(uitest::ReadFile(krtest::RecordsPath(), bytes));
  const std::string other = "2026-01-02 03:04:05\t他.wds\tC:\\他.wds\t123\t1\t0\t2\t0.7\t100.0";
  ASSERT_TRUE(uitest::WriteFile(krtest::RecordsPath(), bytes + other + "\r\ndamaged\r\n"));

  // the records window: modeless, owned by the main window; the open list's best with
  // its time, the last game's rates, and the lists played, the latest first, the open
  // one chosen
  krtest::Command(frame, ID_GAME_RECORDS);
  HWND rec = uitest::WaitWindow(p.Pid(), "成績", "#32770");
  ASSERT_TRUE(rec) << "no records window";
  EXPECT_EQ(::GetWindow(rec, GW_OWNER), frame);
  EXPECT_TRUE(::IsWindowEnabled(frame)) << "the game can be played beside it";
  std::string total = std::to_string(second.total);
  if (second.total >= 1000) total.insert(total.size() - 3, ",");
  EXPECT_EQ(uitest::GetText(rec, IDC_RECORDS_NAME), "単語ファイル: 記録.wds");
  EXPECT_EQ(uitest::GetText(rec, IDC_RECORDS_BEST), "最高得点: " + total + " 点 (" + s[0] + ")");
  EXPECT_EQ(uitest::GetText(rec, IDC_RECORDS_LAST), "前回のゲーム: " + s[7] + " 文字/分、正確さ 100.0%");
  std::vector<std::string> rows = krtest::RecordRows(rec);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0], " 他.wds\t123\t2026-01-02 03:04:05\t1\tC:\\他.wds");
  EXPECT_EQ(rows[1], "*記録.wds\t" + total + "\t" + s[0] + "\t2\t" + s[2]);
  // another row chosen from the keyboard charts its list
  krtest::PressKeys(rec, {VK_UP});
  EXPECT_TRUE(uitest::WaitFor([&] { return uitest::GetText(rec, IDC_RECORDS_NAME) == "単語ファイル: 他.wds"; }, 10000));
  EXPECT_EQ(uitest::GetText(rec, IDC_RECORDS_BEST), "最高得点: 123 点 (2026-01-02 03:04:05)");
  EXPECT_EQ(uitest::GetText(rec, IDC_RECORDS_LAST), "前回のゲーム: 0.7 文字/分、正確さ 100.0%");
  // Esc closes it (the window's keys reach it beside the main window)
  krtest::PressKeys(rec, {VK_ESCAPE});
  EXPECT_TRUE(uitest::WaitGone(rec)) << "Esc did not close the records window";

  // a paused game is not finished, even past its time; 開始 leaves it unrecorded
  krtest::Command(frame, ID_GAME_START);
  HWND edit = krtest::WordEdit(frame);
  ASSERT_TRUE(uitest::WaitFor([&] { return ::IsWindowEnabled(edit) != FALSE; }, 10000));
  krtest::Command(frame, ID_GAME_STOP);
  ASSERT_TRUE(uitest::WaitFor([&] { return krtest::StopResumeStates(frame) == "停止 off, 再開 on"; }, 10000));
  EXPECT_TRUE(krtest::MoveClockOn(frame));
  EXPECT_FALSE(uitest::WaitMessageBox(p.Pid(), 1500).hwnd) << "a paused game ended";

  // a records file that cannot be written (a folder has its name): said once on the
  // status bar, and the games go on
  ASSERT_TRUE(::DeleteFileA(krtest::RecordsPath().c_str()));
  ASSERT_TRUE(::CreateDirectoryA(krtest::RecordsPath().c_str(), nullptr));
  EXPECT_GT(PlayGame(p, frame, 1, 0).total, 0);
  EXPECT_EQ(krtest::PaneText(status, 0), "成績を記録できません: " + krtest::RecordsPath());
  ::SendMessageA(frame, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);  // a menu closed: the idle text
  ASSERT_EQ(krtest::PaneText(status, 0), "ﾚﾃﾞｨ");
  EXPECT_GT(PlayGame(p, frame, 1, 0).total, 0);
  EXPECT_EQ(krtest::PaneText(status, 0), "ﾚﾃﾞｨ") << "reported once";
  ASSERT_TRUE(::RemoveDirectoryA(krtest::RecordsPath().c_str()));

  // a game ended by closing the window is not recorded
  krtest::Command(frame, ID_GAME_START);
  ASSERT_TRUE(uitest::WaitFor([&] { return ::IsWindowEnabled(edit) != FALSE; }, 10000));
  Close(p, frame);
  EXPECT_EQ(::GetFileAttributesA(krtest::RecordsPath().c_str()), INVALID_FILE_ATTRIBUTES);
}
