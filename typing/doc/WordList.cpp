#include "WordList.h"

#include <climits>

#include "Archive.h"

size_t CWordList::RecordSize(size_t at) const {
  const unsigned char* p = reinterpret_cast<const unsigned char*>(m_data.data()) + at;
  if (p[0] < 0xFF) return 1 + p[0];
  size_t header = 0;
  uint64_t len = 0;
  bool wide = false;
  afxarchive::ParsePrefix(p, m_data.size() - at, &header, &len, &wide);
  return header + static_cast<size_t>(len);
}

size_t CWordList::OffsetOf(int i) const {
  size_t at = m_block[static_cast<size_t>(i / kStride)];
  for (int k = i % kStride; k > 0; --k) at += RecordSize(at);
  return at;
}

void CWordList::Reindex(size_t b) {
  m_block.resize(b < m_block.size() ? b + 1 : m_block.size());
  if (m_block.empty()) return;
  size_t at = m_block.back();
  for (int i = static_cast<int>(b) * kStride; i < m_nCount; ++i) {
    if (i % kStride == 0 && static_cast<size_t>(i / kStride) >= m_block.size()) m_block.push_back(at);
    at += RecordSize(at);
  }
  m_block.resize(static_cast<size_t>((m_nCount + kStride - 1) / kStride));
}

std::string CWordList::GetAt(int i) const {
  if (i < 0 || i >= m_nCount) return std::string();
  size_t at = OffsetOf(i);
  const unsigned char* p = reinterpret_cast<const unsigned char*>(m_data.data()) + at;
  size_t header = 0;
  uint64_t len = 0;
  bool wide = false;
  afxarchive::ParsePrefix(p, m_data.size() - at, &header, &len, &wide);
  return std::string(reinterpret_cast<const char*>(p) + header, static_cast<size_t>(len));
}

bool CWordList::Add(const std::string& word) {
  if (m_nCount == INT_MAX) return false;  // the count is a signed 32-bit number
  if (m_nCount % kStride == 0) m_block.push_back(m_data.size());
  unsigned char prefix[afxarchive::kMaxPrefix];
  m_data.append(reinterpret_cast<const char*>(prefix), afxarchive::PutPrefix(prefix, word.size()));
  m_data.append(word);
  ++m_nCount;
  return true;
}

bool CWordList::RemoveAt(int i) {
  if (i < 0 || i >= m_nCount) return false;
  size_t at = OffsetOf(i);
  m_data.erase(at, RecordSize(at));
  --m_nCount;
  Reindex(static_cast<size_t>(i / kStride));  // the block of i starts where it did
  return true;
}

void CWordList::RemoveAll() {
  m_data.clear();
  m_block.clear();
  m_nCount = 0;
}

bool CWordList::Assign(int32_t nCount, std::string&& bytes, bool (*pfnWide)(const uint16_t*, size_t, std::string&)) {
  RemoveAll();
  if (nCount < 0) return false;
  const unsigned char* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const size_t size = bytes.size();
  std::vector<size_t> block;  // grows with the words found, not with the count
  bool rebuild = false;
  size_t at = 0;
  for (int32_t i = 0; i < nCount; ++i) {
    if (i % kStride == 0) block.push_back(at);
    if (at < size && p[at] < 0xFF) {  // the usual short word, in line
      size_t len = p[at];
      if (len > size - at - 1) return false;
      at += 1 + len;
      continue;
    }
    size_t header = 0;
    uint64_t len = 0;
    bool wide = false;
    if (afxarchive::ParsePrefix(p + at, size - at, &header, &len, &wide) != afxarchive::Parse::ok) return false;
    uint64_t textBytes = wide ? len * 2 : len;
    if (textBytes > size - at - header) return false;
    at += header + static_cast<size_t>(textBytes);
    // wide words and lengths written in a longer form than needed are stored anew,
    // so that saving writes exactly the standard form
    rebuild = rebuild || wide || header != afxarchive::PrefixSize(static_cast<size_t>(len));
  }
  if (!rebuild) {
    bytes.resize(at);
    m_data = std::move(bytes);
    m_block = std::move(block);
    m_nCount = nCount;
    return true;
  }
  // Rare: every word is added again in the standard form.
  at = 0;
  for (int32_t i = 0; i < nCount; ++i) {
    size_t header = 0;
    uint64_t len = 0;
    bool wide = false;
    afxarchive::ParsePrefix(p + at, size - at, &header, &len, &wide);
    std::string word;
    if (!wide) {
      word.assign(bytes, at + header, static_cast<size_t>(len));
    } else {
      std::vector<uint16_t> text(static_cast<size_t>(len));
      for (size_t k = 0; k < text.size(); ++k)
        text[k] = static_cast<uint16_t>(p[at + header + 2 * k] | (p[at + header + 2 * k + 1] << 8));
      if (!pfnWide || !pfnWide(text.data(), text.size(), word)) {
        RemoveAll();
        return false;
      }
    }
    at += header + static_cast<size_t>(wide ? len * 2 : len);
    Add(word);
  }
  return true;
}

namespace wds {

void Store(CArchive& ar, const CWordList& list) {
  ar << static_cast<int32_t>(list.GetCount());
  ar.Write(list.Archived().data(), list.Archived().size());
}

void Load(CArchive& ar, CWordList& list) {
  list.RemoveAll();
  int32_t n = 0;
  ar >> n;
  if (!ar.IsOK() || n < 0) {
    ar.Fail();
    return;
  }
  if (n == 0) return;
  std::string bytes;
  ar.ReadToEnd(bytes);
  if (!ar.IsOK() || !list.Assign(n, std::move(bytes), ar.m_pfnWideToMultiByte)) ar.Fail();
}

}  // namespace wds
