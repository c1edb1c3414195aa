// An in-memory stream for archive tests; reads hand out at most `chunk` bytes per
// call so the archive's buffer refills are exercised.
#pragma once
#include <cstring>
#include <string>

#include "Archive.h"

class MemStream : public CArchiveStream {
 public:
  explicit MemStream(std::string data = std::string(), size_t chunk = 1 << 20)
      : m_data(std::move(data)), m_chunk(chunk) {}
  size_t Read(void* p, size_t n) override {
    if (n > m_chunk) n = m_chunk;
    if (n > m_data.size() - m_pos) n = m_data.size() - m_pos;
    memcpy(p, m_data.data() + m_pos, n);
    m_pos += n;
    return n;
  }
  size_t SizeHint() override { return m_sizeHint; }
  bool Write(const void* p, size_t n) override {
    if (m_failWrites) return false;
    m_data.append(static_cast<const char*>(p), n);
    return true;
  }
  std::string m_data;
  size_t m_chunk;
  size_t m_pos = 0;
  bool m_failWrites = false;
  size_t m_sizeHint = 0;  // what the stream claims is left (a file's size, say)
};

inline std::string Bytes(std::initializer_list<int> b) {
  std::string s;
  for (int c : b) s += static_cast<char>(c);
  return s;
}
