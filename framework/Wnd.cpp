#include <unordered_map>

#include "AfxWin.h"

namespace {
// One user-interface thread: a plain map from window to object is enough.
std::unordered_map<HWND, CWnd*>& WindowMap() {
  static std::unordered_map<HWND, CWnd*> map;
  return map;
}
}  // namespace

UINT CWnd::s_nCurrentCtlColor = 0;

CWnd::~CWnd() {
  if (m_hWnd) {
    if (m_pfnSuper) UnsubclassWindow();
    UnmapWindow(m_hWnd);
    m_hWnd = nullptr;
  }
}

void CWnd::MapWindow(HWND hWnd, CWnd* pWnd) { WindowMap()[hWnd] = pWnd; }
void CWnd::UnmapWindow(HWND hWnd) { WindowMap().erase(hWnd); }

CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
  auto it = WindowMap().find(hWnd);
  return it == WindowMap().end() ? nullptr : it->second;
}

BOOL CWnd::Attach(HWND hWnd) {
  if (!hWnd) return FALSE;
  m_hWnd = hWnd;
  MapWindow(hWnd, this);
  return TRUE;
}

HWND CWnd::Detach() {
  HWND h = m_hWnd;
  if (h) UnmapWindow(h);
  m_hWnd = nullptr;
  return h;
}

BOOL CWnd::SubclassWindow(HWND hWnd) {
  if (!Attach(hWnd)) return FALSE;
  m_pfnSuper = reinterpret_cast<WNDPROC>(::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AfxWndProc)));
  return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent) { return SubclassWindow(::GetDlgItem(pParent->m_hWnd, nID)); }

HWND CWnd::UnsubclassWindow() {
  if (m_pfnSuper && m_hWnd) ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
  m_pfnSuper = nullptr;
  return Detach();
}

BOOL CWnd::DestroyWindow() {
  if (!m_hWnd) return FALSE;
  return ::DestroyWindow(m_hWnd);
}

CString CWnd::GetWindowText() const {
  int n = ::GetWindowTextLengthA(m_hWnd);
  std::string s(static_cast<size_t>(n) + 1, '\0');
  n = ::GetWindowTextA(m_hWnd, &s[0], n + 1);
  s.resize(n > 0 ? static_cast<size_t>(n) : 0);
  return s;
}

CString CWnd::GetDlgItemText(int nID) const {
  HWND h = ::GetDlgItem(m_hWnd, nID);
  int n = ::GetWindowTextLengthA(h);
  std::string s(static_cast<size_t>(n) + 1, '\0');
  n = ::GetWindowTextA(h, &s[0], n + 1);
  s.resize(n > 0 ? static_cast<size_t>(n) : 0);
  return s;
}

int CWnd::MessageBox(const char* text, const char* caption, UINT type) {
  if (!caption) caption = AfxGetApp() && AfxGetApp()->m_pszAppName ? AfxGetApp()->m_pszAppName : "";
  return ::MessageBoxA(m_hWnd, text, caption, type);
}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate) {
  CDataExchange dx(this, bSaveAndValidate);
  DoDataExchange(&dx);
  return TRUE;
}

const AFX_MSGMAP* CWnd::GetThisMessageMap() {
  static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr}};
  static const AFX_MSGMAP map = {nullptr, &entries[0]};
  return &map;
}
const AFX_MSGMAP* CWnd::GetMessageMap() const { return GetThisMessageMap(); }

const AFX_MSGMAP_ENTRY* CWnd::FindEntry(UINT nMessage, UINT nCode, UINT nID) const {
  for (const AFX_MSGMAP* map = GetMessageMap(); map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
    for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->pfn; ++e) {
      if (e->nMessage != nMessage) continue;
      if (nMessage == WM_COMMAND || nMessage == WM_NOTIFY || nMessage == AFXM_UPDATE_COMMAND_UI ||
          nMessage == AFXM_REFLECT_NOTIFY || nMessage == AFXM_REFLECT_COMMAND) {
        bool codeOk = e->nCode == nCode || (e->nCode == AFX_ANY_COMMAND_CODE && nCode <= 1) ||
                      nMessage == AFXM_UPDATE_COMMAND_UI;
        if (!codeOk || nID < e->nID || nID > e->nLastID) continue;
      }
      return e;
    }
  }
  return nullptr;
}

BOOL CWnd::OnCmdMsg(UINT nID, UINT nCode, CCmdUI* pCmdUI) {
  if (pCmdUI) {
    const AFX_MSGMAP_ENTRY* e = FindEntry(AFXM_UPDATE_COMMAND_UI, 0, nID);
    if (!e) return FALSE;
    e->pfn(this, 0, reinterpret_cast<LPARAM>(pCmdUI));
    return TRUE;
  }
  const AFX_MSGMAP_ENTRY* e = FindEntry(WM_COMMAND, nCode, nID);
  if (!e) return FALSE;
  e->pfn(this, MAKEWPARAM(nID, nCode), 0);
  return TRUE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
  UINT nID = LOWORD(wParam), nCode = HIWORD(wParam);
  HWND hCtl = reinterpret_cast<HWND>(lParam);
  // a control's own object may handle what it sends (reflection)
  if (hCtl) {
    CWnd* pChild = FromHandlePermanent(hCtl);
    if (pChild && pChild != this) {
      const AFX_MSGMAP_ENTRY* e = pChild->FindEntry(AFXM_REFLECT_COMMAND, nCode, 0);
      if (e) {
        e->pfn(pChild, wParam, lParam);
        return TRUE;
      }
    }
  }
  return OnCmdMsg(nID, nCode, nullptr);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult) {
  NMHDR* hdr = reinterpret_cast<NMHDR*>(lParam);
  CWnd* pChild = FromHandlePermanent(hdr->hwndFrom);
  if (pChild && pChild != this) {
    const AFX_MSGMAP_ENTRY* e = pChild->FindEntry(AFXM_REFLECT_NOTIFY, hdr->code, 0);
    if (e) {
      *pResult = e->pfn(pChild, 0, lParam);
      return TRUE;
    }
  }
  const AFX_MSGMAP_ENTRY* e = FindEntry(WM_NOTIFY, hdr->code, static_cast<UINT>(hdr->idFrom));
  if (!e) return FALSE;
  *pResult = e->pfn(this, 0, lParam);
  return TRUE;
}

BOOL CWnd::OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  *pResult = 0;
  if (msg == WM_COMMAND) return OnCommand(wParam, lParam);
  if (msg == WM_NOTIFY) return OnNotify(wParam, lParam, pResult);
  UINT key = msg;
  if (msg >= WM_CTLCOLORMSGBOX && msg <= WM_CTLCOLORSTATIC) {
    key = AFXM_CTLCOLOR;
    s_nCurrentCtlColor = msg - WM_CTLCOLORMSGBOX;
  }
  const AFX_MSGMAP_ENTRY* e = FindEntry(key, 0, 0);
  if (!e) return FALSE;
  *pResult = e->pfn(this, wParam, lParam);
  return TRUE;
}

LRESULT CWnd::DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (m_pfnSuper) return ::CallWindowProcA(m_pfnSuper, m_hWnd, msg, wParam, lParam);
  return ::DefWindowProcA(m_hWnd, msg, wParam, lParam);
}

LRESULT CWnd::Default() {
  if (!m_pCurrentMsg) return 0;
  return DefWindowProc(m_pCurrentMsg->message, m_pCurrentMsg->wParam, m_pCurrentMsg->lParam);
}

LRESULT CWnd::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  LRESULT r = 0;
  if (OnWndMsg(msg, wParam, lParam, &r)) return r;
  return DefWindowProc(msg, wParam, lParam);
}

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
  if (!pWnd) return ::DefWindowProcA(hWnd, msg, wParam, lParam);
  MSG cur = {hWnd, msg, wParam, lParam, 0, {0, 0}};
  const MSG* prev = pWnd->m_pCurrentMsg;
  pWnd->m_pCurrentMsg = &cur;
  LRESULT r = pWnd->WindowProc(msg, wParam, lParam);
  pWnd->m_pCurrentMsg = prev;
  if (msg == WM_NCDESTROY) {
    WNDPROC super = pWnd->m_pfnSuper;
    pWnd->m_pfnSuper = nullptr;
    if (super) ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(super));
    CWnd::UnmapWindow(hWnd);
    pWnd->m_hWnd = nullptr;
    pWnd->PostNcDestroy();
  }
  return r;
}

void CCmdUI::Enable(BOOL bOn) {
  if (m_hMenu) ::EnableMenuItem(m_hMenu, m_nIndex, MF_BYPOSITION | (bOn ? MF_ENABLED : (MF_DISABLED | MF_GRAYED)));
  m_bEnableChanged = TRUE;
}
void CCmdUI::SetCheck(int nCheck) {
  if (m_hMenu) ::CheckMenuItem(m_hMenu, m_nIndex, MF_BYPOSITION | (nCheck ? MF_CHECKED : MF_UNCHECKED));
}
void CCmdUI::SetText(const char* text) {
  if (!m_hMenu) return;
  UINT state = ::GetMenuState(m_hMenu, m_nIndex, MF_BYPOSITION);
  ::ModifyMenuA(m_hMenu, m_nIndex, MF_BYPOSITION | MF_STRING | (state & (MF_CHECKED | MF_GRAYED | MF_DISABLED)), m_nID, text);
}

void CWnd::CenterOnWorkArea() {
  RECT rcWork, rc;
  if (!::SystemParametersInfoA(SPI_GETWORKAREA, 0, &rcWork, 0)) return;
  GetWindowRect(&rc);
  int x = rcWork.left + ((rcWork.right - rcWork.left) - (rc.right - rc.left)) / 2;
  int y = rcWork.top + ((rcWork.bottom - rcWork.top) - (rc.bottom - rc.top)) / 2;
  SetWindowPos(nullptr, x > rcWork.left ? x : rcWork.left, y > rcWork.top ? y : rcWork.top, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
