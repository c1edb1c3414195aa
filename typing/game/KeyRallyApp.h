// The typing program's application object.
#pragma once
#include "AfxDoc.h"

class CKeyRallyApp : public CWinApp {
 public:
  BOOL InitInstance() override;
  BOOL OnCmdMsg(UINT nID, UINT nCode, CCmdUI* pCmdUI) override;
  void OnAppAbout();
};
