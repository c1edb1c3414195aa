// The main window: placed from the screen size, with a status bar.
#pragma once
#include "AfxDoc.h"

class CMainFrame : public CFrameWnd {
 protected:
  CMainFrame() = default;
  DECLARE_DYNCREATE(CMainFrame)

 public:
  BOOL PreCreateWindow(CREATESTRUCTA& cs) override;

 protected:
  int OnCreate(LPCREATESTRUCT lpCreateStruct);
  CStatusBar m_wndStatusBar;
  DECLARE_MESSAGE_MAP()
};
