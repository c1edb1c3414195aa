#include "LoadingDlg.h"

#include "resource.h"

BEGIN_MESSAGE_MAP(CLoadingDlg, CDialog)
END_MESSAGE_MAP()

void CLoadingDlg::DoDataExchange(CDataExchange* pDX) { DDX_Control(pDX, IDC_LOADING_PROGRESS, m_progress); }

void CLoadingDlg::BeginProgress(unsigned int nLimit, int nStep) {
  if (!m_progress.m_hWnd) return;
  m_progress.SendMessage(PBM_SETRANGE, 0, MAKELPARAM(0, static_cast<WORD>(nLimit)));
  m_progress.SetPos(0);
  m_progress.SetStep(nStep);
}

void CLoadingDlg::AdvanceProgress() {
  if (m_progress.m_hWnd) m_progress.StepIt();
}

void CLoadingDlg::Show() {
  if (m_hWnd) SetWindowPos(HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW);
}

void CLoadingDlg::Hide() {
  if (m_hWnd) SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_HIDEWINDOW);
}
