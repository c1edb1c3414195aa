// Makes a KeyRally word file from a text list, one word per line, for the sample
// distribution. The lists are plain ASCII (English words, Japanese in romaji), so
// their bytes are the code page 932 text as they stand.
// Usage: wdsmake LIST.txt OUT.wds
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

#include "Archive.h"
#include "WordList.h"

namespace {

class FileStream : public CArchiveStream {
 public:
  explicit FileStream(std::ofstream& out) : m_out(out) {}
  size_t Read(void*, size_t) override { return 0; }
  bool Write(const void* p, size_t n) override {
    m_out.write(static_cast<const char*>(p), static_cast<std::streamsize>(n));
    return static_cast<bool>(m_out);
  }

 private:
  std::ofstream& m_out;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: wdsmake LIST.txt OUT.wds\n";
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::cerr << "wdsmake: cannot read " << argv[1] << "\n";
    return 1;
  }
  CWordList list;
  std::string line;
  int lineNo = 0;
  while (std::getline(in, line)) {
    ++lineNo;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    for (unsigned char c : line) {
      if (c < 0x20 || c > 0x7E) {
        std::cerr << "wdsmake: " << argv[1] << ":" << lineNo << ": not a plain ASCII word\n";
        return 1;
      }
    }
    list.Add(line);
  }
  std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
  FileStream stream(out);
  bool ok;
  {
    CArchive ar(&stream, CArchive::store);
    wds::Store(ar, list);
    ok = ar.Flush();
  }
  out.close();
  if (!ok || !out) {
    std::cerr << "wdsmake: cannot write " << argv[2] << "\n";
    std::remove(argv[2]);
    return 1;
  }
  std::cout << argv[2] << ": " << list.GetCount() << " words\n";
  return 0;
}
