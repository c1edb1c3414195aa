#include "AfxDlgs.h"

CFontDialog::CFontDialog(const LOGFONTA* plfInitial, DWORD dwFlags, HDC hdcPrinter, CWnd* pParentWnd)
    : m_cf(), m_lf(), m_pParentWnd(pParentWnd) {
  m_cf.lStructSize = sizeof m_cf;
  m_cf.lpLogFont = &m_lf;
  m_cf.Flags = dwFlags;
  if (plfInitial) {
    m_lf = *plfInitial;
    m_cf.Flags |= CF_INITTOLOGFONTSTRUCT;
  }
  if (hdcPrinter) {
    m_cf.hDC = hdcPrinter;
    m_cf.Flags |= CF_PRINTERFONTS;
  }
}

INT_PTR CFontDialog::DoModal() {
  HWND hOwner = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
  if (!hOwner && AfxGetMainWnd()) hOwner = ::GetLastActivePopup(AfxGetMainWnd()->m_hWnd);
  m_cf.hwndOwner = hOwner;
  return ::ChooseFontA(&m_cf) ? IDOK : IDCANCEL;
}
