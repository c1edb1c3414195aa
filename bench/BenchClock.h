// The benchmarks' clock (milliseconds), their median, and the plain OS command they
// compare with.
#pragma once
#include <windows.h>

#include <algorithm>
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
