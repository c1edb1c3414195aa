// The wizard's install run: the install form's fields and the setup options handed
// to the run.
#include "Globals.h"
#include "InstallRun.h"
#include "SetupWizardDlg.h"
#include "resource.h"

BOOL CSetupWizardDlg::RunInstall() {
  CInstallRequest req;
  req.hOwner = m_hWnd;
  req.hProgress = m_prgInstall;
  req.strSetupDir = g_strSetupDir;
  req.strTopRoot = g_strTopRoot;
  req.strInstallDir = m_edtInstallDir.GetWindowText();
  req.strDelay = m_edtDelay.GetWindowText();
  req.bStartup = m_chkStartup.GetCheck() == BST_CHECKED;
  req.bProgram = m_chkProgram.GetCheck() == BST_CHECKED;
  req.bDesktop = m_chkDesktop.GetCheck() == BST_CHECKED;
  req.bReboot = m_chkReboot.GetCheck() == BST_CHECKED;
  req.strPrgShortCut = m_strPrgShortCut;
  req.strPrgGroup = m_strPrgGroup;
  req.groupFiles.assign(m_pGroupFiles, m_pGroupFiles + m_nGroupFiles);
  req.groupNames.assign(m_pGroupShortcutNames, m_pGroupShortcutNames + m_nGroupFiles);
  req.systemFiles.assign(m_pSystemFiles, m_pSystemFiles + m_nSystemFiles);
  req.nExecute = m_nExecute;
  req.strReadMe = m_strReadMe;
  return RunInstallRequest(req);
}
