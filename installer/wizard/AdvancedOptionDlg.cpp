#include "AdvancedOptionDlg.h"

#include "AfterInstallFileDlg.h"
#include "FolderPicker.h"
#include "Globals.h"
#include "LoadingWindow.h"
#include "Mbcs.h"
#include "SetupWizardDlg.h"
#include "resource.h"

namespace {

const char kBrowseTitle[] = "☆ｲﾝｽﾄｰﾙ先のﾌｫﾙﾀﾞを選択してください(初回ｲﾝｽﾄｰﾙ時のみ有効)";
constexpr std::size_t kNameBuffer = 260;  // the in-place editor's text is read into this

// The used entries of one of the wizard's lists (never beyond its arrays).
std::vector<std::string> UsedEntries(const CString* pArray, int nCount, int nCapacity) {
  std::vector<std::string> out;
  if (!pArray) return out;
  int n = nCount < nCapacity ? nCount : nCapacity;
  for (int i = 0; i < n; ++i) out.push_back(pArray[i]);
  return out;
}

// Writes a list into one of the wizard's arrays; the entries after it are emptied, so
// that no earlier, longer list shows through. Returns the number of entries.
int StoreEntries(CString* pArray, int nCapacity, const std::vector<std::string>& list) {
  if (!pArray) return 0;
  int n = 0;
  for (int i = 0; i < nCapacity; ++i) {
    if (static_cast<std::size_t>(i) < list.size()) {
      pArray[i] = list[static_cast<std::size_t>(i)];
      ++n;
    } else {
      pArray[i].clear();
    }
  }
  return n;
}

// Builds a tree from the disk without ticks; its root, which has no button of its own,
// shows its contents.
void RebuildTree(CFileTreeCtrl& tree) {
  tree.BuildTree(CString());
  tree.Expand(tree.GetRootItem(), TVE_EXPAND);
}

// Sets a tree's check-box style once more after its creation, as the control wants it
// before it is filled: with the style from the template alone, ticks set before the
// dialog first shows are lost.
void RenewCheckBoxes(HWND hTree) {
  LONG style = ::GetWindowLongA(hTree, GWL_STYLE);
  ::SetWindowLongA(hTree, GWL_STYLE, style & ~TVS_CHECKBOXES);
  ::SetWindowLongA(hTree, GWL_STYLE, style | TVS_CHECKBOXES);
}

}  // namespace

BEGIN_MESSAGE_MAP(CAdvancedOptionDlg, CDialog)
ON_BN_CLICKED(IDC_ALT_SETDIR, OnSetInstallDir)
ON_EN_KILLFOCUS(IDC_ALT_INSTALLDIR, OnKillFocusInstallDir)
ON_EN_KILLFOCUS(IDC_ALT_SHORTCUT, OnKillFocusPrgShortCut)
ON_BN_CLICKED(IDC_ALT_CLEARSHORTCUT, OnClearPrgShortCut)
ON_EN_KILLFOCUS(IDC_ALT_GROUP, OnKillFocusPrgGroup)
ON_BN_CLICKED(IDC_ALT_CLEARGROUP, OnClearPrgGroup)
ON_NOTIFY(NM_KILLFOCUS, IDC_ALT_GROUPTREE, OnKillFocusGroupTree)
ON_BN_CLICKED(IDC_ALT_REFRESHNAMES, OnRefreshNames)
ON_BN_CLICKED(IDC_ALT_CLEARNAMES, OnClearNames)
ON_BN_CLICKED(IDC_ALT_CLEARGROUPTREE, OnClearGroupTree)
ON_BN_CLICKED(IDC_ALT_CLEARSYSTEMTREE, OnClearSystemTree)
ON_LBN_DBLCLK(IDC_ALT_NAMELIST, OnDblClkNames)
ON_EN_KILLFOCUS(IDC_ALT_NAMEEDIT, OnKillFocusName)
ON_BN_CLICKED(IDC_ALT_SETREADME, OnSetReadMe)
ON_BN_CLICKED(IDC_ALT_CLEARALL, OnClearAll)
ON_WM_DESTROY()
END_MESSAGE_MAP()

CAdvancedOptionDlg::CAdvancedOptionDlg(CWnd* pParent)
    : CDialog(IDD_ALTITUDE, pParent), m_strReadMe(advanced::kReadMeHint), m_strHint(advanced::kFolderHint) {
  // two trees are filled before the dialog shows
  if (ILoadingWindow* pLoading = GetLoadingWindow()) pLoading->Show();
}

void CAdvancedOptionDlg::DoDataExchange(CDataExchange* pDX) {
  DDX_Control(pDX, IDC_ALT_INSTALLDIR, m_edtInstallDir);
  DDX_Control(pDX, IDC_ALT_NAMEEDIT, m_edtName);
  DDX_Control(pDX, IDC_ALT_NAMELIST, m_lstNames);
  DDX_Control(pDX, IDC_ALT_GROUP, m_edtPrgGroup);
  DDX_Control(pDX, IDC_ALT_GROUPTREE, m_treeGroup);
  DDX_Control(pDX, IDC_ALT_SYSTEMTREE, m_treeSystem);
  DDX_Control(pDX, IDC_ALT_EXECUTE, m_chkExecute);
  DDX_Control(pDX, IDC_ALT_SHORTCUT, m_edtPrgShortCut);
  DDX_Text(pDX, IDC_ALT_SHORTCUT, m_strPrgShortCut);
  DDX_Control(pDX, IDC_ALT_READMETEXT, m_stcReadMe);
  DDX_Text(pDX, IDC_ALT_READMETEXT, m_strReadMe);
  DDX_Text(pDX, IDC_ALT_GROUP, m_strPrgGroup);
  DDX_Text(pDX, IDC_ALT_INSTALLDIR, m_strInstallDir);
}

// Enter moves on to the next control (and so commits the edit it leaves) instead of
// pressing 登録; Escape does not close the dialog.
BOOL CAdvancedOptionDlg::PreTranslateMessage(MSG* pMsg) {
  bool mine = m_hWnd && (pMsg->hwnd == m_hWnd || ::IsChild(m_hWnd, pMsg->hwnd));
  if (mine && pMsg->message == WM_KEYDOWN) {
    if (pMsg->wParam == VK_RETURN) {
      ::keybd_event(VK_TAB, 0, 0, 0);
      ::keybd_event(VK_TAB, 0, KEYEVENTF_KEYUP, 0);  // not left held down
      return TRUE;
    }
    if (pMsg->wParam == VK_ESCAPE) return TRUE;
  }
  return CDialog::PreTranslateMessage(pMsg);
}

CSetupWizardDlg* CAdvancedOptionDlg::Wizard() const {
  return dynamic_cast<CSetupWizardDlg*>(CWnd::FromHandlePermanent(::GetWindow(m_hWnd, GW_OWNER)));
}

BOOL CAdvancedOptionDlg::OnInitDialog() {
  CDialog::OnInitDialog();  // 1052 shows the open-after hint
  CSetupWizardDlg* w = Wizard();
  const int cap = w ? w->m_nArrayCapacity : 0;

  m_strInstallDir = w ? w->m_strInstallDir : CString();
  m_edtInstallDir.SetWindowText(advanced::FixedFolderText(m_strInstallDir).c_str());
  m_strPrgShortCut = w ? w->m_strPrgShortCut : CString();
  m_edtPrgShortCut.SetWindowText(m_strPrgShortCut.c_str());
  m_strPrgGroup = w ? w->m_strPrgGroup : CString();
  m_edtPrgGroup.SetWindowText(m_strPrgGroup.c_str());

  RenewCheckBoxes(m_treeGroup);
  RenewCheckBoxes(m_treeSystem);
  // only the used entries are ticked: an earlier, longer list may lie beyond them
  RebuildTree(m_treeGroup);
  if (w) m_treeGroup.CheckPaths(UsedEntries(w->m_pGroupFiles, w->m_nGroupFiles, cap));
  std::vector<std::string> names, files;
  if (w) {
    names = UsedEntries(w->m_pGroupShortcutNames, w->m_nGroupShortcuts, cap);
    files = UsedEntries(w->m_pGroupShortcutFiles, w->m_nGroupShortcuts, cap);
  }
  ShowNameList(m_names.Load(m_treeGroup.GetCount(), names, files));

  RebuildTree(m_treeSystem);
  if (w) m_treeSystem.CheckPaths(UsedEntries(w->m_pSystemFiles, w->m_nSystemFiles, cap));

  m_chkExecute.SetCheck(w && w->m_nExecute ? BST_CHECKED : BST_UNCHECKED);
  m_strReadMe = w ? w->m_strReadMe : CString();
  if (!m_strReadMe.empty()) m_stcReadMe.SetWindowText(m_strReadMe.c_str());

  HbBeep();
  if (ILoadingWindow* pLoading = GetLoadingWindow()) pLoading->Hide();
  return TRUE;
}

void CAdvancedOptionDlg::ShowNameList(const std::vector<std::string>& entries) {
  m_lstNames.ResetContent();
  for (const std::string& name : entries) m_lstNames.AddString(name.c_str());
}

void CAdvancedOptionDlg::RefreshNameList() {
  if (!m_treeGroup.GetRootItem()) return;
  std::vector<CString> ticked;
  m_treeGroup.GetTickedPaths(ticked);
  ShowNameList(m_names.Refresh(ticked));
}

void CAdvancedOptionDlg::OnSetInstallDir() {
  HbBeep();
  CString start = m_strInstallDir.empty() ? g_strSetupDir : m_strInstallDir;
  CString chosen = BrowseForFolder(start, kBrowseTitle, m_hWnd);
  if (!chosen.empty()) {
    m_strInstallDir = chosen;
    m_edtInstallDir.SetWindowText(chosen.c_str());
  }
  HbBeep();
}

void CAdvancedOptionDlg::OnKillFocusInstallDir() {
  CString text = m_edtInstallDir.GetWindowText();
  advanced::FixedFolder f = advanced::NormaliseFixedFolder(text);
  m_strInstallDir = f.strFolder;
  if (f.strText != text) m_edtInstallDir.SetWindowText(f.strText.c_str());
}

void CAdvancedOptionDlg::OnKillFocusPrgShortCut() { m_strPrgShortCut = m_edtPrgShortCut.GetWindowText(); }

void CAdvancedOptionDlg::OnClearPrgShortCut() {
  m_strPrgShortCut.clear();
  m_edtPrgShortCut.SetWindowText("");
}

void CAdvancedOptionDlg::OnKillFocusPrgGroup() { m_strPrgGroup = m_edtPrgGroup.GetWindowText(); }

void CAdvancedOptionDlg::OnClearPrgGroup() {
  m_strPrgGroup.clear();
  m_edtPrgGroup.SetWindowText("");
}

// Leaving the group tree brings a name list already shown up to date with the ticks.
void CAdvancedOptionDlg::OnKillFocusGroupTree(NMHDR*, LRESULT* pResult) {
  if (!m_bDestroying && m_lstNames.GetCount() > 0) RefreshNameList();
  *pResult = 0;
}

void CAdvancedOptionDlg::OnRefreshNames() { RefreshNameList(); }

void CAdvancedOptionDlg::OnClearNames() { m_lstNames.ResetContent(); }

void CAdvancedOptionDlg::OnClearGroupTree() {
  RebuildTree(m_treeGroup);
  m_lstNames.ResetContent();
}

void CAdvancedOptionDlg::OnClearSystemTree() { RebuildTree(m_treeSystem); }

// A double-click without a selected entry opens no editor.
void CAdvancedOptionDlg::OnDblClkNames() {
  int s = m_lstNames.GetCurSel();
  if (s < 0) return;
  RECT rc;
  if (m_lstNames.SendMessage(LB_GETITEMRECT, s, reinterpret_cast<LPARAM>(&rc)) == LB_ERR) return;
  ::MapWindowPoints(m_lstNames, m_hWnd, reinterpret_cast<POINT*>(&rc), 2);
  m_edtName.SetWindowText(m_lstNames.GetText(s).c_str());
  m_edtName.SetWindowPos(HWND_TOP, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                         SWP_SHOWWINDOW | SWP_NOCOPYBITS);
  m_edtName.SetFocus();
}

void CAdvancedOptionDlg::OnKillFocusName() {
  if (m_bDestroying || !m_edtName.IsWindowVisible()) return;
  CString text = mbcs::FitBuffer(m_edtName.GetWindowText(), kNameBuffer);
  int s = m_lstNames.GetCurSel();
  if (s >= 0) {
    m_lstNames.DeleteString(s);
    m_lstNames.InsertString(s, text.c_str());
    m_lstNames.SetCurSel(s);
    m_names.Rename(s, text);
  }
  m_edtName.ShowWindow(SW_HIDE);
  // not when the focus went to another program: that would take it back
  if (::GetActiveWindow() == m_hWnd) m_lstNames.SetFocus();
}

void CAdvancedOptionDlg::OnSetReadMe() {
  if (ILoadingWindow* pLoading = GetLoadingWindow()) pLoading->Show();
  CString start = m_strReadMe.empty() ? g_strSetupDir : m_strReadMe;
  m_strReadMe = ChooseAfterInstallFile(start, this);
  m_stcReadMe.SetWindowText(advanced::ReadMeText(m_strReadMe).c_str());
}

void CAdvancedOptionDlg::OnClearAll() {
  HbBeep();
  m_strInstallDir.clear();
  m_edtInstallDir.SetWindowText(m_strHint.c_str());
  OnClearPrgShortCut();
  OnClearPrgGroup();
  m_lstNames.ResetContent();
  OnClearGroupTree();
  OnClearSystemTree();
  m_chkExecute.SetCheck(BST_UNCHECKED);
  m_strReadMe.clear();
  m_stcReadMe.SetWindowText(advanced::kReadMeHint);
}

void CAdvancedOptionDlg::OnOK() {
  CSetupWizardDlg* w = Wizard();
  if (w) {
    w->m_strInstallDir = m_strInstallDir;
    w->m_strPrgShortCut = m_strPrgShortCut;
    w->m_strPrgGroup = m_strPrgGroup;

    // A list shown is brought up to date with the ticks first, as leaving the tree
    // would, so that each name is saved beside its own file; the pairs go back too,
    // for the next opening.
    if (m_lstNames.GetCount() > 0) RefreshNameList();
    std::vector<CString> group, system;
    m_treeGroup.GetTickedPaths(group);
    m_treeSystem.GetTickedPaths(system);
    advanced::CopyBack back = advanced::MakeCopyBack(group, m_lstNames.GetCount(), m_names, system, g_strSetupDir,
                                                     w->m_nArrayCapacity);
    const int cap = w->m_nArrayCapacity;
    w->m_nGroupFiles = StoreEntries(w->m_pGroupFiles, cap, back.groupFiles);
    w->m_nGroupShortcuts = StoreEntries(w->m_pGroupShortcutNames, cap, back.shortcutNames);
    StoreEntries(w->m_pGroupShortcutFiles, cap, back.shortcutFiles);
    w->m_nSystemFiles = StoreEntries(w->m_pSystemFiles, cap, back.systemFiles);

    w->m_nExecute = m_chkExecute.GetCheck() == BST_CHECKED ? 1 : 0;
    w->m_strReadMe = m_strReadMe;
  }
  CDialog::OnOK();
}

void CAdvancedOptionDlg::OnDestroy() {
  m_bDestroying = TRUE;
  m_names.Clear();
  m_treeGroup.ClearTree();
  m_treeSystem.ClearTree();
}
