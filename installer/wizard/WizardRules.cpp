#include "WizardRules.h"

#include "Mbcs.h"

namespace wizardrules {

const char* const kDefaultCommentary = "<<ｲﾝｽﾄｰﾙ情報>>\r\n　ここにｲﾝｽﾄｰﾙに関するﾃｷｽﾄを記述して下さい。";

std::string NormaliseDelay(const std::string& text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  bool nonZero = false;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
    if (text[i] != '0') nonZero = true;
  return nonZero && !negative ? text : std::string("0");
}

int BannerFontWidth(int nWindowRight, int nBannerBytes) { return nWindowRight / (nBannerBytes + 10); }

int CommentaryLinesToLoad(int nStoredCount) {
  if (nStoredCount <= 0) return 0;
  return nStoredCount < kMaxCommentaryLines ? nStoredCount : kMaxCommentaryLines;
}

std::string CommentaryText(int nStoredCount, const std::vector<std::string>& lines) {
  if (nStoredCount == 0) return kDefaultCommentary;
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

std::vector<std::string> CommentaryLinesToStore(const std::vector<std::string>& displayLines) {
  std::vector<std::string> lines;
  if (displayLines.size() < 2) return lines;
  std::size_t n = displayLines.size() - 1;
  if (n > static_cast<std::size_t>(kMaxCommentaryLines)) n = kMaxCommentaryLines;
  lines.reserve(n);
  for (std::size_t i = 0; i < n; ++i) lines.push_back(mbcs::FitBuffer(displayLines[i], kLineBuffer + 1));
  return lines;
}

}  // namespace wizardrules
