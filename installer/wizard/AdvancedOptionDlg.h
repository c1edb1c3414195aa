// Dialog 134: the optional parts of an installation (fixed install folder, shortcut and
// group names, extra group files with their shortcut names, files for the Windows
// folder, what starts after the install). Works on copies of the wizard's setup
// options and writes them back on 登録 only.
#pragma once
#include "AdvancedOptions.h"
#include "AfxCtrl.h"
#include "FileTreeCtrl.h"

class CSetupWizardDlg;

class CAdvancedOptionDlg : public CDialog {
 public:
  // Without a parent the wizard, the program's main window, owns the dialog.
  explicit CAdvancedOptionDlg(CWnd* pParent = nullptr);

  CEdit m_edtInstallDir;        // 1070
  CEdit m_edtName;              // 1067, the in-place editor over the name list
  CListBox m_lstNames;          // 1059
  CEdit m_edtPrgGroup;          // 1056
  CFileTreeCtrl m_treeGroup;    // 1062
  CFileTreeCtrl m_treeSystem;   // 1063
  CButton m_chkExecute;         // 1051
  CEdit m_edtPrgShortCut;       // 1054
  CString m_strPrgShortCut;     // text of 1054
  CStatic m_stcReadMe;          // 1052
  CString m_strReadMe;          // text of 1052
  CString m_strPrgGroup;        // text of 1056
  CString m_strInstallDir;      // text of 1070: the fixed folder with its "\", or ""
  CString m_strHint;            // 1070 while no folder is fixed
  // Shortcut names of the group files with the file each belongs to: entry 0 the
  // root's, entry i the name of list entry i - 1.
  advanced::NameTable m_names;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
  BOOL OnInitDialog() override;
  void OnOK() override;

  CSetupWizardDlg* Wizard() const;
  void RefreshNameList();
  void ShowNameList(const std::vector<std::string>& entries);

  void OnSetInstallDir();
  void OnKillFocusInstallDir();
  void OnKillFocusPrgShortCut();
  void OnClearPrgShortCut();
  void OnKillFocusPrgGroup();
  void OnClearPrgGroup();
  void OnKillFocusGroupTree(NMHDR* pNMHDR, LRESULT* pResult);
  void OnRefreshNames();
  void OnClearNames();
  void OnClearGroupTree();
  void OnClearSystemTree();
  void OnDblClkNames();
  void OnKillFocusName();
  void OnSetReadMe();
  void OnClearAll();
  void OnDestroy();

  BOOL m_bDestroying = FALSE;

  DECLARE_MESSAGE_MAP()
};
