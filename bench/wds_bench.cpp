// Word file benchmark: a list of 1,000,000 words saved and loaded through the
// document (CDocument's save and open, the archive, the ".wds" format) against a plain
// write and read of the same bytes. Run by hand; see bench/README.md.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "KeyRallyDoc.h"

namespace {

class BenchDoc : public CKeyRallyDoc {
 public:
  BenchDoc() = default;
};

// Words like a typing list: ASCII words of 2 to 12 letters and Japanese ones of 1 to 6
// characters (2 bytes each), with repeats.
void MakeWords(BenchDoc& doc, int n) {
  static const char* const kKana[] = {"あ", "い", "う", "え", "お", "か", "き", "く",
                                      "け", "こ", "ソ", "表", "能", "単", "語"};
  unsigned x = 2463534242u;
  auto next = [&] {
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    return x;
  };
  for (int i = 0; i < n; ++i) {
    std::string w;
    if (next() % 3) {
      int len = 2 + static_cast<int>(next() % 11);
      for (int k = 0; k < len; ++k) w += static_cast<char>('a' + next() % 26);
    } else {
      int len = 1 + static_cast<int>(next() % 6);
      for (int k = 0; k < len; ++k) w += kKana[next() % 15];
    }
    doc.AddWord(w);
  }
}

bool PlainWrite(const std::string& path, const std::string& bytes) {
  HANDLE h = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD put = 0;
  BOOL ok = ::WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr);
  ::CloseHandle(h);
  return ok && put == bytes.size();
}

bool PlainRead(const std::string& path, std::string& bytes) {
  HANDLE h = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD size = ::GetFileSize(h, nullptr);
  bytes.resize(size);
  DWORD got = 0;
  BOOL ok = ::ReadFile(h, &bytes[0], size, &got, nullptr);
  ::CloseHandle(h);
  return ok && got == size;
}

// For comparison: the words one by one through the archive into an array of strings.
size_t LoadWordByWord(const std::string& path) {
  CFile f;
  if (!f.Open(path.c_str(), CFile::modeRead)) return 0;
  CArchive ar(&f, CArchive::load);
  int32_t n = 0;
  ar >> n;
  std::vector<std::string> words;
  for (int32_t i = 0; i < n && ar.IsOK(); ++i) {
    std::string w;
    ar >> w;
    words.push_back(std::move(w));
  }
  return words.size();
}

}  // namespace

int main(int argc, char** argv) {
  const int kWords = argc > 1 ? atoi(argv[1]) : 1000000;
  const int kRounds = 7;
  char tmp[MAX_PATH] = "";
  ::GetTempPathA(MAX_PATH, tmp);
  std::string base = std::string(tmp) + "wds_bench_" + std::to_string(::GetCurrentProcessId());
  std::string docPath = base + "_doc.wds", plainPath = base + "_plain.wds";

  BenchDoc doc;
  MakeWords(doc, kWords);
  if (!doc.OnSaveDocument(docPath.c_str())) return 1;
  std::string bytes;
  if (!PlainRead(docPath, bytes)) return 1;
  std::printf("%d words, file of %zu bytes\n", doc.GetWordCount(), bytes.size());

  std::vector<double> save, write, load, read, wordByWord;
  for (int r = 0; r < kRounds; ++r) {
    double t0 = Now();
    bool okSave = doc.OnSaveDocument(docPath.c_str()) != FALSE;
    double t1 = Now();
    bool okWrite = PlainWrite(plainPath, bytes);
    double t2 = Now();
    BenchDoc back;
    bool okLoad = back.OnOpenDocument(docPath.c_str()) != FALSE;
    double t3 = Now();
    std::string again;
    bool okRead = PlainRead(plainPath, again);
    double t4 = Now();
    size_t n = LoadWordByWord(docPath);
    double t5 = Now();
    if (!okSave || !okWrite || !okLoad || !okRead || back.GetWordCount() != kWords || again != bytes ||
        n != static_cast<size_t>(kWords)) {
      std::fprintf(stderr, "round %d: a step failed\n", r);
      return 1;
    }
    save.push_back(t1 - t0);
    write.push_back(t2 - t1);
    load.push_back(t3 - t2);
    read.push_back(t4 - t3);
    wordByWord.push_back(t5 - t4);
  }
  std::string check;
  PlainRead(docPath, check);
  std::printf("saved file equals the plain bytes: %s\n", check == bytes ? "yes" : "NO");
  std::printf("median of %d rounds:\n", kRounds);
  std::printf("  save (document)      %8.1f ms\n", Median(save));
  std::printf("  plain write          %8.1f ms   save / write = %.2fx\n", Median(write), Median(save) / Median(write));
  std::printf("  load (document)      %8.1f ms\n", Median(load));
  std::printf("  plain read           %8.1f ms   load / read  = %.2fx\n", Median(read), Median(load) / Median(read));
  std::printf("  word-by-word archive %8.1f ms   (reference: each word its own string)\n", Median(wordByWord));
  ::DeleteFileA(docPath.c_str());
  ::DeleteFileA(plainPath.c_str());
  PrintRatio("wds_save", Median(save) / Median(write), 0, "word list saved through the document / plain write");
  PrintRatio("wds_load", Median(load) / Median(read), 0, "word list loaded through the document / plain read");
  return 0;
}
