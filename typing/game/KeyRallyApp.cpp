#include "KeyRallyApp.h"

#include "KeyRallyDoc.h"
#include "KeyRallyView.h"
#include "MainFrm.h"
#include "resource.h"

CKeyRallyApp theApp;

BOOL CKeyRallyApp::InitInstance() {
  AfxEnableControlContainer();
  Enable3dControls();
  SetRegistryKey("Local AppWizard-Generated Applications");
  LoadStdProfileSettings(4);

  AddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CKeyRallyDoc), RUNTIME_CLASS(CMainFrame),
                                        RUNTIME_CLASS(CKeyRallyView)));

  CCommandLineInfo cmdInfo;
  ParseCommandLine(cmdInfo);
  if (!ProcessShellCommand(cmdInfo)) return FALSE;

  m_pMainWnd->ShowWindow(SW_SHOW);
  m_pMainWnd->UpdateWindow();
  m_pMainWnd->SetWindowText("打鍵丸");
  return TRUE;
}

// The application's commands besides exit and the recent files.
BOOL CKeyRallyApp::OnCmdMsg(UINT nID, UINT nCode, CCmdUI* pCmdUI) {
  if (nID == ID_APP_ABOUT || nID == ID_FILE_NEW || nID == ID_FILE_OPEN) {
    if (pCmdUI) return FALSE;
    if (nCode == AFX_CN_QUERY_HANDLER) return TRUE;
    if (nID == ID_APP_ABOUT)
      OnAppAbout();
    else if (nID == ID_FILE_NEW)
      OnFileNew();
    else
      OnFileOpen();
    return TRUE;
  }
  return CWinApp::OnCmdMsg(nID, nCode, pCmdUI);
}

namespace {
class CAboutDlg : public CDialog {
 public:
  CAboutDlg() : CDialog(IDD_ABOUTBOX) {}
};
}  // namespace

void CKeyRallyApp::OnAppAbout() {
  CAboutDlg aboutDlg;
  aboutDlg.DoModal();
}
