// The typing game's rules without windows: start, tick, judge, pause and resume, the
// next word, the clock and the header texts. The clock (calendar seconds) and the
// random source (0 to 32767, like rand()) are handed in, so a whole game can be
// played in a test without waiting. The view turns the changes each step reports
// into invalidations, sounds and boxes.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

class CWordList;

namespace krgame {

constexpr int kTimerId = 100;
constexpr unsigned kTimerInterval = 100;  // ms
constexpr int kGameSeconds = 180;
constexpr int kStartSize = 1000;  // tenths of a point
constexpr int kSizeStep = 10;
constexpr int kRetireSize = 60;  // a word at or below this size is replaced
constexpr int kStartBonus = 1000;
constexpr int kBonusStep = 10;
constexpr int kHeaderPointSize = 150;  // tenths of a point
constexpr int kSeedPointSize = 100;

// What a step changed; the view repaints these parts.
enum Change : unsigned {
  kNoChange = 0,
  kNewWord = 1 << 0,    // a new word: the edit is emptied, the whole view repainted
  kWordArea = 1 << 1,   // the word shrank (repaint without erasing)
  kBonusArea = 1 << 2,
  kTimeArea = 1 << 3,
  kTotalArea = 1 << 4,
  kGameOver = 1 << 5,   // time is up: the edit is disabled, the timer and the sound stop
  kCorrect = 1 << 6,    // the typed word was right
  kMiss = 1 << 7,       // the typed word was wrong: bark
};

// Compares two code page 932 strings as the C library's _mbsicmp does: ASCII letters
// and the full-width Latin and Greek capitals are taken as their small letters, every
// double-byte character is compared whole, everything else byte for byte; both end
// at their first zero byte. <0, 0 or >0.
int CompareIgnoreCase(const std::string& a, const std::string& b);

// Characters of a code page 932 string: a double-byte character counts one.
int CharCount(const std::string& s);

// Index of the next word among nWords for a random value r (0 to 32767): n * r / 32768,
// with a 64-bit product so that lists of any length stay inside.
int WordIndexFor(int nWords, int r);

// The three header lines.
std::string BonusLine(int nBonus);
std::string TotalLine(int nTotal);
std::string TimeLine(int nRemaining);  // seconds, shown as m:ss

// Where the typing box goes in a view of cx by cy pixels, for the text height h of its
// font and the system's edge height: the middle half of the width, its lower edge 10
// pixels above the bottom.
struct BoxPlace {
  int x, y, cx, cy;
};
BoxPlace PlaceWordEdit(int cx, int cy, int h, int cyEdge);

class CGameRules {
 public:
  using Clock = std::function<int64_t()>;
  using Random = std::function<int()>;
  CGameRules(Clock now, Random rnd) : m_now(std::move(now)), m_rand(std::move(rnd)) {}

  // A new game (also during one). False, and nothing changes, when the list is empty.
  // The view then sets the timer and reports its value through Started.
  bool Start(const CWordList& words);
  void Started(int nTimerValue) { m_nTimer = nTimerValue; }
  // One timer tick; only while running.
  unsigned Tick(const CWordList& words);
  // Enter: judges the typed text against the current word, running or paused. Before
  // the first game and after the end it does nothing; when the list no longer holds
  // the current word, Enter brings a new word instead of a judgement.
  unsigned Judge(const std::string& typed, const CWordList& words);
  // 停止 (while running) and 再開 (while paused); false when not allowed now.
  bool Pause();
  bool Resume(int nTimerValue);

  bool CanPause() const { return m_nTimer > 0; }
  bool CanResume() const { return m_nTimer == 0; }
  bool IsRunning() const { return m_nTimer > 0; }
  bool InGame() const { return m_nTimer >= 0; }  // running or paused

  // The current word, when the list still holds it.
  bool CurrentWord(const CWordList& words, std::string& word) const;
  // The remaining seconds as drawn now (0 before the first game and after the end
  // time); remembered as the last shown value.
  int ShowRemaining();

  int TimerMarker() const { return m_nTimer; }
  int WordIndex() const { return m_nWord; }
  int WordSize() const { return m_nSize; }
  int Bonus() const { return m_nBonus; }
  int Total() const { return m_nTotal; }
  // What the current (or last) game's judgements came to: words typed right and
  // wrong, and the characters of the words typed right.
  int RightWords() const { return m_nRight; }
  int WrongWords() const { return m_nWrong; }
  int RightChars() const { return m_nRightChars; }

 private:
  void NextWord(const CWordList& words);

  Clock m_now;
  Random m_rand;
  // -1: no game running (before the first and after the end); 0: paused; otherwise
  // the value returned when the timer was set.
  int m_nTimer = -1;
  int m_nWord = -1;
  int m_nSize = kStartSize;
  int m_nBonus = 0;
  int m_nTotal = 0;
  int m_nRight = 0, m_nWrong = 0, m_nRightChars = 0;
  bool m_bStarted = false;
  int64_t m_tStart = 0;
  int m_nShownRemaining = 0;
};

}  // namespace krgame
