#include "WordList.h"

#include <climits>

#include "Archive.h"

std::string CWordList::GetAt(int i) const {
  if (i < 0 || i >= GetCount()) return std::string();
  const unsigned char* p = reinterpret_cast<const unsigned char*>(m_data.data()) + m_rec[i];
  size_t header = 0;
  uint64_t len = 0;
  bool wide = false;
  afxarchive::ParsePrefix(p, m_rec[i + 1] - m_rec[i], &header, &len, &wide);
  return std::string(reinterpret_cast<const char*>(p) + header, static_cast<size_t>(len));
}

bool CWordList::Add(const std::string& word) {
  if (GetCount() == INT_MAX) return false;  // the count is a signed 32-bit number
  unsigned char prefix[afxarchive::kMaxPrefix];
  m_data.append(reinterpret_cast<const char*>(prefix), afxarchive::PutPrefix(prefix, word.size()));
  m_data.append(word);
  m_rec.push_back(m_data.size());
  return true;
}

bool CWordList::RemoveAt(int i) {
  if (i < 0 || i >= GetCount()) return false;
  size_t d = m_rec[i + 1] - m_rec[i];
  m_data.erase(m_rec[i], d);
  m_rec.erase(m_rec.begin() + i + 1);
  for (size_t k = static_cast<size_t>(i) + 1; k < m_rec.size(); ++k) m_rec[k] -= d;
  return true;
}

void CWordList::RemoveAll() {
  m_data.clear();
  m_rec.assign(1, 0);
}

bool CWordList::Assign(int32_t nCount, std::string&& bytes, bool (*pfnWide)(const uint16_t*, size_t, std::string&)) {
  RemoveAll();
  if (nCount < 0) return false;
  const unsigned char* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const size_t size = bytes.size();
  std::vector<size_t> rec;
  // every record takes at least one byte: the data bounds the reservation, not the count
  rec.reserve((static_cast<size_t>(nCount) < size ? static_cast<size_t>(nCount) : size) + 1);
  bool rebuild = false;
  size_t at = 0;
  for (int32_t i = 0; i < nCount; ++i) {
    size_t header = 0;
    uint64_t len = 0;
    bool wide = false;
    if (afxarchive::ParsePrefix(p + at, size - at, &header, &len, &wide) != afxarchive::Parse::ok) return false;
    uint64_t textBytes = wide ? len * 2 : len;
    if (textBytes > size - at - header) return false;
    rec.push_back(at);
    at += header + static_cast<size_t>(textBytes);
    // wide words and lengths written in a longer form than needed are stored anew,
    // so that saving writes exactly the standard form
    rebuild = rebuild || wide || header != afxarchive::PrefixSize(static_cast<size_t>(len));
  }
  rec.push_back(at);
  if (!rebuild) {
    bytes.resize(at);
    m_data = std::move(bytes);
    m_rec = std::move(rec);
    return true;
  }
  std::string data;
  std::vector<size_t> newRec;
  newRec.reserve(rec.size());
  for (size_t i = 0; i + 1 < rec.size(); ++i) {
    newRec.push_back(data.size());
    size_t header = 0;
    uint64_t len = 0;
    bool wide = false;
    afxarchive::ParsePrefix(p + rec[i], rec[i + 1] - rec[i], &header, &len, &wide);
    std::string narrow;
    if (!wide) {
      narrow.assign(bytes, rec[i] + header, static_cast<size_t>(len));
    } else {
      std::vector<uint16_t> text(static_cast<size_t>(len));
      for (size_t k = 0; k < text.size(); ++k)
        text[k] = static_cast<uint16_t>(p[rec[i] + header + 2 * k] | (p[rec[i] + header + 2 * k + 1] << 8));
      if (!pfnWide || !pfnWide(text.data(), text.size(), narrow)) return false;
    }
    unsigned char prefix[afxarchive::kMaxPrefix];
    data.append(reinterpret_cast<const char*>(prefix), afxarchive::PutPrefix(prefix, narrow.size()));
    data.append(narrow);
  }
  newRec.push_back(data.size());
  m_data = std::move(data);
  m_rec = std::move(newRec);
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
