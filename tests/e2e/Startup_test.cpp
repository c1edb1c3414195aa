// Start-up through the real program: the four wrong-use boxes, the choice of mode,
// the uninstall dialog and the single instance.
#include <gtest/gtest.h>

#include "resource.h"
#include "uitest.h"

using namespace uitest;

namespace {

const char kCaptionApp[] = "Hanbell/TOVANE Soft Application.";
const char kLoadingCaption[] = "Hanbell/InstallWizard...Data Loading Message.";
const char kBackdropCaption[] = "Hanbell/TOVANE Soft(TVS)'s System Installer&Uninstaller...";
const char kWizardCaption[] = "Hanbell Ver4.00/System Install Wizard.";
const char kUninstallCaption[] = "Hanbell Ver4.00/UnInstaller...";

std::string ProgramPath() { return ModuleDir() + "Hanbell.exe"; }

bool HasWindow(DWORD pid, const std::string& caption, bool visibleOnly) {
  for (HWND h : TopWindows(pid, visibleOnly))
    if (GetText(h) == caption) return true;
  return false;
}

// A distribution folder of its own with the program as Setup.exe.
class Dist {
 public:
  explicit Dist(const std::string& name) : m_dir(TempDir(name)) {
    EXPECT_TRUE(::CopyFileA(ProgramPath().c_str(), (m_dir + "Setup.exe").c_str(), FALSE));
  }
  ~Dist() { RemoveTree(m_dir); }
  void Ini(const std::string& text) { ASSERT_TRUE(WriteFile(m_dir + "Setup.ini", text)); }
  const std::string& Dir() const { return m_dir; }
  std::string Exe() const { return m_dir + "Setup.exe"; }

 private:
  std::string m_dir;
};

// The program copied into the Windows folder under a name of the test's own, so
// that an installed Hanbell.exe there stays untouched.
class InWindowsFolder {
 public:
  InWindowsFolder() : m_exe(WindowsDir() + "HbStartTest.exe") {
    EXPECT_TRUE(::CopyFileA(ProgramPath().c_str(), m_exe.c_str(), FALSE));
  }
  ~InWindowsFolder() { ::DeleteFileA(m_exe.c_str()); }
  const std::string& Exe() const { return m_exe; }

 private:
  std::string m_exe;
};

struct Box {
  const char* args;
  const char* text;
  const char* caption;
  Icon icon;
};

void ExpectBoxAndEnd(const std::string& exe, const std::string& fullArgs, const std::string& dir, const char* text,
                     const char* caption, Icon icon) {
  std::string args = fullArgs.size() > 60 ? fullArgs.substr(0, 60) + "..." : fullArgs;
  Process p;
  ASSERT_TRUE(p.Start(exe, fullArgs, dir)) << exe;
  MessageBoxInfo box = WaitMessageBox(p.Pid());
  ASSERT_TRUE(box.hwnd) << "args: " << args;
  EXPECT_EQ(box.text, text) << "args: " << args;
  EXPECT_EQ(box.caption, caption) << "args: " << args;
  EXPECT_EQ(box.icon, icon) << "args: " << args;
  EXPECT_EQ(box.buttons.size(), 1u);
  EXPECT_EQ(::GetWindow(box.hwnd, GW_OWNER), nullptr) << "the box has no owner window";
  // nothing else opened: the box is the program's only window
  EXPECT_FALSE(HasWindow(p.Pid(), kWizardCaption, false));
  EXPECT_FALSE(HasWindow(p.Pid(), kUninstallCaption, false));
  ASSERT_TRUE(Answer(box, IDOK));
  DWORD code = 1;
  EXPECT_TRUE(p.WaitExit(kDefaultTimeoutMs, &code)) << "program did not end after the box";
  EXPECT_EQ(code, 0u);
}

}  // namespace

TEST(Startup, WrongUseFromTheWindowsFolder) {
  InWindowsFolder prog;
  Dist noIni("hb_start_noini");
  Dist mode1("hb_start_mode1");
  mode1.Ini("[Setup]\r\nMode=1\r\n");

  ExpectBoxAndEnd(prog.Exe(), "", WindowsDir(),
                  "☆単独では動作しません。ｵﾌﾟｼｮﾝの指定が必要です...\n\n（注:\\Windows ﾌｫﾙﾀﾞ内にある『Hanbell.exe』が起動されています。）",
                  kCaptionApp, Icon::Information);
  // "-s" is not looked at in the Windows folder
  ExpectBoxAndEnd(prog.Exe(), "-s", WindowsDir(),
                  "☆単独では動作しません。ｵﾌﾟｼｮﾝの指定が必要です...\n\n（注:\\Windows ﾌｫﾙﾀﾞ内にある『Hanbell.exe』が起動されています。）",
                  kCaptionApp, Icon::Information);
  ExpectBoxAndEnd(prog.Exe(), "-D", WindowsDir(), "☆ｵﾌﾟｼｮﾝの指定に誤りがあります(/d ｵﾌﾟｼｮﾝ)...", kCaptionApp,
                  Icon::Information);
  ExpectBoxAndEnd(prog.Exe(), "-d -t" + noIni.Dir(), WindowsDir(), "☆ｾｯﾄｱｯﾌﾟ情報が欠落しているため実行できません...",
                  "Hanbell/UnInstall Error!", Icon::Stop);
  ExpectBoxAndEnd(prog.Exe(), "/d /t" + mode1.Dir(), WindowsDir(), "☆ｾｯﾄｱｯﾌﾟ情報が欠落しているため実行できません...",
                  "Hanbell/UnInstall Error!", Icon::Stop);
}

TEST(Startup, DWithoutSOutsideTheWindowsFolder) {
  Dist dist("hb_start_d");
  dist.Ini("[Setup]\r\nMode=1\r\n");
  ExpectBoxAndEnd(dist.Exe(), "-d", dist.Dir(), "☆Hanbellの使い方が不正です。(/d ｵﾌﾟｼｮﾝ)...", kCaptionApp,
                  Icon::Information);
  ExpectBoxAndEnd(dist.Exe(), "/D -t" + dist.Dir(), dist.Dir(), "☆Hanbellの使い方が不正です。(/d ｵﾌﾟｼｮﾝ)...",
                  kCaptionApp, Icon::Information);
}

TEST(Startup, UninstallDialogForAnInstalledCopy) {
  InWindowsFolder prog;
  Dist installed("hb_start_inst");
  installed.Ini("[Setup]\r\nTitle=Demo\r\nMode=2\r\n");
  Process p;
  // upper case on the command line: the folder is taken lower-cased and still found
  ASSERT_TRUE(p.Start(prog.Exe(), "-D -T" + installed.Dir(), WindowsDir()));
  HWND dlg = WaitWindow(p.Pid(), kUninstallCaption, "#32770");
  ASSERT_TRUE(dlg);
  EXPECT_FALSE(HasWindow(p.Pid(), kLoadingCaption, false));
  EXPECT_FALSE(HasWindow(p.Pid(), kWizardCaption, false));
  // the uninstall dialog carries no single-instance property
  EXPECT_FALSE(::GetPropA(dlg, "HbStartTest"));
}

namespace {
enum class Seen { Authoring, InstallWithBackdrop, InstallAlone };

// Starts the program, waits for its wizard and tells the form by the windows around it:
// the loading window exists only in authoring mode, the backdrop only in install mode.
Seen StartAndSee(const Dist& dist, const std::string& fullArgs) {
  std::string args = fullArgs.size() > 60 ? fullArgs.substr(0, 60) + "..." : fullArgs;
  Process p;
  EXPECT_TRUE(p.Start(dist.Exe(), fullArgs, dist.Dir()));
  HWND wizard = WaitWindow(p.Pid(), kWizardCaption, "#32770");
  EXPECT_TRUE(wizard) << "args: " << args;
  EXPECT_EQ(::GetPropA(wizard, "Setup"), reinterpret_cast<HANDLE>(1))
      << "the wizard carries the single-instance property, value 1";
  bool loading = HasWindow(p.Pid(), kLoadingCaption, false);
  bool backdrop = HasWindow(p.Pid(), kBackdropCaption, false);
  EXPECT_FALSE(loading && backdrop);
  if (loading) return Seen::Authoring;
  return backdrop ? Seen::InstallWithBackdrop : Seen::InstallAlone;
}
}  // namespace

TEST(Startup, ModeChoiceOutsideTheWindowsFolder) {
  Dist dist("hb_start_mode");
  EXPECT_EQ(StartAndSee(dist, ""), Seen::Authoring);  // no Setup.ini

  dist.Ini("[Setup]\r\nMode=1\r\n");
  EXPECT_EQ(StartAndSee(dist, ""), Seen::InstallWithBackdrop);  // BlueBack defaults to 1
  for (const char* opt : {"-S", "/s", "/S", "x-sx"}) EXPECT_EQ(StartAndSee(dist, opt), Seen::Authoring) << opt;
  EXPECT_EQ(StartAndSee(dist, "-s -d"), Seen::Authoring);  // -s wins over -d

  dist.Ini("[Setup]\r\nMode=1\r\n[Option]\r\nBlueBack=0\r\n");
  EXPECT_EQ(StartAndSee(dist, ""), Seen::InstallAlone);

  dist.Ini("[Setup]\r\nMode=2\r\n");
  EXPECT_EQ(StartAndSee(dist, ""), Seen::Authoring);

  dist.Ini("[Setup]\r\nMode=0\r\n");
  EXPECT_EQ(StartAndSee(dist, ""), Seen::Authoring);

  // a Setup.ini that cannot be read counts as missing: its Mode 1 is not seen
  dist.Ini("[Setup]\r\nMode=1\r\n");
  HANDLE lock = ::CreateFileA((dist.Dir() + "Setup.ini").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  EXPECT_EQ(StartAndSee(dist, ""), Seen::Authoring);
  ::CloseHandle(lock);
}

TEST(Startup, CommandLinesOfAnyLength) {
  Dist dist("hb_start_long");
  dist.Ini("[Setup]\r\nMode=1\r\n[Option]\r\nBlueBack=0\r\n");
  EXPECT_EQ(StartAndSee(dist, std::string(30000, 'A')), Seen::InstallAlone);
  EXPECT_EQ(StartAndSee(dist, std::string(20000, 'x') + "-S" + std::string(10000, 'y')), Seen::Authoring);

  InWindowsFolder prog;
  ExpectBoxAndEnd(prog.Exe(), "-d -t" + std::string(30000, 'z'), WindowsDir(),
                  "☆ｾｯﾄｱｯﾌﾟ情報が欠落しているため実行できません...", "Hanbell/UnInstall Error!", Icon::Stop);
}

namespace {
// A window of the test's own that takes the foreground, so that raising the first
// copy's window is seen as a change.
class ForegroundElsewhere {
 public:
  ForegroundElsewhere()
      : m_hwnd(::CreateWindowExA(0, "STATIC", "hb_start_other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 600, 400, 200, 100,
                                 nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr)) {}
  ~ForegroundElsewhere() { ::DestroyWindow(m_hwnd); }
  // Holds the foreground for a moment too: an activation of the other program that is
  // still on its way would otherwise take it back after the second copy raised it.
  bool Take() {
    return m_hwnd && WaitFor([&] {
             ::SetForegroundWindow(m_hwnd);
             for (DWORD since = ::GetTickCount(); ::GetTickCount() - since < 300; ::Sleep(10)) {
               MSG msg;
               while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
               if (::GetForegroundWindow() != m_hwnd) return false;
             }
             return true;
           });
  }

 private:
  HWND m_hwnd;
};

// Starts a second copy and expects it to end by itself with code 0 (a box would keep it running).
void ExpectSecondEndsSilently(const std::string& exe, const std::string& args, const std::string& dir) {
  Process second;
  ASSERT_TRUE(second.Start(exe, args, dir));
  DWORD code = 1;
  ASSERT_TRUE(second.WaitExit(kDefaultTimeoutMs, &code)) << "second copy did not end";
  EXPECT_EQ(code, 0u);
}
}  // namespace

TEST(Startup, SecondStartRaisesTheFirstWizardAndEndsSilently) {
  Dist dist("hb_start_twice");
  Process first;
  ASSERT_TRUE(first.Start(dist.Exe(), "-s", dist.Dir()));
  HWND wizard = WaitWindow(first.Pid(), kWizardCaption, "#32770");
  ASSERT_TRUE(wizard);
  ::PostMessageA(wizard, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  ASSERT_TRUE(WaitFor([&] { return ::IsIconic(wizard) != FALSE; })) << "wizard did not minimise";
  ForegroundElsewhere other;
  ASSERT_TRUE(other.Take());

  ExpectSecondEndsSilently(dist.Exe(), "-s", dist.Dir());
  EXPECT_TRUE(WaitFor([&] { return !::IsIconic(wizard); })) << "first wizard was not restored";
  EXPECT_TRUE(WaitFor([&] { return ::GetForegroundWindow() == wizard; })) << "first wizard was not brought to the front";
  EXPECT_TRUE(first.Running());

  // With a box of the wizard open, the box (its last active pop-up) comes to the front.
  ASSERT_TRUE(Click(wizard, IDCANCEL));
  MessageBoxInfo box = WaitMessageBox(first.Pid());
  ASSERT_TRUE(box.hwnd) << "no box after 中止";
  ASSERT_TRUE(other.Take());
  ExpectSecondEndsSilently(dist.Exe(), "", dist.Dir());
  EXPECT_TRUE(WaitFor([&] { return ::GetForegroundWindow() == box.hwnd; })) << "the wizard's box was not brought to the front";
  ASSERT_TRUE(Answer(box, IDOK));
  EXPECT_TRUE(first.WaitExit()) << "first copy did not end after its box";
}

TEST(Startup, SecondStartBesideTheUninstallDialogEndsSilently) {
  InWindowsFolder prog;
  Dist installed("hb_start_inst2");
  installed.Ini("[Setup]\r\nTitle=Demo\r\nMode=2\r\n");
  Process first;
  ASSERT_TRUE(first.Start(prog.Exe(), "-d -t" + installed.Dir(), WindowsDir()));
  HWND dlg = WaitWindow(first.Pid(), kUninstallCaption, "#32770");
  ASSERT_TRUE(dlg);
  ExpectSecondEndsSilently(prog.Exe(), "-d -t" + installed.Dir(), WindowsDir());
  EXPECT_TRUE(first.Running());
  EXPECT_TRUE(::IsWindowVisible(dlg));
}

// A DLL planted beside the program, or in the folder it is started in, is not what the
// program loads by a bare name: both programs look in the system folder alone.
TEST(Startup, NoDllBesideTheProgramIsLoaded) {
  const std::string dir = TempDir("hb_plant");
  const std::string probe = ModuleDir() + "hbfontprobe.dll";
  ASSERT_TRUE(::CopyFileA(probe.c_str(), (dir + "hbplant.dll").c_str(), FALSE));
  for (const char* program : {"Hanbell.exe", "KeyRally.exe"}) {
    const std::string exe = dir + program;
    ASSERT_TRUE(::CopyFileA((ModuleDir() + program).c_str(), exe.c_str(), FALSE)) << program;
    Process p;
    ASSERT_TRUE(p.Start(exe, "", dir));
    HWND w = WaitWindow(p.Pid(), "", "", 30000);
    ASSERT_TRUE(w) << program;
    std::string answer;
    EXPECT_TRUE(AskProbe(w, "hbfontprobe.dll", "HbFontProbe", "HanbellTestFontProbe", "hbfont", -6, answer));
    EXPECT_EQ(answer, "not found") << program;
    p.Kill();
  }
  RemoveTree(dir);
}
