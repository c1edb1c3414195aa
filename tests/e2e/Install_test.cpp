// Installing through the real Setup.exe, from a distribution authored in another
// folder: where every file lands, the shortcuts, the registry entry, the record, the
// installed Setup.ini, the shared-file counts, the launches; a reinstall over newer
// files with the overwrite question; the stops and each line of the failure report.
#include <cstdio>

#include "UninstallHelpers.h"  // the install helpers, and the uninstall's for the journeys that remove again

using namespace uitest;
using namespace hbtest;

namespace {

const std::string kPid = std::to_string(::GetCurrentProcessId());
const std::string kTitle = "打鍵丸 hbtest" + kPid;

// The names one distribution uses, unique to this test process.
struct Names {
  std::string author = "C:\\hbauthor\\dist" + kPid + "\\";  // where it was authored
  std::string app = "hbapp" + kPid;                         // the executable's title
  std::string shared = "hbshared" + kPid + ".dll";          // to the Windows folder, and a group file
  std::string plain = "hbplain" + kPid + ".dll";            // to the Windows folder, already there
  std::string readme = "readme" + kPid + ".hbrm";           // to the Windows folder, opened at the end
  std::string exe() const { return "bin\\" + app + ".exe"; }
};

// Setup.ini as the author saved it, with the executable `select` and the tree entries
// (relative to the authoring folder) and further sections.
std::string IniOf(const Names& n, const std::string& select, const std::vector<std::string>& entries,
                  const std::string& sections) {
  std::string tree = "[TreeCtrl]\r\nSelect=" + select + "\r\nTopRoot=" + n.author + "\r\n";
  for (std::size_t i = 0; i < entries.size(); ++i)
    tree += "_f" + std::to_string(i) + "=" + (entries[i][0] == '!' ? entries[i].substr(1) : n.author + entries[i]) + "\r\n";
  tree += "Count=" + std::to_string(entries.size()) + "\r\nFiles=8\r\n";
  return "[Setup]\r\nTitle=" + kTitle + "\r\nVersion=Ver 2.50\r\nName=東方ソフト\r\nMode=1\r\nSTime=0\r\n" + tree +
         sections;
}

// The journey's distribution: nested folders, a read-only file, group files (a folder,
// one with a name of its own, one also sent to the Windows folder) and Windows-folder
// files (the executable among them, which stays in the install folder).
std::string AuthoredIni(const Names& n, const std::string& altitude, const std::string& options) {
  const std::string& a = n.author;
  return IniOf(n, a + n.exe(),
               {"|16", "bin\\|16", n.exe() + "|32", "data\\|16", "data\\words.wds|32", "data\\locked.txt|33",
                "data\\deep\\|16", "data\\deep\\sub\\|16", "data\\deep\\sub\\levels.dat|32", "docs\\|16",
                "docs\\manual.txt|32", "sys\\|16", "sys\\" + n.shared + "|32", "sys\\" + n.plain + "|32", n.readme + "|32"},
               "[Option]\r\nBlueBack=0\r\n" + options + "[Altitude]\r\n" + altitude + "[AltitudeGroup]\r\nFiles=4\r\n_g0=" +
                   a + "\r\n_g1=" + a + "docs\\\r\n_g2=" + a + "docs\\manual.txt\r\n_g3=" + a + "sys\\" + n.shared +
                   "\r\n[AltitudeGrpSC]\r\nFiles=4\r\n_c0=Dummy\r\n_c1=\r\n_c2=取扱説明書\r\n_c3=\r\n" +
                   "[AltitudeSystem]\r\nFiles=6\r\n_s0=" + a + "\r\n_s1=" + a + n.exe() + "\r\n_s2=" + a + "sys\\" +
                   n.shared + "\r\n_s3=" + a + "sys\\" + n.plain + "\r\n_s4=" + a + n.readme + "\r\n_s5=" + a + "docs\\\r\n");
}

void FillDistribution(const Dist& d, const Names& n) {
  d.File(n.exe(), Bytes(ModuleDir() + "hbrecorder.exe"));
  d.File("data\\words.wds", "words");
  d.File("data\\locked.txt", "locked", FILE_ATTRIBUTE_READONLY);
  d.File("data\\deep\\sub\\levels.dat", "levels");
  d.File("docs\\manual.txt", "manual");
  d.File("sys\\" + n.shared, "shared");
  d.File("sys\\" + n.plain, "plain");
  d.File(n.readme, "readme");
}

std::string ShellFolder(const char* shellFolder) { return RegValue(HKEY_CURRENT_USER, kShellFolders, shellFolder) + "\\"; }

// The two lines hbrecorder.exe wrote: its command line and working folder.
std::string Recorded(const std::string& recorder) {
  std::string text;
  WaitFor([&] { return ReadFile(recorder + ".txt", text); }, 20000);
  return text;
}

// Each shortcut file (link path + ".lnk") resolves to its target (a folder's final
// backslash aside) when loaded back.
void ExpectLinks(const std::vector<std::pair<std::string, std::string>>& links) {
  auto bare = [](std::string p) {
    if (!p.empty() && p.back() == '\\') p.pop_back();
    return p;
  };
  for (const auto& l : links) {
    std::string got = ShortcutTarget(l.first + ".lnk");
    EXPECT_EQ(::lstrcmpiA(bare(got).c_str(), bare(l.second).c_str()), 0) << l.first << " -> " << got;
  }
}

}  // namespace

TEST(Install, WholeRunThenReinstallOverNewerFiles) {
  PrefixRestore restore;
  const Names n;
  const std::string win = WindowsDir();
  for (const std::string& f : {n.shared, n.plain, n.readme}) restore.WindowsFile(f);
  ASSERT_TRUE(WriteFile(win + n.plain, "there before"));  // already there, without a count
  SetWriteTime(win + n.plain, -400);

  // the read-me opens through a file association of the test's own
  const std::string handlerDir = TempDir("hb_readme_handler");
  restore.Remove(handlerDir);
  const std::string handler = handlerDir + "open.exe";
  ASSERT_TRUE(::CopyFileA((ModuleDir() + "hbrecorder.exe").c_str(), handler.c_str(), FALSE));
  restore.Key(HKEY_CLASSES_ROOT, ".hbrm");
  restore.Key(HKEY_CLASSES_ROOT, "HbTestReadMe");
  const std::string progId = "HbTestReadMe", command = "\"" + handler + "\" \"%1\"";
  SetRegValue(HKEY_CLASSES_ROOT, ".hbrm", "", &progId);
  SetRegValue(HKEY_CLASSES_ROOT, "HbTestReadMe\\shell\\open\\command", "", &command);

  const std::string base = TempDir("hb_target");
  restore.Remove(base);
  const std::string target = base + "ｲﾝｽﾄｰﾙ 先\\";  // made by the run
  const std::string programs = ShellFolder("Programs"), startup = ShellFolder("Startup"), desktop = ShellFolder("Desktop");
  const std::string group = "ﾃｽﾄ群" + kPid, link = "打鍵丸を起動" + kPid;
  const std::string defaultLink = n.app + "へのｼｮｰﾄｶｯﾄ";
  for (const std::string& p : {programs + group, programs + n.app, startup + link + ".lnk", desktop + link + ".lnk",
                               startup + defaultLink + ".lnk", desktop + defaultLink + ".lnk"})
    restore.Remove(p);
  restore.Key(HKEY_LOCAL_MACHINE, kUninstallBase + n.app);

  Dist d("hb_install");
  FillDistribution(d, n);
  d.SetIni(AuthoredIni(n, "PrgShortCut=" + link + "\r\nPrgGroup=" + group + "\r\nExecute=1\r\nReadMe=" + n.author +
                              n.readme + "\r\n",
                       "Reboot=1\r\n"));
  {
    Process p;
    ASSERT_TRUE(p.Start(d.Exe(), "", d.Dir()));
    HWND w = WaitWizard(p);
    ASSERT_TRUE(w);
    ASSERT_TRUE(SetText(w, IDC_INSTALLDIR, target));
    for (int id : {IDC_STARTUP, IDC_PROGRAM, IDC_DESKTOP}) SetCheck(w, id, true);
    ASSERT_EQ(Beeps(w), "");
    MessageBoxInfo box = Install(w, p.Pid());
    EXPECT_EQ(Beeps(w), "500/10") << "one beep before the box";
    EXPECT_EQ(box.caption, "ｲﾝｽﾄｰﾙ作業の終了");
    EXPECT_EQ(box.text, "★ｲﾝｽﾄｰﾙは正常に終了しました。\n  ｳｲﾝﾄﾞｳｽﾞを再起動しますか？");
    EXPECT_EQ(box.icon, Icon::Information);
    EXPECT_TRUE(::GetDlgItem(box.hwnd, IDYES) && ::GetDlgItem(box.hwnd, IDNO) && box.buttons.size() == 2u);
    EXPECT_EQ(::GetWindow(box.hwnd, GW_OWNER), w);
    EXPECT_EQ(ProgressTop(w), 15 + 8);
    EXPECT_EQ(ProgressPos(w), 15 + 8) << "a successful run ends at the top";
    EXPECT_FALSE(IsEnabled(w, IDOK));
    ASSERT_TRUE(Answer(box, IDNO));  // a restart would end the Wine session
    EXPECT_TRUE(p.WaitExit()) << "the wizard closes after a completed run";
  }

  // every file where it belongs: the read-only one arrives writable, the executable
  // stays in the install folder, the Windows-folder files lose their folders
  EXPECT_EQ(Bytes(target + n.exe()), Bytes(d.Dir() + n.exe()));
  EXPECT_EQ(Bytes(target + "data\\words.wds"), "words");
  EXPECT_EQ(Bytes(target + "data\\locked.txt"), "locked");
  EXPECT_EQ(Attributes(target + "data\\locked.txt") & FILE_ATTRIBUTE_READONLY, 0u);
  // each copy keeps its source's last-write time, which the overwrite rule compares
  for (const char* f : {"data\\locked.txt", "docs\\manual.txt"})
    EXPECT_EQ(WriteTime(target + f), WriteTime(d.Dir() + f)) << f;
  EXPECT_EQ(Bytes(target + "data\\deep\\sub\\levels.dat"), "levels");
  EXPECT_EQ(Bytes(target + "docs\\manual.txt"), "manual");
  EXPECT_NE(Attributes(target + "sys") & FILE_ATTRIBUTE_DIRECTORY, 0u);
  EXPECT_FALSE(Exists(target + "sys\\" + n.shared));
  EXPECT_FALSE(Exists(win + n.app + ".exe"));
  EXPECT_EQ(Bytes(win + n.shared), "shared");
  EXPECT_EQ(Bytes(win + n.plain), "plain");
  EXPECT_EQ(Bytes(win + n.readme), "readme");
  EXPECT_EQ(Bytes(win + "Hanbell.exe"), Bytes(d.Exe()));
  EXPECT_FALSE(Exists(win + "HbDummy.exe"));
  // shared-use counts: new files 1, the one that was there without a count 2
  EXPECT_EQ(RegValue(HKEY_LOCAL_MACHINE, kSharedDlls, win + n.shared), "1");
  EXPECT_EQ(RegValue(HKEY_LOCAL_MACHINE, kSharedDlls, win + n.plain), "2");
  EXPECT_EQ(RegValue(HKEY_LOCAL_MACHINE, kSharedDlls, win + n.readme), "1");

  const std::string installedExe = target + n.exe();
  ExpectLinks({{programs + group + "\\docs", target + "docs\\"},
               {programs + group + "\\取扱説明書", target + "docs\\manual.txt"},
               {programs + group + "\\hbshared" + kPid, win + n.shared},
               {startup + link, installedExe},
               {programs + group + "\\" + link, installedExe},
               {desktop + link, installedExe}});

  const std::string ini = target + "Setup.ini";
  EXPECT_EQ(IniValue(ini, "Setup", "Mode"), "2");
  EXPECT_EQ(IniValue(ini, "TreeCtrl", "TopRoot"), n.author.substr(0, n.author.size() - 1));
  for (const char* key : {"StartUp", "Program", "Desktop"}) EXPECT_EQ(IniValue(ini, "Option", key), "1") << key;
  EXPECT_EQ(IniValue(ini, "Setup", "Title"), kTitle) << "the rest is the author's";
  EXPECT_EQ(IniValue(win + "Hanbell.ini", "SetupDirectory", n.exe().c_str()), installedExe);

  const std::string key = kUninstallBase + n.app;
  EXPECT_EQ(RegValue(HKEY_LOCAL_MACHINE, key, "DisplayName"), kTitle);
  EXPECT_EQ(RegValue(HKEY_LOCAL_MACHINE, key, "UninstallString"), win + "Hanbell.exe -d -t" + target);
  EXPECT_EQ(RegValue(HKEY_LOCAL_MACHINE, key, "DisplayVersion"), "Ver 2.50");
  EXPECT_EQ(RegValue(HKEY_LOCAL_MACHINE, key, "Publisher"), "東方ソフト");
  EXPECT_EQ(RegValue(HKEY_LOCAL_MACHINE, key, "InstallLocation"), target);
  EXPECT_EQ(RegValue(HKEY_LOCAL_MACHINE, key, "DisplayIcon"), installedExe);
  std::size_t bytes = Bytes(installedExe).size() + std::string("wordslockedlevelsmanualsharedplainreadme").size();
  EXPECT_EQ(RegValue(HKEY_LOCAL_MACHINE, key, "EstimatedSize"), std::to_string((bytes + 1023) / 1024));
  SYSTEMTIME today;
  ::GetLocalTime(&today);
  char date[16];
  std::snprintf(date, sizeof date, "%04u%02u%02u", today.wYear, today.wMonth, today.wDay);
  EXPECT_EQ(RegValue(HKEY_LOCAL_MACHINE, key, "InstallDate"), date);
  EXPECT_EQ(RegValue(HKEY_LOCAL_MACHINE, key, "NoModify"), "1");
  EXPECT_EQ(RegValue(HKEY_LOCAL_MACHINE, key, "NoRepair"), "1");
  const std::string listed = Output("uninstaller.exe --list");
  EXPECT_NE(listed.find(n.app + "|||"), std::string::npos) << listed;

  // Execute starts the installed program in the install folder; the read-me among the
  // Windows-folder files opens from there
  const std::string folderLine = "\n" + target.substr(0, target.size() - 1) + "\n";
  std::string ran = Recorded(installedExe);
  EXPECT_NE(ran.find(n.app + ".exe"), std::string::npos) << ran;
  EXPECT_NE(ran.find(folderLine), std::string::npos) << ran;
  std::string opened = Recorded(handler);
  EXPECT_NE(opened.find(win + n.readme), std::string::npos) << opened;
  EXPECT_NE(opened.find(folderLine), std::string::npos) << opened;

  // reinstall into the same folder, with the default names, over files made newer
  d.SetIni(AuthoredIni(n, "", "Reboot=0\r\n"));
  for (const char* f : {"data\\words.wds", "data\\locked.txt", "data\\deep\\sub\\levels.dat", "docs\\manual.txt"}) {
    ASSERT_TRUE(WriteFile(target + f, "mine"));
    SetWriteTime(target + f, 1);
  }
  ::SetFileAttributesA((target + "data\\words.wds").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
  // a newer installer in the Windows folder stays, without a question
  ASSERT_TRUE(WriteFile(win + "Hanbell.exe", "a newer installer"));
  SetWriteTime(win + "Hanbell.exe", 1);
  {
    Process p;
    ASSERT_TRUE(p.Start(d.Exe(), "", d.Dir()));
    HWND w = WaitWizard(p);
    ASSERT_TRUE(w);
    EXPECT_EQ(GetText(w, IDC_INSTALLDIR), target) << "the recorded folder is proposed";
    SetCheck(w, IDC_STARTUP, false);
    SetCheck(w, IDC_PROGRAM, true);
    SetCheck(w, IDC_DESKTOP, true);
    // Yes keeps words.wds, No replaces locked.txt, Cancel replaces levels.dat and then
    // manual.txt without a question
    const std::pair<const char*, int> answers[] = {{"words.wds", IDYES}, {"locked.txt", IDNO}, {"levels.dat", IDCANCEL}};
    MessageBoxInfo box = Install(w, p.Pid());
    for (const auto& a : answers) {
      SCOPED_TRACE(a.first);
      EXPECT_EQ(box.caption, "★ｲﾝｽﾄｰﾙ先ﾌｧｲﾙ上書きの確認★");
      EXPECT_EQ(box.text, std::string("ｾｯﾄｱｯﾌﾟ先ﾌｫﾙﾀﾞに最新日付のﾌｧｲﾙ《 ") + a.first +
                              " 》があります。\nこのﾌｧｲﾙを上書きせずに残しておきますか？(推奨)\n\n"
                              "今後このﾁｪｯｸを出さないで全て上書きするには『 ｷｬﾝｾﾙ 』ﾎﾞﾀﾝを押してください。");
      EXPECT_EQ(box.icon, Icon::Question);
      EXPECT_EQ(::GetWindowLongA(::GetDlgItem(box.hwnd, IDYES), GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
      EXPECT_EQ(::GetWindow(box.hwnd, GW_OWNER), w);
      ASSERT_TRUE(Answer(box, a.second));
      ASSERT_TRUE(WaitGone(box.hwnd));
      box = WaitMessageBox(p.Pid(), 60000);
      ASSERT_TRUE(box.hwnd);
    }
    EXPECT_EQ(box.caption, "ｲﾝｽﾄｰﾙ作業の終了");
    EXPECT_EQ(box.text, "★ｲﾝｽﾄｰﾙは正常に終了しました。");
    EXPECT_EQ(box.icon, Icon::Information);
    EXPECT_EQ(ProgressPos(w), ProgressTop(w));
    ASSERT_TRUE(Answer(box, IDOK));
    EXPECT_TRUE(p.WaitExit());
  }
  EXPECT_EQ(Bytes(target + "data\\words.wds"), "mine");
  EXPECT_EQ(Attributes(target + "data\\words.wds") & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN), 0u)
      << "a kept file has lost its read-only and hidden attributes";
  EXPECT_EQ(Bytes(target + "data\\locked.txt"), "locked");
  EXPECT_EQ(Bytes(target + "data\\deep\\sub\\levels.dat"), "levels");
  EXPECT_EQ(Bytes(target + "docs\\manual.txt"), "manual");
  EXPECT_TRUE(Bytes(win + "Hanbell.exe") == "a newer installer") << "the newer installer was replaced";
  EXPECT_FALSE(Exists(win + "HbDummy.exe"));
  // the same files in the same folder are not counted twice
  EXPECT_EQ(RegValue(HKEY_LOCAL_MACHINE, kSharedDlls, win + n.shared), "1");
  EXPECT_EQ(RegValue(HKEY_LOCAL_MACHINE, kSharedDlls, win + n.plain), "2");
  ExpectLinks({{programs + n.app + "\\" + defaultLink, installedExe},
               {desktop + defaultLink, installedExe},
               {programs + n.app + "\\取扱説明書", target + "docs\\manual.txt"}});
  EXPECT_FALSE(Exists(startup + defaultLink + ".lnk"));
  EXPECT_EQ(IniValue(ini, "Option", "StartUp"), "0");
  EXPECT_EQ(IniValue(ini, "Option", "Program"), "1");
}

namespace {

const char kFailureHead[] = "★ｲﾝｽﾄｰﾙを正常におこなえませんでした(Err: ";
const char kCopyLine[] =
    "    ・ｲﾝｽﾄｰﾙﾌｧｲﾙをｺﾋﾟｰ出来ません。\n旧ﾊﾞｰｼﾞｮﾝのｱﾌﾟﾘｹｰｼｮﾝが起動していませんか？\n\n"
    "(☆)解決しない場合はWindowsを再起動してみてください。\n";
const char kSettingsLine[] = "    ・Setup.iniﾌｧｲﾙが異常です。\n";
const char kRegistryLine[] = "    ・ﾚｼﾞｽﾄﾘﾃﾞｰﾀﾍﾞｰｽをｱｸｾｽできません。\n";
const char kOptionLine[] = "    ・ｵﾌﾟｼｮﾝ設定の一部を実行できませんでした。\n";

// Starts the distribution's Setup.exe, sets the install folder and the three boxes.
HWND OpenWizard(Process& p, const Dist& d, const std::string& target, bool startup, bool program, bool desktop) {
  EXPECT_TRUE(p.Start(d.Exe(), "", d.Dir()));
  HWND w = WaitWizard(p);
  if (!w) return nullptr;
  SetText(w, IDC_INSTALLDIR, target);
  SetCheck(w, IDC_STARTUP, startup);
  SetCheck(w, IDC_PROGRAM, program);
  SetCheck(w, IDC_DESKTOP, desktop);
  return w;
}

// `n` short beeps as the program's beep recorder lists them.
std::string ShortBeeps(int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += i ? " 500/10" : "500/10";
  return s;
}

// A stop: its box, with `beeps` short beeps recorded so far, then the wizard open again
// with every locked control usable.
void ExpectStop(HWND w, DWORD pid, const std::string& text, const char* caption, Icon icon, int beeps) {
  MessageBoxInfo box = Install(w, pid);
  EXPECT_EQ(Beeps(w), ShortBeeps(beeps)) << text;
  EXPECT_EQ(box.text, text);
  EXPECT_EQ(box.caption, caption);
  EXPECT_EQ(box.icon, icon);
  ASSERT_TRUE(Answer(box, IDOK));
  for (int id : {IDOK, IDCANCEL, IDC_BROWSE, IDC_STARTUP, IDC_PROGRAM, IDC_DESKTOP, IDC_INSTALLDIR})
    EXPECT_TRUE(WaitFor([&] { return IsEnabled(w, id); }, 10000)) << id << " stays locked";
  EXPECT_TRUE(::IsWindowVisible(w));
}

// A stop at data\words.wds of `folder`, laid out beforehand as a system file.
void ExpectSystemFileStop(HWND w, DWORD pid, const std::string& folder, int beeps) {
  ASSERT_TRUE(MakeDirs(folder + "data"));
  ASSERT_TRUE(WriteFile(folder + "data\\words.wds", "system's"));
  ::SetFileAttributesA((folder + "data\\words.wds").c_str(), FILE_ATTRIBUTE_SYSTEM);
  SetText(w, IDC_INSTALLDIR, folder);
  ExpectStop(w, pid,
             "転送先のﾌｧｲﾙにｳｲﾝﾄﾞｳｽﾞｼｽﾃﾑﾌｧｲﾙ<data\\words.wds>が含まれています！\nｲﾝｽﾄｰﾙ先及び転送ﾌｧｲﾙ等を確認してください。",
             "☆ｲﾝｽﾄｰﾙ先ﾌｧｲﾙの確認！-ｲﾝｽﾄｰﾙ中止-", Icon::Stop, beeps);
}

// The failure report of a run that went to its end; the wizard then closes. With
// `closeMidRun` the close box is pressed while the run goes on: the run ignores it.
// `beeps`, when not negative: the short beeps recorded so far, read while the box is up.
void ExpectReport(Process& p, HWND w, int count, const std::string& lines, bool closeMidRun = false,
                  int beeps = -1) {
  MessageBoxInfo box;
  if (closeMidRun) {
    ASSERT_TRUE(Click(w, IDOK));
    ASSERT_TRUE(::PostMessageA(w, WM_SYSCOMMAND, SC_CLOSE, 0));  // handled by the run's pump
    box = WaitMessageBox(p.Pid(), 60000);
    ASSERT_TRUE(box.hwnd);
  } else {
    box = Install(w, p.Pid());
  }
  if (beeps >= 0) {
    EXPECT_EQ(Beeps(w), ShortBeeps(beeps));
  }
  EXPECT_EQ(box.caption, "ｲﾝｽﾄｰﾙ作業の異常終了");
  EXPECT_EQ(box.text, kFailureHead + std::to_string(count) + " )\n" + lines);
  EXPECT_EQ(box.icon, Icon::Stop);
  ASSERT_TRUE(Answer(box, IDOK));
  EXPECT_TRUE(p.WaitExit());
}

}  // namespace

TEST(Install, StopsKeepTheWizardOpenAndEachFailureHasItsLine) {
  PrefixRestore restore;
  const Names n;
  const std::string win = WindowsDir();
  const std::string base = TempDir("hb_fail");
  restore.Remove(base);
  const std::string programs = ShellFolder("Programs"), desktop = ShellFolder("Desktop");
  const std::string defaultLink = n.app + "へのｼｮｰﾄｶｯﾄ";
  for (const std::string& p : {programs + n.app, desktop + defaultLink + ".lnk"}) restore.Remove(p);
  restore.Key(HKEY_LOCAL_MACHINE, kUninstallBase + n.app);

  Dist d("hb_install_fail");
  d.File(n.exe(), Bytes(ModuleDir() + "hbrecorder.exe"));
  d.File("data\\words.wds", "words");
  std::vector<std::string> entries = {"|16", "bin\\|16", n.exe() + "|32", "data\\|16", "data\\words.wds|32", "many\\|16"};
  std::string group = "[AltitudeGroup]\r\nFiles=61\r\n_g0=" + n.author + "\r\n";
  for (int i = 1; i <= 60; ++i) {  // more group files than the wizard's arrays once held
    std::string f = "many\\f" + std::to_string(i) + ".txt";
    d.File(f, "x");
    entries.push_back(f + "|32");
    group += "_g" + std::to_string(i) + "=" + n.author + f + "\r\n";
  }
  const std::string options = "[Option]\r\nBlueBack=0\r\n[Altitude]\r\nExecute=1\r\n";
  d.SetIni(IniOf(n, n.author + n.exe(), entries, options + group));

  // the three stops, then a run whose registry entry is refused
  {
    Process p;
    HWND w = OpenWizard(p, d, "", false, true, true);
    ASSERT_TRUE(w);
    char none = 0;
    for (char c = 'Q'; c <= 'Y' && !none; ++c)
      if (::GetDriveTypeA((std::string(1, c) + ":\\").c_str()) == DRIVE_NO_ROOT_DIR) none = c;
    ASSERT_TRUE(none);
    ASSERT_EQ(Beeps(w), "");  // recorded from here on: one beep before each box but the system file's
    SetText(w, IDC_INSTALLDIR, std::string(1, none) + ":\\nowhere\\app\\");
    ExpectStop(w, p.Pid(), "ｲﾝｽﾄｰﾙ先ﾌｫﾙﾀﾞの指定に誤りがあります。", "Hanbell/Install Error!!", Icon::Warning, 1);
    EXPECT_EQ(ProgressPos(w), 0);

    // the source folder in other letters, and by its short name
    std::string upper = d.Dir();
    for (char& c : upper) c = static_cast<char>(::toupper(static_cast<unsigned char>(c)));
    char shortName[MAX_PATH] = "";
    ASSERT_GT(::GetShortPathNameA(d.Dir().c_str(), shortName, MAX_PATH), 0u);
    ASSERT_NE(::lstrcmpiA(shortName, d.Dir().c_str()), 0);
    int beeps = 1;
    for (const std::string& same : {upper, std::string(shortName)}) {
      SetText(w, IDC_INSTALLDIR, same);
      ExpectStop(w, p.Pid(),
                 "☆現在のﾌｫﾙﾀﾞをｲﾝｽﾄｰﾙ先ﾌｫﾙﾀﾞには指定できません！\n　　『登録先』を別のﾌｫﾙﾀﾞ名に変更してください。",
                 "Hanbell/Install Error!!", Icon::Warning, ++beeps);
    }
    EXPECT_EQ(IniValue(d.IniPath(), "Setup", "Mode"), "1") << "the distribution's own file untouched";

    const std::string first = base + "first\\";
    ExpectSystemFileStop(w, p.Pid(), first, beeps);
    EXPECT_FALSE(Exists(first + n.exe())) << "the stop comes before anything is copied";
    EXPECT_EQ(Bytes(first + "data\\words.wds"), "system's");
    EXPECT_FALSE(Exists(first + "Setup.ini"));

    const std::string second = base + "second\\";
    SetText(w, IDC_INSTALLDIR, second);
    ASSERT_TRUE(RefuseUninstallKey(w));
    ExpectReport(p, w, 1, kRegistryLine, true, beeps + 1);
    EXPECT_TRUE(Exists(desktop + defaultLink + ".lnk")) << "the options come before the registry entry";
    for (int i : {1, 50, 60})
      EXPECT_EQ(ShortcutTarget(programs + n.app + "\\f" + std::to_string(i) + ".lnk"),
                second + "many\\f" + std::to_string(i) + ".txt");
    EXPECT_EQ(RegValue(HKEY_LOCAL_MACHINE, kUninstallBase + n.app, "DisplayName"), "<none>");
  }
  const std::string notStarted = base + "second\\" + n.exe() + ".txt";  // looked at after the later runs

  // entries that lead nowhere or outside (a device name among them), a file missing from
  // the distribution, a list without executable: each a copy failure, the settings line,
  // and no record
  {
    const std::string before = Bytes(win + "Hanbell.ini");
    std::vector<std::string> bad = {"|16", "data\\|16", "data\\words.wds|32", "data\\gone.txt|32",
                                    "!" + n.author + "no-bar-here", "..\\..\\escape.txt|32",
                                    "!D:\\elsewhere\\x.txt|32", "!\\\\srv\\share\\x.txt|32", "data\\con.txt|32",
                                    "sys\\Hanbell.ini|32"};
    d.File("sys\\Hanbell.ini", "not the record");
    d.SetIni(IniOf(n, "", bad,
                   options + "[AltitudeSystem]\r\nFiles=2\r\n_s0=" + n.author + "\r\n_s1=" + n.author +
                       "sys\\Hanbell.ini\r\n"));
    const std::string third = base + "deep\\third\\";
    Process p;
    HWND w = OpenWizard(p, d, third, false, false, true);
    ASSERT_TRUE(w);
    ExpectReport(p, w, 9, std::string(kCopyLine) + kSettingsLine + kRegistryLine);
    EXPECT_EQ(Bytes(third + "data\\words.wds"), "words");
    EXPECT_FALSE(Exists(base + "escape.txt"));
    EXPECT_EQ(Bytes(win + "Hanbell.ini"), before);
    EXPECT_EQ(IniValue(third + "Setup.ini", "Setup", "Mode"), "2") << "marked installed in any case";
  }

  // an absurd Count is a damaged file, and a negative pause no pause
  {
    std::string ini = IniOf(n, n.author + n.exe(), entries, options);
    ini.replace(ini.find("STime=0"), 7, "STime=-5");
    ini.replace(ini.find("Count=66"), 8, "Count=2000000000");
    d.SetIni(ini);
    Process p;
    HWND w = OpenWizard(p, d, base + "fourth\\", false, false, false);
    ASSERT_TRUE(w);
    ExpectReport(p, w, 1, kSettingsLine);
    EXPECT_FALSE(Exists(base + "fourth\\data"));
  }
  EXPECT_FALSE(Exists(notStarted)) << "nothing is started after a failure";
}

// A start-up folder that cannot be made: the option line, while the other shortcuts and
// the registry entry are still made.
TEST(Install, FailedStartupShortcutLeavesTheRestDone) {
  PrefixRestore restore;
  const Names n;
  const std::string base = TempDir("hb_option");
  restore.Remove(base);
  const std::string programs = ShellFolder("Programs"), desktop = ShellFolder("Desktop");
  const std::string link = n.app + "へのｼｮｰﾄｶｯﾄ";
  for (const std::string& p : {programs + n.app, desktop + link + ".lnk"}) restore.Remove(p);
  restore.Key(HKEY_LOCAL_MACHINE, kUninstallBase + n.app);
  // both values: asking the shell for the folder writes the first from the second
  const std::string missing = base + "missing\\twice";
  for (const std::string& key : {std::string(kShellFolders), std::string("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders")}) {
    restore.Value(HKEY_CURRENT_USER, key, "Startup");
    SetRegValue(HKEY_CURRENT_USER, key, "Startup", &missing);
  }

  Dist d("hb_install_option");
  d.File(n.exe(), Bytes(ModuleDir() + "hbrecorder.exe"));
  d.SetIni(IniOf(n, n.author + n.exe(), {"|16", "bin\\|16", n.exe() + "|32"}, "[Option]\r\nBlueBack=0\r\n"));
  Process p;
  HWND w = OpenWizard(p, d, base + "app\\", true, true, true);
  ASSERT_TRUE(w);
  ExpectReport(p, w, 1, kOptionLine);
  const std::string installed = base + "app\\" + n.exe();
  EXPECT_EQ(ShortcutTarget(programs + n.app + "\\" + link + ".lnk"), installed);
  EXPECT_EQ(ShortcutTarget(desktop + link + ".lnk"), installed);
  EXPECT_FALSE(Exists(base + "missing"));
  EXPECT_EQ(RegValue(HKEY_LOCAL_MACHINE, kUninstallBase + n.app, "DisplayName"), kTitle);
}

namespace {

// The names in a folder, to see that nothing was made there.
std::vector<std::string> Listing(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA fd;
  HANDLE h = ::FindFirstFileA((folder + "*").c_str(), &fd);
  for (BOOL more = h != INVALID_HANDLE_VALUE; more; more = ::FindNextFileA(h, &fd)) names.push_back(fd.cFileName);
  if (h != INVALID_HANDLE_VALUE) ::FindClose(h);
  return names;
}

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(::toupper(static_cast<unsigned char>(c)));
  return s;
}

}  // namespace

// What an install makes, its registered command removes: a group name that Windows
// shortens, a shared file held open during the uninstall (kept with its use, deleted by
// the next uninstall that finds it free), a run stopped before placing a shared file and
// tried again. No folder of the system's is an install folder, however it is spelt.
TEST(Install, WhatItMakesItsUninstallRemoves) {
  untest::CRestore restore;
  const Names n;
  const std::string win = WindowsDir(), held = "hbheld" + kPid + ".dll";
  for (const std::string& f : {held, n.plain}) restore.WindowsFile(f);
  ASSERT_TRUE(WriteFile(win + n.plain, "there before"));  // without a count: another program's
  const std::string programs = ShellFolder("Programs"), desktop = ShellFolder("Desktop");
  const std::string group = programs + "ABC Inc", link = n.app + "へのｼｮｰﾄｶｯﾄ.lnk";
  restore.Remove(group);
  const std::string key = kUninstallBase + n.app;
  restore.Key(HKEY_LOCAL_MACHINE, key);
  const std::string base = TempDir("hb_keep");
  restore.Remove(base);
  const std::string target = base + "app\\";

  Dist d("hb_keep_dist");
  const std::string& a = n.author;
  d.File(n.exe(), "MZ");
  d.File("sys\\" + held, "held");
  d.File("sys\\" + n.plain, "plain");
  d.File("data\\words.wds", "words");
  d.SetIni(IniOf(n, a + n.exe(),
                 {"|16", "bin\\|16", n.exe() + "|32", "sys\\|16", "sys\\" + held + "|32", "sys\\" + n.plain + "|32",
                  "data\\|16", "data\\words.wds|32"},
                 "[Option]\r\nBlueBack=0\r\n[Altitude]\r\nPrgGroup=ABC Inc.\r\n[AltitudeGroup]\r\nFiles=2\r\n_g0=" + a +
                     "\r\n_g1=" + a + "data\\words.wds\r\n[AltitudeSystem]\r\nFiles=3\r\n_s0=" + a + "\r\n_s1=" + a +
                     "sys\\" + held + "\r\n_s2=" + a + "sys\\" + n.plain + "\r\n"));
  {
    Process p;
    HWND w = OpenWizard(p, d, target, false, true, false);
    ASSERT_TRUE(w);
    ASSERT_EQ(Beeps(w), "");
    // a drive, the Windows folder by "..", the desktop in other letters with a trailing
    // dot, the program files folder by its short name: each refused before anything is made
    const std::string programFiles =
        RegValue(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir") + "\\";
    char shortName[MAX_PATH] = "";
    ASSERT_GT(::GetShortPathNameA(programFiles.c_str(), shortName, MAX_PATH), 0u);
    ASSERT_NE(::lstrcmpiA(shortName, programFiles.c_str()), 0);
    const std::string spelt[] = {"C:\\", win + "system32\\..\\.", Upper(desktop.substr(0, desktop.size() - 1)) + ".\\",
                                 shortName};
    int beeps = 0;
    for (const std::string& folder : spelt) {
      SetText(w, IDC_INSTALLDIR, folder);
      ExpectStop(w, p.Pid(), "ｲﾝｽﾄｰﾙ先ﾌｫﾙﾀﾞの指定に誤りがあります。", "Hanbell/Install Error!!", Icon::Warning, ++beeps);
      EXPECT_EQ(ProgressPos(w), 0) << folder;
    }
    for (const std::string& folder : {std::string("C:\\"), win, desktop, programFiles})
      for (const char* made : {"bin", "sys", "data", "Setup.ini"}) EXPECT_FALSE(Exists(folder + made)) << folder << made;
    EXPECT_FALSE(Exists(win + held));
    EXPECT_FALSE(untest::KeyExists(key));

    // a stop after the shared files were placed, then the same run again
    ExpectSystemFileStop(w, p.Pid(), target, beeps);
    EXPECT_FALSE(Exists(win + held)) << "the stop comes before anything is placed";
    EXPECT_EQ(untest::SharedCount(win + held), "<none>");
    ::SetFileAttributesA((target + "data\\words.wds").c_str(), FILE_ATTRIBUTE_NORMAL);
    ASSERT_TRUE(::DeleteFileA((target + "data\\words.wds").c_str()));
    MessageBoxInfo box = Install(w, p.Pid());
    EXPECT_EQ(box.text, "★ｲﾝｽﾄｰﾙは正常に終了しました。");
    ASSERT_TRUE(Answer(box, IDOK));
    EXPECT_TRUE(p.WaitExit());
  }
  EXPECT_EQ(untest::SharedCount(win + held), "1") << "placed and counted once";
  EXPECT_EQ(untest::SharedCount(win + n.plain), "2");
  ExpectLinks({{group + "\\words", target + "data\\words.wds"}, {group + "\\" + n.app + "へのｼｮｰﾄｶｯﾄ", target + n.exe()}});

  // the shared file held open while the registered command runs: it stays with its use,
  // and so do Setup.ini and the uninstall entry
  HANDLE open = ::CreateFileA((win + held).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(open, INVALID_HANDLE_VALUE);
  {
    Process p;
    HWND dlg = untest::StartRegisteredCommand(p, key);
    ASSERT_TRUE(dlg);
    MessageBoxInfo box = untest::RunAndWaitBox(p, dlg);
    ::CloseHandle(open);
    EXPECT_EQ(box.caption, "ｱﾝｲﾝｽﾄｰﾙの異常終了");
    EXPECT_NE(box.text.find("(err:1)"), std::string::npos) << box.text;
    EXPECT_EQ(untest::IndicatorStates(dlg), "ee--ee");
    untest::CloseAndExpectEnd(p, box);
  }
  EXPECT_EQ(Bytes(win + held), "held");
  EXPECT_EQ(untest::SharedCount(win + held), "1");
  EXPECT_EQ(untest::SharedCount(win + n.plain), "2") << "Setup.ini still lists its use";
  EXPECT_TRUE(Exists(target + "Setup.ini"));
  EXPECT_FALSE(Exists(target + n.exe()));
  EXPECT_TRUE(untest::KeyExists(key));
  EXPECT_TRUE(Exists(group + "\\" + link)) << "the shortcuts stay while a file of the application does";

  // an install into the same folder does not count the kept uses again; its uninstall,
  // with the file free, removes everything
  {
    Process p;
    HWND w = OpenWizard(p, d, target, false, true, false);
    ASSERT_TRUE(w);
    MessageBoxInfo box = Install(w, p.Pid());
    EXPECT_EQ(box.text, "★ｲﾝｽﾄｰﾙは正常に終了しました。");
    ASSERT_TRUE(Answer(box, IDOK));
    EXPECT_TRUE(p.WaitExit());
  }
  EXPECT_EQ(untest::SharedCount(win + held), "1");
  EXPECT_EQ(untest::SharedCount(win + n.plain), "2");
  ASSERT_TRUE(Exists(group + "\\" + link));
  {
    Process p;
    HWND dlg = untest::StartRegisteredCommand(p, key);
    ASSERT_TRUE(dlg);
    MessageBoxInfo box = untest::RunAndWaitBox(p, dlg);
    EXPECT_EQ(box.caption, "ｱﾝｲﾝｽﾄｰﾙの終了");
    EXPECT_EQ(box.text, "☆ｱﾝｲﾝｽﾄｰﾙが完了しました。");
    EXPECT_EQ(box.icon, Icon::Information);
    EXPECT_EQ(untest::IndicatorStates(dlg), "cc--cc");
    untest::CloseAndExpectEnd(p, box);
  }
  for (const std::string& gone : {win + held, target, group}) EXPECT_FALSE(Exists(gone)) << gone;
  EXPECT_EQ(untest::SharedCount(win + held), "<none>");
  EXPECT_EQ(Bytes(win + n.plain), "plain");
  EXPECT_EQ(untest::SharedCount(win + n.plain), "1");
  EXPECT_FALSE(untest::KeyExists(key));
}

// Told, never hidden: a group name no folder can be made of, a Count beyond the entries
// its section holds, a junction planted in the install folder, a use count that cannot
// be written.
TEST(Install, WhatCannotBeMadeIsReported) {
  untest::CRestore restore;
  const Names n;
  const std::string win = WindowsDir(), programs = ShellFolder("Programs");
  restore.WindowsFile(n.shared);
  restore.Key(HKEY_LOCAL_MACHINE, kUninstallBase + n.app);
  const std::string base = TempDir("hb_told");
  restore.Remove(base);

  Dist d("hb_told_dist");
  const std::string& a = n.author;
  d.File(n.exe(), "MZ");
  d.File("data\\words.wds", "words");
  d.File("docs\\manual.txt", "manual");
  d.File("sys\\" + n.shared, "shared");
  const std::string options = "[Option]\r\nBlueBack=0\r\n[Altitude]\r\nPrgGroup=...\r\n";
  d.SetIni(IniOf(n, a + n.exe(), {"|16", "bin\\|16", n.exe() + "|32", "data\\|16", "data\\words.wds|32"},
                 options + "[AltitudeGroup]\r\nFiles=2\r\n_g0=" + a + "\r\n_g1=" + a + "data\\words.wds\r\n"));
  const std::vector<std::string> before = Listing(programs);
  {
    Process p;
    HWND w = OpenWizard(p, d, base + "first\\", false, true, false);
    ASSERT_TRUE(w);
    ExpectReport(p, w, 1, kOptionLine);
  }
  EXPECT_EQ(Listing(programs), before) << "no group, and nothing made under another name";
  EXPECT_EQ(Bytes(base + "first\\data\\words.wds"), "words");
  EXPECT_EQ(RegValue(HKEY_LOCAL_MACHINE, kUninstallBase + n.app, "DisplayName"), kTitle) << "the entry is made";

  // a hand-written file without TopRoot and Files, whose Count is 3 beyond its entries
  // (and beyond its keys); data\ of the install folder a link to another folder
  const std::string victims = TempDir("hb_told_victims");
  restore.Remove(victims);
  ASSERT_TRUE(WriteFile(victims + "words.wds", "victim's"));
  const std::string second = base + "second\\";
  ASSERT_TRUE(MakeDirs(second));
  ASSERT_TRUE(untest::PlantLink(restore, second + "data", victims.substr(0, victims.size() - 1)));
  const std::vector<std::string> entries = {"|16", "bin\\|16", n.exe() + "|32", "data\\|16", "data\\words.wds|32",
                                            "docs\\|16", "docs\\manual.txt|32", "sys\\|16", "sys\\" + n.shared + "|32"};
  std::string ini = IniOf(n, a + n.exe(), entries,
                          options + "[AltitudeSystem]\r\nFiles=2\r\n_s0=" + a + "\r\n_s1=" + a + "sys\\" + n.shared + "\r\n");
  for (const std::string& line : {"TopRoot=" + a + "\r\n", std::string("Files=8\r\n")}) ini.erase(ini.find(line), line.size());
  for (std::size_t at = ini.find(a); at != std::string::npos; at = ini.find(a, at + d.Dir().size()))
    ini.replace(at, a.size(), d.Dir());
  ini.replace(ini.find("Count=9"), 7, "Count=12");
  d.SetIni(ini);
  {
    Process p;
    HWND w = OpenWizard(p, d, second, false, false, false);
    ASSERT_TRUE(w);
    ASSERT_TRUE(RefuseSharedCounts(w));
    ExpectReport(p, w, 3 + 2 + 1, std::string(kCopyLine) + kRegistryLine);
  }
  EXPECT_EQ(Bytes(second + n.exe()), "MZ");
  EXPECT_EQ(Bytes(second + "docs\\manual.txt"), "manual");
  EXPECT_EQ(Bytes(victims + "words.wds"), "victim's") << "nothing written through the link";
  EXPECT_EQ(Bytes(win + n.shared), "shared");
  EXPECT_EQ(untest::SharedCount(win + n.shared), "<none>") << "not written, and told";
}

// The Windows folder by other names than its own: a second drive letter for the volume
// (a link in the prefix's dosdevices, as subst makes one), Wine's Z: drive through the
// host's path to it, a folder link. The install refuses each before it makes anything,
// with a person (the folder's box) and without one (exit 2); so does the uninstall
// started on each with a Setup.ini planted there (its box; exit 3), deleting nothing.
TEST(Install, TheWindowsFolderByAnyOtherName) {
  untest::CRestore restore;
  untest::PlaceInstallerCopy();
  const Names n;
  const std::string win = WindowsDir(), victim = "hbalias" + kPid + ".dll";
  for (const std::string& f : {std::string("Setup.ini"), victim, n.app + ".exe"}) restore.WindowsFile(f);
  restore.Key(HKEY_LOCAL_MACHINE, kUninstallBase + n.app);
  char letter = 0;
  for (char c = 'P'; c <= 'Y' && !letter; ++c)
    if (::GetDriveTypeA((std::string(1, c) + ":\\").c_str()) == DRIVE_NO_ROOT_DIR) letter = c;
  ASSERT_TRUE(letter);
  const std::string drive(1, letter);
  ASSERT_TRUE(untest::MapDrive(restore, letter, "C:\\"));
  const std::string unixWin = untest::detail::UnixName(win);
  std::string zWin = "Z:" + unixWin;
  for (char& c : zWin) c = c == '/' ? '\\' : c;
  const std::string base = TempDir("hb_alias");
  restore.Remove(base);
  ASSERT_TRUE(untest::PlantLink(restore, base + "win", win.substr(0, win.size() - 1)));
  const std::string aliases[] = {drive + win.substr(1), zWin, base + "win\\", drive + ":\\windows\\system32\\..\\."};

  Dist d("hb_alias_dist");
  d.File(n.app + ".exe", "MZ");
  d.SetIni(IniOf(n, n.author + n.app + ".exe", {"|16", n.app + ".exe|32"}, "[Option]\r\nBlueBack=0\r\n"));
  for (const std::string& folder : aliases) {
    Process q;
    DWORD code = 0;
    ASSERT_TRUE(q.Start(d.Exe(), "-q -t" + folder, d.Dir()));
    ASSERT_TRUE(q.WaitExit(60000, &code));
    EXPECT_EQ(code, 2u) << folder;
  }
  {
    Process p;
    HWND w = OpenWizard(p, d, aliases[0], false, false, false);
    ASSERT_TRUE(w);
    ASSERT_EQ(Beeps(w), "");
    ExpectStop(w, p.Pid(), "ｲﾝｽﾄｰﾙ先ﾌｫﾙﾀﾞの指定に誤りがあります。", "Hanbell/Install Error!!", Icon::Warning, 1);
    p.Kill();
  }
  EXPECT_FALSE(Exists(win + n.app + ".exe"));
  EXPECT_FALSE(Exists(win + "Setup.ini"));
  EXPECT_FALSE(untest::KeyExists(kUninstallBase + n.app));

  const std::string planted = "[Setup]\r\nMode=2\r\nSTime=0\r\n[TreeCtrl]\r\nSelect=C:\\hbdist\\" + n.app +
                              ".exe\r\nTopRoot=C:\\hbdist\r\n_f0=C:\\hbdist\\|16\r\n_f1=C:\\hbdist\\" + victim +
                              "|32\r\nCount=2\r\n";
  ASSERT_TRUE(WriteFile(win + "Setup.ini", planted));
  ASSERT_TRUE(WriteFile(win + victim, "keep"));
  for (const std::string& folder : aliases) {
    Process q;
    DWORD code = 0;
    ASSERT_TRUE(q.Start(win + "Hanbell.exe", "-q -d -t" + folder, win));
    ASSERT_TRUE(q.WaitExit(60000, &code));
    EXPECT_EQ(code, 3u) << folder;
  }
  Process p;
  ASSERT_TRUE(p.Start(win + "Hanbell.exe", "-d -t" + aliases[2], win));
  MessageBoxInfo box = WaitMessageBox(p.Pid());
  ASSERT_TRUE(box.hwnd);
  EXPECT_EQ(box.text, "☆ｾｯﾄｱｯﾌﾟ情報が欠落しているため実行できません...");
  EXPECT_EQ(box.caption, "Hanbell/UnInstall Error!");
  untest::CloseAndExpectEnd(p, box);
  EXPECT_EQ(Bytes(win + victim), "keep");
  EXPECT_EQ(Bytes(win + "Setup.ini"), planted);
}

// While the run writes into a folder, nobody can rename or delete it to put a link in
// its place; once the run has ended, the folder is free again.
TEST(Install, TheFoldersItWritesIntoAreHeldForTheRun) {
  PrefixRestore restore;
  const Names n;
  restore.Key(HKEY_LOCAL_MACHINE, kUninstallBase + n.app);
  const std::string base = TempDir("hb_held");
  restore.Remove(base);
  const std::string target = base + "app\\";
  Dist d("hb_held_dist");
  d.File(n.exe(), "MZ");
  std::vector<std::string> entries = {"|16", "bin\\|16", n.exe() + "|32", "data\\|16"};
  for (const char* f : {"a.txt", "b.txt", "c.txt", "d.txt"}) {
    d.File(std::string("data\\") + f, f);
    entries.push_back(std::string("data\\") + f + "|32");
  }
  std::string ini = IniOf(n, n.author + n.exe(), entries, "[Option]\r\nBlueBack=0\r\n");
  ini.replace(ini.find("STime=0"), 7, "STime=700");
  d.SetIni(ini);
  Process p;
  HWND w = OpenWizard(p, d, target, false, false, false);
  ASSERT_TRUE(w);
  ASSERT_TRUE(Click(w, IDOK));
  ASSERT_TRUE(WaitFor([&] { return Exists(target + "data\\a.txt"); }, 30000));
  for (const std::string& folder : {target + "data", target + "bin", base + "app"}) {
    EXPECT_FALSE(::MoveFileA(folder.c_str(), (folder + "-moved").c_str())) << folder;
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION)) << folder;
  }
  MessageBoxInfo box = WaitMessageBox(p.Pid(), 60000);
  ASSERT_TRUE(box.hwnd);
  EXPECT_EQ(box.text, "★ｲﾝｽﾄｰﾙは正常に終了しました。");
  ASSERT_TRUE(Answer(box, IDOK));
  EXPECT_TRUE(p.WaitExit());
  EXPECT_EQ(Bytes(target + "data\\d.txt"), "d.txt");
  EXPECT_TRUE(::MoveFileA((target + "data").c_str(), (target + "data-moved").c_str())) << "free after the run";
}
