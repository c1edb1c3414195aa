// Views, and how framework objects get their windows: a class registered on
// demand, and the object bound to its window at the first message, so WM_CREATE
// already goes through the message map.
#include <cstdio>
#include <map>
#include <tuple>
#include <vector>

#include "AfxDoc.h"

namespace {
CWnd* g_pWndInit = nullptr;  // the object whose window is being created

LRESULT CALLBACK AfxFrameViewWndProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (g_pWndInit && !CWnd::FromHandlePermanent(hWnd)) {
    CWnd* p = g_pWndInit;
    g_pWndInit = nullptr;
    p->Attach(hWnd);
  }
  return AfxWndProc(hWnd, msg, wParam, lParam);
}
}  // namespace

const char* AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon) {
  static std::map<std::tuple<UINT, HCURSOR, HBRUSH, HICON>, std::string> s_names;
  auto key = std::make_tuple(nClassStyle, hCursor, hbrBackground, hIcon);
  auto it = s_names.find(key);
  if (it != s_names.end()) return it->second.c_str();
  char name[96];
  snprintf(name, sizeof name, "Afx:%p:%x:%p:%p:%p", static_cast<void*>(AfxGetInstanceHandle()), nClassStyle,
           static_cast<void*>(hCursor), static_cast<void*>(hbrBackground), static_cast<void*>(hIcon));
  WNDCLASSA wc = {};
  wc.style = nClassStyle;
  wc.lpfnWndProc = AfxFrameViewWndProc;
  wc.hInstance = AfxGetInstanceHandle();
  wc.hCursor = hCursor;
  wc.hbrBackground = hbrBackground;
  wc.hIcon = hIcon;
  wc.lpszClassName = name;
  WNDCLASSA existing;
  if (!::GetClassInfoA(wc.hInstance, name, &existing) && !::RegisterClassA(&wc)) return nullptr;
  return s_names.emplace(key, name).first->second.c_str();
}

BOOL g_bAfxCreateHadWindow = FALSE;

namespace {
std::vector<CWnd*>& DestroyedWnds() {
  static std::vector<CWnd*> s_wnds;
  return s_wnds;
}
}  // namespace

void AfxDeleteWndLater(CWnd* pWnd) { DestroyedWnds().push_back(pWnd); }

void AfxDeleteDestroyedWnds() {
  std::vector<CWnd*> wnds;
  wnds.swap(DestroyedWnds());
  for (CWnd* p : wnds) delete p;
}

BOOL AfxCreateWnd(CWnd* pWnd, CREATESTRUCTA& cs) {
  g_pWndInit = pWnd;
  HWND h = ::CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName, static_cast<DWORD>(cs.style), cs.x, cs.y, cs.cx,
                             cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
  // the window procedure takes the object at the first message; a window refused in
  // WM_CREATE has gone through WM_NCDESTROY, and pWnd may be gone with it
  g_bAfxCreateHadWindow = g_pWndInit == nullptr;
  g_pWndInit = nullptr;
  return h != nullptr;
}

// ---- view ------------------------------------------------------------------------------
BEGIN_MESSAGE_MAP(CView, CWnd)
ON_WM_CREATE()
ON_WM_PAINT()
ON_MESSAGE(WM_INITIALUPDATE, OnInitialUpdateMsg)
END_MESSAGE_MAP()

CView::~CView() {
  if (m_pDocument) m_pDocument->RemoveView(this);
}

void CView::PostNcDestroy() {
  if (!m_pCurrentMsg) {
    delete this;
    return;
  }
  // a message of this view is still being handled; it leaves its document now
  if (m_pDocument) m_pDocument->RemoveView(this);
  AfxDeleteWndLater(this);
}

CFrameWnd* CView::GetParentFrame() const {
  for (HWND h = m_hWnd ? ::GetParent(m_hWnd) : nullptr; h; h = ::GetParent(h)) {
    // frames are the framework's top-level windows; a view sits directly in one
    if (!(::GetWindowLongA(h, GWL_STYLE) & WS_CHILD)) return static_cast<CFrameWnd*>(FromHandlePermanent(h));
  }
  return nullptr;
}

BOOL CView::PreCreateWindow(CREATESTRUCTA& cs) {
  if (!cs.lpszClass)
    cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, ::LoadCursorA(nullptr, IDC_ARROW),
                                       reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
  if (cs.style & WS_BORDER) {  // the sunken edge of today instead of a line
    cs.dwExStyle |= WS_EX_CLIENTEDGE;
    cs.style &= ~WS_BORDER;
  }
  return TRUE;
}

BOOL CView::Create(const char* lpszClassName, const char* lpszWindowName, DWORD dwStyle, const RECT& rect,
                   CWnd* pParentWnd, UINT nID, CCreateContext* pContext) {
  g_bAfxCreateHadWindow = FALSE;
  CREATESTRUCTA cs = {};
  cs.lpszClass = lpszClassName;
  cs.lpszName = lpszWindowName;
  cs.style = static_cast<LONG>(dwStyle);
  cs.x = rect.left;
  cs.y = rect.top;
  cs.cx = rect.right - rect.left;
  cs.cy = rect.bottom - rect.top;
  cs.hwndParent = pParentWnd ? pParentWnd->m_hWnd : nullptr;
  cs.hMenu = reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID));
  cs.hInstance = AfxGetInstanceHandle();
  cs.lpCreateParams = pContext;
  if (!PreCreateWindow(cs)) return FALSE;
  return AfxCreateWnd(this, cs);
}

int CView::OnCreate(LPCREATESTRUCT lpcs) {
  if (Default() == -1) return -1;
  CCreateContext* pContext = static_cast<CCreateContext*>(lpcs->lpCreateParams);
  if (pContext && pContext->m_pCurrentDoc) pContext->m_pCurrentDoc->AddView(this);
  return 0;
}

void CView::OnPaint() {
  PAINTSTRUCT ps;
  CDC dc;
  dc.m_hDC = ::BeginPaint(m_hWnd, &ps);
  OnPrepareDC(&dc, nullptr);
  OnDraw(&dc);
  ::EndPaint(m_hWnd, &ps);
}

LRESULT CView::OnInitialUpdateMsg(WPARAM, LPARAM) {
  OnInitialUpdate();
  return 0;
}

BOOL CView::OnCmdMsg(UINT nID, UINT nCode, CCmdUI* pCmdUI) {
  if (nCode == AFX_CN_QUERY_HANDLER && !pCmdUI) {
    if (FindEntry(WM_COMMAND, 0, nID)) return TRUE;
  } else if (CWnd::OnCmdMsg(nID, nCode, pCmdUI)) {
    return TRUE;
  }
  return m_pDocument && m_pDocument->OnCmdMsg(nID, nCode, pCmdUI);
}
