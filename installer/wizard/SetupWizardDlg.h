#pragma once
#include "AfxCtrl.h"
#include "FileTreeCtrl.h"
#include "SetupOptions.h"

// The main wizard: authoring form (describe a distribution, save Setup.ini) and
// install form (propose the install folder and the shortcuts) of dialog 102.
class CSetupWizardDlg : public CDialog {
 public:
  explicit CSetupWizardDlg(CWnd* pParent = nullptr);
  ~CSetupWizardDlg() override;

  // Setup options: filled from Setup.ini, edited by the advanced options, saved with
  // the rest, used by the install run.
  CString m_strExeTitle;
  CString m_strInstallDir;
  CString m_strPrgShortCut;
  CString m_strPrgGroup;
  CString* m_pGroupFiles = nullptr;
  CString* m_pGroupShortcutNames = nullptr;
  CString* m_pGroupShortcutFiles = nullptr;
  CString* m_pSystemFiles = nullptr;
  int m_nGroupFiles = 0;
  int m_nGroupShortcuts = 0;
  int m_nSystemFiles = 0;
  int m_nExecute = 0;
  CString m_strReadMe;
  int m_nArrayCapacity = 0;  // entries of each of the four arrays

  CStatic m_stcBanner;             // 1000
  CStatic m_stcTitleLabel;         // 1018
  CEdit m_edtTitle;                // 1017
  CEdit m_edtVersion;              // 1047
  CEdit m_edtCommentary;           // 1008
  CStatic m_stcTreeHint;           // 1023
  CStatic m_stcUserNameLabel;      // 1020
  CEdit m_edtUserName;             // 1009
  CFileTreeCtrl m_treeFiles;       // 1041
  CStatic m_stcOrganizationLabel;  // 1019
  CEdit m_edtOrganization;         // 1010
  CStatic m_stcInstallDirFrame;    // 1042
  CStatic m_stcInstallDirLabel;    // 1043
  CEdit m_edtInstallDir;           // 1068
  CEdit m_edtFileCount;            // 1035
  CStatic m_stcFileCountLabel;     // 1044
  CButton m_btnRefresh;            // 1034
  CButton m_btnBrowse;             // 1011
  CButton m_chkStartup;            // 1003
  CButton m_chkProgram;            // 1004
  CButton m_chkDesktop;            // 1005
  CButton m_btnAltitude;           // 1046
  CEdit m_edtCompany;              // 1040
  CStatic m_stcCompany;            // 1039
  CProgressCtrl m_prgInstall;      // 1013
  CStatic m_stcDelayLabel;         // 1038
  CEdit m_edtDelay;                // 1037
  CButton m_chkReboot;             // 1045
  CButton m_chkBlueBack;           // 1069

  HICON m_hIcon;
  CFont m_fontTitle;

  // Enables or disables, together, the controls a long operation must lock.
  void EnableControls(BOOL bEnable);
  // Writes everything the author set into Setup.ini (SaveSetupInfo.cpp); FALSE when
  // its first write failed.
  BOOL SaveSetupInfo();
  // After a save: asks whether to pack the folder into one file, and packs it.
  void OfferPack();
  // Installs from the install form: the request the setup options make, with the
  // form's folder, check boxes and pause; FALSE when the run stopped early and the
  // wizard stays open.
  BOOL RunInstall();
  // The setup options as the wizard holds them now (the advanced options edit them).
  setupinfo::SetupOptions GetSetupOptions() const;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;

  void OnPaint();
  HCURSOR OnQueryDragIcon();
  void OnBrowseInstallDir();
  void OnRefreshTree();
  void OnAltitude();
  void OnKillFocusInstallDir();
  void OnKillFocusDelay();
  void OnDestroy();

  // Parts of the initialisation (SetupWizardDlg.cpp).
  void LoadCommentary(const CString& iniPath);
  CString ProposeInstallDir(const CString& iniPath, const CString& company);
  void ShowInstallDirProposal(const CString& iniPath, const CString& company);
  // The capacity of the advanced lists' arrays for this form.
  int ListCapacity(const CString& iniPath) const;
  void LoadSetupOptions(const setupinfo::SetupOptions& options, int nCapacity);
  void ShowAuthoringForm(const CString& title, const CString& version, const CString& company);
  void ShowInstallForm(const CString& title, const CString& version, const CString& company);
  void LoadAltitudeLists(const setupinfo::SetupOptions& options, int nCapacity);
  void FreeArrays();

  // Install form's 登録: install, and close once the run went to its end.
  void OnInstallRequested();

  DECLARE_MESSAGE_MAP()
};
