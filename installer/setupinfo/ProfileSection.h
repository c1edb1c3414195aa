// A whole profile section at once. Reading: the section's "key=value" lines, fetched
// once, answer lookups exactly as the key-by-key profile reads would. Writing: a list
// of key writes applied to the file text in one pass, leaving the bytes the key-by-key
// profile writes would leave. Portable: the file work is in ProfileSection_win.
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

  // The raw value of the first key of that name (ASCII case folded); false when the
  // key is absent or has no "=".
  bool Lookup(const std::string& key, std::string& value) const;
  // Like GetPrivateProfileStringA: the value (outer quotes removed) or the default,
  // cut to size - 1 bytes.
  std::string GetString(const std::string& key, const char* def, int size) const;
  // Like GetPrivateProfileIntA: the value's leading number, or the default when absent.
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

// One key write of a list: key, value (written as the profile write writes it).
typedef std::pair<std::string, std::string> ProfileWrite;

// The file text after `writes` were made one by one with the profile write into
// `section` of a file that held `text` (empty when the file did not exist). Sets
// `changed` to false when every write would have found its value in place, in which
// case the profile write leaves the file untouched.
std::string ApplyProfileWrites(const std::string& text, const std::string& section,
                               const std::vector<ProfileWrite>& writes, bool& changed);

// The value part of GetPrivateProfileStringA's result: outer matching quotes removed,
// cut to size - 1 bytes as the ANSI call cuts (never a half double-byte character).
std::string ProfileValueForBuffer(const std::string& raw, int size);

}  // namespace setupinfo
