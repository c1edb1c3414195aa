#include "ProfileSection.h"

#include <cstdint>

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

// Byte offsets where characters start (each is one UTF-16 unit for the platform).
std::vector<std::size_t> CharStarts(const std::string& s) {
  std::vector<std::size_t> starts;
  for (std::size_t i = 0; i < s.size(); i += CharWidth(s, i)) starts.push_back(i);
  return starts;
}

}  // namespace

// ---- reading ------------------------------------------------------------------

std::string ProfileValueForBuffer(const std::string& raw, int size) {
  if (size <= 0) return std::string();
  const std::size_t len = static_cast<std::size_t>(size);
  std::vector<std::size_t> starts = CharStarts(raw);
  std::size_t first = 0, count = starts.size();
  bool quoted = false;
  // A value in matching quotes loses the opening quote here and the closing one below.
  if (count >= 2 && (raw[0] == '"' || raw[0] == '\'') && starts.back() == raw.size() - 1 &&
      raw[raw.size() - 1] == raw[0]) {
    quoted = true;
    first = 1;
    --count;
  }
  // The wide copy keeps size - 1 characters; the closing quote goes only when the buffer
  // had room for the whole rest, so a cut quoted value loses one more character.
  std::size_t keep = count < len - 1 ? count : len - 1;
  if (quoted && len >= count && keep > 0) --keep;
  std::size_t begin = first < starts.size() ? starts[first] : raw.size();
  std::size_t end = first + keep < starts.size() ? starts[first + keep] : raw.size();
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
  std::size_t i = 0;
  while (i < size && data[i] != '\0') {
    std::size_t end = i;
    while (end < size && data[end] != '\0') ++end;
    std::string line(data + i, end - i);
    Entry e;
    std::size_t eq = line.find('=');  // '=' is never a trail byte
    if (eq == std::string::npos) {
      e.strKey = line;
    } else {
      e.strKey = line.substr(0, eq);
      e.strValue = line.substr(eq + 1);
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

int CProfileSection::GetInt(const std::string& key, int def) const {
  std::string raw;
  if (!Lookup(key, raw)) return def;
  return ProfileIntFromValue(raw, def);
}

// ---- writing ------------------------------------------------------------------

namespace {

struct Key {
  std::string strName;
  std::string strValue;
  bool bHasValue = false;
};

struct Section {
  std::string strName;  // "" for the lines before the first header: no header is written
  std::vector<Key> keys;
};

typedef std::vector<Section> Profile;

Profile Parse(const std::string& text) {
  Profile prof(1);
  std::size_t i = 0;
  while (i < text.size()) {
    std::size_t end = i;
    while (end < text.size() && text[end] != '\n' && text[end] != '\r') ++end;
    std::string line = Trim(text.substr(i, end - i));
    i = end + 1;
    if (line.empty()) continue;
    if (line[0] == '[') {
      std::size_t close = mbcs::FindLastChar(line, ']');
      if (close != std::string::npos) {
        Section sec;
        sec.strName = Trim(line.substr(1, close - 1));
        prof.push_back(std::move(sec));
        continue;
      }
    }
    Key key;
    std::size_t eq = line.find('=');
    if (eq == std::string::npos) {
      key.strName = line;
    } else {
      key.strName = TrimRight(line.substr(0, eq));
      key.strValue = TrimLeft(line.substr(eq + 1));
      key.bHasValue = true;
    }
    prof.back().keys.push_back(std::move(key));
  }
  return prof;
}

std::string Serialize(const Profile& prof) {
  std::string out;
  for (const Section& sec : prof) {
    if (!sec.strName.empty()) out += "[" + sec.strName + "]\r\n";
    for (const Key& key : sec.keys) {
      out += key.strName;
      if (key.bHasValue) out += "=" + key.strValue;
      out += "\r\n";
    }
  }
  return out;
}

// Whether a written name or value reads back unchanged after the file is reloaded.
bool ReadsBackAsKey(const std::string& name) {
  if (name.find_first_of("=\r\n") != std::string::npos) return false;
  if (!name.empty() && name[0] == '[' && mbcs::FindLastChar(name, ']') != std::string::npos) return false;
  return name == Trim(name);
}
bool ReadsBackAsValue(const std::string& value) {
  return value.find_first_of("\r\n") == std::string::npos && value == TrimRight(value);
}
bool ReadsBackAsSection(const std::string& name) {
  return name.find_first_of("\r\n") == std::string::npos && name == Trim(name);
}

// The target section of a run of writes, with an index of its keys.
class CWriter {
 public:
  CWriter(const std::string& text, const std::string& section) : m_prof(Parse(text)), m_strSection(section) {
    // "[]" has no header when written, so its keys join the section before it once the
    // file has been rewritten.
    for (std::size_t s = 1; s < m_prof.size(); ++s)
      if (m_prof[s].strName.empty()) m_bHeaderless = true;
    Locate();
  }

  // One profile write; true when it changed the profile.
  bool Write(const std::string& keyArg, const std::string& valueArg) {
    if (m_bReload) {
      // Every profile write reloads the file: what the last one wrote is read back.
      m_strFile = Serialize(m_prof);
      m_bFileCurrent = true;  // the file holds this until a write changes something
      m_prof = Parse(m_strFile);
      Locate();
      m_bReload = false;
    }
    std::string value = TrimLeft(valueArg);
    if (m_nSection == kNone) {
      Section sec;
      sec.strName = TrimLeft(m_strSection);
      m_prof.push_back(std::move(sec));
      m_nSection = m_prof.size() - 1;
      m_bReload = !ReadsBackAsSection(m_prof.back().strName);
    }
    std::vector<Key>& keys = m_prof[m_nSection].keys;
    std::string folded = mbcs::ToLower(Trim(keyArg));
    auto it = m_index.find(folded);
    if (it != m_index.end()) {
      Key& key = keys[it->second];
      if (key.bHasValue && key.strValue == value) return false;
      m_bFileCurrent = false;
      key.strValue = value;
      key.bHasValue = true;
    } else {
      m_bFileCurrent = false;
      Key key;
      key.strName = TrimLeft(keyArg);
      key.strValue = value;
      key.bHasValue = true;
      m_index.emplace(folded, keys.size());
      keys.push_back(std::move(key));
      if (!ReadsBackAsKey(keys.back().strName)) m_bReload = true;
    }
    if (!ReadsBackAsValue(value) || m_bHeaderless) m_bReload = true;
    m_bHeaderless = false;
    return true;
  }

  std::string Text() const { return m_bFileCurrent ? m_strFile : Serialize(m_prof); }

 private:
  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

  void Locate() {
    m_nSection = kNone;
    m_index.clear();
    std::string name = Trim(m_strSection);
    for (std::size_t s = 0; s < m_prof.size(); ++s) {
      if (mbcs::IEquals(m_prof[s].strName, name)) {
        m_nSection = s;
        break;
      }
    }
    if (m_nSection == kNone) return;
    const std::vector<Key>& keys = m_prof[m_nSection].keys;
    for (std::size_t k = 0; k < keys.size(); ++k) m_index.emplace(mbcs::ToLower(keys[k].strName), k);
  }

  Profile m_prof;
  std::string m_strSection;
  std::size_t m_nSection = kNone;
  std::unordered_map<std::string, std::size_t> m_index;  // folded key name -> first key
  bool m_bHeaderless = false;   // a section other than the first has no name
  bool m_bReload = false;       // the last write left something that reads back otherwise
  std::string m_strFile;        // the file's text at the last reload
  bool m_bFileCurrent = false;  // no change since that reload
};

}  // namespace

bool ApplyProfileWrites(const std::string& text, const std::string& section, const std::vector<ProfileWrite>& writes,
                        std::string& result, bool& changed) {
  changed = false;
  result = text;
  for (const ProfileWrite& w : writes) {
    std::string name = TrimLeft(w.first);
    if (name.empty() || name[0] == '=') return false;
  }
  for (const Section& sec : Parse(text))
    for (const Key& key : sec.keys)
      if (key.strName.empty()) return false;
  if (writes.empty()) return true;
  CWriter writer(text, section);
  for (const ProfileWrite& w : writes)
    if (writer.Write(w.first, w.second)) changed = true;
  if (changed) result = writer.Text();
  return true;
}

}  // namespace setupinfo
