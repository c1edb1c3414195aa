#include "Records.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "Mbcs.h"

namespace krrec {

namespace {
constexpr int kGameSeconds = 180;
constexpr const char kHeader[] = "日時\t単語ファイル\tパス\t得点\t正解数\tミス数\t正解文字数\t文字/分\t正確さ(%)";
constexpr int kFields = 9;

// A field of a line: [p, p + n).
struct Field {
  const char* p = nullptr;
  size_t n = 0;
};

bool Digits(const char* p, size_t n) {
  for (size_t i = 0; i < n; ++i)
    if (p[i] < '0' || p[i] > '9') return false;
  return true;
}

// A count: 1 to 9 digits, no sign.
bool ParseCount(const Field& f, int& value) {
  if (f.n == 0 || f.n > 9 || !Digits(f.p, f.n)) return false;
  int v = 0;
  for (size_t i = 0; i < f.n; ++i) v = v * 10 + (f.p[i] - '0');
  value = v;
  return true;
}

// "123.4", as written for the rates.
bool IsTenths(const Field& f) {
  return f.n >= 3 && f.n <= 12 && f.p[f.n - 2] == '.' && Digits(f.p, f.n - 2) && Digits(f.p + f.n - 1, 1);
}

// The number n digits at p make.
uint32_t PackDigits(const char* p, int n) {
  uint32_t v = 0;
  for (int i = 0; i < n; ++i) v = v * 10 + static_cast<uint32_t>(p[i] - '0');
  return v;
}

// "YYYY-MM-DD HH:MM:SS"
bool IsWhen(const Field& f) {
  static const char shape[] = "dddd-dd-dd dd:dd:dd";
  if (f.n != sizeof shape - 1) return false;
  for (size_t i = 0; i < f.n; ++i) {
    bool digit = f.p[i] >= '0' && f.p[i] <= '9';
    if (shape[i] == 'd' ? !digit : f.p[i] != shape[i]) return false;
  }
  return true;
}

// Text that code page 932 can hold, without control characters: a lead byte is
// followed by a trail byte. A broken double-byte character or a control character
// makes the line unreadable. A table of what each byte may be keeps the walk short
// (a path is most of a line).
enum : unsigned char { kBad, kSingle, kLead };
struct ByteKinds {
  unsigned char kind[256];
  bool trail[256];
  ByteKinds() {
    for (int c = 0; c < 256; ++c) {
      bool bad = c < 0x20 || c == 0x7F || c == 0x80 || c == 0xA0 || c >= 0xFD;
      kind[c] = bad ? kBad : mbcs::IsLeadByte(static_cast<unsigned char>(c)) ? kLead : kSingle;
      trail[c] = c >= 0x40 && c != 0x7F && c <= 0xFC;
    }
  }
};
const ByteKinds g_bytes;

bool IsText(const Field& f) {
  const unsigned char* p = reinterpret_cast<const unsigned char*>(f.p);
  const unsigned char* end = p + f.n;
  while (p < end) {
    unsigned char k = g_bytes.kind[*p++];
    if (k == kSingle) continue;
    if (k == kBad || p == end || !g_bytes.trail[*p++]) return false;
  }
  return true;
}

// The key a list is known by: its path in small letters, or its name.
std::string KeyOf(const char* name, size_t nName, const char* path, size_t nPath) {
  if (nPath) return "p" + mbcs::ToLower(std::string(path, nPath));
  return "n" + std::string(name, nName);
}
}  // namespace

int CpmTenths(int chars) {
  // chars per minute = chars * 60 / 180, in tenths and rounded
  return static_cast<int>((static_cast<int64_t>(chars) * 600 + kGameSeconds / 2) / kGameSeconds);
}

int AccuracyTenths(int right, int wrong) {
  int64_t judged = static_cast<int64_t>(right) + wrong;
  if (judged <= 0) return -1;
  return static_cast<int>((static_cast<int64_t>(right) * 1000 + judged / 2) / judged);
}

std::string Tenths(int tenths) {
  if (tenths < 0) return std::string();
  return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

std::string Thousands(int n) {
  std::string digits = std::to_string(n < 0 ? -static_cast<int64_t>(n) : n), out;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i && (digits.size() - i) % 3 == 0) out += ',';
    out += digits[i];
  }
  return n < 0 ? "-" + out : out;
}

std::string HeaderLine() { return std::string(kHeader) + "\r\n"; }

std::string FormatLine(const GameRecord& g) {
  std::string s;
  s.reserve(64 + g.name.size() + g.path.size());
  s += g.when;
  s += '\t';
  s += g.name;
  s += '\t';
  s += g.path;
  for (int n : {g.total, g.right, g.wrong, g.chars}) {
    s += '\t';
    s += std::to_string(n);
  }
  s += '\t';
  s += Tenths(CpmTenths(g.chars));
  s += '\t';
  s += Tenths(AccuracyTenths(g.right, g.wrong));
  s += "\r\n";
  return s;
}

std::string ListNameOf(const std::string& path, const std::string& title) {
  if (path.empty()) return title;
  size_t slash = mbcs::FindLastChar(path, '\\');
  size_t colon = mbcs::FindLastChar(path, ':');
  size_t cut = slash == std::string::npos ? colon : colon == std::string::npos ? slash : std::max(slash, colon);
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

// ---- reading ---------------------------------------------------------------------
void CRecordBook::Clear() {
  m_games.clear();
  m_lists.clear();
  m_index.clear();
  m_raw.clear();
  m_nSkipped = 0;
  m_pszBreak = "";
}

int CRecordBook::ListFor(const char* name, size_t nName, const char* path, size_t nPath) {
  // games of one list mostly follow each other: the list of the last game first
  if (!m_games.empty()) {
    const ListSummary& l = m_lists[static_cast<size_t>(m_games.back().list)];
    if (l.name.size() == nName && l.path.size() == nPath && std::memcmp(l.name.data(), name, nName) == 0 &&
        std::memcmp(l.path.data(), path, nPath) == 0)
      return m_games.back().list;
  }
  // then the name and path as they stand, in a buffer kept from line to line
  m_strScratch.assign(name, nName);
  m_strScratch += '\t';
  m_strScratch.append(path, nPath);
  auto raw = m_raw.find(m_strScratch);
  if (raw != m_raw.end()) return raw->second;
  auto it = m_index.emplace(KeyOf(name, nName, path, nPath), static_cast<int>(m_lists.size()));
  if (it.second) {
    ListSummary l;
    l.name.assign(name, nName);
    l.path.assign(path, nPath);
    m_lists.push_back(std::move(l));
  }
  m_raw.emplace(m_strScratch, it.first->second);
  return it.first->second;
}

void CRecordBook::Count(size_t index) {
  const Entry& g = m_games[index];
  ListSummary& l = m_lists[static_cast<size_t>(g.list)];
  if (l.games == 0 || g.total > m_games[l.best].total) l.best = index;
  l.last = index;
  ++l.games;
}

void CRecordBook::Begin(size_t nBytes) {
  Clear();
  m_games.reserve(nBytes / 96);  // a line is a hundred bytes or more: the list is not moved while it grows
  m_bHeader = m_bUnusable = m_bOverlong = false;
  m_strCarry.clear();
  m_nBytes = 0;
  m_chLast = '\n';
}

bool CRecordBook::Feed(const char* data, size_t size) {
  if (m_bUnusable || size == 0) return !m_bUnusable;
  m_nBytes += size;
  m_chLast = data[size - 1];
  const char* p = data;
  const char* end = data + size;
  while (p < end && !m_bUnusable) {
    const char* nl = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)));
    if (!nl) {  // the rest of the piece starts a line the next piece ends
      if (!m_bOverlong) m_strCarry.append(p, end);
      break;
    }
    if (m_bOverlong) {
      m_bOverlong = false;  // the end of a line too long to keep: skipped
      ++m_nSkipped;
    } else if (!m_strCarry.empty()) {
      m_strCarry.append(p, nl);
      Line(m_strCarry.data(), m_strCarry.data() + m_strCarry.size());
      m_strCarry.clear();
    } else {
      Line(p, nl);
    }
    p = nl + 1;
  }
  if (m_strCarry.size() > kLongestLine) {  // no records line is this long
    m_strCarry.clear();
    m_bOverlong = true;
    if (!m_bHeader) m_bUnusable = true;
  }
  return !m_bUnusable;
}

FileState CRecordBook::End() {
  if (!m_strCarry.empty()) Line(m_strCarry.data(), m_strCarry.data() + m_strCarry.size());  // cut short
  if (m_bOverlong) ++m_nSkipped;
  m_strCarry.clear();
  m_strCarry.shrink_to_fit();
  if (m_bUnusable || (m_nBytes && !m_bHeader)) {
    Clear();
    return FileState::kUnusable;
  }
  if (m_nBytes == 0) return FileState::kEmpty;
  m_pszBreak = m_chLast == '\n' ? "" : m_chLast == '\r' ? "\n" : "\r\n";
  return FileState::kUsable;
}

FileState CRecordBook::Read(const char* data, size_t size) {
  Begin(size);
  Feed(data, size);
  return End();
}

void CRecordBook::Line(const char* p, const char* lineEnd) {
  if (lineEnd > p && lineEnd[-1] == '\r') --lineEnd;
  if (static_cast<size_t>(lineEnd - p) > kLongestLine) {  // the same whether it came in one piece or two
    if (m_bHeader) ++m_nSkipped;
    m_bUnusable = !m_bHeader;
    return;
  }
  if (!m_bHeader) {  // the first line: ours, or this is no records file
    m_bHeader =
        static_cast<size_t>(lineEnd - p) == sizeof kHeader - 1 && std::memcmp(p, kHeader, sizeof kHeader - 1) == 0;
    m_bUnusable = !m_bHeader;
    return;
  }
  if (lineEnd == p) return;  // an empty line (a spreadsheet may leave one at the end)
  Field f[kFields];
  int n = 0;
  for (const char* q = p;;) {
    const char* tab = static_cast<const char*>(std::memchr(q, '\t', static_cast<size_t>(lineEnd - q)));
    const char* fe = tab ? tab : lineEnd;
    if (n < kFields) f[n] = Field{q, static_cast<size_t>(fe - q)};
    ++n;
    if (!tab) break;
    q = tab + 1;
  }
  Entry g;
  bool ok = n == kFields && IsWhen(f[0]) && f[1].n > 0 && IsText(f[1]) && IsText(f[2]) && ParseCount(f[3], g.total) &&
            ParseCount(f[4], g.right) && ParseCount(f[5], g.wrong) && ParseCount(f[6], g.chars) && IsTenths(f[7]) &&
            (f[8].n == 0 || IsTenths(f[8]));
  if (!ok) {
    ++m_nSkipped;
    return;
  }
  g.date = PackDigits(f[0].p, 4) * 10000 + PackDigits(f[0].p + 5, 2) * 100 + PackDigits(f[0].p + 8, 2);
  g.time = PackDigits(f[0].p + 11, 2) * 10000 + PackDigits(f[0].p + 14, 2) * 100 + PackDigits(f[0].p + 17, 2);
  g.list = ListFor(f[1].p, f[1].n, f[2].p, f[2].n);
  m_games.push_back(g);
  Count(m_games.size() - 1);
}

void CRecordBook::Add(const GameRecord& r) {
  Entry g;
  g.total = r.total;
  g.right = r.right;
  g.wrong = r.wrong;
  g.chars = r.chars;
  Field when{r.when.data(), r.when.size()};
  g.date = g.time = 0;
  if (IsWhen(when)) {
    g.date = PackDigits(when.p, 4) * 10000 + PackDigits(when.p + 5, 2) * 100 + PackDigits(when.p + 8, 2);
    g.time = PackDigits(when.p + 11, 2) * 10000 + PackDigits(when.p + 14, 2) * 100 + PackDigits(when.p + 17, 2);
  }
  g.list = ListFor(r.name.data(), r.name.size(), r.path.data(), r.path.size());
  m_games.push_back(g);
  Count(m_games.size() - 1);
  m_pszBreak = "";
}

int CRecordBook::FindList(const std::string& name, const std::string& path) const {
  auto it = m_index.find(KeyOf(name.data(), name.size(), path.data(), path.size()));
  return it == m_index.end() ? -1 : it->second;
}

bool CRecordBook::IsNewBest(const GameRecord& game) const {
  int list = FindList(game.name, game.path);
  return list >= 0 && game.total > m_games[m_lists[static_cast<size_t>(list)].best].total;
}

GameRecord CRecordBook::Game(size_t index) const {
  const Entry& g = m_games[index];
  const ListSummary& l = m_lists[static_cast<size_t>(g.list)];
  GameRecord r;
  char when[48];
  std::snprintf(when, sizeof when, "%04u-%02u-%02u %02u:%02u:%02u", g.date / 10000, g.date / 100 % 100, g.date % 100,
                g.time / 10000, g.time / 100 % 100, g.time % 100);
  r.when = when;
  r.name = l.name;
  r.path = l.path;
  r.total = g.total;
  r.right = g.right;
  r.wrong = g.wrong;
  r.chars = g.chars;
  return r;
}

std::vector<int> CRecordBook::LastTotals(int list, int n) const {
  std::vector<int> totals;
  if (list < 0 || static_cast<size_t>(list) >= m_lists.size()) return totals;
  for (size_t i = m_lists[static_cast<size_t>(list)].last + 1; i-- > 0 && static_cast<int>(totals.size()) < n;)
    if (m_games[i].list == list) totals.push_back(m_games[i].total);
  return std::vector<int>(totals.rbegin(), totals.rend());
}

std::string TextToAppend(FileState state, const CRecordBook& book, const GameRecord& game) {
  std::string text;
  if (state != FileState::kUsable)
    text = HeaderLine();
  else
    text = book.LineBreakNeeded();
  return text + FormatLine(game);
}

// ---- the chart --------------------------------------------------------------------
ValueAxis AxisFor(int maxValue) {
  ValueAxis a;
  if (maxValue <= 0) maxValue = 1;
  for (int64_t unit = 1;; unit *= 10) {
    for (int m : {1, 2, 5}) {
      int64_t step = unit * m;
      int64_t steps = (maxValue + step - 1) / step;
      if (steps <= 6) {
        a.step = static_cast<int>(step);
        a.top = static_cast<int>(steps * step);
        return a;
      }
    }
  }
}

int PlotY(int value, const ValueAxis& axis, int top, int height) {
  if (axis.top <= 0) return top + height;
  return top + height - static_cast<int>(static_cast<int64_t>(value) * height / axis.top);
}

std::vector<ChartPoint> PlotPoints(const std::vector<int>& values, const ValueAxis& axis, int left, int top, int width,
                                   int height) {
  std::vector<ChartPoint> points;
  points.reserve(values.size());
  for (size_t i = 0; i < values.size(); ++i)
    points.push_back({left + static_cast<int>(static_cast<int64_t>(i) * width / (kChartGames - 1)),
                      PlotY(values[i], axis, top, height)});
  return points;
}

}  // namespace krrec
