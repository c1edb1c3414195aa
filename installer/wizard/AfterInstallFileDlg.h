// Dialog 133: the author picks, in a tree of the setup folder, the document the install
// opens when it has finished (a read-me or the like).
#pragma once
#include "AfxCtrl.h"
#include "FileTreeCtrl.h"

class CAfterInstallFileDlg : public CDialog {
 public:
  explicit CAfterInstallFileDlg(CWnd* pParent = nullptr);

  CStatic m_stcHeading;      // 1036
  CStatic m_stcExplanation;  // 1046
  CButton m_btnSet;          // IDOK 設定
  CButton m_btnClear;        // IDCANCEL 解除
  CFileTreeCtrl m_treeFiles; // 1027
  CString m_strPath;         // the initial path on entry, the chosen path on return

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;
  void OnDestroy();

  DECLARE_MESSAGE_MAP()
};

// Runs dialog 133 with `initialPath` preselected (the caller shows the loading window
// first: the tree fills during the initialisation). Returns the path of the selected
// item after 設定 (a folder's with its "\"; "" when nothing is selected), "" after
// 解除, Escape or the close box in authoring mode, else the initial path.
CString ChooseAfterInstallFile(const CString& initialPath, CWnd* pOwner = nullptr);
