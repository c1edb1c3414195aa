// A whole profile section at once. Reading: the section's "key=value" lines, fetched
// once, answer lookups as the key-by-key profile reads would. Writing: a list of key
// writes applied to the file text in one pass, leaving the bytes that one profile write
// per key would leave. Portable: the file work is in ProfileSection_win.
//
// The rules are those of the platform's profile functions as Wine implements them:
// each write reloads the file (lines split at CR or LF, blanks and ^Z trimmed, empty
// lines dropped, the section name between "[" and the last "]"), changes the first
// matching key of the first matching section (ASCII case folded) or appends it, and,
// when something changed, rewrites the whole file as "[name]" and "key=value" lines
// ending in CR LF. A write that finds its value in place leaves the file untouched.
#pragma once
#include <cstddef>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace setupinfo {

class CProfileSection {
 public:
  // `data`/`size` as the whole-section read fills its buffer: "key=value\0...\0".
  // Lines without "=" are kept as keys without a value.
  void Assign(const char* data, std::size_t size);
  void Clear();

  // The raw value of the first key of that name; false when the key is absent or has
  // no "=". Comment lines (";...") are not part of a section read, so not found here.
  bool Lookup(const std::string& key, std::string& value) const;
  // As GetPrivateProfileStringA(key, def, size): the value, or the default less its
  // trailing spaces; outer matching quotes removed; cut to size - 1 bytes, never
  // within a double-byte character.
  std::string GetString(const std::string& key, const char* def, int size) const;
  // As GetPrivateProfileIntA: the default when the key is absent or its value empty,
  // else the value's leading number ("0x", "0o", "0b" prefixes, wrapping to 32 bits).
  int GetInt(const std::string& key, int def) const;

  std::size_t GetKeyCount() const { return m_keys.size(); }

 private:
  struct Entry {
    std::string strKey;
    std::string strValue;
    bool bHasValue = false;
  };
  std::vector<Entry> m_keys;
  std::unordered_map<std::string, std::size_t> m_index;  // folded key -> first entry
};

// The text GetPrivateProfileStringA leaves in a buffer of `size` bytes for a stored
// value `raw` (quotes and cutting as above).
std::string ProfileValueForBuffer(const std::string& raw, int size);
// GetPrivateProfileIntA's number for a stored value; `def` when it reads as empty.
int ProfileIntFromValue(const std::string& raw, int def);

// One key write of a list: key and value as handed to the profile write.
typedef std::pair<std::string, std::string> ProfileWrite;

// The file text after `writes` were made one by one into `section` of a file that held
// `text` ("" for a missing file). `changed` is false when no write changed anything, in
// which case the file must be left as it is. Texts are code page 932 as the platform's
// conversion leaves them (see ProfileSection_win), without zero bytes. Returns false,
// computing nothing, for keys with an empty name in the file or the writes, whose
// handling is left to the platform.
bool ApplyProfileWrites(const std::string& text, const std::string& section, const std::vector<ProfileWrite>& writes,
                        std::string& result, bool& changed);

}  // namespace setupinfo
