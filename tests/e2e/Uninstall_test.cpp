// The uninstall through the real program, started by the registered command from the
// Windows folder: the dialog, the removal of everything an install left, each result
// box from its real cause, cancelling, and a tampered Setup.ini.
#include <gtest/gtest.h>

#include "UninstallHelpers.h"

using namespace uitest;
using untest::CInstalled;
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

std::string Listed(const std::string& displayName) {
  std::string out;
  EXPECT_TRUE(RunAndRead("uninstaller.exe --list", out)) << "Wine's uninstaller did not run";
  return out.find(displayName) == std::string::npos ? "not listed" : "listed";
}

}  // namespace

TEST(Uninstall, AWholeInstallIsRemovedAndEveryStepShows) {
  untest::CInstallerCopy copy;
  std::string hanbellExe = untest::Bytes(copy.Exe()), hanbellIni = untest::Bytes(copy.Ini());
  CInstalled app("HbUnAll");
  app.Folder("words");
  app.File("words\\basic.wds", "w", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
  app.Folder("words\\ソフト");  // a 0x5C trail byte in a folder's name
  app.File("words\\ソフト\\上級.wds");
  app.Folder("doc");
  app.File("doc\\readme.txt", "r", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY);
  app.Folder("empty");
  app.WindowsFile("hbunall_only.dll", 1);   // this install's alone
  app.WindowsFile("hbunall_shared.dll", 2);  // was there before the install
  app.m_strPrgGroup = "HbUn ｸﾞﾙｰﾌﾟ";
  app.GroupFile("doc\\readme.txt", "読んでね", "読んでね");
  app.GroupFile("words\\", "words");
  app.Setup()["STime"] = "20";
  app.Options(true, true, true);
  std::string otherLink = ShellFolder("Startup") + "HbUnOther.lnk";  // another program's
  untest::CKeepFile keepOther(otherLink);
  ASSERT_TRUE(WriteFile(otherLink, "lnk"));
  app.Write();
  ASSERT_EQ(Listed(app.Setup()["Title"]), "listed");

  Process p;
  HWND dlg = app.Start(p);
  ASSERT_TRUE(dlg);
  EXPECT_EQ(GetText(dlg, IDC_UNINSTALL_TITLE), std::string("HbUnAll") + kTitleTail);
  EXPECT_EQ(GetText(dlg, IDC_UNINSTALL_COMPANY), "TOVANE Soft") << "Name absent";
  EXPECT_FALSE(IsEnabled(dlg, IDC_UNINSTALL_COMPANY));
  EXPECT_EQ(untest::Icons(dlg), "program program");
  EXPECT_EQ(::GetWindowLongA(::GetDlgItem(dlg, IDOK), GWL_STYLE) & 0xF, BS_DEFPUSHBUTTON);
  EXPECT_EQ(untest::IndicatorStates(dlg), "------");
  for (int id : untest::kIndicators) {
    LONG style = ::GetWindowLongA(::GetDlgItem(dlg, id), GWL_STYLE);
    EXPECT_EQ(style & 0xF, BS_AUTORADIOBUTTON) << id;
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

  EXPECT_EQ(app.Leftovers(), std::vector<std::string>{WindowsDir() + "hbunall_shared.dll"});
  EXPECT_FALSE(Exists(app.Dir()));
  EXPECT_EQ(untest::SharedCount(WindowsDir() + "hbunall_only.dll"), -1) << "the last use's count goes with the file";
  EXPECT_TRUE(Exists(WindowsDir() + "hbunall_shared.dll"));
  EXPECT_EQ(untest::SharedCount(WindowsDir() + "hbunall_shared.dll"), 1);
  EXPECT_TRUE(Exists(otherLink));
  EXPECT_EQ(untest::Bytes(copy.Exe()), hanbellExe);
  EXPECT_EQ(untest::Bytes(copy.Ini()), hanbellIni);
  EXPECT_EQ(Listed(app.Setup()["Title"]), "not listed");

  // the same command again: Setup.ini is gone, so start-up refuses it
  Process again;
  ASSERT_TRUE(again.Start(copy.Exe(), "-d -t" + app.Dir(), WindowsDir()));
  MessageBoxInfo refused = WaitMessageBox(again.Pid());
  EXPECT_EQ(refused.text, "☆ｾｯﾄｱｯﾌﾟ情報が欠落しているため実行できません...");
  EXPECT_EQ(refused.caption, "Hanbell/UnInstall Error!");
  untest::CloseAndExpectEnd(again, refused);
}

TEST(Uninstall, EachOtherBoxFromItsRealCause) {
  untest::CInstallerCopy copy;
  {  // the application made a file after the install: the folder message
    CInstalled app("HbUnMade");
    app.Folder("save");
    app.Options(true, true, true);
    app.Write();
    ASSERT_TRUE(WriteFile(app.Dir() + "save\\score.dat", "100"));
    Process p;
    HWND dlg = app.Start(p);
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
    CInstalled app("HbUnLink");
    app.Options(true, true, true);
    app.Write();
    ASSERT_TRUE(::DeleteFileA(app.DesktopLink().c_str()));
    Process p;
    HWND dlg = app.Start(p);
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
  {  // an installed file still open in a running program, no shortcut options: the file message
    CInstalled app("HbUnBusy");
    app.File("engine.dll");
    app.Write();
    HANDLE busy = ::CreateFileA((app.Dir() + "engine.dll").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(busy, INVALID_HANDLE_VALUE);
    Process p;
    HWND dlg = app.Start(p);
    ASSERT_TRUE(dlg);
    MessageBoxInfo box = untest::RunAndWaitBox(p, dlg);
    ::CloseHandle(busy);
    ASSERT_TRUE(box.hwnd);
    EXPECT_EQ(box.caption, "ｱﾝｲﾝｽﾄｰﾙの異常終了");
    EXPECT_EQ(box.text, FileBoxText(1));
    EXPECT_EQ(box.icon, Icon::Warning);
    EXPECT_EQ(untest::IndicatorStates(dlg), "ee---c") << "no shortcut step runs without its option";
    untest::CloseAndExpectEnd(p, box);
    EXPECT_EQ(app.Leftovers(), (std::vector<std::string>{app.Dir(), app.Dir() + "engine.dll"}));
  }
}

TEST(Uninstall, CancellingAndAMissingPauseRemoveNothing) {
  untest::CInstallerCopy copy;
  CInstalled app("HbUnKeep");
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
                      {"Esc", [](HWND d) { PostKey(d, VK_ESCAPE); }},
                      {"the close box", [](HWND d) { ::PostMessageA(d, WM_SYSCOMMAND, SC_CLOSE, 0); }}};
  for (const Way& way : ways) {
    Process p;
    HWND dlg = app.Start(p);
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
  HWND dlg = app.Start(p);
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
  untest::CInstallerCopy copy;
  std::string hanbellExe = untest::Bytes(copy.Exe()), hanbellIni = untest::Bytes(copy.Ini());
  untest::CScratch scratch("hb_un_victim");
  const std::string& victims = scratch.Dir();
  ASSERT_TRUE(WriteFile(victims + "victim.txt", "keep"));
  ASSERT_TRUE(::CreateDirectoryA((victims + "empty").c_str(), nullptr));
  std::string linkVictim = ShellFolder("Programs") + "HbUnVictim.lnk";
  untest::CKeepFile keepLink(linkVictim);
  ASSERT_TRUE(WriteFile(linkVictim, "keep"));

  CInstalled app("HbUnTamper");
  app.File("ok.txt");
  // the install folder and the victims' folder are siblings under %TEMP%
  std::string victimName = victims.substr(victims.rfind('\\', victims.size() - 2) + 1);
  app.List("..\\" + victimName + "victim.txt", 32);  // climbs out by ".."
  app.List(victims + "victim.txt", 32);              // names it outright
  app.List("..\\" + victimName + "empty\\", 16);     // a folder outside
  app.WindowsFile("Hanbell.exe", 1, false);
  app.WindowsFile("Hanbell.ini", 1, false);
  app.WindowsFile("hbun_nocount.dll", -1);  // another program's, without a count
  app.WindowsFile("hbun_system.dll", 1);
  ::SetFileAttributesA((WindowsDir() + "hbun_system.dll").c_str(), FILE_ATTRIBUTE_SYSTEM);
  app.m_strPrgShortCut = "..\\HbUnVictim";  // the start-up link would lie in the programs folder
  app.Options(false, false, false);
  app.Setup()["Name"] = "ｿﾌﾄ工房";
  app.Write();
  {  // the start-up option on, with the climbing name and no link made for it
    std::string ini = untest::Bytes(app.Dir() + "Setup.ini");
    ini.replace(ini.find("StartUp=0"), 9, "StartUp=1");
    ASSERT_TRUE(WriteFile(app.Dir() + "Setup.ini", ini));
  }

  Process p;
  HWND dlg = app.Start(p);
  ASSERT_TRUE(dlg);
  EXPECT_EQ(GetText(dlg, IDC_UNINSTALL_COMPANY), "ｿﾌﾄ工房");
  MessageBoxInfo box = untest::RunAndWaitBox(p, dlg);
  ASSERT_TRUE(box.hwnd);
  EXPECT_EQ(box.caption, "ｱﾝｲﾝｽﾄｰﾙの異常終了");
  EXPECT_EQ(box.text, FileBoxText(6)) << "two outside files and four Windows-folder files left alone";
  EXPECT_EQ(untest::IndicatorStates(dlg), "eee--c") << "files, the outside folder and the start-up link fail";
  untest::CloseAndExpectEnd(p, box);

  EXPECT_EQ(untest::Bytes(victims + "victim.txt"), "keep");
  EXPECT_TRUE(Exists(victims + "empty"));
  EXPECT_EQ(untest::Bytes(linkVictim), "keep");
  EXPECT_EQ(untest::Bytes(copy.Exe()), hanbellExe);
  EXPECT_EQ(untest::Bytes(copy.Ini()), hanbellIni);
  EXPECT_TRUE(Exists(WindowsDir() + "hbun_nocount.dll"));
  EXPECT_TRUE(Exists(WindowsDir() + "hbun_system.dll"));
  EXPECT_EQ(untest::SharedCount(WindowsDir() + "hbun_system.dll"), 1) << "a kept file keeps its count";
  EXPECT_FALSE(Exists(app.Dir())) << "the install's own files still go";
}
