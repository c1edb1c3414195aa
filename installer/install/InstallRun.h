// The install run: the request it takes, the run itself, and the run without a person.
#pragma once
#include <vector>

#include "AfxWin.h"
#include "QuietRun.h"
#include "SetupOptions.h"

struct CInstallRequest {
  HWND hOwner = nullptr;     // owner of every box (the wizard)
  HWND hProgress = nullptr;  // the progress bar
  CString strSetupDir;       // source folder, with "\"
  CString strTopRoot;        // recorded root, with "\"
  CString strInstallDir;     // the field's text
  CString strDelay;          // the pause per step, as typed
  BOOL bStartup = FALSE;
  BOOL bProgram = FALSE;
  BOOL bDesktop = FALSE;
  BOOL bReboot = FALSE;
  CString strPrgShortCut;
  CString strPrgGroup;
  std::vector<CString> groupFiles;  // used entries, rebased
  std::vector<CString> groupNames;  // indexed like groupFiles
  std::vector<CString> systemFiles;
  int nExecute = 0;
  CString strReadMe;
  // A run without a person (nullptr: with one): no box, beep or question, each step
  // and the report into this log, every question answered as its default answer would.
  quietrun::CQuietLog* pQuietLog = nullptr;
};

// The request for an install of the setup in `setupDir` into `installDir` (as typed)
// with `options`, as the install form starts: its check boxes and pause as the options
// give them, no owner, no bar and no log. 登録 and the quiet install both start here.
CInstallRequest MakeInstallRequest(const setupinfo::SetupOptions& options, const CString& setupDir,
                                   const CString& topRoot, const CString& installDir);

// The install folder the install form proposes: the folder of an earlier install of
// the same executable, else the author's fixed folder `fixedDir` (off a CD-ROM or an
// unknown drive), else Program Files + company + executable title.
CString ProposeInstallFolder(const CString& iniPath, const CString& topRoot, const CString& fixedDir,
                             const CString& company);

// Copies, links, registers, records and reports. FALSE when it stopped early (the
// install folder cannot be made or is the source folder, a destination is a system
// file): the wizard stays open for another try. TRUE when it went to its end, with
// the failures it counted in *pnFailures.
BOOL RunInstallRequest(const CInstallRequest& req, int* pnFailures = nullptr);

// The same install without a person and without a window: the setup's options as the
// install form would start with them, into `strFolder` (the proposed folder when it is
// empty), every question answered by its default and nothing started after it; each
// step and the report go to `log`. Returns the exit code.
int RunQuietInstall(const CString& setupDir, const CString& topRoot, const CString& strFolder,
                    quietrun::CQuietLog& log);
