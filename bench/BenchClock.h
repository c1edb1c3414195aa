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

// Runs `cmd` without a window and waits for it: the milliseconds it took, or -1.
inline double TimeCommand(std::string cmd) {
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  double start = Now();
  if (!::CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &si, &pi))
    return -1;
  ::WaitForSingleObject(pi.hProcess, INFINITE);
  double took = Now() - start;
  ::CloseHandle(pi.hProcess);
  ::CloseHandle(pi.hThread);
  return took;
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
