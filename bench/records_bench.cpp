// Records benchmark: a records file of 100,000 games over twelve word lists read by
// the program (the file read whole, every line checked, the bests and lists kept)
// against a plain read of the same bytes in the same pieces that only counts its
// lines. The aim is a read under 100 ms. Run by hand; see bench/README.md.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "RecordsFile_win.h"

namespace {

bool PlainWrite(const std::string& path, const std::string& bytes) {
  HANDLE h = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD put = 0;
  BOOL ok = ::WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr);
  ::CloseHandle(h);
  return ok && put == bytes.size();
}

// The plain work: the file read in the same pieces, its lines counted.
size_t PlainLines(const std::string& path) {
  HANDLE h = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return 0;
  std::vector<char> piece(CRecordsFile::kPiece);
  size_t lines = 0;
  DWORD got = 0;
  while (::ReadFile(h, piece.data(), static_cast<DWORD>(piece.size()), &got, nullptr) && got > 0)
    for (const char *p = piece.data(), *end = p + got; (p = static_cast<const char*>(std::memchr(p, '\n', end - p)));
         ++p)
      ++lines;
  ::CloseHandle(h);
  return lines;
}

// The calling thread's processor time in ms: what the read costs, whatever else the
// machine runs beside it.
double ThreadMs() {
  FILETIME created, ended, kernel, user;
  if (!::GetThreadTimes(::GetCurrentThread(), &created, &ended, &kernel, &user)) return 0;
  auto ms = [](const FILETIME& f) {
    return (static_cast<double>(f.dwHighDateTime) * 4294967296.0 + f.dwLowDateTime) / 1e4;
  };
  return ms(kernel) + ms(user);
}

}  // namespace

int main(int argc, char** argv) {
  const int kGames = argc > 1 ? atoi(argv[1]) : 100000;
  const int kRounds = 7;
  char tmp[MAX_PATH] = "";
  ::GetTempPathA(MAX_PATH, tmp);
  std::string folder = std::string(tmp) + "records_bench_" + std::to_string(::GetCurrentProcessId()) + "\\";
  ::CreateDirectoryA(folder.c_str(), nullptr);
  std::string path = folder + krrec::kFileName;

  // games as the program writes them: a path under the user's documents, a total
  // that wanders, the counts of a three-minute game
  std::string bytes = krrec::HeaderLine();
  unsigned x = 2463534242u;
  for (int i = 0; i < kGames; ++i) {
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    krrec::GameRecord g;
    char when[32];
    std::snprintf(when, sizeof when, "20%02d-%02d-%02d %02d:%02d:%02d", 26 + i / 40000, 1 + i / 3000 % 12,
                  1 + i / 100 % 28, i / 10 % 24, i % 60, x % 60);
    g.when = when;
    g.name = "単語" + std::to_string(x % 12) + ".wds";
    g.path = "C:\\Documents and Settings\\user\\My Documents\\ﾀｲﾋﾟﾝｸﾞ\\" + g.name;
    g.right = 20 + static_cast<int>(x % 40);
    g.wrong = static_cast<int>(x / 7 % 6);
    g.chars = g.right * 6;
    g.total = g.right * 900 + static_cast<int>(x % 900);
    bytes += krrec::FormatLine(g);
  }
  if (!PlainWrite(path, bytes)) return 1;
  std::printf("%d games, a records file of %zu bytes\n", kGames, bytes.size());

  std::vector<double> read, readCpu, plain;
  for (int r = 0; r < kRounds; ++r) {
    CRecordsFile file(folder);
    BenchStepBegin();
    double c0 = ThreadMs(), t0 = Now();
    BOOL ok = file.Read();
    double t1 = Now(), c1 = ThreadMs();
    BenchStepEnd("records read");
    size_t lines = PlainLines(path);
    double t2 = Now();
    if (!ok || file.Book().GameCount() != static_cast<size_t>(kGames) || file.Book().Lists().size() != 12 ||
        lines != static_cast<size_t>(kGames) + 1) {
      std::fprintf(stderr, "round %d: a step failed\n", r);
      return 1;
    }
    read.push_back(t1 - t0);
    readCpu.push_back(c1 - c0);
    plain.push_back(t2 - t1);
  }
  ::DeleteFileA(path.c_str());
  ::RemoveDirectoryA(folder.c_str());
  double mr = Median(read), mc = Median(readCpu), mp = Median(plain);
  std::printf(
      "records read %.1f ms (%.1f ms of processor time), plain read and line count %.1f ms (medians of %d rounds)\n",
      mr, mc, mp, kRounds);
  // the aim on the processor time: the time on the clock moves with what else runs
  PrintRatio("records_read", mc / 100.0, 1.0, "reading 100,000 games: processor ms / the 100 ms aim");
  PrintRatio("records_plain", mr / mp, 0, "the same read / a plain read that counts the lines");
  return 0;
}
