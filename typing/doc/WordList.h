// The word list of a KeyRally document: an ordered array of code page 932 words,
// duplicates and empty words allowed. The words are kept back to back in their
// archived-string form, so a word file is read and written in one piece.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class CArchive;

class CWordList {
 public:
  int GetCount() const { return m_nCount; }
  // Word i (0 <= i < count); an index outside the list gives "".
  std::string GetAt(int i) const;
  // Appends a word; false only when the list cannot grow any more.
  bool Add(const std::string& word);
  // Removes word i; the later words move down by one. False for a bad index.
  bool RemoveAt(int i);
  void RemoveAll();

  // The words in archived-string form, in order (what follows the count in a file).
  const std::string& Archived() const { return m_data; }
  // Takes `bytes` as the archived words after a count of nCount; words in the wide
  // form are converted with pfnWide. Bytes after the last word are dropped. On
  // failure (too few words, a bad prefix, a wide word that cannot be converted) the
  // list is left empty and false is returned.
  bool Assign(int32_t nCount, std::string&& bytes, bool (*pfnWide)(const uint16_t*, size_t, std::string&) = nullptr);

 private:
  // Where word i's record starts: from the nearest block start, record by record.
  size_t OffsetOf(int i) const;
  size_t RecordSize(size_t at) const;
  // Recomputes the block starts from block b on.
  void Reindex(size_t b);

  // One start offset per block of words keeps a million-word list light to load; a
  // word is found from its block's start in at most kStride - 1 steps.
  static constexpr int kStride = 32;
  std::string m_data;           // the words' records, back to back
  std::vector<size_t> m_block;  // start of word k * kStride
  int m_nCount = 0;
};

namespace wds {
// Writes the ".wds" form: the count, then every word in archived-string form.
void Store(CArchive& ar, const CWordList& list);
// Reads the ".wds" form into an empty list. A missing or negative count, or fewer
// words than counted, marks the archive bad (Fail) and leaves the list empty.
void Load(CArchive& ar, CWordList& list);
}  // namespace wds
