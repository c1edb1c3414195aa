#include "QuietRun.h"

namespace quietrun {

int InstallExitCode(bool bFinished, int nFailures, bool bRestart) {
  if (!bFinished) return kExitStopped;
  if (nFailures != 0) return kExitFailures;
  return bRestart ? kExitRestart : kExitDone;
}

int RemovalExitCode(int nFiles, int nFolders, int nShortcuts) {
  return nFiles != 0 || nFolders != 0 || nShortcuts != 0 ? kExitFailures : kExitDone;
}

std::string StepLine(const std::string& step, const std::string& path, const char* outcome) {
  return step + "\t" + path + "\t" + outcome + "\r\n";
}

std::string ReportLines(const std::string& text) {
  std::string lines;
  for (char c : text) {
    if (c == '\n') lines += '\r';
    lines += c;
  }
  if (text.empty() || text.back() != '\n') lines += "\r\n";
  return lines;
}

void CQuietLog::Step(const std::string& step, const std::string& path, const char* outcome) {
  Write(StepLine(step, path, outcome));
}

void CQuietLog::Report(const std::string& text) { Write(ReportLines(text)); }

}  // namespace quietrun
