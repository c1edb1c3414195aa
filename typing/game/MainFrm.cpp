#include "MainFrm.h"

#include "FramePlacement.h"
#include "resource.h"

IMPLEMENT_DYNCREATE(CMainFrame, CFrameWnd)

BEGIN_MESSAGE_MAP(CMainFrame, CFrameWnd)
ON_WM_CREATE()
END_MESSAGE_MAP()

namespace {
const UINT indicators[] = {
    ID_SEPARATOR,  // the message pane
    ID_INDICATOR_KANA, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL,
};
}  // namespace

int CMainFrame::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CFrameWnd::OnCreate(lpCreateStruct) == -1) return -1;
  if (!m_wndStatusBar.Create(this) || !m_wndStatusBar.SetIndicators(indicators, sizeof indicators / sizeof(UINT)))
    return -1;
  return 0;
}

BOOL CMainFrame::PreCreateWindow(CREATESTRUCTA& cs) {
  if (!CFrameWnd::PreCreateWindow(cs)) return FALSE;
  FramePlacement p = MainFramePlacement(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
  cs.cy = p.cy;
  cs.cx = p.cx;
  cs.y = p.y;
  cs.x = p.x;
  return CFrameWnd::PreCreateWindow(cs);
}
