#include "SetupWizardDlg.h"

#include <algorithm>
#include <vector>

#include "AdvancedOptionDlg.h"
#include "FolderPicker.h"
#include "Globals.h"
#include "InstallPlan.h"
#include "InstallRun.h"
#include "LoadingWindow.h"
#include "ProfileSection_win.h"
#include "SetupInfo_win.h"
#include "SetupOptions_win.h"
#include "ShellFolders.h"
#include "WizardRules.h"
#include "resource.h"

using namespace setupinfo;

namespace {

const char kOrgKeyWindows[] = "Software\\MicroSoft\\Windows\\CurrentVersion\\";
const char kOrgKeyWindowsNT[] = "Software\\MicroSoft\\Windows NT\\CurrentVersion\\";

// "RegisteredOrganization" of one key, or "" when the key or the value cannot be read.
CString ReadOrganization(const char* subKey) {
  HKEY hKey = nullptr;
  if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, subKey, 0, KEY_ALL_ACCESS, &hKey) != ERROR_SUCCESS) return CString();
  char buf[kBufPath + 1] = "";
  DWORD size = kBufPath;
  LONG r = ::RegQueryValueExA(hKey, "RegisteredOrganization", nullptr, nullptr, reinterpret_cast<BYTE*>(buf), &size);
  ::RegCloseKey(hKey);
  if (r != ERROR_SUCCESS) return CString();
  buf[kBufPath] = '\0';
  return CString(buf);
}

}  // namespace

BEGIN_MESSAGE_MAP(CSetupWizardDlg, CDialog)
ON_WM_PAINT()
ON_WM_QUERYDRAGICON()
ON_WM_DESTROY()
ON_BN_CLICKED(IDC_BROWSE, OnBrowseInstallDir)
ON_BN_CLICKED(IDC_REFRESH, OnRefreshTree)
ON_BN_CLICKED(IDC_ALTITUDE, OnAltitude)
ON_EN_KILLFOCUS(IDC_INSTALLDIR, OnKillFocusInstallDir)
ON_EN_KILLFOCUS(IDC_DELAY, OnKillFocusDelay)
END_MESSAGE_MAP()

CSetupWizardDlg::CSetupWizardDlg(CWnd* pParent) : CDialog(IDD_SETUPWIZARD_DIALOG, pParent) {
  m_hIcon = ::LoadIconA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME));
}

CSetupWizardDlg::~CSetupWizardDlg() { FreeArrays(); }

void CSetupWizardDlg::DoDataExchange(CDataExchange* pDX) {
  DDX_Control(pDX, IDC_BANNER, m_stcBanner);
  DDX_Control(pDX, IDC_TITLE_LABEL, m_stcTitleLabel);
  DDX_Control(pDX, IDC_TITLE, m_edtTitle);
  DDX_Control(pDX, IDC_VERSION, m_edtVersion);
  DDX_Control(pDX, IDC_COMMENTARY, m_edtCommentary);
  DDX_Control(pDX, IDC_TREE_HINT, m_stcTreeHint);
  DDX_Control(pDX, IDC_USERNAME_LABEL, m_stcUserNameLabel);
  DDX_Control(pDX, IDC_USERNAME, m_edtUserName);
  DDX_Control(pDX, IDC_FILETREE, m_treeFiles);
  DDX_Control(pDX, IDC_ORGANIZATION_LABEL, m_stcOrganizationLabel);
  DDX_Control(pDX, IDC_ORGANIZATION, m_edtOrganization);
  DDX_Control(pDX, IDC_INSTALLDIR_FRAME, m_stcInstallDirFrame);
  DDX_Control(pDX, IDC_INSTALLDIR_LABEL, m_stcInstallDirLabel);
  DDX_Control(pDX, IDC_INSTALLDIR, m_edtInstallDir);
  DDX_Control(pDX, IDC_FILECOUNT, m_edtFileCount);
  DDX_Control(pDX, IDC_FILECOUNT_LABEL, m_stcFileCountLabel);
  DDX_Control(pDX, IDC_REFRESH, m_btnRefresh);
  DDX_Control(pDX, IDC_BROWSE, m_btnBrowse);
  DDX_Control(pDX, IDC_STARTUP, m_chkStartup);
  DDX_Control(pDX, IDC_PROGRAM, m_chkProgram);
  DDX_Control(pDX, IDC_DESKTOP, m_chkDesktop);
  DDX_Control(pDX, IDC_ALTITUDE, m_btnAltitude);
  DDX_Control(pDX, IDC_COMPANY, m_edtCompany);
  DDX_Control(pDX, IDC_COMPANY_LABEL, m_stcCompany);
  DDX_Control(pDX, IDC_INSTALL_PROGRESS, m_prgInstall);
  DDX_Control(pDX, IDC_DELAY_LABEL, m_stcDelayLabel);
  DDX_Control(pDX, IDC_DELAY, m_edtDelay);
  DDX_Control(pDX, IDC_REBOOT, m_chkReboot);
  DDX_Control(pDX, IDC_BLUEBACK, m_chkBlueBack);
}

BOOL CSetupWizardDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  SetIcon(m_hIcon, TRUE);
  SetIcon(m_hIcon, FALSE);
  // a second start finds this window by the property and brings it to the front
  ::SetPropA(m_hWnd, GetInstanceName().c_str(), reinterpret_cast<HANDLE>(1));
  HbBeep();

  const CString path = IniPath(g_strSetupDir);
  CString title = GetString(path, kSecSetup, "Title", kDefTitle, kBufTitle);
  CString version = GetString(path, kSecSetup, "Version", kDefVersion, kBufVersion);
  CString company = setupinfo::ReadCompany(path);

  LoadCommentary(path);

  if (g_bAuthorMode) {
    int nFiles;
    if (m_treeFiles.LoadTree() != 0)
      nFiles = GetInt(path, kSecTree, "Files", 0);
    else
      nFiles = m_treeFiles.BuildTree(CString());
    SetDlgItemText(IDC_FILECOUNT, std::to_string(nFiles).c_str());
  }

  const int nCapacity = ListCapacity(path);
  const SetupOptions options = ReadSetupOptions(path, g_strTopRoot, g_strSetupDir, nCapacity);
  m_strInstallDir = options.strInstallDir;
  ShowInstallDirProposal(path, company);

  m_chkStartup.SetCheck(options.nStartUp);
  m_chkProgram.SetCheck(options.nProgram);
  m_chkDesktop.SetCheck(options.nDesktop);
  SetDlgItemText(IDC_DELAY, std::to_string(options.nSTime).c_str());
  m_chkReboot.SetCheck(options.nReboot);
  m_chkBlueBack.SetCheck(options.nBlueBack);

  if (g_bAuthorMode)
    ShowAuthoringForm(title, version, company);
  else
    ShowInstallForm(title, version, company);

  LoadSetupOptions(options, nCapacity);

  HbBeep();
  ILoadingWindow* pLoading = GetLoadingWindow();
  if (g_bAuthorMode && pLoading) pLoading->Hide();
  // run from the backdrop, the backdrop owns the wizard and is shown only now
  HWND hOwner = ::GetWindow(m_hWnd, GW_OWNER);
  if (hOwner) ::ShowWindow(hOwner, SW_SHOWMAXIMIZED);
  // centred only now: the banner font above is sized from the template's position,
  // and in the middle the wizard leaves the backdrop's title line free
  CenterOnWorkArea();
  return TRUE;
}

// The setup options the advanced options edit and the install run uses.
void CSetupWizardDlg::LoadSetupOptions(const SetupOptions& options, int nCapacity) {
  m_strPrgShortCut = options.strPrgShortCut;
  m_strPrgGroup = options.strPrgGroup;
  LoadAltitudeLists(options, nCapacity);
  m_nExecute = options.nExecute;
  m_strReadMe = options.strReadMe;
}

SetupOptions CSetupWizardDlg::GetSetupOptions() const {
  SetupOptions options;
  options.nStartUp = m_chkStartup.GetCheck();
  options.nProgram = m_chkProgram.GetCheck();
  options.nDesktop = m_chkDesktop.GetCheck();
  options.nSTime = ParseProfileInt(m_edtDelay.GetWindowText());
  options.nReboot = m_chkReboot.GetCheck();
  options.nBlueBack = m_chkBlueBack.GetCheck();
  options.strInstallDir = m_strInstallDir;
  options.strPrgShortCut = m_strPrgShortCut;
  options.strPrgGroup = m_strPrgGroup;
  options.groupFiles.assign(m_pGroupFiles, m_pGroupFiles + m_nGroupFiles);
  options.groupShortcutNames.assign(m_pGroupShortcutNames, m_pGroupShortcutNames + m_nGroupShortcuts);
  options.systemFiles.assign(m_pSystemFiles, m_pSystemFiles + m_nSystemFiles);
  options.nExecute = m_nExecute;
  options.strReadMe = m_strReadMe;
  return options;
}

// Stored lines go into the box each with a line break, so the box ends with an empty
// line and a save gives the same lines back.
void CSetupWizardDlg::LoadCommentary(const CString& iniPath) {
  CProfileSection section;
  ReadSection(iniPath, kSecCommentary, section);
  int nStored = section.GetInt("Count", 0);
  int nCount = wizardrules::CommentaryLinesToLoad(nStored);
  std::vector<std::string> lines;
  for (int i = 0; i < nCount; ++i) lines.push_back(section.GetString(EntryKey("_t", i), "", kBufPath));
  m_edtCommentary.SetWindowText(wizardrules::CommentaryText(nStored, lines).c_str());
  if (!lines.empty()) {
    m_edtCommentary.SetFocus();
    int nEnd = ::GetWindowTextLengthA(m_edtCommentary);
    m_edtCommentary.SetSel(nEnd, nEnd);
    m_edtCommentary.SendMessage(EM_SCROLLCARET);
  }
}

// The recorded folder of an earlier install, else the author's fixed folder, else
// Program Files + company + executable title: what a quiet install proposes too.
CString CSetupWizardDlg::ProposeInstallDir(const CString& iniPath, const CString& company) {
  CString select = GetString(iniPath, kSecTree, "Select", "");
  if (!select.empty()) m_strExeTitle = wizardrules::ExeTitle(select);
  return ProposeInstallFolder(iniPath, g_strTopRoot, m_strInstallDir, company);
}

void CSetupWizardDlg::ShowInstallDirProposal(const CString& iniPath, const CString& company) {
  m_edtInstallDir.SetWindowText(ProposeInstallDir(iniPath, company).c_str());
}

void CSetupWizardDlg::ShowAuthoringForm(const CString& title, const CString& version, const CString& company) {
  for (int id : {IDC_BANNER, IDC_USERNAME_LABEL, IDC_ORGANIZATION_LABEL, IDC_USERNAME, IDC_ORGANIZATION})
    ::ShowWindow(GetDlgItem(id), SW_HIDE);
  m_edtCommentary.SetReadOnly(FALSE);
  for (int id : {IDC_BROWSE, IDC_INSTALLDIR_FRAME, IDC_INSTALLDIR_LABEL, IDC_INSTALLDIR, IDC_COMPANY_LABEL,
                 IDC_INSTALL_PROGRESS})
    ::ShowWindow(GetDlgItem(id), SW_HIDE);
  m_edtTitle.SetWindowText(title.c_str());
  m_edtVersion.SetWindowText(version.c_str());
  m_edtCompany.SetWindowText(company.c_str());
}

void CSetupWizardDlg::ShowInstallForm(const CString& title, const CString& version, const CString& company) {
  for (int id :
       {IDC_TITLE_LABEL, IDC_TITLE, IDC_VERSION, IDC_TREE_HINT, IDC_FILECOUNT_LABEL, IDC_FILETREE, IDC_REFRESH})
    ::ShowWindow(GetDlgItem(id), SW_HIDE);
  m_edtOrganization.SetReadOnly(TRUE);
  for (int id : {IDC_FILECOUNT, IDC_DELAY_LABEL, IDC_DELAY, IDC_COMPANY, IDC_ALTITUDE, IDC_REBOOT, IDC_BLUEBACK})
    ::ShowWindow(GetDlgItem(id), SW_HIDE);

  CString banner = title + " " + version;
  RECT rc;
  GetWindowRect(&rc);
  m_fontTitle.CreateFont(38, wizardrules::BannerFontWidth(rc.right, static_cast<int>(banner.size())), 0, 0, 700, TRUE,
                         FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                         DEFAULT_PITCH, "ＭＳ Ｐゴシック");
  m_stcBanner.SetFont(m_fontTitle, TRUE);
  m_stcBanner.SetWindowText(banner.c_str());

  m_stcCompany.SetWindowText(company.c_str());

  char user[kBufPath + 1] = "";
  DWORD size = kBufPath;
  if (::GetUserNameA(user, &size)) {
    user[kBufPath] = '\0';
    m_edtUserName.SetWindowText(user);
  }

  CString organization = ReadOrganization(kOrgKeyWindows);
  if (organization.empty()) organization = ReadOrganization(kOrgKeyWindowsNT);
  m_edtOrganization.SetWindowText(organization.c_str());
}

// The advanced options' lists. One capacity for all four arrays; stored counts are
// cut to it so that a damaged file cannot overrun them. In install form the arrays
// hold every listed entry (up to a bound), so that the install makes every shortcut
// the uninstall will look for.
int CSetupWizardDlg::ListCapacity(const CString& iniPath) const {
  int nItems = static_cast<int>(m_treeFiles.GetCount());
  if (nItems < 0) nItems = 100;
  int nCapacity = nItems + 50;
  if (!g_bAuthorMode) nCapacity = installplan::InstallListCapacity(nCapacity, LargestListCount(iniPath));
  return nCapacity;
}

// The lists as read (each cut to the capacity), in arrays of that capacity.
void CSetupWizardDlg::LoadAltitudeLists(const SetupOptions& options, int nCapacity) {
  FreeArrays();
  m_nArrayCapacity = nCapacity;
  m_pGroupFiles = new CString[m_nArrayCapacity];
  m_pGroupShortcutNames = new CString[m_nArrayCapacity];
  m_pGroupShortcutFiles = new CString[m_nArrayCapacity];
  m_pSystemFiles = new CString[m_nArrayCapacity];

  m_nGroupFiles = static_cast<int>(options.groupFiles.size());
  for (int i = 0; i < m_nGroupFiles; ++i) m_pGroupFiles[i] = options.groupFiles[static_cast<std::size_t>(i)];

  m_nGroupShortcuts = static_cast<int>(options.groupShortcutNames.size());
  for (int i = 0; i < m_nGroupShortcuts; ++i) {
    m_pGroupShortcutNames[i] = options.groupShortcutNames[static_cast<std::size_t>(i)];
    m_pGroupShortcutFiles[i] = m_pGroupFiles[i];
  }

  m_nSystemFiles = static_cast<int>(options.systemFiles.size());
  for (int i = 0; i < m_nSystemFiles; ++i) m_pSystemFiles[i] = options.systemFiles[static_cast<std::size_t>(i)];
}

void CSetupWizardDlg::FreeArrays() {
  delete[] m_pGroupFiles;
  delete[] m_pGroupShortcutNames;
  delete[] m_pGroupShortcutFiles;
  delete[] m_pSystemFiles;
  m_pGroupFiles = m_pGroupShortcutNames = m_pGroupShortcutFiles = m_pSystemFiles = nullptr;
  m_nArrayCapacity = 0;
}

void CSetupWizardDlg::EnableControls(BOOL bEnable) {
  for (int id :
       {IDC_BROWSE, IDC_REFRESH, IDC_ALTITUDE, IDOK, IDCANCEL, IDC_PROGRAM, IDC_STARTUP, IDC_DESKTOP, IDC_INSTALLDIR})
    ::EnableWindow(GetDlgItem(id), bEnable);
}

void CSetupWizardDlg::OnPaint() {
  PAINTSTRUCT ps;
  HDC hdc = ::BeginPaint(m_hWnd, &ps);
  if (::IsIconic(m_hWnd)) {
    ::SendMessageA(m_hWnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0);
    RECT rc;
    GetClientRect(&rc);
    int x = (rc.right - rc.left - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
    int y = (rc.bottom - rc.top - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
    ::DrawIcon(hdc, x, y, m_hIcon);
  }
  ::EndPaint(m_hWnd, &ps);
}

HCURSOR CSetupWizardDlg::OnQueryDragIcon() { return static_cast<HCURSOR>(m_hIcon); }

void CSetupWizardDlg::OnBrowseInstallDir() {
  HbBeep();
  CString start = wizardrules::BrowseStartFolder(m_edtInstallDir.GetWindowText());
  CString chosen = BrowseForFolder(start, "インストール先のフォルダを選択してください...", m_hWnd);
  if (!chosen.empty()) m_edtInstallDir.SetWindowText(chosen.c_str());
  HbBeep();
}

void CSetupWizardDlg::OnRefreshTree() {
  EnableControls(FALSE);
  if (ILoadingWindow* pLoading = GetLoadingWindow()) pLoading->Show();
  HbBeep();
  DWORD dwAttributes = 0;
  CString selected = m_treeFiles.GetSelectedPath(dwAttributes);
  int nFiles = m_treeFiles.BuildTree(selected);
  SetDlgItemText(IDC_FILECOUNT, std::to_string(nFiles).c_str());
  HbBeep();
  if (ILoadingWindow* pLoading = GetLoadingWindow()) pLoading->Hide();
  EnableControls(TRUE);
}

// Without a parent the dialog is owned by this wizard, whose setup options it edits.
void CSetupWizardDlg::OnAltitude() {
  HbBeep();
  CAdvancedOptionDlg dlg;
  dlg.DoModal();
  HbBeep();
}

void CSetupWizardDlg::OnKillFocusInstallDir() {
  CString text = m_edtInstallDir.GetWindowText();
  CString normal =
      wizardrules::NormaliseInstallDir(text, GetProgramFilesFolder(), m_stcCompany.GetWindowText(), m_strExeTitle);
  if (normal != text) m_edtInstallDir.SetWindowText(normal.c_str());
}

void CSetupWizardDlg::OnKillFocusDelay() {
  CString text = m_edtDelay.GetWindowText();
  CString normal = wizardrules::NormaliseDelay(text);
  if (normal != text) m_edtDelay.SetWindowText(normal.c_str());
}

void CSetupWizardDlg::OnOK() {
  if (!g_bAuthorMode) {
    OnInstallRequested();
    return;
  }
  DWORD dwAttributes = 0;
  CString selected = m_treeFiles.GetSelectedPath(dwAttributes);
  if (selected.empty() || (dwAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    MessageBox("ｱﾌﾟﾘｹｰｼｮﾝの実行ﾌｧｲﾙが選択されていません！\n(ﾂﾘｰﾘｽﾄのﾌｧｲﾙ名を確認して下さい。)", "☆設定条件の不備☆",
               MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  EnableControls(FALSE);
  if (SaveSetupInfo()) OfferPack();
  EndDialog(IDOK);
}

BOOL CSetupWizardDlg::RunInstall() {
  CInstallRequest req =
      MakeInstallRequest(GetSetupOptions(), g_strSetupDir, g_strTopRoot, m_edtInstallDir.GetWindowText());
  req.hOwner = m_hWnd;
  req.hProgress = m_prgInstall;
  req.strDelay = m_edtDelay.GetWindowText();  // as typed
  return RunInstallRequest(req);
}

void CSetupWizardDlg::OnInstallRequested() {
  EnableControls(FALSE);
  if (RunInstall())
    EndDialog(IDOK);
  else
    EnableControls(TRUE);
}

void CSetupWizardDlg::OnCancel() {
  // While a run holds the controls locked, its message pump still delivers the close
  // box and Alt+F4 as a cancel: that must not announce a cancel and end the dialog
  // while the run goes on to its end.
  if (!::IsWindowEnabled(GetDlgItem(IDCANCEL))) return;
  EnableControls(FALSE);
  HbBeep();
  if (g_bAuthorMode)
    MessageBox("★ｾｯﾄｱｯﾌﾟの設定はｷｬﾝｾﾙされました。", "ｲﾝｽﾄｰﾙ情報設定の中止", MB_OK | MB_ICONEXCLAMATION);
  else
    MessageBox("★ｲﾝｽﾄｰﾙの実行はｷｬﾝｾﾙされました。", "ｲﾝｽﾄｰﾙ作業の中止", MB_OK | MB_ICONEXCLAMATION);
  EndDialog(IDCANCEL);
}

void CSetupWizardDlg::OnDestroy() {
  ::RemovePropA(m_hWnd, GetInstanceName().c_str());
  FreeArrays();
  m_treeFiles.ClearTree();
}
