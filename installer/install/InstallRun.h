// The install run: what the wizard hands over, and the run itself.
#pragma once
#include <vector>

#include "AfxWin.h"
#include "QuietRun.h"

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

// Copies, links, registers, records and reports. FALSE when it stopped early (the
// install folder cannot be made or is the source folder, a destination is a system
// file): the wizard stays open for another try. TRUE when it went to its end, with
// the failures it counted in *pnFailures.
BOOL RunInstallRequest(const CInstallRequest& req, int* pnFailures = nullptr);
