// The benchmarks' clock (milliseconds), their median, and the plain OS command they
// compare with.
#pragma once
#include <windows.h>
#ifdef HB_CALLGRIND
#include <valgrind/callgrind.h>
#endif

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

inline double Now() {
  LARGE_INTEGER f, c;
  ::QueryPerformanceFrequency(&f);
  ::QueryPerformanceCounter(&c);
  return static_cast<double>(c.QuadPart) * 1000.0 / static_cast<double>(f.QuadPart);
}

inline double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// Runs `cmd` without a window and waits for it: the milliseconds it took, or -1 when it
// could not start, or (with `needZero`) ended with another code than 0, which it prints.
inline double TimeCommand(std::string cmd, bool needZero = false) {
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  double start = Now();
  if (!::CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &si, &pi))
    return -1;
  ::WaitForSingleObject(pi.hProcess, INFINITE);
  double took = Now() - start;
  DWORD code = 255;
  ::GetExitCodeProcess(pi.hProcess, &code);
  ::CloseHandle(pi.hProcess);
  ::CloseHandle(pi.hThread);
  if (needZero && code != 0) {
    std::printf("  %s ended with %lu\n", cmd.c_str(), static_cast<unsigned long>(code));
    return -1;
  }
  return took;
}

// The whole-process benches: a command that must succeed, a folder without its final
// "\" (as installers' command lines take it), and the files below a folder.
inline double Run(const std::string& cmd) { return TimeCommand(cmd, true); }

// Waits until files deleted just before are no longer "recently deleted" to the file
// system: some (ext4 without a journal) pass over every such inode whenever they make a
// file, which slows whatever installs next by as much as the last removal deleted. A user
// installs on a disk that did not just lose ten thousand files, and no installer should
// pay for the one before it: the timed installs wait `seconds` after any removal.
inline void Settle(int seconds) {
  if (seconds > 0) ::Sleep(static_cast<DWORD>(seconds) * 1000);
}

inline std::string NoSlash(const std::string& dir) { return dir.substr(0, dir.size() - 1); }

inline int CountFiles(const std::string& dir) {
  int n = 0;
  WIN32_FIND_DATAA fd;
  HANDLE h = ::FindFirstFileA((dir + "*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return 0;
  do {
    std::string name = fd.cFileName;
    if (name == "." || name == "..") continue;
    n += fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY ? CountFiles(dir + name + "\\") : 1;
  } while (::FindNextFileA(h, &fd));
  ::FindClose(h);
  return n;
}

// Under callgrind (valgrind --tool=callgrind --trace-children=yes) each measured step is
// dumped as a profile of its own, named by `what`; elsewhere these do nothing.
inline bool BenchUnderProfiler() {
#ifdef HB_CALLGRIND
  return RUNNING_ON_VALGRIND != 0;
#else
  return false;
#endif
}
inline void BenchStepBegin() {
#ifdef HB_CALLGRIND
  CALLGRIND_ZERO_STATS;
#endif
}
inline void BenchStepEnd(const std::string& what) {
#ifdef HB_CALLGRIND
  CALLGRIND_DUMP_STATS_AT(what.c_str());
#else
  (void)what;
#endif
}

// One line for the closing table of `make bench`: "RATIO name value aim what", the aim
// an upper bound ("-" for none, given as 0).
inline void PrintRatio(const char* name, double value, double aim, const char* what) {
  if (aim > 0)
    std::printf("RATIO %s %.2f %.2f %s\n", name, value, aim, what);
  else
    std::printf("RATIO %s %.2f - %s\n", name, value, what);
  std::fflush(stdout);
}
