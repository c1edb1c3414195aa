// The records file's lines as a spreadsheet and the reader see them: games written
// and read back, damaged, cut and foreign files, bests per word list, a hundred
// thousand games, and the chart's axis.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "GameRules.h"
#include "Records.h"
#include "WordList.h"

using namespace krrec;
using namespace std::string_literals;

namespace {

GameRecord GameOf(const std::string& when, const std::string& name, const std::string& path, int total, int right = 3,
                  int wrong = 1, int chars = 15) {
  GameRecord g;
  g.when = when;
  g.name = name;
  g.path = path;
  g.total = total;
  g.right = right;
  g.wrong = wrong;
  g.chars = chars;
  return g;
}

std::string FileOf(std::initializer_list<GameRecord> games) {
  std::string s = HeaderLine();
  for (const auto& g : games) s += FormatLine(g);
  return s;
}

FileState ReadInto(CRecordBook& book, const std::string& bytes) { return book.Read(bytes.data(), bytes.size()); }

void ExpectSameGame(const GameRecord& a, const GameRecord& b) {
  EXPECT_EQ(a.when, b.when);
  EXPECT_EQ(a.name, b.name);
  EXPECT_EQ(a.path, b.path);
  EXPECT_EQ(a.total, b.total);
  EXPECT_EQ(a.right, b.right);
  EXPECT_EQ(a.wrong, b.wrong);
  EXPECT_EQ(a.chars, b.chars);
}

const std::string kBasic = "C:\\Documents and Settings\\user\\基本単語.wds";

}  // namespace

TEST(Records, OneTabSeparatedLineAGameUnderAHeaderAndReadBackWhole) {
  GameRecord g = GameOf("2026-03-05 14:03:27", "基本単語.wds", kBasic, 5230, 25, 1, 142);
  EXPECT_EQ(HeaderLine(), "日時\t単語ファイル\tパス\t得点\t正解数\tミス数\t正解文字数\t文字/分\t正確さ(%)\r\n");
  // 142 characters in three minutes: 47.3 a minute; 25 of 26 words right: 96.2 %
  EXPECT_EQ(FormatLine(g), "2026-03-05 14:03:27\t基本単語.wds\t" + kBasic + "\t5230\t25\t1\t142\t47.3\t96.2\r\n");
  GameRecord untitled = GameOf("2026-03-05 14:10:00", "無題", "", 0, 0, 0, 0);
  EXPECT_EQ(FormatLine(untitled), "2026-03-05 14:10:00\t無題\t\t0\t0\t0\t0\t0.0\t\r\n")
      << "nothing judged: no accuracy";

  CRecordBook book;
  ASSERT_EQ(ReadInto(book, FileOf({g, untitled})), FileState::kUsable);
  ASSERT_EQ(book.GameCount(), 2u);
  ExpectSameGame(book.Game(0), g);
  ExpectSameGame(book.Game(1), untitled);
  EXPECT_EQ(book.Skipped(), 0u);
  EXPECT_STREQ(book.LineBreakNeeded(), "");
  ASSERT_EQ(book.Lists().size(), 2u);
  EXPECT_EQ(book.Lists()[0].name, "基本単語.wds");
  EXPECT_EQ(book.Lists()[1].name, "無題");

  EXPECT_EQ(ListNameOf(kBasic, "基本単語.wds"), "基本単語.wds");
  EXPECT_EQ(ListNameOf("D:\\ﾀｲﾋﾟﾝｸﾞ\\表.wds", "x"), "表.wds") << "表 ends in the byte of a backslash";
  EXPECT_EQ(ListNameOf("", "無題"), "無題");
  EXPECT_EQ(Thousands(1234567), "1,234,567");
  EXPECT_EQ(Thousands(999), "999");
  EXPECT_EQ(AccuracyTenths(2, 1), 667);
  EXPECT_EQ(CpmTenths(1), 3);  // 0.33 a minute
}

TEST(Records, DamagedAndCutLinesAreSkippedAndTheNextGameStartsALineOfItsOwn) {
  GameRecord a = GameOf("2026-03-05 14:03:27", "a.wds", "C:\\a.wds", 3000);
  GameRecord b = GameOf("2026-03-06 09:00:00", "a.wds", "C:\\a.wds", 4000);
  std::string good = FormatLine(a), line = FormatLine(b);
  const std::string damaged[] = {
      "2026-03-05 14:03:27\ta.wds\tC:\\a.wds\t3O00\t3\t1\t15\t5.0\t75.0\r\n",         // a letter in a number
      "2026-03-05 14:03:27\ta.wds\tC:\\a.wds\t-3000\t3\t1\t15\t5.0\t75.0\r\n",        // a sign
      "2026-03-05 14:03:27\ta.wds\tC:\\a.wds\t3000\t3\t1\t15\t5.0\r\n",               // a field short
      "2026-03-05 14:03:27\ta.wds\tC:\\a.wds\t3000\t3\t1\t15\t5.0\t75.0\tx\r\n",      // one too many
      "2026/03/05 14:03\ta.wds\tC:\\a.wds\t3000\t3\t1\t15\t5.0\t75.0\r\n",            // another date form
      "2026-03-05 14:03:27\t\tC:\\a.wds\t3000\t3\t1\t15\t5.0\t75.0\r\n",              // no name
      "2026-03-05 14:03:27\ta\x82.wds\tC:\\a.wds\t3000\t3\t1\t15\t5.0\t75.0\r\n",     // a broken double-byte name
      "2026-03-05 14:03:27\ta.wds\tC:\\a.wds\t99999999999\t3\t1\t15\t5.0\t75.0\r\n",  // past a count's size
      "2026-03-05 14:03:27\ta.wds\tC:\\a.wds\t30\0\0\t3\t1\t15\t5.0\t75.0\r\n"s,      // zero bytes
      "garbage\r\n",
      "2026-03-05 14:03:27\ta.wds\tC:\\" + std::string(5000, 'x') + "\t3000\t3\t1\t15\t5.0\t75.0\r\n",  // too long
  };
  std::string file = HeaderLine() + good + "\r\n";  // an empty line is no record and no damage
  for (const auto& d : damaged) file += d;
  file += line.substr(0, line.size() - 2) + "\n";  // a bare line feed ends a line too
  CRecordBook book;
  ASSERT_EQ(ReadInto(book, file), FileState::kUsable);
  EXPECT_EQ(book.GameCount(), 2u);
  EXPECT_EQ(book.Skipped(), sizeof damaged / sizeof damaged[0]);
  EXPECT_EQ(book.Total(1), 4000);
  // read in pieces of any size (a line across two, three or a thousand): the same book
  for (size_t piece : {size_t{1}, size_t{2}, size_t{7}, size_t{4096}}) {
    CRecordBook pieces;
    pieces.Begin();
    for (size_t at = 0; at < file.size(); at += piece)
      ASSERT_TRUE(pieces.Feed(file.data() + at, std::min(piece, file.size() - at)));
    ASSERT_EQ(pieces.End(), FileState::kUsable) << piece;
    EXPECT_EQ(pieces.GameCount(), 2u) << piece;
    EXPECT_EQ(pieces.Skipped(), book.Skipped()) << piece;
    ExpectSameGame(pieces.Game(1), b);
  }

  // cut inside the last line (a crash while writing): skipped, and what follows is put
  // on a line of its own, so neither spoils the other
  for (size_t cut : {size_t{12}, line.size() - 1, line.size() - 2}) {
    std::string cutFile = HeaderLine() + good + line.substr(0, cut);
    ASSERT_EQ(ReadInto(book, cutFile), FileState::kUsable) << cut;
    GameRecord c = GameOf("2026-03-07 10:00:00", "a.wds", "C:\\a.wds", 5000);
    std::string appended = cutFile + TextToAppend(FileState::kUsable, book, c);
    ASSERT_EQ(ReadInto(book, appended), FileState::kUsable);
    EXPECT_EQ(book.Total(book.GameCount() - 1), 5000) << cut;
    // the cut line counts when it lost only its line break
    EXPECT_EQ(book.GameCount(), cut >= line.size() - 2 ? 3u : 2u) << cut;
    EXPECT_EQ(book.Skipped(), cut >= line.size() - 2 ? 0u : 1u) << cut;
  }
}

TEST(Records, AFileInAnotherEncodingOrWithoutOurHeaderIsUnusableAsAWhole) {
  CRecordBook book;
  EXPECT_EQ(ReadInto(book, ""), FileState::kEmpty);
  GameRecord g = GameOf("2026-03-05 14:03:27", "a.wds", "C:\\a.wds", 3000);
  EXPECT_EQ(TextToAppend(FileState::kEmpty, book, g), HeaderLine() + FormatLine(g))
      << "a new file starts with the header";
  EXPECT_EQ(ReadInto(book, HeaderLine()), FileState::kUsable);
  EXPECT_EQ(book.GameCount(), 0u);

  std::string sjis = FileOf({g});
  // the same text as UTF-16 with its mark, and as UTF-8 (日時 is E6 97 A5 E6 99 82 there)
  std::string utf16 = "\xFF\xFE";
  for (char c : sjis) utf16 += std::string{c, '\0'};
  std::string utf8 = "\xE6\x97\xA5\xE6\x99\x82" + sjis.substr(4);
  const std::string unusable[] = {
      utf16,
      utf8,
      "\xEF\xBB\xBF" + sjis,                     // a byte order mark before our header
      sjis.substr(0, 10),                        // cut inside the header
      sjis.substr(HeaderLine().size()),          // lines without their header
      std::string("\x89PNG\r\n\x1A\n\0\0", 10),  // not text at all
      std::string(100000, '\x55'),               // no line at all
  };
  for (const auto& bytes : unusable) {
    EXPECT_EQ(ReadInto(book, bytes), FileState::kUnusable) << bytes.substr(0, 12);
    EXPECT_EQ(book.GameCount(), 0u);
    EXPECT_TRUE(book.Lists().empty());
    // read in pieces, the first line says it: nothing after it is taken
    book.Begin();
    bool more = true;
    for (size_t at = 0; more && at < bytes.size(); at += 3)
      more = book.Feed(bytes.data() + at, std::min<size_t>(3, bytes.size() - at));
    EXPECT_EQ(book.End(), FileState::kUnusable);
    EXPECT_EQ(book.GameCount(), 0u);
  }
  // kept aside under the first free name beside it
  std::vector<std::string> taken = {"C:\\KR\\records-1.tsv", "C:\\KR\\records-2.tsv"};
  auto exists = [&](const std::string& p) { return std::find(taken.begin(), taken.end(), p) != taken.end(); };
  EXPECT_EQ(AsideName("C:\\KR\\", exists), "C:\\KR\\records-3.tsv");
}

TEST(Records, BestAndLastOfEachWordListAndItsLastFiftyTotals) {
  const std::string p = "C:\\Words\\Basic.wds";
  CRecordBook book;
  ASSERT_EQ(ReadInto(book, FileOf({
                               GameOf("2026-03-01 10:00:00", "Basic.wds", p, 3000),
                               GameOf("2026-03-01 10:05:00", "無題", "", 9000),
                               GameOf("2026-03-02 10:00:00", "BASIC.WDS", "c:\\words\\BASIC.wds", 5000),
                               GameOf("2026-03-03 10:00:00", "Basic.wds", p, 5000, 9, 0, 40),
                               GameOf("2026-03-04 10:00:00", "Other.wds", "C:\\Words\\Other.wds", 100),
                           })),
            FileState::kUsable);
  // one list for the path in any letter case; the untitled one by its name
  ASSERT_EQ(book.Lists().size(), 3u);
  int basic = book.FindList("Basic.wds", p);
  ASSERT_EQ(basic, 0);
  EXPECT_EQ(book.FindList("x", "C:\\WORDS\\basic.WDS"), basic);
  EXPECT_EQ(book.FindList("無題", ""), 1);
  EXPECT_EQ(book.FindList("Basic.wds", ""), -1) << "an untitled list of that name is another";
  const ListSummary& l = book.Lists()[0];
  EXPECT_EQ(l.games, 3);
  EXPECT_EQ(book.Game(l.best).when, "2026-03-02 10:00:00") << "the first of two equal bests";
  EXPECT_EQ(book.Game(l.last).right, 9);
  EXPECT_EQ(book.LastTotals(basic), (std::vector<int>{3000, 5000, 5000}));

  // a new best only beats the best of a list already played
  EXPECT_FALSE(book.IsNewBest(GameOf("", "Basic.wds", p, 5000)));
  EXPECT_TRUE(book.IsNewBest(GameOf("", "Basic.wds", p, 5001)));
  EXPECT_FALSE(book.IsNewBest(GameOf("", "New.wds", "C:\\New.wds", 5001))) << "a first game beats nothing";
  book.Add(GameOf("2026-03-05 10:00:00", "Basic.wds", p, 6000));
  EXPECT_EQ(book.Game(book.Lists()[0].best).total, 6000);

  // the chart's games: the list's last fifty, oldest first, whatever lies between
  for (int i = 0; i < 120; ++i) {
    book.Add(GameOf("2026-04-01 10:00:00", "Basic.wds", p, 10000 + i));
    book.Add(GameOf("2026-04-01 10:00:00", "Other.wds", "C:\\Words\\Other.wds", i));
  }
  std::vector<int> last = book.LastTotals(basic);
  ASSERT_EQ(last.size(), static_cast<size_t>(kChartGames));
  EXPECT_EQ(last.front(), 10070);
  EXPECT_EQ(last.back(), 10119);
  EXPECT_EQ(book.LastTotals(1), std::vector<int>{9000});
  EXPECT_TRUE(book.LastTotals(7).empty());
}

TEST(Records, AHundredThousandGamesOfSevenListsReadWhole) {
  // the size a records file reaches after years of play; how long it takes is
  // measured by records_bench, not here
  std::string file = HeaderLine();
  std::map<std::string, int> best;
  uint32_t r = 12345;
  for (int i = 0; i < 100000; ++i) {
    r = r * 1103515245u + 12345u;
    std::string name = "単語" + std::to_string(i % 7) + ".wds";
    int total = static_cast<int>((r >> 8) % 60000);
    file += FormatLine(GameOf("2026-03-05 14:03:27", name, "C:\\ﾀｲﾋﾟﾝｸﾞ\\" + name, total, 40, 3, 200));
    best[name] = std::max(best[name], total);
  }
  CRecordBook book;
  ASSERT_EQ(ReadInto(book, file), FileState::kUsable);
  EXPECT_EQ(book.GameCount(), 100000u);
  EXPECT_EQ(book.Skipped(), 0u);
  ASSERT_EQ(book.Lists().size(), 7u);
  for (const auto& l : book.Lists()) {
    EXPECT_EQ(l.games, 100000 / 7 + (l.name[4] - '0' < 100000 % 7 ? 1 : 0)) << l.name;
    EXPECT_EQ(book.Total(l.best), best[l.name]) << l.name;
  }
}

TEST(Records, ChartAxisInRoundStepsAndPointsAcrossFiftyGames) {
  struct {
    int max, top, step;
  } axes[] = {{0, 1, 1}, {7, 8, 2}, {1000, 1000, 200}, {5230, 6000, 1000}, {29990, 30000, 5000}, {60001, 80000, 20000}};
  for (const auto& a : axes) {
    ValueAxis v = AxisFor(a.max);
    EXPECT_EQ(v.top, a.top) << a.max;
    EXPECT_EQ(v.step, a.step) << a.max;
  }
  ValueAxis v = AxisFor(1000);
  std::vector<int> values(kChartGames, 500);
  values.front() = 0;
  values.back() = 1000;
  auto pts = PlotPoints(values, v, 40, 10, 490, 200);
  EXPECT_EQ(pts.front().x, 40);
  EXPECT_EQ(pts.front().y, 210) << "0 on the axis";
  EXPECT_EQ(pts.back().x, 530);
  EXPECT_EQ(pts.back().y, 10) << "the top of the axis at the top";
  EXPECT_EQ(pts[1].x - pts[0].x, 10);
  EXPECT_EQ(pts[1].y, 110);
}

TEST(GameRules, CountsWordsRightAndWrongAndTheRightWordsCharacters) {
  CWordList words;
  words.Add("りんごjuice");
  int64_t now = 1000;
  krgame::CGameRules rules([&] { return now; }, [] { return 0; });
  ASSERT_TRUE(rules.Start(words));
  rules.Started(krgame::kTimerId);
  rules.Judge("RINGO", words);
  rules.Judge("りんごJUICE", words);
  rules.Judge("りんごjuice", words);
  EXPECT_EQ(rules.RightWords(), 2);
  EXPECT_EQ(rules.WrongWords(), 1);
  EXPECT_EQ(rules.RightChars(), 16) << "a double-byte character counts one";
  ASSERT_TRUE(rules.Start(words));
  EXPECT_EQ(rules.RightWords() + rules.WrongWords() + rules.RightChars(), 0) << "a new game counts afresh";
  EXPECT_EQ(krgame::CharCount("ﾀｲﾋﾟﾝｸﾞ表\x82"), 9) << "a lead byte at the end counts one";
}
