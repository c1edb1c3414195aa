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

int PackExitCode(packrun::Outcome outcome) {
  switch (outcome) {
    case packrun::Outcome::Written: return kExitDone;
    case packrun::Outcome::WriteFailed: return kExitFailures;
    default: return kExitWrongUse;
  }
}

int StartExitCode(startmode::Action action) {
  return action == startmode::Action::Install || action == startmode::Action::Uninstall ||
                 action == startmode::Action::Authoring || action == startmode::Action::Pack
             ? kExitDone
             : kExitWrongUse;
}

const char* LogNameOf(startmode::Action action) {
  switch (action) {
    case startmode::Action::Uninstall:
    case startmode::Action::ErrNoOption:
    case startmode::Action::ErrNoTarget:
    case startmode::Action::ErrNoSetupInfo:
      return kUninstallLogName;
    case startmode::Action::Pack:
      return kPackLogName;
    default:
      return kInstallLogName;
  }
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
