#include "BackdropDlg.h"

#include "Globals.h"
#include "Layout.h"
#include "SetupInfo_win.h"
#include "SetupWizardDlg.h"
#include "resource.h"

BEGIN_MESSAGE_MAP(CBackdropDlg, CDialog)
  ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CBackdropDlg::CBackdropDlg() : CDialog(IDD_BACKDROP) {
  m_hIcon = ::LoadIconA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME));
  m_brushBack.CreateSolidBrush(RGB(64, 100, 255));
}

void CBackdropDlg::DoDataExchange(CDataExchange* pDX) { DDX_Control(pDX, IDC_BACKDROP_TITLE, m_title); }

BOOL CBackdropDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  SetIcon(m_hIcon, TRUE);
  SetIcon(m_hIcon, FALSE);

  RECT rDesk;
  ::GetWindowRect(::GetDesktopWindow(), &rDesk);
  int nWidth = rDesk.right;
  RECT rTitle;
  m_title.GetWindowRect(&rTitle);
  m_title.SetWindowPos(nullptr, 0, 0, nWidth, 200, SWP_NOMOVE | SWP_NOZORDER);

  CString path = setupinfo::IniPath(g_strSetupDir);
  CString name = setupinfo::GetString(path, setupinfo::kSecSetup, "Name", setupinfo::kDefName, setupinfo::kBufName);
  if (name.empty()) name = setupinfo::kDefName;
  CString title = setupinfo::GetString(path, setupinfo::kSecSetup, "Title", setupinfo::kDefTitle, setupinfo::kBufTitle);
  CString version =
      setupinfo::GetString(path, setupinfo::kSecSetup, "Version", setupinfo::kDefVersion, setupinfo::kBufVersion);
  CString text = name + "/ " + title + " " + version;

  m_fontTitle.CreateFont(90, layout::BackdropFontWidth(nWidth, static_cast<int>(text.size())), 0, 0, 900, TRUE, FALSE,
                         FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                         DEFAULT_PITCH, "ＭＳ Ｐゴシック");
  m_title.SetFont(m_fontTitle, TRUE);
  m_title.SetWindowText(text.c_str());

  // As the main window the backdrop owns the wizard, which shows it maximised.
  CSetupWizardDlg dlg(nullptr);
  dlg.DoModal();
  PostMessage(WM_CLOSE);
  return TRUE;
}

HBRUSH CBackdropDlg::OnCtlColor(HDC hdc, HWND, UINT nCtlColor) {
  if (nCtlColor == CTLCOLOR_STATIC) ::SetBkMode(hdc, TRANSPARENT);  // the title on the blue, not in a box
  if (nCtlColor == CTLCOLOR_DLG || nCtlColor == CTLCOLOR_STATIC) return m_brushBack;
  return static_cast<HBRUSH>(nullptr);
}
