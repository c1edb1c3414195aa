// The program side of the test probes (hbfontprobe.dll, krmenuprobe.dll): a
// probe hooked into the program's thread answers a posted question (wParam: the
// question's number) in %TEMP%\<prefix>_<pid>_<number>.txt, which
// uitest::AskProbe waits for.
#pragma once
#include <windows.h>

#include <cstdio>
#include <string>

inline void WriteProbeReply(const char *prefix, WPARAM number,
                            const std::string &text) {
  char dir[MAX_PATH] = "";
  ::GetTempPathA(MAX_PATH, dir);
  std::string path = std::string(dir) + prefix + "_" +
                     std::to_string(::GetCurrentProcessId()) + "_" +
                     std::to_string(static_cast<unsigned>(number)) + ".txt";
  std::string tmp = path + ".part";
  if (FILE *f = std::fopen(tmp.c_str(), "wb")) {
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
    ::MoveFileA(tmp.c_str(),
                path.c_str()); // the test sees the whole file or none
  }
}
