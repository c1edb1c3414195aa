#include "PackageStart_win.h"

#include <memory>

#include "Globals.h"
#include "LoadingDlg.h"
#include "PackRun_win.h"
#include "Package_win.h"
#include "QuietLog_win.h"
#include "QuietStart.h"
#include "SetupInfo_win.h"
#include "resource.h"

namespace {

const char kCaptionApp[] = "Hanbell/TOVANE Soft Application.";
const char kCaptionError[] = "Hanbell/Install Error!!";
const char kTextOption[] =
    "☆Hanbellの使い方が不正です。(/s /d /p ｵﾌﾟｼｮﾝ)...\n\n"
    "（注:1つにまとめたｲﾝｽﾄｰﾗはｲﾝｽﾄｰﾙだけを行います。設定と削除は配布ﾌｫﾙﾀﾞの『Setup.exe』で行って下さい。）";
const char kTextDamaged[] =
    "☆ｲﾝｽﾄｰﾗﾌｧｲﾙが壊れているため実行できません...\n\n（注:ﾌｧｲﾙをﾀﾞｳﾝﾛｰﾄﾞし直して下さい。）";
const char kTextNoFolder[] =
    "☆一時ﾌｫﾙﾀﾞにｲﾝｽﾄｰﾙﾌｧｲﾙを展開できません...\n\n（注:ﾃﾞｨｽｸの空き容量を確認して下さい。）";

// The box of a start that ends here, or its text as the install log's last line.
void Tell(bool bQuiet, const char* text, const char* caption, UINT icon) {
  if (bQuiet) {
    CQuietLogFile log(quietrun::kInstallLogName);
    log.Report(text);
    return;
  }
  HbBeep();
  ::MessageBoxA(nullptr, text, caption, MB_OK | icon);
}

// The loading window as a progress window of its own, in the middle of the screen
// since no other window is there: its bar follows the bytes done, and its window stays
// alive while the work goes on.
class CProgressWindow {
 public:
  CProgressWindow(const char* caption, const char* text) {
    m_dlg.Create(IDD_LOADING, nullptr);
    RECT rc, work;
    if (::GetWindowRect(m_dlg.m_hWnd, &rc) && ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0))
      ::SetWindowPos(m_dlg.m_hWnd, nullptr, (work.left + work.right - (rc.right - rc.left)) / 2,
                     (work.top + work.bottom - (rc.bottom - rc.top)) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    if (caption) m_dlg.SetWindowText(caption);
    if (text)
      if (HWND label = ::FindWindowExA(m_dlg.m_hWnd, nullptr, "Static", nullptr)) ::SetWindowTextA(label, text);
    m_dlg.BeginProgress(kRange, 1);
    m_dlg.Show();
    Pump();
  }
  ~CProgressWindow() { m_dlg.DestroyWindow(); }

  package::Progress Callback() {
    return [this](std::uint64_t done, std::uint64_t total) {
      if (total == 0) return;
      DWORD now = ::GetTickCount();
      if (now - m_dwLast < 30 && done < total) return;  // a redraw costs more than a block
      m_dwLast = now;
      m_dlg.m_progress.SetPos(static_cast<int>(done * kRange / total));
      Pump();
    };
  }

 private:
  static void Pump() {
    for (int i = 0; i < 8; ++i) PumpPendingMessage();
  }
  static constexpr int kRange = 1000;
  CLoadingDlg m_dlg;
  DWORD m_dwLast = 0;
};

}  // namespace

bool CPackageFolder::IsRunningPackage() { return package::RunningPayloadOffset() != 0; }

bool CPackageFolder::Open(const CString& cmdLine, int* pnExitCode) {
  m_plan = startmode::DecidePackage(cmdLine);
  const bool quiet = m_plan.bQuiet;
  if (m_plan.action == startmode::Action::ErrPackageOption) {
    Tell(quiet, kTextOption, kCaptionApp, MB_ICONINFORMATION);
    *pnExitCode = quietrun::kExitWrongUse;
    return false;
  }
  package::OpenResult result;
  {
    std::unique_ptr<CProgressWindow> window;
    if (!quiet) window.reset(new CProgressWindow(nullptr, nullptr));
    result = package::ExtractPackage(GetModulePath(), package::RunningPayloadOffset(), m_strFolder,
                                     window ? window->Callback() : package::Progress(), package::HeldFiles());
  }
  // what an install takes for its distribution: an authored Setup.ini
  if (result == package::OpenResult::Extracted &&
      setupinfo::GetInt(setupinfo::IniPath(m_strFolder), setupinfo::kSecSetup, "Mode", 0) != 1)
    result = package::OpenResult::Damaged;
  if (result == package::OpenResult::Extracted) return true;
  if (result == package::OpenResult::Damaged) {
    Tell(quiet, kTextDamaged, kCaptionError, MB_ICONSTOP);
    *pnExitCode = quietrun::kExitWrongUse;
  } else {
    Tell(quiet, kTextNoFolder, kCaptionError, MB_ICONSTOP);
    *pnExitCode = quietrun::kExitStopped;
  }
  return false;
}

CPackageFolder::~CPackageFolder() {
  package::HeldFiles().Stop();  // nothing is written into the folder while it goes
  if (!m_strFolder.empty()) package::RemoveFolderTree(m_strFolder);
}

int RunPack(const startmode::Plan& plan) {
  packrun::Result result;
  if (plan.bQuiet) {
    CQuietLogFile log(quietrun::kPackLogName);
    result = PackDistribution(g_strSetupDir, GetModulePath(), plan.strFolder);
    log.Step("pack", result.strOutput, packrun::Failed(result) ? quietrun::kFailed : quietrun::kOk);
    log.Report(packrun::ResultText(result));
    return quietrun::PackExitCode(result.outcome);
  }
  {
    CProgressWindow window("Hanbell/InstallWizard...Data Packing Message.", "Now Packing...");
    result = PackDistribution(g_strSetupDir, GetModulePath(), plan.strFolder, window.Callback());
  }
  HbBeep();
  ::MessageBoxA(nullptr, packrun::ResultText(result).c_str(), packrun::ResultCaption(result),
                MB_OK | (packrun::Failed(result) ? MB_ICONSTOP : MB_ICONINFORMATION));
  return quietrun::PackExitCode(result.outcome);
}
