#include "WordListDlg.h"

#include "resource.h"

BEGIN_MESSAGE_MAP(CWordListDlg, CDialog)
ON_BN_CLICKED(IDC_WORDLIST_ADD, OnAdd)
ON_BN_CLICKED(IDC_WORDLIST_DELETE, OnDelete)
ON_LBN_SELCHANGE(IDC_WORDLIST_LIST, OnSelChangeList)
END_MESSAGE_MAP()

CWordListDlg::CWordListDlg(CWnd* pParent) : CDialog(IDD_WORDLIST, pParent) {}

void CWordListDlg::SetDocument(CKeyRallyDoc* pDoc) {
  m_pDoc = pDoc;
  m_nCountAtOpening = pDoc ? pDoc->GetWordCount() : 0;
  if (m_nCountAtOpening == 0)
    AfxMessageBox("既存の単語ファイルを読み込むか、新しい単語ファイルを作るのだ!", MB_ICONEXCLAMATION);
}

void CWordListDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_WORDLIST_LIST, m_wndList);
  DDX_Control(pDX, IDC_WORDLIST_ENTRY, m_wndEntry);
}

BOOL CWordListDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  int n = m_pDoc ? m_pDoc->GetWordCount() : 0;
  if (n > m_nCountAtOpening) n = m_nCountAtOpening;
  for (int i = 0; i < n; ++i) m_wndList.AddString(m_pDoc->GetWord(i).c_str());
  return TRUE;  // the entry, first in the tab order, takes the focus
}

void CWordListDlg::OnOK() { OnAdd(); }

void CWordListDlg::ResetEntry() {
  m_wndEntry.SetWindowText("");
  m_wndEntry.SetFocus();
}

void CWordListDlg::OnAdd() {
  CString word = m_wndEntry.GetWindowText();
  // taken as typed: no trimming, duplicates allowed; the document gets the word only
  // when the list box took it, so that item i stays word i
  if (!word.empty() && m_pDoc && m_wndList.AddString(word.c_str()) >= 0) m_pDoc->AddWord(word);
  ResetEntry();
}

void CWordListDlg::OnDelete() {
  CString word = m_wndEntry.GetWindowText();
  if (!word.empty() && m_pDoc) {
    // the first item equal to the text without regard to case
    int i = static_cast<int>(
        m_wndList.SendMessage(LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(word.c_str())));
    if (i != LB_ERR) {
      m_wndList.DeleteString(i);
      m_pDoc->RemoveWord(i);
    }
  }
  ResetEntry();
}

void CWordListDlg::OnSelChangeList() {
  int i = m_wndList.GetCurSel();
  if (i != LB_ERR) m_wndEntry.SetWindowText(m_wndList.GetText(i).c_str());
}
