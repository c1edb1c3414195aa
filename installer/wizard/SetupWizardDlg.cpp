#include "SetupWizardDlg.h"

#include "Globals.h"
#include "LoadingDlg.h"
#include "resource.h"

BEGIN_MESSAGE_MAP(CSetupWizardDlg, CDialog)
  ON_WM_DESTROY()
END_MESSAGE_MAP()

CSetupWizardDlg::CSetupWizardDlg(CWnd* pParent) : CDialog(IDD_SETUPWIZARD_DIALOG, pParent) {
  m_hIcon = ::LoadIconA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME));
}

CSetupWizardDlg::~CSetupWizardDlg() = default;

BOOL CSetupWizardDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  // a second start finds this window by the property and brings it to the front
  ::SetPropA(m_hWnd, GetInstanceName().c_str(), reinterpret_cast<HANDLE>(1));
  SetIcon(m_hIcon, TRUE);
  SetIcon(m_hIcon, FALSE);
  HWND hOwner = ::GetWindow(m_hWnd, GW_OWNER);
  if (!g_bAuthorMode && hOwner) ::ShowWindow(hOwner, SW_SHOWMAXIMIZED);
  if (g_pLoadingDlg) g_pLoadingDlg->Hide();
  return TRUE;
}

void CSetupWizardDlg::OnOK() { EndDialog(IDOK); }
void CSetupWizardDlg::OnCancel() { EndDialog(IDCANCEL); }

void CSetupWizardDlg::OnDestroy() { ::RemovePropA(m_hWnd, GetInstanceName().c_str()); }
