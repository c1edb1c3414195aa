#include "ProfileSection.h"

#include <cstdint>
#include <cstring>

#include "Mbcs.h"

namespace setupinfo {

namespace {

// The profile functions' blanks: the C blanks and ^Z (a DOS end-of-file mark).
bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r') || c == 0x1A; }

std::string TrimLeft(const std::string& s) {
  std::size_t i = 0;
  while (i < s.size() && IsBlank(s[i])) ++i;
  return s.substr(i);
}

// Trail bytes of code page 932 are never below 0x40, so no blank hides in one.
std::string TrimRight(const std::string& s) {
  std::size_t n = s.size();
  while (n > 0 && IsBlank(s[n - 1])) --n;
  return s.substr(0, n);
}

std::string Trim(const std::string& s) { return TrimRight(TrimLeft(s)); }

std::size_t CharWidth(const std::string& s, std::size_t i) {
  return (mbcs::IsLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size()) ? 2 : 1;
}

}  // namespace

// ---- reading ------------------------------------------------------------------

std::string ProfileValueForBuffer(const std::string& raw, int size) {
  if (size <= 0) return std::string();
  const std::size_t len = static_cast<std::size_t>(size);
  // Most values fit whole and are not quoted: they come back as they are.
  if (raw.size() < len && (raw.empty() || (raw[0] != '"' && raw[0] != '\''))) return raw;
  // Characters, each one UTF-16 unit for the platform, and where the last one starts.
  std::size_t count = 0, last = 0;
  for (std::size_t i = 0; i < raw.size(); i += CharWidth(raw, i)) {
    last = i;
    ++count;
  }
  std::size_t first = 0;
  bool quoted = false;
  // A value in matching quotes loses the opening quote here and the closing one below.
  if (count >= 2 && (raw[0] == '"' || raw[0] == '\'') && last == raw.size() - 1 && raw[last] == raw[0]) {
    quoted = true;
    first = 1;
    --count;
  }
  // The wide copy keeps size - 1 characters; the closing quote goes only when the buffer
  // had room for the whole rest, so a cut quoted value loses one more character.
  std::size_t keep = count < len - 1 ? count : len - 1;
  if (quoted && len >= count && keep > 0) --keep;
  std::size_t begin = first;  // the opening quote is one byte
  std::size_t end = begin;
  for (std::size_t k = 0; k < keep && end < raw.size(); ++k) end += CharWidth(raw, end);
  // Then the ANSI buffer holds size - 1 bytes, never half a character.
  return mbcs::FitBuffer(raw.substr(begin, end - begin), len);
}

int ProfileIntFromValue(const std::string& raw, int def) {
  std::string s = ProfileValueForBuffer(raw, 30);  // the platform reads through 30 characters
  if (s.empty()) return def;
  std::size_t i = 0;
  while (i < s.size() && static_cast<unsigned char>(s[i]) <= ' ') ++i;
  bool neg = false;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) neg = s[i++] == '-';
  unsigned base = 10;
  if (i + 1 < s.size() && s[i] == '0') {
    if (s[i + 1] == 'x') base = 16;
    else if (s[i + 1] == 'o') base = 8;
    else if (s[i + 1] == 'b') base = 2;
    if (base != 10) i += 2;
  }
  std::uint32_t total = 0;
  for (; i < s.size(); ++i) {
    char c = s[i];
    unsigned digit;
    if (c >= '0' && c <= '9') digit = static_cast<unsigned>(c - '0');
    else if (c >= 'a' && c <= 'z') digit = static_cast<unsigned>(c - 'a' + 10);
    else if (c >= 'A' && c <= 'Z') digit = static_cast<unsigned>(c - 'A' + 10);
    else break;
    if (digit >= base) break;
    total = total * base + digit;  // wraps like the platform's 32-bit total
  }
  if (neg) total = 0u - total;
  return static_cast<int>(total);
}

void CProfileSection::Clear() {
  m_keys.clear();
  m_index.clear();
}

void CProfileSection::Assign(const char* data, std::size_t size) {
  Clear();
  m_index.reserve(size / 16);
  std::size_t i = 0;
  while (i < size && data[i] != '\0') {
    std::size_t end = i;
    while (end < size && data[end] != '\0') ++end;
    const char* line = data + i;
    const char* eq = static_cast<const char*>(std::memchr(line, '=', end - i));  // '=' is never a trail byte
    Entry e;
    e.strKey.assign(line, eq ? eq : data + end);
    if (eq) {
      e.strValue.assign(eq + 1, data + end);
      e.bHasValue = true;
    }
    m_index.emplace(mbcs::ToLower(e.strKey), m_keys.size());  // keeps the first of equal names
    m_keys.push_back(std::move(e));
    i = end + 1;
  }
}

bool CProfileSection::Lookup(const std::string& key, std::string& value) const {
  auto it = m_index.find(mbcs::ToLower(Trim(key)));
  if (it == m_index.end() || !m_keys[it->second].bHasValue) return false;
  value = m_keys[it->second].strValue;
  return true;
}

std::string CProfileSection::GetString(const std::string& key, const char* def, int size) const {
  std::string raw;
  if (!Lookup(key, raw)) {
    // The default loses its trailing spaces (not other blanks), down to one character.
    raw = def ? def : "";
    std::size_t n = raw.size();
    while (n > 1 && raw[n - 1] == ' ') --n;
    raw.resize(n);
  }
  return ProfileValueForBuffer(raw, size);
}

std::string CProfileSection::GetStringCut(const std::string& key, int size, bool& bCut) const {
  std::string raw;
  if (!Lookup(key, raw)) raw.clear();
  std::string value = ProfileValueForBuffer(raw, size);
  // only a value near the buffer's size can have been cut
  bCut = raw.size() + 2 >= static_cast<std::size_t>(size) && ProfileValueForBuffer(raw, size + 1).size() > value.size();
  return value;
}

int CProfileSection::GetInt(const std::string& key, int def) const {
  std::string raw;
  if (!Lookup(key, raw)) return def;
  return ProfileIntFromValue(raw, def);
}

// ---- writing ------------------------------------------------------------------

namespace {

bool IsAscii(const std::string& s) {
  for (char c : s)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

// A written name or value as the platform stores it: without its leading blanks. Null
// when it would not read back the same once the file is reloaded (a line break, or a
// blank at its end, which the next reload trims); `trimmed` holds a copy where needed.
const std::string* StoredForm(const std::string& s, std::string& trimmed) {
  std::size_t i = 0;
  while (i < s.size() && IsBlank(s[i])) ++i;
  if (s.find_first_of("\r\n", i) != std::string::npos || (i < s.size() && IsBlank(s.back()))) return nullptr;
  if (i == 0) return &s;
  trimmed.assign(s, i, std::string::npos);
  return &trimmed;
}

}  // namespace

bool MergeProfileWrites(const CProfileSection& current, const std::vector<ProfileWrite>& writes, std::string& text,
                        std::vector<std::size_t>& changed) {
  changed.clear();
  const std::vector<CProfileSection::Entry>& keys = current.m_keys;
  for (const CProfileSection::Entry& e : keys)
    if (!e.bHasValue || e.strKey.empty()) return false;
  // Values in force: the section's own until written; keys appended after them.
  std::vector<const std::string*> value(keys.size(), nullptr);
  for (std::size_t k = 0; k < keys.size(); ++k) value[k] = &keys[k].strValue;
  std::vector<std::pair<const std::string*, const std::string*>> added;
  std::unordered_map<std::string, std::size_t> addedIndex;
  std::vector<std::string> trimmed(2 * writes.size());
  std::string folded;
  for (std::size_t w = 0; w < writes.size(); ++w) {
    const std::string* key = StoredForm(writes[w].first, trimmed[2 * w]);
    const std::string* val = StoredForm(writes[w].second, trimmed[2 * w + 1]);
    if (!key || !val || key->empty() || (*key)[0] == ';' || (*key)[0] == '[' || key->find('=') != std::string::npos ||
        !IsAscii(*key))
      return false;
    folded = *key;
    for (char& c : folded)
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    auto it = current.m_index.find(folded);
    if (it != current.m_index.end()) {
      if (*value[it->second] == *val) continue;
      value[it->second] = val;
    } else {
      auto a = addedIndex.emplace(folded, added.size());
      if (a.second) added.emplace_back(key, val);
      else if (*added[a.first->second].second == *val) continue;
      else added[a.first->second].second = val;
    }
    changed.push_back(w);
  }
  text.clear();
  auto put = [&text](const std::string& k, const std::string& v) {
    text.append(k).append(1, '=').append(v).append(1, '\0');
  };
  for (std::size_t k = 0; k < keys.size(); ++k) put(keys[k].strKey, *value[k]);
  for (const auto& a : added) put(*a.first, *a.second);
  text += '\0';
  return true;
}

bool SectionWriteFits(const std::string& text, const std::string& section) {
  // A file with a UTF-8 signature holds characters the section's code page 932 copy
  // would lose; UTF-16 files have zero bytes.
  if (section.empty() || section != Trim(section) || !IsAscii(section) || text.find('\0') != std::string::npos ||
      text.compare(0, 3, "\xEF\xBB\xBF") == 0)
    return false;
  int seen = 0;
  bool inSection = false;
  for (std::size_t i = 0; i < text.size();) {
    while (i < text.size() && IsBlank(text[i])) ++i;  // line breaks included
    std::size_t end = text.find_first_of("\r\n", i);
    if (end == std::string::npos) end = text.size();
    if (i < end && text[i] == ';' && inSection) return false;
    if (i < end && text[i] == '[') {
      std::string line = Trim(text.substr(i, end - i));
      std::size_t close = mbcs::FindLastChar(line, ']');
      if (close != std::string::npos) {
        std::string name = Trim(line.substr(1, close - 1));
        if (name.empty() && inSection) return false;  // its keys would join this section
        if (!name.empty()) inSection = mbcs::IEquals(name, section);
        if (inSection && ++seen > 1) return false;
      }
    }
    i = end;
  }
  return true;
}

}  // namespace setupinfo
