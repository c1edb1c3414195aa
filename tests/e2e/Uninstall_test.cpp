// The uninstall through the real program, started by the registered command from the
// Windows folder: the dialog, the removal of everything an install left, each result
// box from its real cause, cancelling, and a tampered Setup.ini.
#include <gtest/gtest.h>

#include "UninstallHelpers.h"

using namespace uitest;
using untest::CInstalled;
using untest::Bytes;
using untest::Exists;
using untest::ShellFolder;

namespace {

const char kTitleTail[] = "/ｼｽﾃﾑのｱﾝｲﾝｽﾄｰﾙを実行します！";
const char kLeftNote[] = "\n\nなお､ｲﾝｽﾄｰﾙ後に作成された幾つかのﾌｧｲﾙは削除されていません。";

std::string FileBoxText(int n) {
  return "☆ｱﾝｲﾝｽﾄｰﾙを完全には行えませんでした。(err:" + std::to_string(n) +
         ")\n\nｱﾌﾟﾘｹｰｼｮﾝが起動中か､あるいは既に削除されているか\nまたはﾌｧｲﾙの保存場所が移動された可能性があります。"
         "\n存置されたﾌｧｲﾙがある場合は手動で削除して下さい。" +
         kLeftNote;
}

}  // namespace

TEST(Uninstall, AnInstallBySetupIsRemovedByItsRegisteredCommand) {
  untest::CRestore restore;
  const std::string pid = std::to_string(::GetCurrentProcessId());
  const std::string app = "hbunapp" + pid, shared = "hbunshared" + pid + ".dll", plain = "hbunplain" + pid + ".dll";
  const std::string title = "ｱﾝｲﾝｽﾄｰﾙ試験 " + pid, author = "C:\\hbauthor\\un" + pid + "\\";
  const std::string win = WindowsDir();
  for (const std::string& f : {shared, plain}) restore.WindowsFile(f);
  ASSERT_TRUE(WriteFile(win + plain, "there before"));  // without a count: the install makes it 2
  const std::string base = TempDir("hb_un_target");
  restore.Remove(base);
  const std::string target = base + "ｲﾝｽﾄｰﾙ 先\\";
  const std::string startup = ShellFolder("Startup"), desktop = ShellFolder("Desktop"), programs = ShellFolder("Programs");
  const std::string link = app + "へのｼｮｰﾄｶｯﾄ.lnk";
  for (const std::string& p : {startup + link, desktop + link, programs + app}) restore.Remove(p);
  restore.Key(HKEY_LOCAL_MACHINE, hbtest::kUninstallBase + app);
  const std::string otherLink = startup + "HbUnOther.lnk";  // another program's
  restore.Remove(otherLink);
  ASSERT_TRUE(WriteFile(otherLink, "lnk"));

  // the distribution: nested folders (one with a 0x5C trail byte), a read-only file,
  // group files (a folder, one with a name of its own, one sent to the Windows folder)
  // and two Windows-folder files
  hbtest::Dist d("hb_un_dist");
  const std::vector<std::pair<std::string, std::string>> files = {
      {"bin\\" + app + ".exe", "MZ"}, {"data\\words.wds", "w"}, {"data\\locked.txt", "r"},
      {"data\\ソフト\\deep.dat", "d"}, {"docs\\manual.txt", "m"}, {"sys\\" + shared, "s"}, {"sys\\" + plain, "p"}};
  for (const auto& f : files) d.File(f.first, f.second);
  ::SetFileAttributesA((d.Dir() + "data\\locked.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  std::string ini = "[Setup]\r\nTitle=" + title + "\r\nVersion=Ver 1.00\r\nMode=1\r\nSTime=10\r\n[TreeCtrl]\r\nSelect=" +
                    author + "bin\\" + app + ".exe\r\nTopRoot=" + author + "\r\n";
  const std::vector<std::string> entries = {"|16", "bin\\|16", "bin\\" + app + ".exe|32", "data\\|16",
                                            "data\\words.wds|32", "data\\locked.txt|33", "data\\ソフト\\|16",
                                            "data\\ソフト\\deep.dat|32", "docs\\|16", "docs\\manual.txt|32",
                                            "sys\\|16", "sys\\" + shared + "|32", "sys\\" + plain + "|32"};
  for (std::size_t i = 0; i < entries.size(); ++i) ini += "_f" + std::to_string(i) + "=" + author + entries[i] + "\r\n";
  ini += "Count=" + std::to_string(entries.size()) + "\r\nFiles=7\r\n[Option]\r\nBlueBack=0\r\n[Altitude]\r\n" +
         "[AltitudeGroup]\r\nFiles=4\r\n_g0=" + author + "\r\n_g1=" + author + "docs\\\r\n_g2=" + author +
         "docs\\manual.txt\r\n_g3=" + author + "sys\\" + shared + "\r\n[AltitudeGrpSC]\r\nFiles=4\r\n_c0=Dummy\r\n" +
         "_c1=\r\n_c2=取扱説明書\r\n_c3=\r\n[AltitudeSystem]\r\nFiles=3\r\n_s0=" + author + "\r\n_s1=" + author + "sys\\" +
         shared + "\r\n_s2=" + author + "sys\\" + plain + "\r\n";
  d.SetIni(ini);
  {
    Process p;
    ASSERT_TRUE(p.Start(d.Exe(), "", d.Dir()));
    HWND w = hbtest::WaitWizard(p);
    ASSERT_TRUE(w);
    ASSERT_TRUE(SetText(w, IDC_INSTALLDIR, target));
    for (int id : {IDC_STARTUP, IDC_PROGRAM, IDC_DESKTOP}) SetCheck(w, id, true);
    MessageBoxInfo box = hbtest::Install(w, p.Pid());
    ASSERT_EQ(box.text, "★ｲﾝｽﾄｰﾙは正常に終了しました。");
    ASSERT_TRUE(Answer(box, IDOK));
    ASSERT_TRUE(p.WaitExit());
  }
  const std::string hanbellExe = Bytes(win + "Hanbell.exe"), hanbellIni = Bytes(win + "Hanbell.ini");
  ASSERT_EQ(hanbellExe, Bytes(d.Exe()));
  ASSERT_TRUE(Exists(programs + app + "\\取扱説明書.lnk") && Exists(desktop + link) && Exists(win + shared));
  ASSERT_EQ(untest::SharedCount(win + plain), "2");
  ASSERT_TRUE(untest::Listed(title));

  Process p;
  HWND dlg = untest::StartRegisteredCommand(p, hbtest::kUninstallBase + app);
  ASSERT_TRUE(dlg);
  EXPECT_EQ(GetText(dlg, IDC_UNINSTALL_TITLE), app + kTitleTail);
  EXPECT_EQ(GetText(dlg, IDC_UNINSTALL_COMPANY), "TOVANE Soft") << "no Name in the file";
  EXPECT_FALSE(IsEnabled(dlg, IDC_UNINSTALL_COMPANY));
  EXPECT_EQ(untest::Icons(dlg), "program program");
  EXPECT_EQ(::GetWindowLongA(::GetDlgItem(dlg, IDOK), GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
  EXPECT_EQ(untest::IndicatorStates(dlg), "------");
  for (int id : untest::kIndicators) {
    LONG style = ::GetWindowLongA(::GetDlgItem(dlg, id), GWL_STYLE);
    EXPECT_EQ(style & BS_TYPEMASK, BS_AUTORADIOBUTTON) << id;
    EXPECT_TRUE(style & BS_FLAT) << id;
    EXPECT_TRUE(style & WS_GROUP) << id << " starts its own group";
  }

  // Enter is 実行
  MessageBoxInfo box = untest::RunAndWaitBox(p, dlg, VK_RETURN);
  ASSERT_TRUE(box.hwnd);
  EXPECT_EQ(box.caption, "ｱﾝｲﾝｽﾄｰﾙの終了");
  EXPECT_EQ(box.text, "☆ｱﾝｲﾝｽﾄｰﾙが完了しました。");
  EXPECT_EQ(box.icon, Icon::Information);
  EXPECT_EQ(untest::IndicatorStates(dlg), "cccccc");
  untest::CloseAndExpectEnd(p, box);

  // nothing installed remains; the shared file that was there before stays with one use less
  for (const std::string& gone : {target, startup + link, desktop + link, programs + app, win + shared})
    EXPECT_FALSE(Exists(gone)) << gone;
  EXPECT_TRUE(Exists(base)) << "only the install folder itself goes";
  EXPECT_FALSE(untest::KeyExists(hbtest::kUninstallBase + app));
  EXPECT_FALSE(untest::Listed(title));
  EXPECT_EQ(untest::SharedCount(win + shared), "<none>");
  EXPECT_EQ(Bytes(win + plain), "p") << "the copy the install left, still used by another";
  EXPECT_EQ(untest::SharedCount(win + plain), "1");
  EXPECT_TRUE(Exists(otherLink));
  EXPECT_EQ(Bytes(win + "Hanbell.exe"), hanbellExe);
  EXPECT_EQ(Bytes(win + "Hanbell.ini"), hanbellIni);

  // the same command again: Setup.ini is gone, so start-up refuses it
  Process again;
  ASSERT_TRUE(again.Start(win + "Hanbell.exe", "-d -t" + target, win));
  MessageBoxInfo refused = WaitMessageBox(again.Pid());
  EXPECT_EQ(refused.text, "☆ｾｯﾄｱｯﾌﾟ情報が欠落しているため実行できません...");
  EXPECT_EQ(refused.caption, "Hanbell/UnInstall Error!");
  untest::CloseAndExpectEnd(again, refused);
}

TEST(Uninstall, EachOtherBoxFromItsRealCause) {
  untest::CRestore restore;
  untest::PlaceInstallerCopy();
  {  // the application made a file after the install: the folder message
    CInstalled app(restore, "HbUnMade");
    app.Folder("save");
    app.Options(true, true, true);
    app.Write();
    ASSERT_TRUE(WriteFile(app.Dir() + "save\\score.dat", "100"));
    Process p;
    HWND dlg = untest::StartRegisteredCommand(p, app.Key());
    ASSERT_TRUE(dlg);
    MessageBoxInfo box = untest::RunAndWaitBox(p, dlg);
    ASSERT_TRUE(box.hwnd);
    EXPECT_EQ(box.caption, "ｱﾝｲﾝｽﾄｰﾙの終了/その他情報");
    EXPECT_EQ(box.text, "☆ｱﾝｲﾝｽﾄｰﾙが完了しました。\n  ｲﾝｽﾄｰﾙ後に作成された幾つかのﾌｧｲﾙは削除されていません。");
    EXPECT_EQ(box.icon, Icon::Warning);
    EXPECT_EQ(untest::IndicatorStates(dlg), "cecccc") << "files gone, folders kept";
    untest::CloseAndExpectEnd(p, box);
    EXPECT_EQ(app.Leftovers(), (std::vector<std::string>{app.Dir(), app.Dir() + "save\\"}));
    EXPECT_TRUE(Exists(app.Dir() + "save\\score.dat"));
  }
  {  // the user already deleted the desktop shortcut: the shortcut message
    CInstalled app(restore, "HbUnLink");
    app.File("notes.txt", "n", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);  // read-only files go too
    app.Options(true, true, true);
    app.Write();
    // the desktop's window may be reading the new link for a moment
    ASSERT_TRUE(uitest::WaitFor([&] { return ::DeleteFileA(app.DesktopLink().c_str()) != FALSE; }, 5000));
    Process p;
    HWND dlg = untest::StartRegisteredCommand(p, app.Key());
    ASSERT_TRUE(dlg);
    MessageBoxInfo box = untest::RunAndWaitBox(p, dlg);
    ASSERT_TRUE(box.hwnd);
    EXPECT_EQ(box.caption, "ｱﾝｲﾝｽﾄｰﾙの終了");
    EXPECT_EQ(box.text,
              std::string("☆ｱﾝｲﾝｽﾄｰﾙ対象のｼｮｰﾄｶｯﾄﾌｧｲﾙが見つかりませんでした。(err:1)\n\n"
                          "ﾌﾟﾛｸﾞﾗﾑｸﾞﾙｰﾌﾟやﾃﾞｨｽｸﾄｯﾌﾟ等に登録されたｼｮｰﾄｶｯﾄﾌｧｲﾙが、\n既に削除されているか、"
                          "あるいは移動されている可能性\nがあります。(特に支障はありません)") +
                  kLeftNote);
    EXPECT_EQ(box.icon, Icon::Question);
    EXPECT_EQ(untest::IndicatorStates(dlg), "cccecc");
    untest::CloseAndExpectEnd(p, box);
    EXPECT_EQ(app.Leftovers(), std::vector<std::string>());
  }
  {  // an installed file still open in a running program, and the uninstall key removed by
     // another tool after the dialog opened, no shortcut options: the file message, and
     // Setup.ini kept for the next try
    CInstalled app(restore, "HbUnBusy");
    app.File("engine.dll");
    app.Write();
    HANDLE busy = ::CreateFileA((app.Dir() + "engine.dll").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(busy, INVALID_HANDLE_VALUE);
    Process p;
    HWND dlg = untest::StartRegisteredCommand(p, app.Key());
    ASSERT_TRUE(dlg);
    ASSERT_EQ(::SHDeleteKeyA(HKEY_LOCAL_MACHINE, app.Key().c_str()), ERROR_SUCCESS);
    MessageBoxInfo box = untest::RunAndWaitBox(p, dlg);
    ::CloseHandle(busy);
    ASSERT_TRUE(box.hwnd);
    EXPECT_EQ(box.caption, "ｱﾝｲﾝｽﾄｰﾙの異常終了");
    EXPECT_EQ(box.text, FileBoxText(1));
    EXPECT_EQ(box.icon, Icon::Warning);
    EXPECT_EQ(untest::IndicatorStates(dlg), "ee---e") << "no shortcut step runs without its option";
    untest::CloseAndExpectEnd(p, box);
    EXPECT_EQ(app.Leftovers(),
              (std::vector<std::string>{app.Dir(), app.Dir() + "engine.dll", app.Dir() + "Setup.ini"}));
  }
}

TEST(Uninstall, CancellingAndAMissingPauseRemoveNothing) {
  untest::CRestore restore;
  untest::PlaceInstallerCopy();
  CInstalled app(restore, "HbUnKeep");
  app.File("data.bin");
  app.Options(true, true, true);
  app.Setup()["Name"] = "";  // present and empty: an empty company line
  app.Write();
  std::vector<std::string> installed = app.Leftovers();
  ASSERT_EQ(installed.size(), 8u);

  struct Way {
    const char* what;
    void (*press)(HWND);
  };
  const Way ways[] = {{"ｷｬﾝｾﾙ", [](HWND d) { Click(d, IDCANCEL); }},
                      {"Esc", [](HWND d) { PressKey(d, VK_ESCAPE); }},
                      {"the close box", [](HWND d) { ::PostMessageA(d, WM_SYSCOMMAND, SC_CLOSE, 0); }}};
  for (const Way& way : ways) {
    Process p;
    HWND dlg = untest::StartRegisteredCommand(p, app.Key());
    ASSERT_TRUE(dlg) << way.what;
    EXPECT_EQ(GetText(dlg, IDC_UNINSTALL_COMPANY), "") << way.what;
    EXPECT_EQ(hbtest::Beeps(dlg), "");
    way.press(dlg);
    MessageBoxInfo box = WaitMessageBox(p.Pid());
    ASSERT_TRUE(box.hwnd) << way.what;
    EXPECT_EQ(hbtest::Beeps(dlg), "500/10") << way.what;
    EXPECT_EQ(box.caption, "ｱﾝｲﾝｽﾄｰﾙのｷｬﾝｾﾙ") << way.what;
    EXPECT_EQ(box.text, "☆ｱﾝｲﾝｽﾄｰﾙはｷｬﾝｾﾙされました。") << way.what;
    EXPECT_EQ(box.icon, Icon::Information) << way.what;
    EXPECT_EQ(::GetWindow(box.hwnd, GW_OWNER), dlg) << way.what;
    untest::CloseAndExpectEnd(p, box);
    EXPECT_EQ(app.Leftovers(), installed) << way.what;
  }

  // Setup.ini without STime: the stop box, and the process ends before anything goes
  app.Setup()["STime"] = "<absent>";
  app.Write();
  Process p;
  HWND dlg = untest::StartRegisteredCommand(p, app.Key());
  ASSERT_TRUE(dlg);
  ASSERT_TRUE(Click(dlg, IDOK));
  MessageBoxInfo box = WaitMessageBox(p.Pid());
  ASSERT_TRUE(box.hwnd);
  EXPECT_EQ(box.caption, "☆ｾｯﾄｱｯﾌﾟ情報登録欠落通知...");
  EXPECT_EQ(box.text,
            "☆ｾｯﾄｱｯﾌﾟ情報ﾌｧｲﾙ《 Setup.ini 》等を正しく呼出しできません。\n\n"
            "　　機器の接続状況等を確認してください。処理を中断します。");
  EXPECT_EQ(box.icon, Icon::Stop);
  EXPECT_EQ(::GetWindow(box.hwnd, GW_OWNER), dlg);
  EXPECT_EQ(untest::IndicatorStates(dlg), "------");
  untest::CloseAndExpectEnd(p, box);
  EXPECT_EQ(app.Leftovers(), installed);
}

TEST(Uninstall, ATamperedSetupIniDeletesNothingOutside) {
  untest::CRestore restore;
  untest::PlaceInstallerCopy();
  std::string hanbellExe = Bytes(WindowsDir() + "Hanbell.exe"), hanbellIni = Bytes(WindowsDir() + "Hanbell.ini");
  const std::string victims = TempDir("hb_un_victim");
  restore.Remove(victims);
  ASSERT_TRUE(WriteFile(victims + "victim.txt", "keep"));
  ASSERT_TRUE(::CreateDirectoryA((victims + "empty").c_str(), nullptr));
  std::string linkVictim = ShellFolder("Programs") + "HbUnVictim.lnk";
  restore.Remove(linkVictim);
  ASSERT_TRUE(WriteFile(linkVictim, "keep"));

  CInstalled app(restore, "HbUnTamper");
  app.File("ok.txt");
  // the install folder and the victims' folder are siblings under %TEMP%
  std::string victimName = victims.substr(victims.rfind('\\', victims.size() - 2) + 1);
  app.List("..\\" + victimName + "victim.txt", 32);  // climbs out by ".."
  app.List(victims + "victim.txt", 32);              // names it outright
  app.List("..\\" + victimName + "empty\\", 16);     // a folder outside
  // a link to the victims' folder planted in the install folder, and a file listed below it
  ASSERT_TRUE(untest::PlantLink(restore, app.Dir() + "linked", victims.substr(0, victims.size() - 1)));
  app.List("linked\\victim.txt", 32);
  app.WindowsFile("Hanbell.exe", 1, false);
  app.WindowsFile("Hanbell.ini", 1, false);
  app.WindowsFile("hbun_nocount.dll", 0);  // another program's, without a count
  app.WindowsFile("hbun_system.dll", 1);
  ::SetFileAttributesA((WindowsDir() + "hbun_system.dll").c_str(), FILE_ATTRIBUTE_SYSTEM);
  app.m_strPrgShortCut = "..\\HbUnVictim";  // the start-up link would lie in the programs folder
  app.Options(false, false, false);
  app.Setup()["Name"] = "ｿﾌﾄ工房";
  app.Write();
  {  // the start-up option on, with the climbing name and no link made for it
    std::string ini = Bytes(app.Dir() + "Setup.ini");
    ini.replace(ini.find("StartUp=0"), 9, "StartUp=1");
    ASSERT_TRUE(WriteFile(app.Dir() + "Setup.ini", ini));
  }

  Process p;
  HWND dlg = untest::StartRegisteredCommand(p, app.Key());
  ASSERT_TRUE(dlg);
  EXPECT_EQ(GetText(dlg, IDC_UNINSTALL_COMPANY), "ｿﾌﾄ工房");
  MessageBoxInfo box = untest::RunAndWaitBox(p, dlg);
  ASSERT_TRUE(box.hwnd);
  EXPECT_EQ(box.caption, "ｱﾝｲﾝｽﾄｰﾙの異常終了");
  EXPECT_EQ(box.text, FileBoxText(7)) << "two outside files, one behind a link and four Windows-folder files left alone";
  EXPECT_EQ(untest::IndicatorStates(dlg), "eee--c") << "files, the outside folder and the start-up link fail";
  untest::CloseAndExpectEnd(p, box);

  EXPECT_EQ(Bytes(victims + "victim.txt"), "keep");
  EXPECT_TRUE(Exists(victims + "empty"));
  EXPECT_EQ(Bytes(linkVictim), "keep");
  EXPECT_EQ(Bytes(WindowsDir() + "Hanbell.exe"), hanbellExe);
  EXPECT_EQ(Bytes(WindowsDir() + "Hanbell.ini"), hanbellIni);
  EXPECT_TRUE(Exists(WindowsDir() + "hbun_nocount.dll"));
  EXPECT_TRUE(Exists(WindowsDir() + "hbun_system.dll"));
  EXPECT_EQ(untest::SharedCount(WindowsDir() + "hbun_system.dll"), "1") << "a kept file keeps its count";
  for (const char* gone : {"ok.txt", "Setup.ini"}) EXPECT_FALSE(Exists(app.Dir() + gone)) << "the install's own files still go";
}

// A folder of the system's after -t is refused before the dialog, however it is spelt,
// even with a Setup.ini there that claims to be an installed copy; a use count that
// cannot be lowered is a failure, and the file stays with it.
TEST(Uninstall, NoFolderOfTheSystemsAndNoCountLostSilently) {
  untest::CRestore restore;
  untest::PlaceInstallerCopy();
  const std::string win = WindowsDir(), victim = "hbun_victim.dll";
  for (const char* f : {"Setup.ini", "hbun_victim.dll"}) restore.WindowsFile(f);
  ASSERT_TRUE(WriteFile(win + victim, "keep"));
  untest::SetSharedCount(win + victim, 1);
  const std::string planted = "[Setup]\r\nMode=2\r\nSTime=0\r\n[TreeCtrl]\r\nSelect=C:\\hbdist\\HbUnWin.exe\r\n"
                              "TopRoot=C:\\hbdist\r\n_f0=C:\\hbdist\\|16\r\n_f1=C:\\hbdist\\" + victim + "|32\r\nCount=2\r\n";
  ASSERT_TRUE(WriteFile(win + "Setup.ini", planted));
  const std::string key = std::string(hbtest::kUninstallBase) + "HbUnWin";
  restore.Key(HKEY_LOCAL_MACHINE, key);
  std::string lower = win;
  for (char& c : lower) c = static_cast<char>(::tolower(static_cast<unsigned char>(c)));
  for (const std::string& folder : {win, lower + ".", win + "system32\\..\\"}) {
    const std::string command = win + "Hanbell.exe -d -t" + folder;
    hbtest::SetRegValue(HKEY_LOCAL_MACHINE, key, "UninstallString", &command);
    Process p;
    ASSERT_TRUE(untest::StartCommandOf(p, key));
    MessageBoxInfo box = WaitMessageBox(p.Pid());
    ASSERT_TRUE(box.hwnd) << folder;
    EXPECT_EQ(box.text, "☆ｾｯﾄｱｯﾌﾟ情報が欠落しているため実行できません...") << folder;
    EXPECT_EQ(box.caption, "Hanbell/UnInstall Error!");
    EXPECT_EQ(box.icon, Icon::Stop);
    untest::CloseAndExpectEnd(p, box);
  }
  // nor quietly: it ends as for damaged setup information
  Process quiet;
  ASSERT_TRUE(quiet.Start(win + "Hanbell.exe", "-q -d -t" + win, win));
  DWORD code = 0;
  ASSERT_TRUE(quiet.WaitExit(kDefaultTimeoutMs, &code));
  EXPECT_EQ(code, 3u);
  EXPECT_EQ(Bytes(win + victim), "keep");
  EXPECT_EQ(untest::SharedCount(win + victim), "1");
  EXPECT_EQ(Bytes(win + "Setup.ini"), planted);

  CInstalled app(restore, "HbUnCount");
  app.WindowsFile("hbun_used.dll", 2);
  app.Write();
  Process p;
  HWND dlg = untest::StartRegisteredCommand(p, app.Key());
  ASSERT_TRUE(dlg);
  ASSERT_TRUE(hbtest::RefuseSharedCounts(dlg));
  MessageBoxInfo box = untest::RunAndWaitBox(p, dlg);
  ASSERT_TRUE(box.hwnd);
  EXPECT_EQ(box.caption, "ｱﾝｲﾝｽﾄｰﾙの異常終了");
  EXPECT_EQ(box.text, FileBoxText(1));
  untest::CloseAndExpectEnd(p, box);
  EXPECT_EQ(Bytes(win + "hbun_used.dll"), "dll hbun_used.dll");
  EXPECT_EQ(untest::SharedCount(win + "hbun_used.dll"), "2");
  EXPECT_EQ(app.Leftovers(), std::vector<std::string>{win + "hbun_used.dll"});
}
