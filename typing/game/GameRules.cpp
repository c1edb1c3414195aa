#include "GameRules.h"

#include <cstdio>

#include "Mbcs.h"
#include "WordList.h"

namespace krgame {

namespace {
// One character of a zero-terminated code page 932 string, folded to its small
// letter; a lead byte with nothing after it ends the string.
unsigned FoldedChar(const unsigned char*& p) {
  unsigned c = *p;
  if (c == 0) return 0;
  ++p;
  if (mbcs::IsLeadByte(static_cast<unsigned char>(c))) {
    if (*p == 0) return 0;
    c = (c << 8) | *p++;
    if (c >= 0x8260 && c <= 0x8279) return c + 0x21;  // Ａ-Ｚ -> ａ-ｚ
    if (c >= 0x839F && c <= 0x83B6) return c + 0x20;  // Α-Ω -> α-ω
    return c;
  }
  return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c;
}
}  // namespace

int CharCount(const std::string& s) {
  int n = 0;
  for (size_t i = 0; i < s.size(); ++i, ++n)
    if (mbcs::IsLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size()) ++i;
  return n;
}

int CompareIgnoreCase(const std::string& a, const std::string& b) {
  const unsigned char* p = reinterpret_cast<const unsigned char*>(a.c_str());
  const unsigned char* q = reinterpret_cast<const unsigned char*>(b.c_str());
  for (;;) {
    unsigned c1 = FoldedChar(p), c2 = FoldedChar(q);
    if (c1 != c2) return c1 < c2 ? -1 : 1;
    if (c1 == 0) return 0;
  }
}

int WordIndexFor(int nWords, int r) {
  if (nWords <= 0) return 0;
  return static_cast<int>(static_cast<int64_t>(nWords) * (r & 0x7FFF) / 32768);
}

std::string BonusLine(int nBonus) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "追加得点:%5d", nBonus);
  return buf;
}

std::string TotalLine(int nTotal) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "総合得点:%8d", nTotal);
  return buf;
}

std::string TimeLine(int nRemaining) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "残り時間　%1d:%02d", nRemaining / 60, nRemaining % 60);
  return buf;
}

BoxPlace PlaceWordEdit(int cx, int cy, int h, int cyEdge) {
  BoxPlace b;
  b.x = cx / 4;
  b.y = cy - 2 * cyEdge - 12 - h;
  b.cx = (3 * cx) / 4 - cx / 4;
  b.cy = cy - 10 - b.y;
  return b;
}

void CGameRules::NextWord(const CWordList& words) {
  m_nWord = WordIndexFor(words.GetCount(), m_rand());
  m_nSize = kStartSize;
  m_nBonus = kStartBonus;
}

bool CGameRules::Start(const CWordList& words) {
  if (words.GetCount() <= 0) return false;
  NextWord(words);
  m_nTotal = 0;
  m_nRight = m_nWrong = m_nRightChars = 0;
  m_tStart = m_now();
  m_bStarted = true;
  return true;
}

unsigned CGameRules::Tick(const CWordList& words) {
  if (!IsRunning()) return kNoChange;
  if (m_nSize <= kRetireSize) {  // no decay and no look at the clock on this tick
    NextWord(words);
    return kNewWord;
  }
  m_nSize -= kSizeStep;
  unsigned changes = kWordArea;
  int64_t remaining = m_tStart + kGameSeconds - m_now();
  if (remaining <= 0) {
    m_nTimer = -1;
    return changes | kTimeArea | kGameOver;
  }
  if (remaining != m_nShownRemaining) changes |= kTimeArea;
  m_nBonus -= kBonusStep;
  if (m_nBonus < 0) m_nBonus = 0;
  return changes | kBonusArea;
}

unsigned CGameRules::Judge(const std::string& typed, const CWordList& words) {
  if (!InGame()) return kNoChange;
  std::string word;
  if (!CurrentWord(words, word)) {
    if (words.GetCount() <= 0) return kNoChange;
    NextWord(words);
    return kNewWord;
  }
  if (CompareIgnoreCase(typed, word) != 0) {
    ++m_nWrong;
    return kMiss;
  }
  m_nTotal += m_nBonus;
  ++m_nRight;
  m_nRightChars += CharCount(word);
  NextWord(words);
  return kCorrect | kNewWord | kTotalArea;
}

bool CGameRules::Pause() {
  if (!IsRunning()) return false;
  m_nTimer = 0;
  return true;
}

bool CGameRules::Resume(int nTimerValue) {
  if (!CanResume()) return false;
  m_nTimer = nTimerValue;
  return true;
}

bool CGameRules::CurrentWord(const CWordList& words, std::string& word) const {
  if (m_nWord < 0 || m_nWord >= words.GetCount()) return false;
  word = words.GetAt(m_nWord);
  return true;
}

int CGameRules::ShowRemaining() {
  int64_t remaining = m_bStarted ? m_tStart + kGameSeconds - m_now() : 0;
  if (remaining < 0) remaining = 0;
  if (remaining > INT32_MAX) remaining = INT32_MAX;  // a clock set far back
  m_nShownRemaining = static_cast<int>(remaining);
  return m_nShownRemaining;
}

}  // namespace krgame
