#include "UninstallDlg.h"

#include "FolderRules.h"
#include "Globals.h"
#include "ProfileSection_win.h"
#include "QuietRun.h"
#include "RemovalLog.h"
#include "RemovalOs_win.h"
#include "SetupInfo_win.h"
#include "ShellFolders.h"
#include "resource.h"

using setupinfo::CProfileSection;

BEGIN_MESSAGE_MAP(CUninstallDlg, CDialog)
  ON_WM_DESTROY()
END_MESSAGE_MAP()

namespace {

UINT BoxIconStyle(uninstall::BoxIcon icon) {
  switch (icon) {
    case uninstall::BoxIcon::Information: return MB_ICONINFORMATION;
    case uninstall::BoxIcon::Exclamation: return MB_ICONEXCLAMATION;
    case uninstall::BoxIcon::Question: return MB_ICONQUESTION;
    case uninstall::BoxIcon::Stop: return MB_ICONHAND;
  }
  return 0;
}

int ShowBox(CWnd& owner, const uninstall::BoxText& box) {
  return owner.MessageBox(box.strText.c_str(), box.strCaption.c_str(), MB_OK | BoxIconStyle(box.icon));
}

// Entries 0 to nRead - 1 of a list into an array of nRoom entries; what does not fit
// is not stored.
void ReadListInto(const CProfileSection& section, const char* prefix, int nRead, CString* pArray, int nRoom) {
  for (int i = 0; i < nRead && i < nRoom; ++i)
    pArray[i] = uninstall::ListEntry(section, prefix, i, g_strTopRoot, g_strSetupDir);
}

}  // namespace

CUninstallDlg::CUninstallDlg(CWnd* pParent) : CDialog(IDD_UNINSTALL, pParent) {
  m_hIcon = ::LoadIconA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME));
}

CUninstallDlg::~CUninstallDlg() { FreeArrays(); }

void CUninstallDlg::DoDataExchange(CDataExchange* pDX) {
  DDX_Control(pDX, IDC_UNINSTALL_TITLE, m_stcTitle);
  DDX_Control(pDX, IDC_UNINSTALL_COMPANY, m_stcCompany);
  DDX_Control(pDX, IDC_UNINSTALL_FILES, m_btnFiles);
  DDX_Control(pDX, IDC_UNINSTALL_FOLDER, m_btnFolder);
  DDX_Control(pDX, IDC_UNINSTALL_REGISTRY, m_btnRegistry);
  DDX_Control(pDX, IDC_UNINSTALL_STARTUP, m_btnStartup);
  DDX_Control(pDX, IDC_UNINSTALL_GROUP, m_btnGroup);
  DDX_Control(pDX, IDC_UNINSTALL_DESKTOP, m_btnDesktop);
}

BOOL CUninstallDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  SetIcon(m_hIcon, TRUE);
  SetIcon(m_hIcon, FALSE);
  HbBeep();

  LoadSetupInfo();
  m_stcTitle.SetWindowText((m_strExeTitle + m_stcTitle.GetWindowText()).c_str());
  CProfileSection setup;
  setupinfo::ReadSection(setupinfo::IniPath(g_strSetupDir), setupinfo::kSecSetup, setup);
  // a Name that is present but empty gives an empty line here
  m_stcCompany.SetWindowText(setup.GetString("Name", setupinfo::kDefName, setupinfo::kBufName).c_str());
  // the program's only window: in the middle of the screen, as the wizard is
  CenterOnWorkArea();
  return TRUE;
}

void CUninstallDlg::LoadSetupInfo() {
  CString iniPath = setupinfo::IniPath(g_strSetupDir);
  CProfileSection tree, altitude;
  setupinfo::ReadSection(iniPath, setupinfo::kSecTree, tree);
  setupinfo::ReadSection(iniPath, setupinfo::kSecAltitude, altitude);

  g_strTopRoot = uninstall::TopRootForRemoval(tree.GetString("TopRoot", "", setupinfo::kBufPath), g_strSetupDir);
  m_strExeTitle = setupinfo::ExeTitle(tree.GetString("Select", "", setupinfo::kBufPath));
  m_strPrgShortCut = altitude.GetString("PrgShortCut", "", setupinfo::kBufPath);
  m_strPrgGroup = altitude.GetString("PrgGroup", "", setupinfo::kBufPath);

  FreeArrays();
  CProfileSection group, names, system;
  setupinfo::ReadSection(iniPath, setupinfo::kSecGroup, group);
  setupinfo::ReadSection(iniPath, setupinfo::kSecGrpSC, names);
  setupinfo::ReadSection(iniPath, setupinfo::kSecSystem, system);
  m_nGroupFiles = uninstall::ListReadCount(group.GetInt("Files", 0), group.GetKeyCount());
  m_pGroupFiles = new CString[m_nGroupFiles + 1];
  ReadListInto(group, "_g", m_nGroupFiles, m_pGroupFiles, m_nGroupFiles + 1);
  // the names pair with the group files: the array has their room, not its own count's
  m_nGroupShortcuts = uninstall::ListReadCount(names.GetInt("Files", 0), names.GetKeyCount());
  m_pGroupShortcutNames = new CString[m_nGroupFiles + 1];
  ReadListInto(names, "_c", m_nGroupShortcuts, m_pGroupShortcutNames, m_nGroupFiles + 1);
  m_nSystemFiles = uninstall::ListReadCount(system.GetInt("Files", 0), system.GetKeyCount());
  m_pSystemFiles = new CString[m_nSystemFiles + 1];
  ReadListInto(system, "_s", m_nSystemFiles, m_pSystemFiles, m_nSystemFiles + 1);
}

int CUninstallDlg::RunQuiet(quietrun::CQuietLog& log) {
  m_pQuietLog = &log;
  LoadSetupInfo();
  return RunRemoval();
}

void CUninstallDlg::OnCancel() {
  HbBeep();
  ShowBox(*this, uninstall::CancelBox());
  EndDialog(IDCANCEL);
}

void CUninstallDlg::OnDestroy() { FreeArrays(); }

void CUninstallDlg::FreeArrays() {
  delete[] m_pGroupFiles;
  delete[] m_pGroupShortcutNames;
  delete[] m_pSystemFiles;
  m_pGroupFiles = m_pGroupShortcutNames = m_pSystemFiles = nullptr;
}

// A quiet run has no dialog: no beep, no buttons, no indicators; the boxes' texts go
// to its log.
int CUninstallDlg::RunRemoval() {
  if (!m_pQuietLog) {
    ::Beep(500, 30);
    ::EnableWindow(GetDlgItem(IDOK), FALSE);
    ::EnableWindow(GetDlgItem(IDCANCEL), FALSE);
  }

  CString iniPath = setupinfo::IniPath(g_strSetupDir);
  int nSTime = setupinfo::GetInt(iniPath, setupinfo::kSecSetup, "STime", -1);
  if (uninstall::SetupInfoMissing(nSTime)) {
    if (m_pQuietLog) {
      m_pQuietLog->Report(uninstall::SetupInfoMissingBox().strText);
      return quietrun::kExitWrongUse;
    }
    ShowBox(*this, uninstall::SetupInfoMissingBox());
    ::ExitProcess(0);  // nothing has been removed
  }

  uninstall::RemovalInputs in;
  in.strWindowsDir = WindowsFolder();
  // the install folder cannot go while it is this process's current folder ("-t.\")
  ::SetCurrentDirectoryA(in.strWindowsDir.c_str());
  in.strSetupDir = g_strSetupDir;
  in.strTopRoot = g_strTopRoot;
  in.strExeTitle = m_strExeTitle;
  in.strPrgShortCut = m_strPrgShortCut;
  in.strPrgGroup = m_strPrgGroup;
  in.pGroupFiles = m_pGroupFiles;
  in.pGroupShortcutNames = m_pGroupShortcutNames;
  in.nGroupFiles = m_nGroupFiles;
  in.pSystemFiles = m_pSystemFiles;
  in.nSystemFiles = m_nSystemFiles;
  in.strStartupFolder = GetStartupFolder();
  in.strDesktopFolder = GetDesktopFolder();
  in.strProgramsFolder = GetProgramsFolder();
  in.bResumed = setupinfo::GetInt(iniPath, setupinfo::kSecSetup, kRemovalKeptKey, 0) == 1;

  CProfileSection tree;
  setupinfo::ReadSection(iniPath, setupinfo::kSecTree, tree);
  CRemovalOs os(m_hWnd, iniPath);
  uninstall::CLoggedRemovalOs logged(os, m_pQuietLog);
  // the pause lets a person watch the steps: without one, none
  uninstall::RemovalCounts counts = uninstall::RunRemovalSteps(in, tree, m_pQuietLog ? 0 : nSTime, logged);
  if (m_pQuietLog) {
    m_pQuietLog->Report(uninstall::ResultBox(counts).strText);
    return quietrun::RemovalExitCode(counts.nFiles, counts.nFolders, counts.nShortcuts);
  }

  HbBeep();
  ShowBox(*this, uninstall::ResultBox(counts));
  CDialog::OnOK();
  return quietrun::kExitDone;
}
