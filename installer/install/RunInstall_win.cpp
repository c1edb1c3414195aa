// The request an install takes, built alike for the install form's 登録 and for the
// install without a person, and the latter's run.
#include <string>

#include "FolderRules.h"
#include "InstallPlan.h"
#include "InstallRun.h"
#include "SetupDirectory.h"
#include "SetupInfo_win.h"
#include "SetupOptions_win.h"
#include "ShellFolders.h"

namespace {

CString WindowsFolder() {
  char buf[MAX_PATH + 1] = "";
  UINT n = ::GetWindowsDirectoryA(buf, MAX_PATH);
  return n > 0 && n < MAX_PATH ? CString(buf, n) : CString();
}

}  // namespace

CInstallRequest MakeInstallRequest(const setupinfo::SetupOptions& options, const CString& setupDir,
                                   const CString& topRoot, const CString& installDir) {
  CInstallRequest req;
  req.strSetupDir = setupDir;
  req.strTopRoot = topRoot;
  req.strInstallDir = installDir;
  req.strDelay = std::to_string(options.nSTime);
  req.bStartup = options.nStartUp == BST_CHECKED;
  req.bProgram = options.nProgram == BST_CHECKED;
  req.bDesktop = options.nDesktop == BST_CHECKED;
  req.bReboot = options.nReboot == BST_CHECKED;
  req.strPrgShortCut = options.strPrgShortCut;
  req.strPrgGroup = options.strPrgGroup;
  req.groupFiles = options.groupFiles;
  // a group file without a name of its own is named after the file
  req.groupNames = options.groupShortcutNames;
  req.groupNames.resize(req.groupFiles.size());
  req.systemFiles = options.systemFiles;
  req.nExecute = options.nExecute;
  req.strReadMe = options.strReadMe;
  return req;
}

CString ProposeInstallFolder(const CString& iniPath, const CString& topRoot, const CString& fixedDir,
                             const CString& company) {
  const CString select = setupinfo::GetString(iniPath, setupinfo::kSecTree, "Select", "");
  setupinfo::InstallDirInputs in;
  in.strRecorded = setupinfo::DriveAndFolder(ReadSetupDirectory(setupinfo::RelativeForm(select, topRoot)));
  in.strFixed = fixedDir;
  if (!fixedDir.empty()) in.nFixedDriveType = ::GetDriveTypeA(setupinfo::DriveRoot(fixedDir).c_str());
  in.strWindowsDir = WindowsFolder();
  if (in.strRecorded.empty() && fixedDir.empty()) in.strProgramFiles = GetProgramFilesFolder();
  in.strCompany = company;
  if (!select.empty()) in.strExeTitle = setupinfo::ExeTitle(select);
  return setupinfo::ProposeInstallDir(in);
}

int RunQuietInstall(const CString& setupDir, const CString& topRoot, const CString& strFolder,
                    quietrun::CQuietLog& log) {
  const CString path = setupinfo::IniPath(setupDir);
  // every listed entry, up to the bound of a list, as the install form holds them
  const setupinfo::SetupOptions options =
      setupinfo::ReadSetupOptions(path, topRoot, setupDir, installplan::kMaxListEntries + 1);
  CInstallRequest req = MakeInstallRequest(
      options, setupDir, topRoot,
      strFolder.empty() ? ProposeInstallFolder(path, topRoot, options.strInstallDir, setupinfo::ReadCompany(path))
                        : strFolder);
  req.strDelay = "0";
  req.nExecute = 0;  // nothing is started after a quiet install
  req.strReadMe.clear();
  req.pQuietLog = &log;
  int nFailures = 0;
  BOOL finished = RunInstallRequest(req, &nFailures);
  // a restart the author asked for is told by the exit code, never carried out
  return quietrun::InstallExitCode(finished != FALSE, nFailures, req.bReboot != FALSE);
}
