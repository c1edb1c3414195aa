// The two starts of the installer packed into one file: packing an authored
// distribution (-p), and a package's own start, which checks its payload, writes its
// files into a folder of their own and then runs as Setup.exe does in that folder.
#pragma once
#include "AfxWin.h"
#include "StartMode.h"

// A package's files for one run, removed when the run ends, however it ends.
class CPackageFolder {
 public:
  CPackageFolder() = default;
  ~CPackageFolder();
  CPackageFolder(const CPackageFolder&) = delete;
  CPackageFolder& operator=(const CPackageFolder&) = delete;

  // Whether the running program carries a payload.
  static bool IsRunningPackage();
  // Refuses -s, -d and -p, checks the payload and writes its files. False when the
  // start ends here, after its box (or its log, quiet), with *pnExitCode set.
  bool Open(const CString& cmdLine, int* pnExitCode);
  // The folder, with its backslash, and what the command line asks of it.
  const CString& GetFolder() const { return m_strFolder; }
  const startmode::Plan& GetPlan() const { return m_plan; }

 private:
  CString m_strFolder;
  startmode::Plan m_plan;
};

// -p in an authored distribution: the package written, with a progress window and a
// box naming it, or quietly with its log. Returns the exit code.
int RunPack(const startmode::Plan& plan);
