// The word list editor (dialog 136): words are added and deleted straight in the
// document's list; there is no OK step, Esc or the close box ends it. Item i of the
// unsorted list box is always word i of the document.
#pragma once
#include "AfxCtrl.h"
#include "KeyRallyDoc.h"

class CWordListDlg : public CDialog {
 public:
  explicit CWordListDlg(CWnd* pParent = nullptr);
  // Before DoModal: the document to edit; an empty one gets the prompt to load or
  // make a word file first (the dialog opens all the same).
  void SetDocument(CKeyRallyDoc* pDoc);

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override;  // Enter adds the word
  void OnAdd();
  void OnDelete();
  void OnSelChangeList();
  // Empties the entry and gives it the keyboard.
  void ResetEntry();
  DECLARE_MESSAGE_MAP()

  CKeyRallyDoc* m_pDoc = nullptr;
  int m_nCountAtOpening = 0;
  CListBox m_wndList;
  CEdit m_wndEntry;
};
