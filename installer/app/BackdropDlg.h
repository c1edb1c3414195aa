#pragma once
#include "AfxCtrl.h"

// Maximised blue title screen behind the install wizard; runs the wizard itself.
class CBackdropDlg : public CDialog {
 public:
  CBackdropDlg();

  CStatic m_title;
  HICON m_hIcon;
  CFont m_fontTitle;
  CBrush m_brushBack;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  HBRUSH OnCtlColor(HDC hdc, HWND hwnd, UINT nCtlColor);
  DECLARE_MESSAGE_MAP()
};
