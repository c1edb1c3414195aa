// The player's records: one line per finished game in a tab-separated text file
// with a header line (a spreadsheet opens it), read back into the best, the last
// game and the recent totals of every word list played. Lines that cannot be read
// are skipped; a file that is not a records file at all is reported as such, so
// that the caller can keep it aside and start a new one. Nothing here touches a file.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace krrec {

constexpr const char kFileName[] = "records.tsv";
constexpr int kChartGames = 50;  // the chart shows this many of a list's last games

// One finished game.
struct GameRecord {
  std::string when;  // local time, "YYYY-MM-DD HH:MM:SS"
  std::string name;  // the word list's file name, or the untitled document's name
  std::string path;  // its full path; empty for an untitled list
  int total = 0;
  int right = 0;  // words typed right
  int wrong = 0;  // words typed wrong
  int chars = 0;  // characters of the words typed right
};

// Characters per minute over the whole game, in tenths.
int CpmTenths(int chars);
// Right words among the judged ones in tenths of a percent; -1 when none was judged.
int AccuracyTenths(int right, int wrong);
// "47.3"; "" for a negative value.
std::string Tenths(int tenths);
// "12,345"
std::string Thousands(int n);

// The header line and a game's line, each ending in CR LF.
std::string HeaderLine();
std::string FormatLine(const GameRecord& game);

// The name a game is recorded under: the file name of `path`, or `title` (the
// untitled document's name) when there is no path.
std::string ListNameOf(const std::string& path, const std::string& title);

enum class FileState {
  kEmpty,     // nothing in it yet: a header goes first
  kUsable,    // our header; its readable lines are the records
  kUnusable,  // not a records file (another encoding, damaged at the top, binary)
};

// One word list played, with its best game and its last.
struct ListSummary {
  std::string name, path;
  int games = 0;
  size_t best = 0;  // index of its best game (the earliest of equal totals)
  size_t last = 0;  // index of its last game
};

class CRecordBook {
 public:
  // Reads a whole file. On kUnusable the book is left empty.
  FileState Read(const char* data, size_t size);
  // The same in pieces, so that a large file needs no buffer of its size: Begin with
  // the file's size, then every piece in order to Feed, then End. Feed says false once
  // the file is found not to be a records file; the rest need not be read.
  void Begin(size_t nBytes = 0);
  bool Feed(const char* data, size_t size);
  FileState End();
  void Clear();
  // A game just written to the file.
  void Add(const GameRecord& game);

  // The list a game of this name and path belongs to; -1 when none was played.
  // Lists with a path are told apart by their path in any letter case, untitled
  // ones by their name.
  int FindList(const std::string& name, const std::string& path) const;
  // Whether the game beats the best of a list already played.
  bool IsNewBest(const GameRecord& game) const;

  const std::vector<ListSummary>& Lists() const { return m_lists; }
  size_t GameCount() const { return m_games.size(); }
  int Total(size_t game) const { return m_games[game].total; }
  // The game of that index, whole.
  GameRecord Game(size_t game) const;
  // The totals of the list's last n games, oldest first.
  std::vector<int> LastTotals(int list, int n = kChartGames) const;

  size_t Skipped() const { return m_nSkipped; }
  // What must come before an appended line for it to start a line of its own: ""
  // when the file ends in a line break, the rest of the break after a cut line.
  const char* LineBreakNeeded() const { return m_pszBreak; }

  // A line longer than this is no record (two full paths and the numbers are far less).
  static constexpr size_t kLongestLine = 4096;

 private:
  struct Entry {
    int list;
    int total, right, wrong, chars;
    uint32_t date, time;  // YYYYMMDD, HHMMSS
  };
  void Line(const char* p, const char* end);
  int ListFor(const char* name, size_t nName, const char* path, size_t nPath);
  void Count(size_t index);

  std::vector<Entry> m_games;
  std::vector<ListSummary> m_lists;
  std::unordered_map<std::string, int> m_index;  // list key -> index in m_lists
  std::unordered_map<std::string, int> m_raw;    // name TAB path as read -> index in m_lists
  std::string m_strScratch;
  size_t m_nSkipped = 0;
  const char* m_pszBreak = "";
  // reading in pieces
  bool m_bHeader = false, m_bUnusable = false, m_bOverlong = false;
  std::string m_strCarry;  // the start of a line the next piece ends
  size_t m_nBytes = 0;
  char m_chLast = '\n';
};

// What to append to a file in this state, for this game: the header first into an
// empty file, a line break first after a cut line.
std::string TextToAppend(FileState state, const CRecordBook& book, const GameRecord& game);

// A free name for a file kept aside: "records-1.tsv", "records-2.tsv", ... beside it;
// `exists` says whether a name is taken.
template <class Exists>
std::string AsideName(const std::string& folder, Exists exists) {
  std::string base(kFileName, sizeof kFileName - 1 - 4), ext = ".tsv";
  for (int n = 1; n < 10000; ++n) {
    std::string name = folder + base + "-" + std::to_string(n) + ext;
    if (!exists(name)) return name;
  }
  return std::string();
}

// ---- the chart --------------------------------------------------------------------
// The value axis from 0 to `top` in steps of 1, 2 or 5 times a power of ten, at most
// six of them, `top` at or above the largest value.
struct ValueAxis {
  int top = 0, step = 0;
};
ValueAxis AxisFor(int maxValue);

// Where the points of `values` lie in a plot area of the given place and size: the
// first game at the left edge, the kChartGames-th at the right; 0 at the bottom,
// axis.top at the top.
struct ChartPoint {
  int x, y;
};
std::vector<ChartPoint> PlotPoints(const std::vector<int>& values, const ValueAxis& axis, int left, int top, int width,
                                   int height);
int PlotY(int value, const ValueAxis& axis, int top, int height);

}  // namespace krrec
