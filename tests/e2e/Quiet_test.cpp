// Installs and removals without a person, through the real programs: "-q" on the
// sample distribution and the QuietUninstallString it registers, with no window of
// either process ever shown, their exit codes and their logs; then the other exit
// codes, one start each.
#include <algorithm>
#include <map>

#include "QuietHelpers.h"

using namespace uitest;
using namespace hbtest;
using namespace qtest;
using untest::ShellFolder;

// The sample distribution installed by `Setup.exe -q -t<folder>` into a folder whose
// name holds "-s" and "-d", and removed by the registered QuietUninstallString; then
// that command once more, now that Setup.ini is gone.
TEST(Quiet, InstallAndRemoveTheSampleDistributionWithoutAWindow) {
  PrefixRestore restore;
  KeepLogs(restore);
  char full[MAX_PATH] = "";
  ::GetFullPathNameA((ModuleDir() + "..\\quiet\\dist\\").c_str(), MAX_PATH, full, nullptr);  // laid out by the build
  const std::string dist = full;
  for (const char* f : kShipped) ASSERT_TRUE(Exists(dist + f)) << dist << f << " missing: lay out the distribution first";
  ASSERT_TRUE(WriteFile(dist + "Setup.ini", AuthoredIni(dist)));
  restore.Later([dist] { ::DeleteFileA((dist + "Setup.ini").c_str()); });

  const std::string win = WindowsDir(), programs = ShellFolder("Programs"), desktop = ShellFolder("Desktop");
  const std::string base = TempDir("hb_quiet");
  restore.Remove(base);
  const std::string target = base + "my-setup -d\\打鍵丸\\";
  const std::string key = kUninstallBase + std::string(kExeTitle);
  restore.Remove(programs + kGroup);
  restore.Remove(desktop + kShortcut + ".lnk");
  restore.Key(HKEY_LOCAL_MACHINE, key);
  const std::vector<DWORD> before = Running({"KeyRally.exe", "notepad.exe"});

  QuietResult r = RunQuiet(dist + "Setup.exe", "-q -t" + target, dist, kInstallLog);
  ExpectQuiet(r, 0, "★ｲﾝｽﾄｰﾙは正常に終了しました。");
  // the game and the read-me a person's install starts are not started
  for (DWORD pid : Running({"KeyRally.exe", "notepad.exe"}))
    if (std::find(before.begin(), before.end(), pid) == before.end()) {
      ADD_FAILURE() << "a program was started after the quiet install";
      EndProcess(pid);
    }

  // what a person's install leaves
  for (const char* f : kShipped) EXPECT_EQ(Bytes(target + f), Bytes(dist + f)) << f;
  EXPECT_EQ(IniValue(target + "Setup.ini", "Setup", "Mode"), "2");
  EXPECT_EQ(IniValue(target + "Setup.ini", "Option", "Program"), "1");
  EXPECT_EQ(Bytes(win + "Hanbell.exe"), Bytes(dist + "Setup.exe"));
  EXPECT_EQ(IniValue(win + "Hanbell.ini", "SetupDirectory", "KeyRally.exe"), target + "KeyRally.exe");
  const std::vector<std::pair<std::string, std::string>> links = {
      {desktop + kShortcut + ".lnk", target + "KeyRally.exe"},
      {programs + kGroup + "\\" + kShortcut + ".lnk", target + "KeyRally.exe"},
      {programs + kGroup + "\\" + kReadMeLink + ".lnk", target + "ReadMe.txt"}};
  for (const auto& l : links) EXPECT_EQ(AsciiLower(ShortcutTarget(l.first)), AsciiLower(l.second)) << l.first;
  EXPECT_FALSE(Exists(ShellFolder("Startup") + kShortcut + ".lnk"));
  const std::map<std::string, std::string> values = {
      {"DisplayName", kTitle},
      {"UninstallString", win + "Hanbell.exe -d -t" + target},
      {"QuietUninstallString", win + "Hanbell.exe -q -d -t" + target},
      {"DisplayVersion", "Ver 1.20"},
      {"Publisher", "打鍵工房"},
      {"InstallLocation", target},
      {"DisplayIcon", target + "KeyRally.exe"},
      {"NoModify", "1"},
      {"NoRepair", "1"}};
  for (const auto& v : values) EXPECT_EQ(RegValue(HKEY_LOCAL_MACHINE, key, v.first), v.second) << v.first;
  EXPECT_TRUE(untest::Listed(kTitle));
  // one line per step with its path and outcome
  for (const std::string& line : {"install folder\t" + target + "\tok", "folder\t" + target + "words\\\tok",
                                  "copy\t" + target + "words\\romaji.wds\tok",
                                  "shortcut\t" + programs + kGroup + "\\" + kReadMeLink + ".lnk\tok",
                                  "copy\t" + win + "Hanbell.exe\tok", "copy\t" + target + "Setup.ini\tok",
                                  "shortcut\t" + desktop + kShortcut + ".lnk\tok",
                                  "registry\tHKEY_LOCAL_MACHINE\\" + key + "\tok", "record\t" + win + "Hanbell.ini\tok"})
    EXPECT_NE(r.log.find(line + "\r\n"), std::string::npos) << line << " not in\n" << r.log;

  // the command a package manager reads, run as it is written
  const std::string command = RegValue(HKEY_LOCAL_MACHINE, key, "QuietUninstallString");
  const std::size_t options = command.find(" -q");
  ASSERT_NE(options, std::string::npos) << command;
  r = RunQuiet(command.substr(0, options), command.substr(options + 1), win, kUninstallLog);
  ExpectQuiet(r, 0, "☆ｱﾝｲﾝｽﾄｰﾙが完了しました。");
  for (const char* f : kShipped) EXPECT_FALSE(Exists(target + f)) << f;
  EXPECT_FALSE(Exists(target)) << "the install folder";
  for (const auto& l : links) EXPECT_FALSE(Exists(l.first)) << l.first;
  EXPECT_FALSE(Exists(programs + kGroup)) << "the program group";
  EXPECT_FALSE(untest::KeyExists(key));
  EXPECT_FALSE(untest::Listed(kTitle));
  EXPECT_TRUE(Exists(win + "Hanbell.exe")) << "the installer's copy stays";
  const std::string removed = AsciiLower(r.log);  // the folder as the command line gives it: lower case
  for (const std::string& line : {"delete\t" + target + "keyrally.exe\tok", "remove folder\t" + target + "\tok",
                                  "delete\t" + desktop + kShortcut + ".lnk\tok",
                                  "registry\thkey_local_machine\\" + key + "\tok"})
    EXPECT_NE(removed.find(AsciiLower(line) + "\r\n"), std::string::npos) << line << " not in\n" << r.log;

  r = RunQuiet(command.substr(0, options), command.substr(options + 1), win, kUninstallLog);
  ExpectQuiet(r, 3, kNoSetupInfo);
}

namespace {

const char kFailureHead[] = "★ｲﾝｽﾄｰﾙを正常におこなえませんでした(Err: ";
const char kCopyLine[] =
    "    ・ｲﾝｽﾄｰﾙﾌｧｲﾙをｺﾋﾟｰ出来ません。\n旧ﾊﾞｰｼﾞｮﾝのｱﾌﾟﾘｹｰｼｮﾝが起動していませんか？\n\n"
    "(☆)解決しない場合はWindowsを再起動してみてください。\n";

// A small distribution: app.exe, and `extra` tree entries; no shortcuts.
std::string SmallIni(const Dist& d, const std::string& extra, const std::string& option) {
  return "[Setup]\r\nTitle=静かなﾃｽﾄ\r\nMode=1\r\nSTime=0\r\n[TreeCtrl]\r\nSelect=" + d.Dir() + "app.exe\r\n_f0=" + d.Dir() +
         "|16\r\n_f1=" + d.Dir() + "app.exe|32\r\n" + extra + "Count=" + (extra.empty() ? "2" : "3") +
         "\r\n[Option]\r\nStartUp=0\r\nProgram=0\r\nDesktop=0\r\n" + option;
}

}  // namespace

TEST(Quiet, ExitCodesAndTheLogsLastLines) {
  PrefixRestore restore;
  KeepLogs(restore);
  const std::string base = TempDir("hb_quiet_codes");
  restore.Remove(base);
  const std::string key = kUninstallBase + std::string("app");
  restore.Key(HKEY_LOCAL_MACHINE, key);
  Dist d("hb_quiet_dist");
  d.File("app.exe", "MZ app");
  char none = 0;
  for (char c = 'Q'; c <= 'Y' && !none; ++c)
    if (::GetDriveTypeA((std::string(1, c) + ":\\").c_str()) == DRIVE_NO_ROOT_DIR) none = c;
  ASSERT_TRUE(none);

  struct Case {
    const char* what;
    std::string ini;  // "" for none
    std::string folder;
    DWORD code;
    std::string last;
  };
  const Case cases[] = {
      {"done", SmallIni(d, "", ""), base + "done\\", 0, "★ｲﾝｽﾄｰﾙは正常に終了しました。"},
      {"restart asked", SmallIni(d, "", "Reboot=1\r\n"), base + "restart\\", 3010,
       "★ｲﾝｽﾄｰﾙは正常に終了しました。\n  ｳｲﾝﾄﾞｳｽﾞを再起動しますか？"},
      {"a file that cannot be copied", SmallIni(d, "_f2=" + d.Dir() + "gone.txt|32\r\n", ""), base + "copy\\", 1,
       kFailureHead + std::string("1 )\n") + kCopyLine},
      {"a folder that cannot be made", SmallIni(d, "", ""), std::string(1, none) + ":\\nowhere\\", 2,
       "ｲﾝｽﾄｰﾙ先ﾌｫﾙﾀﾞの指定に誤りがあります。"},
      {"the source folder", SmallIni(d, "", ""), d.Dir(), 2,
       "☆現在のﾌｫﾙﾀﾞをｲﾝｽﾄｰﾙ先ﾌｫﾙﾀﾞには指定できません！\n　　『登録先』を別のﾌｫﾙﾀﾞ名に変更してください。"},
      {"an unauthored folder", "", base + "unauthored\\", 3, kNoSetupInfo},
  };
  // a newer file already in the folder stays, as the question's default answer keeps it
  ASSERT_TRUE(MakeDirs(base + "done"));
  ASSERT_TRUE(WriteFile(base + "done\\app.exe", "newer, mine"));
  {
    HANDLE h = ::CreateFileA((base + "done\\app.exe").c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    FILETIME ft;
    ::GetSystemTimeAsFileTime(&ft);
    ft.dwHighDateTime += 1000;  // some days ahead
    ::SetFileTime(h, nullptr, nullptr, &ft);
    ::CloseHandle(h);
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ::DeleteFileA(d.IniPath().c_str());
    if (!c.ini.empty()) d.SetIni(c.ini);
    QuietResult r = RunQuiet(d.Exe(), "/Q /T" + c.folder, d.Dir(), kInstallLog);
    ExpectQuiet(r, c.code, c.last);
    ::SHDeleteKeyA(HKEY_LOCAL_MACHINE, key.c_str());
  }
  EXPECT_EQ(Bytes(base + "done\\app.exe"), "newer, mine");
  EXPECT_EQ(Bytes(base + "restart\\app.exe"), "MZ app") << "installed, and the session not restarted";
  EXPECT_EQ(IniValue(d.IniPath(), "Setup", "Mode"), "<none>");

  // a log that cannot be written (a folder holds its name) does not stop the run
  const std::string blocked = TempFolder() + kInstallLog;
  ::DeleteFileA(blocked.c_str());
  ASSERT_TRUE(::CreateDirectoryA(blocked.c_str(), nullptr));
  d.SetIni(SmallIni(d, "", ""));
  QuietResult unlogged = RunQuiet(d.Exe(), "-q -t" + base + "unlogged\\", d.Dir(), kInstallLog);
  ::RemoveDirectoryA(blocked.c_str());
  EXPECT_EQ(unlogged.dwCode, 0u);
  EXPECT_EQ(Bytes(base + "unlogged\\app.exe"), "MZ app");
  ::SHDeleteKeyA(HKEY_LOCAL_MACHINE, key.c_str());

  // a second copy: the quiet one ends at once with 4 and leaves the first's window as it is
  d.SetIni(SmallIni(d, "", "BlueBack=0\r\n"));
  Process first;
  ASSERT_TRUE(first.Start(d.Exe(), "", d.Dir()));
  HWND wizard = WaitWizard(first);
  ASSERT_TRUE(wizard);
  CShownWindows control(first.Handle(), first.Pid());  // the watcher sees a window that is shown
  EXPECT_TRUE(WaitFor([&] { return control.Now().count("#32770 " + std::string(kWizardCaption)) != 0; }, 5000));
  QuietResult r = RunQuiet(d.Exe(), "-q", d.Dir(), kInstallLog);
  EXPECT_EQ(r.dwCode, 4u);
  EXPECT_TRUE(r.shown.empty());
  EXPECT_FALSE(Exists(TempFolder() + kInstallLog)) << "no log: the running copy may be writing its own";
  EXPECT_TRUE(::IsWindowVisible(wizard) && first.Running());
}

namespace {

// A distribution of app.exe, data\words.wds and, when given, a file for the Windows
// folder before them; with the pause and the further sections given.
std::string FormsIni(const Dist& d, const std::string& shared, const std::string& stime, const std::string& more) {
  std::string tree;
  int n = 0;
  for (const std::string& entry : {std::string("|16"), std::string("app.exe|32"), shared.empty() ? "" : shared + "|32",
                                   std::string("data\\|16"), std::string("data\\words.wds|32")})
    if (!entry.empty()) tree += "_f" + std::to_string(n++) + "=" + d.Dir() + entry + "\r\n";
  return "[Setup]\r\nTitle=形のﾃｽﾄ\r\nMode=1\r\nSTime=" + stime + "\r\n[TreeCtrl]\r\nSelect=" + d.Dir() + "app.exe\r\n" +
         tree + "Count=" + std::to_string(n) + "\r\n" + more;
}

}  // namespace

// The uninstall reads the folder after -t as the install does: in quotes, with blanks,
// without its final backslash, as "." from inside it, with "." and ".." in it; what is
// no full folder is refused before anything goes. Without a person it does not pause.
TEST(Quiet, TheUninstallFolderInEachForm) {
  PrefixRestore restore;
  KeepLogs(restore);
  const std::string win = WindowsDir(), base = TempDir("hb_forms"), key = kUninstallBase + std::string("app");
  restore.Remove(base);
  restore.Key(HKEY_LOCAL_MACHINE, key);
  const std::string target = base + "My App\\", bare = target.substr(0, target.size() - 1);
  Dist d("hb_forms_dist");
  d.File("app.exe", "MZ app");
  d.File("data\\words.wds", "words");
  d.SetIni(FormsIni(d, "", "3000", "[Option]\r\nStartUp=0\r\nProgram=0\r\nDesktop=0\r\n"));
  auto install = [&] {
    QuietResult r = RunQuiet(d.Exe(), "-q -t" + target, d.Dir(), kInstallLog);
    ASSERT_EQ(r.dwCode, 0u) << r.log;
  };

  const std::pair<std::string, std::string> forms[] = {{"-q -d -t\"" + bare + "\"", win},
                                                       {"-q -d -t.\\", target},
                                                       {"-q -d -t  " + target + "data\\..\\.  ", win}};
  for (const auto& form : forms) {
    install();
    const DWORD started = ::GetTickCount();
    QuietResult r = RunQuiet(win + "Hanbell.exe", form.first, form.second, kUninstallLog);
    ExpectQuiet(r, 0, "☆ｱﾝｲﾝｽﾄｰﾙが完了しました。");
    EXPECT_LT(::GetTickCount() - started, 9000u) << "six pauses of 3 s are not waited";
    EXPECT_FALSE(Exists(target)) << form.first;
    EXPECT_FALSE(untest::KeyExists(key)) << form.first;
  }
  install();
  QuietResult r = RunQuiet(win + "Hanbell.exe", "-q -d -t\\\\?\\" + target, win, kUninstallLog);
  ExpectQuiet(r, 3, kNoSetupInfo);
  EXPECT_EQ(Bytes(target + "app.exe"), "MZ app");
  EXPECT_TRUE(untest::KeyExists(key));

  Process p;  // a person's: blanks around the folder, no final backslash
  ASSERT_TRUE(p.Start(win + "Hanbell.exe", "-d -t " + bare + " ", win));
  HWND dlg = WaitWindow(p.Pid(), untest::kUninstallCaption, "#32770");
  ASSERT_TRUE(dlg);
  ASSERT_TRUE(Click(dlg, IDOK));
  MessageBoxInfo box = WaitMessageBox(p.Pid(), 60000);
  ASSERT_TRUE(box.hwnd);
  EXPECT_EQ(box.text, "☆ｱﾝｲﾝｽﾄｰﾙが完了しました。");
  untest::CloseAndExpectEnd(p, box);
  EXPECT_FALSE(Exists(target));
}

// Runs that stop or keep what is in use leave the use counts right for the next run: an
// install stopped by a system file places nothing, and its second run counts the shared
// file once; an uninstall that meets the shared file open keeps the application whole
// (its Setup.ini, entry, shortcut and count), and once the file is closed the same
// command removes the rest and ends well. The shortcut is named with a folder whose name
// ends in ".", which Windows makes without it: the uninstall finds it all the same.
TEST(Quiet, UseCountsStayRightAcrossRuns) {
  PrefixRestore restore;
  KeepLogs(restore);
  const std::string win = WindowsDir(), desktop = ShellFolder("Desktop"), key = kUninstallBase + std::string("app");
  const std::string shared = "hbcount" + std::to_string(::GetCurrentProcessId()) + ".dll";
  restore.WindowsFile(shared);
  restore.Remove(desktop + "Tools");
  restore.Key(HKEY_LOCAL_MACHINE, key);
  const std::string base = TempDir("hb_counts"), target = base + "app\\", link = desktop + "Tools\\Play.lnk";
  restore.Remove(base);
  Dist d("hb_counts_dist");
  d.File("app.exe", "MZ app");
  d.File("data\\words.wds", "words");
  d.File(shared, "shared");
  d.SetIni(FormsIni(d, shared, "0",
                    "[Option]\r\nStartUp=0\r\nProgram=0\r\nDesktop=1\r\n[Altitude]\r\nPrgShortCut=Tools.\\Play\r\n"
                    "[AltitudeSystem]\r\nFiles=2\r\n_s0=" + d.Dir() + "\r\n_s1=" + d.Dir() + shared + "\r\n"));
  ASSERT_TRUE(MakeDirs(target + "data"));
  ASSERT_TRUE(WriteFile(target + "data\\words.wds", "system's"));
  ::SetFileAttributesA((target + "data\\words.wds").c_str(), FILE_ATTRIBUTE_SYSTEM);
  QuietResult r = RunQuiet(d.Exe(), "-q -t" + target, d.Dir(), kInstallLog);
  EXPECT_EQ(r.dwCode, 2u);
  for (const std::string& none : {win + shared, target + "app.exe", link}) EXPECT_FALSE(Exists(none)) << none;
  ::SetFileAttributesA((target + "data\\words.wds").c_str(), FILE_ATTRIBUTE_NORMAL);
  ASSERT_TRUE(::DeleteFileA((target + "data\\words.wds").c_str()));
  ExpectQuiet(RunQuiet(d.Exe(), "-q -t" + target, d.Dir(), kInstallLog), 0, "★ｲﾝｽﾄｰﾙは正常に終了しました。");
  EXPECT_EQ(untest::SharedCount(win + shared), "1");
  EXPECT_EQ(AsciiLower(ShortcutTarget(link)), AsciiLower(target + "app.exe"));

  const std::string command = RegValue(HKEY_LOCAL_MACHINE, key, "QuietUninstallString");
  const std::size_t options = command.find(" -q");
  ASSERT_NE(options, std::string::npos) << command;
  HANDLE open = ::CreateFileA((win + shared).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(open, INVALID_HANDLE_VALUE);
  r = RunQuiet(command.substr(0, options), command.substr(options + 1), win, kUninstallLog);
  ::CloseHandle(open);
  EXPECT_EQ(r.dwCode, 1u) << r.log;
  for (const std::string& kept : {target + "Setup.ini", link, win + shared}) EXPECT_TRUE(Exists(kept)) << kept;
  EXPECT_FALSE(Exists(target + "app.exe"));
  EXPECT_TRUE(untest::KeyExists(key));
  EXPECT_EQ(untest::SharedCount(win + shared), "1");

  r = RunQuiet(command.substr(0, options), command.substr(options + 1), win, kUninstallLog);
  ExpectQuiet(r, 0, "☆ｱﾝｲﾝｽﾄｰﾙが完了しました。");
  for (const std::string& gone : {target, link, win + shared}) EXPECT_FALSE(Exists(gone)) << gone;
  EXPECT_EQ(untest::SharedCount(win + shared), "<none>");
  EXPECT_FALSE(untest::KeyExists(key));
}
