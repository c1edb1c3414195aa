// A whole profile section at once. Reading: the section's "key=value" lines, fetched
// once, answer lookups as the key-by-key profile reads would. Writing: a list of key
// writes merged into the section as one profile write per key would leave it, for the
// platform's whole-section write. Portable: the file work is in ProfileSection_win.
#pragma once
#include <cstddef>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace setupinfo {

typedef std::pair<std::string, std::string> ProfileWrite;  // key and value of one key write

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
  // GetString(key, "", size), and whether the value lost its end to the buffer (a
  // read one byte longer would keep more).
  std::string GetStringCut(const std::string& key, int size, bool& bCut) const;

  std::size_t GetKeyCount() const { return m_keys.size(); }

 private:
  friend bool MergeProfileWrites(const CProfileSection&, const std::vector<ProfileWrite>&, std::string&,
                                 std::vector<std::size_t>&);
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

// The section's text after `writes` were made one by one, as the whole-section write
// takes it ("key=value\0...\0\0"): a key already there (the first of that name, ASCII
// case folded) changes in place, a new key is appended, keys not written stay.
// `changed` lists, in order, the writes that changed something when they were made;
// the others found their value in place. False where the section write of that text
// would not leave what the key writes would: the section holds a line without "=" or
// a key without a name, or a written key or value would be stored or read back
// otherwise (no name, a blank at its end, a line break, "=" in a key, a key starting
// with ";" or "[", or holding double-byte characters, whose case the platform folds
// its own way).
bool MergeProfileWrites(const CProfileSection& current, const std::vector<ProfileWrite>& writes, std::string& text,
                        std::vector<std::size_t>& changed);

// Whether a whole-section write of `section` into the file `text` can leave what key
// writes would: false for a section name the platform would trim or fold its own way
// (blanks around it, double-byte characters), and where the file holds what the
// section read does not show but the section write would drop or move: a comment line
// in the section, a second section of that name, a header without a name after it
// (its keys join the section before it). Unicode files are left to the key writes.
bool SectionWriteFits(const std::string& text, const std::string& section);

}  // namespace setupinfo
