// What a run without a person leaves instead of boxes: an exit code for the caller
// (a deployment tool or a package manager) and a log. Portable: the runs hand over
// their steps and their report; the program writes the bytes.
#pragma once
#include <string>

namespace quietrun {

// The same codes for the install and the uninstall.
constexpr int kExitDone = 0;         // nothing failed
constexpr int kExitFailures = 1;     // went to its end, with failures
constexpr int kExitStopped = 2;      // stopped before anything was done
constexpr int kExitWrongUse = 3;     // wrong use, or setup information missing or damaged
constexpr int kExitRunning = 4;      // another copy is running
constexpr int kExitRestart = 3010;   // done, and the author asked for a restart

// An install that stopped early, went on with `nFailures`, or ended well (with the
// author's restart option `bRestart`, which a quiet run never carries out).
int InstallExitCode(bool bFinished, int nFailures, bool bRestart);
// A removal that went to its end with these counter values.
int RemovalExitCode(int nFiles, int nFolders, int nShortcuts);

// The log in the temporary folder, replaced at each quiet run.
constexpr const char* kInstallLogName = "Hanbell-install.log";
constexpr const char* kUninstallLogName = "Hanbell-uninstall.log";
constexpr const char* kPackLogName = "Hanbell-pack.log";

// Outcomes of a step.
constexpr const char* kOk = "ok";
constexpr const char* kFailed = "failed";
constexpr const char* kKept = "kept";        // a newer file, or a newer installer, left in place
constexpr const char* kRefused = "refused";  // an entry that would lead outside its folder

// Lines of the log: code page 932 text, each ended by CR LF. A step is its name, its
// path and its outcome, separated by tabs; the report is the box's text line by line.
class CQuietLog {
 public:
  virtual ~CQuietLog() = default;
  void Step(const std::string& step, const std::string& path, const char* outcome);
  void Report(const std::string& text);

 protected:
  virtual void Write(const std::string& bytes) = 0;
};

std::string StepLine(const std::string& step, const std::string& path, const char* outcome);
std::string ReportLines(const std::string& text);

}  // namespace quietrun
