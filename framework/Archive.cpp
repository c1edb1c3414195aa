#include "Archive.h"

#include <cstring>
#include <new>
#include <stdexcept>

namespace afxarchive {

size_t PrefixSize(size_t nLength) {
  if (nLength < 0xFF) return 1;
  if (nLength < 0xFFFE) return 3;
  return 7;
}

size_t PutPrefix(unsigned char* p, size_t nLength) {
  if (nLength < 0xFF) {
    p[0] = static_cast<unsigned char>(nLength);
    return 1;
  }
  p[0] = 0xFF;
  if (nLength < 0xFFFE) {  // 0xFFFE would read as the wide marker
    p[1] = static_cast<unsigned char>(nLength);
    p[2] = static_cast<unsigned char>(nLength >> 8);
    return 3;
  }
  uint32_t n = static_cast<uint32_t>(nLength);
  p[1] = p[2] = 0xFF;
  for (int i = 0; i < 4; ++i) p[3 + i] = static_cast<unsigned char>(n >> (8 * i));
  return 7;
}

Parse ParsePrefix(const unsigned char* p, size_t n, size_t* pHeader, uint64_t* pLength, bool* pWide) {
  size_t at = 0;
  *pWide = false;
  for (;;) {
    if (n < at + 1) return Parse::needMore;
    if (p[at] != 0xFF) {
      *pLength = p[at];
      *pHeader = at + 1;
      return Parse::ok;
    }
    if (n < at + 3) return Parse::needMore;
    uint32_t w = p[at + 1] | (p[at + 2] << 8);
    if (w == 0xFFFE) {
      if (*pWide) return Parse::bad;  // the marker comes once
      *pWide = true;
      at += 3;
      continue;
    }
    if (w != 0xFFFF) {
      *pLength = w;
      *pHeader = at + 3;
      return Parse::ok;
    }
    if (n < at + 7) return Parse::needMore;
    uint32_t d = 0;
    for (int i = 0; i < 4; ++i) d |= static_cast<uint32_t>(p[at + 3 + i]) << (8 * i);
    *pLength = d;
    *pHeader = at + 7;
    return Parse::ok;
  }
}

}  // namespace afxarchive

CArchive::CArchive(CArchiveStream* pStream, unsigned nMode, size_t nBufSize)
    : m_pStream(pStream), m_nMode(nMode), m_buf(nBufSize < 64 ? 64 : nBufSize, '\0') {}

CArchive::~CArchive() {
  if (IsStoring()) Flush();
}

bool CArchive::Flush() {
  if (IsStoring() && !m_bBad && m_nEnd > 0) {
    if (!m_pStream->Write(m_buf.data(), m_nEnd)) m_bBad = true;
  }
  if (IsStoring()) m_nEnd = 0;
  return !m_bBad;
}

void CArchive::Write(const void* p, size_t n) {
  if (m_bBad || !IsStoring()) {
    m_bBad = true;
    return;
  }
  if (n <= m_buf.size() - m_nEnd) {
    memcpy(&m_buf[m_nEnd], p, n);
    m_nEnd += n;
    return;
  }
  if (!Flush()) return;
  if (n < m_buf.size()) {
    memcpy(&m_buf[0], p, n);
    m_nEnd = n;
  } else if (!m_pStream->Write(p, n)) {
    m_bBad = true;
  }
}

bool CArchive::Fill(size_t n) {
  if (m_nEnd - m_nCur >= n) return true;
  if (m_bEof || m_bBad) return false;
  if (m_nCur > 0) {
    memmove(&m_buf[0], &m_buf[m_nCur], m_nEnd - m_nCur);
    m_nEnd -= m_nCur;
    m_nCur = 0;
  }
  while (m_nEnd < n) {
    size_t got = m_pStream->Read(&m_buf[m_nEnd], m_buf.size() - m_nEnd);
    if (got == 0) {
      m_bEof = true;
      return false;
    }
    m_nEnd += got;
  }
  return true;
}

size_t CArchive::Read(void* p, size_t n) {
  if (m_bBad || !IsLoading()) {
    m_bBad = true;
    return 0;
  }
  char* dst = static_cast<char*>(p);
  size_t done = m_nEnd - m_nCur < n ? m_nEnd - m_nCur : n;
  memcpy(dst, m_buf.data() + m_nCur, done);
  m_nCur += done;
  while (done < n) {
    size_t left = n - done;
    if (left >= m_buf.size()) {  // large reads bypass the buffer
      size_t got = m_bEof ? 0 : m_pStream->Read(dst + done, left);
      if (got == 0) break;
      done += got;
    } else {
      if (!Fill(1)) break;
      size_t take = m_nEnd - m_nCur < left ? m_nEnd - m_nCur : left;
      memcpy(dst + done, m_buf.data() + m_nCur, take);
      m_nCur += take;
      done += take;
    }
  }
  if (done < n) {
    m_bEof = true;
    m_bBad = true;
  }
  return done;
}

void CArchive::ReadToEnd(std::string& out) {
  if (m_bBad || !IsLoading()) {
    m_bBad = true;
    return;
  }
  try {
    ReadRest(out);
  } catch (const std::bad_alloc&) {
    m_bBad = true;
  } catch (const std::length_error&) {
    m_bBad = true;
  }
  if (m_bBad) std::string().swap(out);
}

void CArchive::ReadRest(std::string& out) {
  out.append(m_buf, m_nCur, m_nEnd - m_nCur);
  m_nCur = m_nEnd = 0;
  if (m_bEof) return;
  // Grow with what actually arrives, never from a size read from the data; a
  // stream that knows its size saves the regrowing.
  size_t used = out.size();
  size_t hint = m_pStream->SizeHint();
  if (hint > out.max_size() - used) {
    m_bBad = true;
    return;
  }
  out.resize(used + hint);
  for (;;) {
    if (used == out.size()) {
      // probe before growing, so that reaching the end allocates nothing more
      size_t got = m_pStream->Read(&m_buf[0], m_buf.size());
      if (got == 0) break;
      out.resize(used + (used > m_buf.size() ? used : m_buf.size()));
      memcpy(&out[used], m_buf.data(), got);
      used += got;
      continue;
    }
    size_t got = m_pStream->Read(&out[used], out.size() - used);
    if (got == 0) break;
    used += got;
  }
  out.resize(used);
  m_bEof = true;
}

CArchive& CArchive::PutLE(uint32_t v, int nBytes) {
  unsigned char b[4];
  for (int i = 0; i < nBytes; ++i) b[i] = static_cast<unsigned char>(v >> (8 * i));
  Write(b, static_cast<size_t>(nBytes));
  return *this;
}

uint32_t CArchive::GetLE(int nBytes) {
  unsigned char b[4] = {0, 0, 0, 0};
  if (Read(b, static_cast<size_t>(nBytes)) != static_cast<size_t>(nBytes)) return 0;
  uint32_t v = 0;
  for (int i = 0; i < nBytes; ++i) v |= static_cast<uint32_t>(b[i]) << (8 * i);
  return v;
}

CArchive& CArchive::operator>>(uint8_t& v) {
  v = static_cast<uint8_t>(GetLE(1));
  return *this;
}
CArchive& CArchive::operator>>(uint16_t& v) {
  v = static_cast<uint16_t>(GetLE(2));
  return *this;
}
CArchive& CArchive::operator>>(uint32_t& v) {
  v = GetLE(4);
  return *this;
}
CArchive& CArchive::operator>>(int32_t& v) {
  v = static_cast<int32_t>(GetLE(4));
  return *this;
}

CArchive& CArchive::operator<<(const std::string& s) {
  unsigned char prefix[afxarchive::kMaxPrefix];
  Write(prefix, afxarchive::PutPrefix(prefix, s.size()));
  Write(s.data(), s.size());
  return *this;
}

CArchive& CArchive::operator>>(std::string& s) {
  s.clear();
  if (m_bBad || !IsLoading()) {
    m_bBad = true;
    return *this;
  }
  size_t header = 0;
  uint64_t len = 0;
  bool wide = false;
  Fill(afxarchive::kMaxPrefix);  // a short file may hold less; the parser says so
  afxarchive::Parse r = afxarchive::ParsePrefix(reinterpret_cast<const unsigned char*>(m_buf.data()) + m_nCur,
                                                m_nEnd - m_nCur, &header, &len, &wide);
  if (r != afxarchive::Parse::ok) {
    m_bBad = true;
    return *this;
  }
  m_nCur += header;
  if (wide) {
    if (!ReadWide(len, s)) m_bBad = true;
    return *this;
  }
  if (len <= m_nEnd - m_nCur) {  // the usual short word: straight from the buffer
    s.assign(m_buf.data() + m_nCur, static_cast<size_t>(len));
    m_nCur += static_cast<size_t>(len);
    return *this;
  }
  // A long text arrives piece by piece; the string grows only with bytes read.
  uint64_t left = len;
  while (left > 0) {
    if (!Fill(1)) {
      m_bBad = true;
      s.clear();
      return *this;
    }
    size_t take = m_nEnd - m_nCur;
    if (take > left) take = static_cast<size_t>(left);
    s.append(m_buf.data() + m_nCur, take);
    m_nCur += take;
    left -= take;
  }
  return *this;
}

bool CArchive::ReadWide(uint64_t nChars, std::string& s) {
  std::basic_string<uint16_t> text;
  for (uint64_t i = 0; i < nChars; ++i) {
    if (!Fill(2)) return false;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(m_buf.data()) + m_nCur;
    text.push_back(static_cast<uint16_t>(p[0] | (p[1] << 8)));
    m_nCur += 2;
  }
  if (!m_pfnWideToMultiByte) return false;
  return m_pfnWideToMultiByte(text.data(), text.size(), s);
}
