#pragma once
#include "AfxCtrl.h"

// The uninstall dialog of dialog 132.
class CUninstallDlg : public CDialog {
 public:
  explicit CUninstallDlg(CWnd* pParent = nullptr);

 protected:
  DECLARE_MESSAGE_MAP()
};
