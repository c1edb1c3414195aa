#include "SetupApp.h"

#include <memory>

#include "BackdropDlg.h"
#include "Globals.h"
#include "InstallRun.h"
#include "LoadingDlg.h"
#include "PackageStart_win.h"
#include "ProtectedFolders_win.h"
#include "QuietLog_win.h"
#include "QuietStart.h"
#include "SetupInfo_win.h"
#include "SetupWizardDlg.h"
#include "StartMode.h"
#include "UninstallDlg.h"
#include "resource.h"

CString g_strSetupDir;
CString g_strTopRoot;
int g_bAuthorMode = 0;
CLoadingDlg* g_pLoadingDlg = nullptr;

CSetupApp theApp;

namespace {

const char kCaptionApp[] = "Hanbell/TOVANE Soft Application.";
const char kCaptionUninstallError[] = "Hanbell/UnInstall Error!";
const char kTextNoOption[] =
    "☆単独では動作しません。ｵﾌﾟｼｮﾝの指定が必要です...\n\n"
    "（注:\\Windows ﾌｫﾙﾀﾞ内にある『Hanbell.exe』が起動されています。）";
const char kTextNoTarget[] = "☆ｵﾌﾟｼｮﾝの指定に誤りがあります(/d ｵﾌﾟｼｮﾝ)...";
const char kTextNoSetupInfo[] = "☆ｾｯﾄｱｯﾌﾟ情報が欠落しているため実行できません...";
const char kTextMisuseD[] = "☆Hanbellの使い方が不正です。(/d ｵﾌﾟｼｮﾝ)...";
const char kTextQuietAuthoring[] = "☆Hanbellの使い方が不正です。(/q ｵﾌﾟｼｮﾝ)...";

void WrongUse(const char* text, const char* caption, UINT icon) {
  HbBeep();
  ::MessageBoxA(nullptr, text, caption, MB_OK | icon);
}

// Restores and raises the running copy's wizard; it carries the property.
void ActivateRunningCopy(const CString& name) {
  for (HWND h = ::GetWindow(::GetDesktopWindow(), GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
    if (!::GetPropA(h, name.c_str())) continue;
    if (::IsIconic(h)) ::ShowWindow(h, SW_RESTORE);
    ::SetForegroundWindow(h);
    ::SetForegroundWindow(::GetLastActivePopup(h));
    return;
  }
}

// A run without a person: the install or the removal with their windows, boxes,
// beeps and questions left out, or the wrong-use text; every start but a second copy
// writes its log. Returns the exit code.
int RunQuiet(const startmode::Plan& plan) {
  CQuietLogFile log(quietrun::LogNameOf(plan.action));
  switch (plan.action) {
    case startmode::Action::Install:
      return RunQuietInstall(g_strSetupDir, g_strTopRoot, plan.strFolder, log);
    case startmode::Action::Uninstall: {
      g_strSetupDir = plan.strFolder;
      CUninstallDlg dlg(nullptr);
      return dlg.RunQuiet(log);
    }
    case startmode::Action::ErrNoOption: log.Report(kTextNoOption); break;
    case startmode::Action::ErrNoTarget: log.Report(kTextNoTarget); break;
    case startmode::Action::ErrMisuseD: log.Report(kTextMisuseD); break;
    case startmode::Action::ErrQuietAuthoring: log.Report(kTextQuietAuthoring); break;
    case startmode::Action::ErrNoSetupInfo:
    case startmode::Action::ErrQuietNoSetupInfo:
    case startmode::Action::Authoring: log.Report(kTextNoSetupInfo); break;
    case startmode::Action::Pack:  // their own runs
    case startmode::Action::ErrPackageOption: break;
  }
  return quietrun::kExitWrongUse;
}

}  // namespace

CString GetModulePath() {
  char buf[MAX_PATH + 1] = "";
  DWORD n = ::GetModuleFileNameA(nullptr, buf, MAX_PATH);
  return CString(buf, n < MAX_PATH ? n : MAX_PATH);
}

CString GetInstanceName() { return startmode::InstanceName(GetModulePath()); }

CSetupApp::CSetupApp() : CWinApp("Hanbell") {}

BOOL CSetupApp::InitInstance() {
  CString instance = GetInstanceName();
  CString cmd = m_lpCmdLine ? m_lpCmdLine : "";
  // Without a person no "insert a disk" box may wait for one: a drive without its disk
  // fails like any other. Only then: a child would inherit the mode, and a person's
  // install starts the application.
  if (startmode::IsQuiet(cmd)) ::SetErrorMode(SEM_FAILCRITICALERRORS);
  ::CreateMutexA(nullptr, TRUE, instance.c_str());  // held until the process ends
  if (::GetLastError() == ERROR_ALREADY_EXISTS) {
    // a run without a person leaves the other copy's window as it is, and its log
    if (startmode::IsQuiet(cmd))
      m_nExitCode = quietrun::kExitRunning;
    else
      ActivateRunningCopy(instance);
    return FALSE;
  }
  Enable3dControls();

  g_strSetupDir = startmode::FolderOf(GetModulePath());
  // A package runs from the folder it writes its files into, removed when the run ends.
  CPackageFolder package;
  if (CPackageFolder::IsRunningPackage()) {
    if (!package.Open(cmd, &m_nExitCode)) return FALSE;
    g_strSetupDir = package.GetFolder();
  }
  g_strTopRoot = setupinfo::GetString(setupinfo::IniPath(g_strSetupDir), setupinfo::kSecTree, "TopRoot", "");
  if (g_strTopRoot.empty()) g_strTopRoot = g_strSetupDir;

  char winDir[MAX_PATH + 1] = "";
  UINT n = ::GetWindowsDirectoryA(winDir, MAX_PATH);
  CString windowsDir(winDir, n < MAX_PATH ? n : 0);

  auto readMode = [](const std::string& iniPath) {
    return setupinfo::GetInt(iniPath, setupinfo::kSecSetup, "Mode", 0);
  };
  startmode::Plan plan =
      package.GetFolder().empty()
          ? startmode::Decide(cmd, g_strSetupDir, windowsDir, readMode,
                              [](const std::string& text) { return FullFolderPath(text); })
          : package.GetPlan();
  // The removal deletes what its Setup.ini lists in that folder: never in one of the system's.
  if (plan.action == startmode::Action::Uninstall && IsProtectedInstallFolder(plan.strFolder))
    plan.action = startmode::Action::ErrNoSetupInfo;
  if (plan.action == startmode::Action::Pack) {
    m_nExitCode = RunPack(plan);
    return FALSE;
  }
  if (plan.bQuiet) {
    m_nExitCode = RunQuiet(plan);
    return FALSE;
  }

  switch (plan.action) {
    case startmode::Action::ErrNoOption:
      WrongUse(kTextNoOption, kCaptionApp, MB_ICONINFORMATION);
      return FALSE;
    case startmode::Action::ErrNoTarget:
      WrongUse(kTextNoTarget, kCaptionApp, MB_ICONINFORMATION);
      return FALSE;
    case startmode::Action::ErrNoSetupInfo:
      WrongUse(kTextNoSetupInfo, kCaptionUninstallError, MB_ICONSTOP);
      return FALSE;
    case startmode::Action::ErrMisuseD:
      WrongUse(kTextMisuseD, kCaptionApp, MB_ICONINFORMATION);
      return FALSE;
    case startmode::Action::Uninstall: {
      g_strSetupDir = plan.strFolder;
      CUninstallDlg dlg(nullptr);
      m_pMainWnd = &dlg;
      dlg.DoModal();
      m_pMainWnd = nullptr;
      return FALSE;
    }
    case startmode::Action::Authoring:
    case startmode::Action::Install:
    case startmode::Action::ErrQuietAuthoring:  // quiet runs only
    case startmode::Action::ErrQuietNoSetupInfo:
    case startmode::Action::Pack:  // their own runs
    case startmode::Action::ErrPackageOption:
      break;
  }

  g_bAuthorMode = plan.action == startmode::Action::Authoring ? 1 : 0;
  if (g_bAuthorMode) {
    g_pLoadingDlg = new CLoadingDlg;
    g_pLoadingDlg->Create(IDD_LOADING, nullptr);
  }
  int nBlueBack = setupinfo::GetInt(setupinfo::IniPath(g_strSetupDir), setupinfo::kSecOption, "BlueBack", 1);
  if (!g_bAuthorMode && nBlueBack == 1) {
    CBackdropDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
  } else {
    CSetupWizardDlg dlg(nullptr);
    m_pMainWnd = &dlg;
    dlg.DoModal();
  }
  m_pMainWnd = nullptr;
  if (g_pLoadingDlg) {
    delete g_pLoadingDlg;
    g_pLoadingDlg = nullptr;
  }
  return FALSE;
}
