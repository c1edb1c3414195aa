#pragma once
#include "AfxCtrl.h"

// The main wizard: authoring form and install form of dialog 102.
class CSetupWizardDlg : public CDialog {
 public:
  explicit CSetupWizardDlg(CWnd* pParent = nullptr);
  ~CSetupWizardDlg() override;

  HICON m_hIcon;

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;
  void OnDestroy();
  DECLARE_MESSAGE_MAP()
};
