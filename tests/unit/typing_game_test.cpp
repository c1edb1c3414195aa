// The game's rules with a clock and a random source of the test's own, and the two
// sounds the build makes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "GameRules.h"
#include "WaveSynth.h"
#include "WordList.h"

using namespace krgame;

namespace {

CWordList ListOf(std::initializer_list<std::string> words) {
  CWordList l;
  for (const auto& w : words) l.Add(w);
  return l;
}

// A game on a clock of milliseconds that the test moves; the rules see whole seconds.
struct Game {
  int64_t ms = 1'000'000'000;
  int r = 0;  // every draw of the random source gives this
  CGameRules rules{[this] { return ms / 1000; }, [this] { return r; }};
  CWordList words = ListOf({"apple", "りんご", "ﾀｲﾋﾟﾝｸﾞ"});
  unsigned last = 0;

  void Start() {
    ASSERT_TRUE(rules.Start(words));
    rules.Started(kTimerId);
    rules.ShowRemaining();  // the view draws the new game
  }
  // n ticks, 100 ms apart; the changes of the last one
  unsigned Tick(int n = 1) {
    for (int i = 0; i < n; ++i) {
      ms += 100;
      last = rules.Tick(words);
    }
    return last;
  }
  std::string Word() const {
    std::string w;
    return rules.CurrentWord(words, w) ? w : "<none>";
  }
  unsigned Type(const std::string& s) { return rules.Judge(s, words); }
};

}  // namespace

TEST(GameRules, BonusFallsTenATickAndAWordTypedEarnsIt) {
  Game g;
  g.Start();
  EXPECT_EQ(g.rules.Bonus(), 1000);
  EXPECT_EQ(g.rules.Total(), 0);
  EXPECT_EQ(g.Type("APPLE"), kCorrect | kNewWord | kTotalArea) << "typed within the first tick";
  EXPECT_EQ(g.rules.Total(), 1000);
  EXPECT_TRUE(g.Tick(10) & kWordArea);
  EXPECT_EQ(g.rules.WordSize(), 900);
  EXPECT_EQ(g.rules.Bonus(), 900);
  EXPECT_EQ(g.Type("apple"), kCorrect | kNewWord | kTotalArea) << "after 10 ticks";
  EXPECT_EQ(g.rules.Total(), 1900);
  EXPECT_EQ(g.rules.Bonus(), 1000) << "the next word starts afresh";
  EXPECT_EQ(g.Type("appl"), kMiss);
  EXPECT_EQ(g.rules.Total(), 1900);
}

TEST(GameRules, AnUntypedWordGoesOnThe95thTickWithoutDecayOrClock) {
  Game g;
  g.r = 16384;  // the middle word of three
  g.Start();
  ASSERT_EQ(g.Word(), "りんご");
  g.Tick(94);
  EXPECT_EQ(g.rules.WordSize(), 60);
  EXPECT_EQ(g.rules.Bonus(), 60);
  g.r = 0;
  g.ms += 1000 * 1000;  // far past the end: the retiring tick does not look
  EXPECT_EQ(g.Tick(), kNewWord);
  EXPECT_EQ(g.Word(), "apple");
  EXPECT_EQ(g.rules.WordSize(), 1000);
  EXPECT_EQ(g.rules.Bonus(), 1000);
  EXPECT_TRUE(g.rules.IsRunning());
  EXPECT_EQ(g.Tick(), kWordArea | kTimeArea | kGameOver) << "the next ordinary tick ends it";
}

TEST(GameRules, TheClockEndsTheGameAt180SecondsAndAPauseDoesNotStopIt) {
  Game g;
  g.ms = 5'000'000'000'000;  // on a whole second
  g.Start();
  EXPECT_EQ(g.rules.ShowRemaining(), 180);
  EXPECT_TRUE(g.Tick(9) & kBonusArea);
  EXPECT_FALSE(g.last & kTimeArea) << "still 180 shown";
  EXPECT_TRUE(g.Tick() & kTimeArea) << "179 now";
  EXPECT_EQ(g.rules.ShowRemaining(), 179);
  EXPECT_FALSE(g.Tick() & kTimeArea) << "179 shown already";

  // a 30-second pause: no ticks, the clock runs on
  EXPECT_TRUE(g.rules.Pause());
  EXPECT_FALSE(g.rules.Pause());
  EXPECT_EQ(g.Tick(), kNoChange);
  g.ms += 30'000;
  EXPECT_TRUE(g.rules.Resume(kTimerId));
  EXPECT_EQ(g.rules.ShowRemaining(), 149) << "1.1 s played, 30 s paused";
  // the end stays at start + 180: play on until then (a word typed now and then)
  int ticks = 0;
  while (!(g.Tick() & kGameOver) && ticks < 5000) {
    if (++ticks % 50 == 0) g.Type("apple");
  }
  EXPECT_EQ(g.ms / 1000 - 5'000'000'000, 180) << "ended at the first tick at 180 s";
  EXPECT_FALSE(g.rules.IsRunning());
  EXPECT_EQ(g.rules.ShowRemaining(), 0);
  EXPECT_EQ(g.Tick(), kNoChange) << "no ticks after the end";
}

TEST(GameRules, PausedPastItsEndTheGameEndsAtTheFirstOrdinaryTickAfterResuming) {
  Game g;
  g.Start();
  g.Tick(5);
  g.rules.Pause();
  g.ms += 400'000;
  // paused, Enter still judges: a right word adds the frozen bonus, a new word comes
  EXPECT_EQ(g.Type("Apple"), kCorrect | kNewWord | kTotalArea);
  EXPECT_EQ(g.rules.Total(), 950);
  EXPECT_EQ(g.rules.Bonus(), 1000);
  EXPECT_EQ(g.rules.TimerMarker(), 0) << "still paused";
  EXPECT_TRUE(g.rules.Resume(kTimerId));
  EXPECT_EQ(g.Tick(), kWordArea | kTimeArea | kGameOver);
  EXPECT_EQ(g.rules.Total(), 950);

  // when the first tick after 再開 retires the word, the one after it ends the game
  Game h;
  h.Start();
  h.Tick(94);
  h.rules.Pause();
  h.ms += 400'000;
  h.rules.Resume(kTimerId);
  EXPECT_EQ(h.Tick(), kNewWord);
  EXPECT_EQ(h.Tick(), kWordArea | kTimeArea | kGameOver);
}

TEST(GameRules, StartIsRefusedOnAnEmptyListAndStartsOverDuringAGame) {
  Game g;
  g.words = CWordList();
  EXPECT_FALSE(g.rules.Start(g.words));
  EXPECT_EQ(g.rules.TimerMarker(), -1);
  EXPECT_EQ(g.rules.WordIndex(), -1);
  EXPECT_EQ(g.rules.ShowRemaining(), 0) << "before the first game: 0:00";
  EXPECT_FALSE(g.rules.CanPause() || g.rules.CanResume());
  EXPECT_EQ(g.Type("anything"), kNoChange) << "no game: Enter does nothing";

  g.words = ListOf({"apple"});
  g.Start();
  g.Type("apple");
  g.Tick(30);
  g.ms += 50'000;
  ASSERT_GT(g.rules.Total(), 0);
  g.rules.Pause();
  g.Start();  // 開始 again, here from a pause
  EXPECT_EQ(g.rules.Total(), 0);
  EXPECT_EQ(g.rules.ShowRemaining(), 180);
  EXPECT_TRUE(g.rules.CanPause());
  EXPECT_FALSE(g.rules.CanResume());
}

TEST(GameRules, AfterTheEndNothingIsJudgedAndNeitherPauseNorResumeIsOffered) {
  Game g;
  g.Start();
  g.ms += 180'000;
  ASSERT_TRUE(g.Tick() & kGameOver);
  EXPECT_FALSE(g.rules.CanPause());
  EXPECT_FALSE(g.rules.CanResume());
  EXPECT_FALSE(g.rules.Pause());
  EXPECT_FALSE(g.rules.Resume(kTimerId));
  int total = g.rules.Total();
  EXPECT_EQ(g.Type("apple"), kNoChange);
  EXPECT_EQ(g.Type("wrong"), kNoChange) << "no bark after the end";
  EXPECT_EQ(g.rules.Total(), total);
}

TEST(GameRules, AShortenedListIsNeverReadOutside) {
  Game g;
  g.r = 32767;  // the last word
  g.Start();
  ASSERT_EQ(g.Word(), "ﾀｲﾋﾟﾝｸﾞ");
  g.words.RemoveAt(2);
  EXPECT_EQ(g.Word(), "<none>");
  g.r = 0;
  EXPECT_EQ(g.Type("ﾀｲﾋﾟﾝｸﾞ"), kNewWord) << "a new word, no score";
  EXPECT_EQ(g.rules.Total(), 0);
  EXPECT_EQ(g.Word(), "apple");
  g.words = CWordList();
  EXPECT_EQ(g.Type("apple"), kNoChange);
  g.Tick(95);
  EXPECT_EQ(g.Word(), "<none>") << "the retiring tick on an empty list picks nothing";
  EXPECT_TRUE(g.rules.IsRunning());
}

TEST(GameRules, AWholeGameRunsInATestWithoutWaiting) {
  // the player types every word after exactly 10 ticks: 900 points each
  Game g;
  g.ms = 7'000'000'000'000;
  g.Start();
  int ticks = 0, words = 0, overs = 0;
  while (ticks < 3000) {
    ++ticks;
    if (g.Tick() & kGameOver) {
      ++overs;
      break;
    }
    if (ticks % 10 == 0 && (g.Type(g.Word()) & kCorrect)) ++words;
  }
  EXPECT_EQ(overs, 1);
  EXPECT_EQ(ticks, 1800);
  EXPECT_EQ(words, 179);
  EXPECT_EQ(g.rules.Total(), 179 * 900);
}

TEST(GameRules, WordIndexStaysInsideLongLists) {
  EXPECT_EQ(WordIndexFor(3, 0), 0);
  EXPECT_EQ(WordIndexFor(3, 32767), 2);
  EXPECT_EQ(WordIndexFor(1, 32767), 0);
  EXPECT_EQ(WordIndexFor(65538, 32767), 65535);
  // beyond 65,538 words the 32-bit product overflows; ours does not
  EXPECT_EQ(WordIndexFor(100000, 32767), 99996);
  EXPECT_EQ(WordIndexFor(2147483647, 32767), 2147418111);
  EXPECT_EQ(WordIndexFor(0, 5), 0);
}

TEST(GameRules, HeaderLines) {
  EXPECT_EQ(BonusLine(1000), "追加得点: 1000");
  EXPECT_EQ(BonusLine(0), "追加得点:    0");
  EXPECT_EQ(TotalLine(0), "総合得点:       0");
  EXPECT_EQ(TotalLine(161100), "総合得点:  161100");
  EXPECT_EQ(TimeLine(180), "残り時間　3:00");
  EXPECT_EQ(TimeLine(69), "残り時間　1:09");
  EXPECT_EQ(TimeLine(0), "残り時間　0:00");
}

TEST(CompareIgnoreCase, LikeTheMultibyteRuntime) {
  struct {
    const char* a;
    const char* b;
    bool same;
  } cases[] = {
      {"Apple", "apple", true},
      {"KeyBoard", "kEYbOARD", true},
      {"apple", "apples", false},
      {"りんご", "りんご", true},
      {"りんご", "リンゴ", false},       // hiragana and katakana differ
      {"ﾀｲﾋﾟﾝｸﾞ", "ﾀｲﾋﾟﾝｸﾞ", true},   // half-width katakana, byte for byte
      {"ﾀｲﾋﾟﾝｸﾞ", "タイピング", false},  // half-width is not full-width
      {"ＡＢＣ", "ａｂｃ", true},        // full-width Latin letters have case
      {"ＡＢＣ", "abc", false},
      {"ΑΒΓ", "αβγ", true},             // so has full-width Greek
      {"ア", "ヂ", false},               // 83 41 and 83 61: trail bytes are no letters
      {"表示", "表示", true},            // 95 5C: a trail byte that looks like a backslash
      {"Mixed 混合 Case", "mIXED 混合 cASE", true},
      {"", "", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.a) + " / " + c.b);
    EXPECT_EQ(CompareIgnoreCase(c.a, c.b) == 0, c.same);
    EXPECT_EQ(CompareIgnoreCase(c.b, c.a) == 0, c.same);
  }
  EXPECT_LT(CompareIgnoreCase("apple", "Banana"), 0);
  EXPECT_GT(CompareIgnoreCase("Banana", "apple"), 0);
  // like a C string: the text ends at a zero byte, or at a lead byte with nothing after
  EXPECT_EQ(CompareIgnoreCase(std::string("ab\0cd", 5), "AB"), 0);
  EXPECT_EQ(CompareIgnoreCase("ab\x82", "ab"), 0);
}

namespace {
uint32_t LE(const std::string& s, size_t at, int n) {
  uint32_t v = 0;
  for (int i = n - 1; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(s[at + static_cast<size_t>(i)]);
  return v;
}
}  // namespace

TEST(Sounds, SixteenBitMonoWaveFilesThatLoopWithoutAClick) {
  struct {
    const char* name;
    std::vector<int16_t> samples;
    double maxSeconds;
  } sounds[] = {{"loop", krsound::LoopSamples(), 4.0}, {"bark", krsound::BarkSamples(), 0.5}};
  for (const auto& s : sounds) {
    SCOPED_TRACE(s.name);
    std::string f = krsound::WaveFile(s.samples);
    ASSERT_EQ(f.size(), 44 + 2 * s.samples.size());
    EXPECT_EQ(f.substr(0, 4), "RIFF");
    EXPECT_EQ(LE(f, 4, 4), f.size() - 8);
    EXPECT_EQ(f.substr(8, 8), "WAVEfmt ");
    EXPECT_EQ(LE(f, 20, 2), 1u);  // PCM
    EXPECT_EQ(LE(f, 22, 2), 1u);  // mono
    EXPECT_EQ(LE(f, 24, 4), static_cast<uint32_t>(krsound::kSampleRate));
    EXPECT_EQ(LE(f, 28, 4), 2u * krsound::kSampleRate);
    EXPECT_EQ(LE(f, 32, 2), 2u);
    EXPECT_EQ(LE(f, 34, 2), 16u);
    EXPECT_EQ(f.substr(36, 4), "data");
    EXPECT_EQ(LE(f, 40, 4), 2 * s.samples.size());
    EXPECT_EQ(static_cast<int16_t>(LE(f, 44, 2)), s.samples[0]);
    // short (the bark holds the game while it plays), loud enough, never clipped
    EXPECT_LE(s.samples.size(), static_cast<size_t>(s.maxSeconds * krsound::kSampleRate));
    int peak = 0;
    for (int16_t v : s.samples) peak = std::max(peak, std::abs(static_cast<int>(v)));
    EXPECT_GT(peak, 32767 / 4);
    EXPECT_LT(peak, 32767);
    // both ends at silence: the loop joins, the bark starts and stops cleanly
    EXPECT_LT(std::abs(s.samples.front()), 100);
    EXPECT_LT(std::abs(s.samples.back()), 100);
  }
}
