#pragma once
#include "AfxCtrl.h"

namespace quietrun {
class CQuietLog;
}

// The uninstall dialog of dialog 132: names the application, reads from the installed
// Setup.ini what the removal needs, and runs the removal on 実行.
class CUninstallDlg : public CDialog {
 public:
  explicit CUninstallDlg(CWnd* pParent = nullptr);
  ~CUninstallDlg() override;

  // The same removal without a person and without the dialog: its boxes' texts go to
  // `log`; returns the exit code.
  int RunQuiet(quietrun::CQuietLog& log);

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override { RunRemoval(); }
  void OnCancel() override;
  void OnDestroy();
  // Reads from the installed Setup.ini what the removal needs besides what it reads itself.
  void LoadSetupInfo();
  // The removal; its exit code in a quiet run (the dialog's run ends the dialog).
  int RunRemoval();
  void FreeArrays();

  quietrun::CQuietLog* m_pQuietLog = nullptr;  // a run without a person

  HICON m_hIcon = nullptr;
  CString m_strExeTitle;
  CString m_strPrgGroup;
  CString m_strPrgShortCut;
  int m_nGroupFiles = 0;
  CString* m_pGroupFiles = nullptr;
  int m_nGroupShortcuts = 0;
  CString* m_pGroupShortcutNames = nullptr;  // m_nGroupFiles + 1 names, paired with m_pGroupFiles
  int m_nSystemFiles = 0;
  CString* m_pSystemFiles = nullptr;

  CStatic m_stcTitle;
  CStatic m_stcCompany;
  CButton m_btnFiles, m_btnFolder, m_btnRegistry, m_btnStartup, m_btnGroup, m_btnDesktop;

  DECLARE_MESSAGE_MAP()
};
