#include "Mbcs.h"

namespace mbcs {

std::string ToLower(const std::string& s) {
  std::string r(s);
  for (std::size_t i = 0; i < r.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(r[i]);
    if (IsLeadByte(c) && i + 1 < r.size()) {
      ++i;
      continue;
    }
    if (c >= 'A' && c <= 'Z') r[i] = static_cast<char>(c - 'A' + 'a');
  }
  return r;
}

int ICompare(const std::string& a, const std::string& b) {
  std::size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    unsigned ca = static_cast<unsigned char>(a[i]), cb = static_cast<unsigned char>(b[j]);
    if (IsLeadByte(ca) && i + 1 < a.size()) ca = (ca << 8) | static_cast<unsigned char>(a[++i]);
    else if (ca >= 'A' && ca <= 'Z') ca += 'a' - 'A';
    if (IsLeadByte(cb) && j + 1 < b.size()) cb = (cb << 8) | static_cast<unsigned char>(b[++j]);
    else if (cb >= 'A' && cb <= 'Z') cb += 'a' - 'A';
    if (ca != cb) return ca < cb ? -1 : 1;
    ++i;
    ++j;
  }
  if (i < a.size()) return 1;
  if (j < b.size()) return -1;
  return 0;
}

std::string FitBuffer(const std::string& s, std::size_t size) {
  if (size == 0) return std::string();
  if (s.size() < size) return s;
  std::size_t limit = size - 1, i = 0;
  while (i < limit) {
    std::size_t w = (IsLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size()) ? 2 : 1;
    if (i + w > limit) break;
    i += w;
  }
  return s.substr(0, i);
}

std::size_t FindFirstChar(const std::string& s, char ch, std::size_t from) {
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (IsLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size()) {
      ++i;
      continue;
    }
    if (i >= from && s[i] == ch) return i;
  }
  return std::string::npos;
}

std::size_t FindLastChar(const std::string& s, char ch) {
  std::size_t found = std::string::npos;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (IsLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size()) {
      ++i;
      continue;
    }
    if (s[i] == ch) found = i;
  }
  return found;
}

std::string ReplaceAll(const std::string& s, const std::string& from, const std::string& to) {
  if (from.empty()) return s;
  std::string r;
  r.reserve(s.size());
  std::size_t i = 0;
  while (i < s.size()) {
    if (s.compare(i, from.size(), from) == 0) {
      r += to;
      i += from.size();
      continue;
    }
    std::size_t w = (IsLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size()) ? 2 : 1;
    r.append(s, i, w);
    i += w;
  }
  return r;
}

}  // namespace mbcs
