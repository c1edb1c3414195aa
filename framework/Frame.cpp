// The frame window of a single-document program: creation from a resource id (menu,
// accelerators, title, icon), the view and status bar inside it, command routing
// (view, document, frame, application), menu item states, status bar prompts and
// the title "document - application".
#include "AfxDoc.h"
#include "SdiText.h"

namespace {
// Collects what an update handler says without touching a menu.
class CTestCmdUI : public CCmdUI {
 public:
  BOOL m_bEnabled = TRUE;
  void Enable(BOOL bOn) override {
    m_bEnabled = bOn;
    m_bEnableChanged = TRUE;
  }
  void SetCheck(int) override {}
  void SetText(const char*) override {}
};

// A status bar pane: "enabled" shows its indicator text, disabled shows nothing.
class CStatusCmdUI : public CCmdUI {
 public:
  CStatusBar* m_pBar = nullptr;
  void Enable(BOOL bOn) override {
    m_bEnableChanged = TRUE;
    m_pBar->SetPaneText(static_cast<int>(m_nIndex), bOn ? m_pBar->m_arrTexts[m_nIndex].c_str() : "");
  }
  void SetCheck(int) override {}
  void SetText(const char* text) override { m_pBar->SetPaneText(static_cast<int>(m_nIndex), text); }
};

// The program's first icon, for a frame whose resource id has none.
HICON g_hFirstIcon = nullptr;
BOOL CALLBACK TakeFirstIcon(HMODULE hModule, LPCSTR, LPSTR name, LONG_PTR) {
  g_hFirstIcon = ::LoadIconA(hModule, name);
  return g_hFirstIcon == nullptr;
}
HICON FirstProgramIcon() {
  if (!g_hFirstIcon) ::EnumResourceNamesA(AfxGetResourceHandle(), RT_GROUP_ICON, TakeFirstIcon, 0);
  return g_hFirstIcon;
}
}  // namespace

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
ON_WM_CREATE()
ON_WM_SIZE()
ON_WM_CLOSE()
ON_MESSAGE(WM_QUERYENDSESSION, OnQueryEndSession)
ON_WM_SETFOCUS()
ON_MESSAGE(WM_INITMENUPOPUP, OnInitMenuPopup)
ON_MESSAGE(WM_MENUSELECT, OnMenuSelect)
ON_MESSAGE(WM_EXITMENULOOP, OnExitMenuLoop)
ON_MESSAGE(WM_SETMESSAGESTRING, OnSetMessageString)
ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
ON_COMMAND(ID_VIEW_STATUS_BAR, OnViewStatusBar)
ON_UPDATE_COMMAND_UI(ID_VIEW_STATUS_BAR, OnUpdateViewStatusBar)
ON_UPDATE_COMMAND_UI(ID_INDICATOR_CAPS, OnUpdateKeyIndicator)
ON_UPDATE_COMMAND_UI(ID_INDICATOR_NUM, OnUpdateKeyIndicator)
ON_UPDATE_COMMAND_UI(ID_INDICATOR_SCRL, OnUpdateKeyIndicator)
ON_UPDATE_COMMAND_UI(ID_INDICATOR_KANA, OnUpdateKeyIndicator)
END_MESSAGE_MAP()

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext) {
  g_bAfxCreateHadWindow = FALSE;
  m_nIDHelp = nIDResource;
  sdi::ExtractSubString(m_strTitle, AfxLoadString(nIDResource), 0);
  HINSTANCE hInst = AfxGetResourceHandle();
  HICON hIcon = ::LoadIconA(hInst, MAKEINTRESOURCEA(nIDResource));
  if (!hIcon) hIcon = FirstProgramIcon();

  CREATESTRUCTA cs = {};
  cs.style = static_cast<LONG>(dwDefaultStyle);
  cs.x = cs.y = cs.cx = cs.cy = CW_USEDEFAULT;
  cs.hwndParent = pParentWnd ? pParentWnd->m_hWnd : nullptr;
  cs.hMenu = ::LoadMenuA(hInst, MAKEINTRESOURCEA(nIDResource));
  cs.hInstance = hInst;
  cs.lpszName = m_strTitle.c_str();
  cs.lpCreateParams = pContext;
  cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW),
                                     reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), hIcon);
  if (!PreCreateWindow(cs)) {
    if (cs.hMenu) ::DestroyMenu(cs.hMenu);
    return FALSE;
  }
  // the FWS_ bits are the frame's own; the rest is the window's style
  m_dwFrameStyle = static_cast<DWORD>(cs.style) & (FWS_ADDTOTITLE | FWS_PREFIXTITLE);
  cs.style &= ~static_cast<LONG>(FWS_ADDTOTITLE | FWS_PREFIXTITLE);
  if (!AfxCreateWnd(this, cs)) {
    // a window that existed took its menu along, and this object (PostNcDestroy)
    if (cs.hMenu && !g_bAfxCreateHadWindow) ::DestroyMenu(cs.hMenu);
    return FALSE;
  }
  m_hAccelTable = ::LoadAcceleratorsA(hInst, MAKEINTRESOURCEA(nIDResource));
  return TRUE;
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCTA& cs) {
  if (!cs.lpszClass)
    cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW),
                                       reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), FirstProgramIcon());
  if (cs.style & static_cast<LONG>(FWS_ADDTOTITLE)) cs.style |= static_cast<LONG>(FWS_PREFIXTITLE);
  return TRUE;
}

int CFrameWnd::OnCreate(LPCREATESTRUCT lpcs) {
  if (Default() == -1) return -1;
  CCreateContext* pContext = static_cast<CCreateContext*>(lpcs->lpCreateParams);
  if (pContext && pContext->m_pNewViewClass && !CreateView(pContext)) return -1;
  PostMessage(WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
  return 0;
}

CView* CFrameWnd::CreateView(CCreateContext* pContext, UINT nID) {
  CWnd* pWnd = pContext->m_pNewViewClass->m_pfnCreateWnd ? pContext->m_pNewViewClass->m_pfnCreateWnd() : nullptr;
  if (!pWnd) return nullptr;
  CView* pView = static_cast<CView*>(pWnd);  // the template names a view class
  RECT r = {0, 0, 0, 0};
  if (!pView->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_BORDER, r, this, nID, pContext)) {
    if (!g_bAfxCreateHadWindow) delete pView;  // otherwise it deleted itself
    return nullptr;
  }
  return pView;
}

CStatusBar* CFrameWnd::GetStatusBar() const {
  HWND h = ::GetDlgItem(m_hWnd, AFX_IDW_STATUS_BAR);
  return h ? static_cast<CStatusBar*>(FromHandlePermanent(h)) : nullptr;
}

void CFrameWnd::RecalcLayout() {
  if (!m_hWnd) return;
  RECT rc;
  ::GetClientRect(m_hWnd, &rc);
  CStatusBar* pBar = GetStatusBar();
  if (pBar && pBar->m_hWnd) {
    ::SendMessageA(pBar->m_hWnd, WM_SIZE, 0, 0);  // the control places itself at the bottom
    pBar->RecalcPanes();
    if (::IsWindowVisible(pBar->m_hWnd)) rc.bottom -= pBar->GetHeight();
  }
  HWND hView = ::GetDlgItem(m_hWnd, AFX_IDW_PANE_FIRST);
  if (hView)
    ::MoveWindow(hView, rc.left, rc.top, rc.right - rc.left, rc.bottom > rc.top ? rc.bottom - rc.top : 0, TRUE);
}

void CFrameWnd::OnSize(UINT nType, int, int) {
  Default();
  if (nType != SIZE_MINIMIZED) RecalcLayout();
}

void CFrameWnd::SetActiveView(CView* pView) {
  m_pViewActive = pView;
  if (pView && pView->m_hWnd && ::GetActiveWindow() == m_hWnd) ::SetFocus(pView->m_hWnd);
}

void CFrameWnd::OnSetFocus(HWND) {
  if (m_pViewActive && m_pViewActive->m_hWnd)
    ::SetFocus(m_pViewActive->m_hWnd);
  else
    Default();
}

void CFrameWnd::InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible) {
  if (!m_pViewActive) {
    HWND h = ::GetDlgItem(m_hWnd, AFX_IDW_PANE_FIRST);
    if (h) SetActiveView(static_cast<CView*>(FromHandlePermanent(h)));
  }
  if (bMakeVisible) {
    if (m_pViewActive && m_pViewActive->m_hWnd) ::SendMessageA(m_pViewActive->m_hWnd, WM_INITIALUPDATE, 0, 0);
    int nCmdShow = -1;
    CWinApp* pApp = AfxGetApp();
    if (pApp && pApp->m_pMainWnd == this) {
      nCmdShow = pApp->m_nCmdShow;  // the show command of the start, once
      pApp->m_nCmdShow = -1;
    }
    ActivateFrame(nCmdShow);
  }
  if (pDoc) pDoc->UpdateFrameCounts();
  OnUpdateFrameTitle(TRUE);
}

void CFrameWnd::ActivateFrame(int nCmdShow) {
  if (nCmdShow == -1) {
    if (!::IsWindowVisible(m_hWnd))
      nCmdShow = SW_SHOWNORMAL;
    else if (::IsIconic(m_hWnd))
      nCmdShow = SW_RESTORE;
  }
  if (nCmdShow != -1) {
    ::ShowWindow(m_hWnd, nCmdShow);
    ::BringWindowToTop(m_hWnd);
  }
  if (m_pViewActive && m_pViewActive->m_hWnd && ::GetActiveWindow() == m_hWnd) ::SetFocus(m_pViewActive->m_hWnd);
}

void CFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle) {
  if (!(m_dwFrameStyle & FWS_ADDTOTITLE)) return;
  CDocument* pDoc = GetActiveDocument();
  CString title = bAddToTitle && pDoc
                      ? sdi::FrameTitle(pDoc->GetTitle(), m_strTitle, (m_dwFrameStyle & FWS_PREFIXTITLE) != 0)
                      : m_strTitle;
  if (GetWindowText() != title) ::SetWindowTextA(m_hWnd, title.c_str());
}

void CFrameWnd::OnClose() {
  CDocument* pDoc = GetActiveDocument();
  if (pDoc && !pDoc->SaveModified()) return;
  if (pDoc && pDoc->m_bAutoDelete) {
    pDoc->OnCloseDocument();  // the document takes its frame along
    return;
  }
  DestroyWindow();
}

// Windows is logging off or shutting down: a modified list gets its save question
// first, and cancelling it keeps the session going.
LRESULT CFrameWnd::OnQueryEndSession(WPARAM, LPARAM) {
  CDocument* pDoc = GetActiveDocument();
  return !pDoc || pDoc->SaveModified();
}

void CFrameWnd::PostNcDestroy() {
  CWinApp* pApp = AfxGetApp();
  if (pApp && pApp->m_pMainWnd == this) {
    pApp->m_pMainWnd = nullptr;
    ::PostQuitMessage(0);
  }
  if (m_pCurrentMsg)  // closed from inside one of its own messages (WM_CLOSE, a command)
    AfxDeleteWndLater(this);
  else
    delete this;
}

// ---- commands ------------------------------------------------------------------------
BOOL CFrameWnd::OnCmdMsg(UINT nID, UINT nCode, CCmdUI* pCmdUI) {
  if (m_pViewActive && m_pViewActive->OnCmdMsg(nID, nCode, pCmdUI)) return TRUE;
  if (nCode == AFX_CN_QUERY_HANDLER && !pCmdUI) {
    if (FindEntry(WM_COMMAND, 0, nID)) return TRUE;
  } else if (CWnd::OnCmdMsg(nID, nCode, pCmdUI)) {
    return TRUE;
  }
  CWinApp* pApp = AfxGetApp();
  return pApp && pApp->OnCmdMsg(nID, nCode, pCmdUI);
}

BOOL CFrameWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
  UINT nID = LOWORD(wParam), nCode = HIWORD(wParam);
  if (lParam == 0 && nCode <= 1) {  // a menu item or an accelerator
    // a command greyed since the menu was drawn, or handled by nobody, does nothing
    CTestCmdUI state;
    state.m_nID = nID;
    if (OnCmdMsg(nID, 0, &state)) {
      if (!state.m_bEnabled) return TRUE;
    } else if (!OnCmdMsg(nID, AFX_CN_QUERY_HANDLER, nullptr)) {
      return TRUE;
    }
    OnCmdMsg(nID, nCode, nullptr);
    return TRUE;
  }
  return CWnd::OnCommand(wParam, lParam);
}

BOOL CFrameWnd::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST && m_hAccelTable &&
      ::TranslateAcceleratorA(m_hWnd, m_hAccelTable, pMsg))
    return TRUE;
  return FALSE;
}

void CFrameWnd::UpdateMenuItems(HMENU hMenu) {
  CCmdUI state;
  state.m_hMenu = hMenu;
  if (!::IsMenu(hMenu)) return;
  for (UINT i = 0; static_cast<int>(i) < ::GetMenuItemCount(hMenu); i = state.m_nIndex + 1) {
    state.m_nIndex = i;
    UINT id = ::GetMenuItemID(hMenu, static_cast<int>(i));
    if (id == 0 || id == static_cast<UINT>(-1)) continue;  // separator or pop-up
    state.m_nID = id;
    state.m_bEnableChanged = FALSE;
    if (!OnCmdMsg(id, 0, &state)) state.Enable(OnCmdMsg(id, AFX_CN_QUERY_HANDLER, nullptr));
  }
}

LRESULT CFrameWnd::OnInitMenuPopup(WPARAM wParam, LPARAM lParam) {
  if (!HIWORD(lParam)) UpdateMenuItems(reinterpret_cast<HMENU>(wParam));  // not the system menu
  return Default();
}

void CFrameWnd::OnViewStatusBar() {
  CStatusBar* pBar = GetStatusBar();
  if (!pBar) return;
  ::ShowWindow(pBar->m_hWnd, ::IsWindowVisible(pBar->m_hWnd) ? SW_HIDE : SW_SHOWNA);
  RecalcLayout();
}

void CFrameWnd::OnUpdateViewStatusBar(CCmdUI* pCmdUI) {
  CStatusBar* pBar = GetStatusBar();
  pCmdUI->Enable(pBar != nullptr);
  pCmdUI->SetCheck(pBar && ::IsWindowVisible(pBar->m_hWnd));
}

void CFrameWnd::OnUpdateKeyIndicator(CCmdUI* pCmdUI) {
  int vk = pCmdUI->m_nID == ID_INDICATOR_CAPS   ? VK_CAPITAL
           : pCmdUI->m_nID == ID_INDICATOR_NUM  ? VK_NUMLOCK
           : pCmdUI->m_nID == ID_INDICATOR_SCRL ? VK_SCROLL
                                                : VK_KANA;
  pCmdUI->Enable(::GetKeyState(vk) & 1);
}

// ---- status bar texts -------------------------------------------------------------------
CString CFrameWnd::GetMessageString(UINT nID) const {
  CString s;
  if (nID != 0) sdi::ExtractSubString(s, AfxLoadString(nID), 0);
  return s;
}

void CFrameWnd::SetMessageText(const char* lpszText) {
  CStatusBar* pBar = GetStatusBar();
  if (pBar) pBar->SetPaneText(0, lpszText);
}

void CFrameWnd::SetMessageText(UINT nID) { SetMessageText(GetMessageString(nID).c_str()); }

LRESULT CFrameWnd::OnSetMessageString(WPARAM wParam, LPARAM lParam) {
  if (lParam)
    SetMessageText(reinterpret_cast<const char*>(lParam));
  else
    SetMessageText(static_cast<UINT>(wParam));
  m_nIDTracking = static_cast<UINT>(wParam);
  return 0;
}

LRESULT CFrameWnd::OnMenuSelect(WPARAM wParam, LPARAM lParam) {
  UINT flags = HIWORD(wParam);
  if (flags == 0xFFFF && lParam == 0) {  // the menu closed
    SendMessage(WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
  } else if (flags & (MF_POPUP | MF_SEPARATOR | MF_SYSMENU)) {
    SendMessage(WM_SETMESSAGESTRING, 0);
  } else {
    SendMessage(WM_SETMESSAGESTRING, LOWORD(wParam));
  }
  return 0;
}

LRESULT CFrameWnd::OnExitMenuLoop(WPARAM, LPARAM) {
  SendMessage(WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
  return 0;
}

LRESULT CFrameWnd::OnIdleUpdateCmdUI(WPARAM, LPARAM) {
  CStatusBar* pBar = GetStatusBar();
  if (pBar && ::IsWindowVisible(pBar->m_hWnd)) {
    CStatusCmdUI state;
    state.m_pBar = pBar;
    for (int i = 0; i < pBar->GetCount(); ++i) {
      if (pBar->GetItemID(i) == ID_SEPARATOR) continue;
      state.m_nID = pBar->GetItemID(i);
      state.m_nIndex = static_cast<UINT>(i);
      if (!OnCmdMsg(state.m_nID, 0, &state)) state.Enable(FALSE);
    }
  }
  return 0;
}
