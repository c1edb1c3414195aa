#include "LoadingDlg.h"

#include "resource.h"

ILoadingWindow* GetLoadingWindow() { return g_pLoadingDlg; }

BEGIN_MESSAGE_MAP(CLoadingDlg, CDialog)
END_MESSAGE_MAP()

void CLoadingDlg::DoDataExchange(CDataExchange* pDX) { DDX_Control(pDX, IDC_LOADING_PROGRESS, m_progress); }

void CLoadingDlg::BeginProgress(unsigned int nLimit, int nStep) {
  if (!m_progress.m_hWnd) return;
  m_progress.SendMessage(PBM_SETRANGE, 0, MAKELPARAM(0, static_cast<WORD>(nLimit)));
  m_progress.SetPos(0);
  m_progress.SetStep(nStep);
  m_nStep = nStep;
}

void CLoadingDlg::AdvanceProgress() {
  if (!m_progress.m_hWnd) return;
  // Newer progress controls carry the overflow of a step past the top into the next
  // round (top 3: 3, 1, 2, ...); the bar starts over from 0 instead.
  int nUpper = static_cast<int>(m_progress.SendMessage(PBM_GETRANGE, FALSE));
  if (m_nStep > 0 && m_progress.GetPos() + m_nStep > nUpper)
    m_progress.SetPos(0);
  else
    m_progress.StepIt();
}

void CLoadingDlg::Show() {
  if (m_hWnd) SetWindowPos(HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW);
}

void CLoadingDlg::Hide() {
  if (m_hWnd) SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_HIDEWINDOW);
}
