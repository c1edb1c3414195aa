#include "AfterInstallFileDlg.h"

#include "Globals.h"
#include "LoadingWindow.h"
#include "resource.h"

BEGIN_MESSAGE_MAP(CAfterInstallFileDlg, CDialog)
ON_WM_DESTROY()
END_MESSAGE_MAP()

CAfterInstallFileDlg::CAfterInstallFileDlg(CWnd* pParent) : CDialog(IDD_OPENFILE, pParent) {}

void CAfterInstallFileDlg::DoDataExchange(CDataExchange* pDX) {
  DDX_Control(pDX, IDC_AI_HEADING, m_stcHeading);
  DDX_Control(pDX, IDC_AI_EXPLANATION, m_stcExplanation);
  DDX_Control(pDX, IDOK, m_btnSet);
  DDX_Control(pDX, IDCANCEL, m_btnClear);
  DDX_Control(pDX, IDC_AI_TREE, m_treeFiles);
}

BOOL CAfterInstallFileDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  // the root stands for the setup folder itself; a path that is gone leaves its
  // deepest existing folder selected
  m_treeFiles.BuildTree(m_strPath);
  m_treeFiles.Expand(m_treeFiles.GetRootItem(), TVE_EXPAND);  // the root has no button of its own
  HbBeep();
  if (ILoadingWindow* pLoading = GetLoadingWindow()) pLoading->Hide();
  return TRUE;
}

void CAfterInstallFileDlg::OnOK() {
  DWORD dwAttributes = 0;
  m_strPath = m_treeFiles.GetSelectedPath(dwAttributes);
  CDialog::OnOK();
}

void CAfterInstallFileDlg::OnCancel() {
  if (g_bAuthorMode) m_strPath.clear();
  CDialog::OnCancel();
}

void CAfterInstallFileDlg::OnDestroy() { m_treeFiles.ClearTree(); }

CString ChooseAfterInstallFile(const CString& initialPath, CWnd* pOwner) {
  CAfterInstallFileDlg dlg(pOwner);
  dlg.m_strPath = initialPath;
  dlg.DoModal();
  return dlg.m_strPath;
}
