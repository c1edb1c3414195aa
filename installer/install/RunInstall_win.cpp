// The wizard's install run: the install form's fields and the setup options handed
// to the run, or, without a person, the values the form would start with.
#include "Globals.h"
#include "InstallRun.h"
#include "SetupInfo_win.h"
#include "SetupWizardDlg.h"
#include "resource.h"

void CSetupWizardDlg::FillInstallRequest(CInstallRequest& req) const {
  req.strSetupDir = g_strSetupDir;
  req.strTopRoot = g_strTopRoot;
  req.strPrgShortCut = m_strPrgShortCut;
  req.strPrgGroup = m_strPrgGroup;
  req.groupFiles.assign(m_pGroupFiles, m_pGroupFiles + m_nGroupFiles);
  req.groupNames.assign(m_pGroupShortcutNames, m_pGroupShortcutNames + m_nGroupFiles);
  req.systemFiles.assign(m_pSystemFiles, m_pSystemFiles + m_nSystemFiles);
  req.nExecute = m_nExecute;
  req.strReadMe = m_strReadMe;
}

BOOL CSetupWizardDlg::RunInstall() {
  CInstallRequest req;
  FillInstallRequest(req);
  req.hOwner = m_hWnd;
  req.hProgress = m_prgInstall;
  req.strInstallDir = m_edtInstallDir.GetWindowText();
  req.strDelay = m_edtDelay.GetWindowText();
  req.bStartup = m_chkStartup.GetCheck() == BST_CHECKED;
  req.bProgram = m_chkProgram.GetCheck() == BST_CHECKED;
  req.bDesktop = m_chkDesktop.GetCheck() == BST_CHECKED;
  req.bReboot = m_chkReboot.GetCheck() == BST_CHECKED;
  return RunInstallRequest(req);
}

int CSetupWizardDlg::RunQuietInstall(const CString& strFolder, quietrun::CQuietLog& log) {
  const CString path = setupinfo::IniPath(g_strSetupDir);
  const CString proposed = ProposeInstallDir(path, ReadCompany(path));
  LoadSetupOptions(path);
  const CFormOptions options = ReadFormOptions(path);

  CInstallRequest req;
  FillInstallRequest(req);
  req.strInstallDir = strFolder.empty() ? proposed : strFolder;
  req.strDelay = "0";
  req.bStartup = options.nStartUp == BST_CHECKED;
  req.bProgram = options.nProgram == BST_CHECKED;
  req.bDesktop = options.nDesktop == BST_CHECKED;
  req.bReboot = options.nReboot == BST_CHECKED;  // told by the exit code, never carried out
  req.nExecute = 0;  // nothing is started after a quiet install
  req.strReadMe.clear();
  req.pQuietLog = &log;
  int nFailures = 0;
  BOOL finished = RunInstallRequest(req, &nFailures);
  return quietrun::InstallExitCode(finished != FALSE, nFailures, req.bReboot != FALSE);
}
