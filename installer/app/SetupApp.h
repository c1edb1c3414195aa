#pragma once
#include "AfxWin.h"

// The installer's application object: start-up chooses the mode and runs one
// modal main window; the program ends when it closes.
class CSetupApp : public CWinApp {
 public:
  CSetupApp();
  BOOL InitInstance() override;
};
