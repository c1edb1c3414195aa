// The status bar: the common control with a stretching message pane on the left
// and indicator panes as wide as their texts on the right.
#include "AfxDoc.h"

BOOL CStatusBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
  // the CBRS_ bits say where the bar goes; the control always sits at the bottom
  DWORD style = (dwStyle & 0xFFFF0000u) | CCS_BOTTOM | SBARS_SIZEGRIP;
  HWND h = ::CreateWindowExA(0, STATUSCLASSNAMEA, "", style, 0, 0, 0, 0, pParentWnd ? pParentWnd->m_hWnd : nullptr,
                             reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), AfxGetInstanceHandle(), nullptr);
  if (!h) return FALSE;
  Attach(h);
  SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  return TRUE;
}

BOOL CStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount) {
  if (!m_hWnd || nIDCount <= 0 || nIDCount > 255) return FALSE;
  m_arrIDs.assign(lpIDArray, lpIDArray + nIDCount);
  m_arrTexts.assign(static_cast<size_t>(nIDCount), CString());
  m_arrWidths.assign(static_cast<size_t>(nIDCount), 0);
  HDC hdc = ::GetDC(m_hWnd);
  HGDIOBJ old = ::SelectObject(hdc, GetFont() ? static_cast<HGDIOBJ>(GetFont()) : ::GetStockObject(DEFAULT_GUI_FONT));
  for (int i = 0; i < nIDCount; ++i) {
    if (m_arrIDs[i] == ID_SEPARATOR) continue;
    m_arrTexts[i] = AfxLoadString(m_arrIDs[i]);
    if (m_arrTexts[i].empty()) {  // an indicator without its string
      ::SelectObject(hdc, old);
      ::ReleaseDC(m_hWnd, hdc);
      return FALSE;
    }
    SIZE sz = {0, 0};
    ::GetTextExtentPoint32A(hdc, m_arrTexts[i].c_str(), static_cast<int>(m_arrTexts[i].size()), &sz);
    m_arrWidths[i] = sz.cx + 2 * ::GetSystemMetrics(SM_CXEDGE) + 8;
  }
  ::SelectObject(hdc, old);
  ::ReleaseDC(m_hWnd, hdc);
  RecalcPanes();
  return TRUE;
}

void CStatusBar::RecalcPanes() {
  if (!m_hWnd || m_arrIDs.empty()) return;
  RECT rc;
  ::GetClientRect(m_hWnd, &rc);
  int right = rc.right - ::GetSystemMetrics(SM_CXVSCROLL);  // room for the size grip
  // pane i ends where pane i+1 begins; the last one runs to the end
  std::vector<int> edges(m_arrIDs.size());
  edges.back() = -1;
  int x = right;
  for (size_t i = m_arrIDs.size() - 1; i > 0; --i) {
    x -= m_arrWidths[i];
    edges[i - 1] = x > 0 ? x : 0;
  }
  SendMessage(SB_SETPARTS, static_cast<WPARAM>(edges.size()), reinterpret_cast<LPARAM>(edges.data()));
}

BOOL CStatusBar::SetPaneText(int nIndex, const char* lpszNewText) {
  if (!m_hWnd) return FALSE;
  CString now = GetPaneText(nIndex);
  if (now == lpszNewText) return TRUE;  // no flicker from idle updates
  return static_cast<BOOL>(
      SendMessage(SB_SETTEXTA, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(lpszNewText)));
}

CString CStatusBar::GetPaneText(int nIndex) const {
  if (!m_hWnd) return CString();
  // Some controls count characters here rather than bytes, and SB_GETTEXTA takes no
  // buffer size: leave room for every character to be a double-byte one.
  int len = LOWORD(SendMessage(SB_GETTEXTLENGTHA, static_cast<WPARAM>(nIndex)));
  std::string s(2 * static_cast<size_t>(len) + 1, '\0');
  SendMessage(SB_GETTEXTA, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&s[0]));
  s.resize(strlen(s.c_str()));
  return s;
}

int CStatusBar::GetHeight() const {
  if (!m_hWnd) return 0;
  RECT r;
  ::GetWindowRect(m_hWnd, &r);
  return r.bottom - r.top;
}
