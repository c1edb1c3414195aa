// A run without a person: where "-q" counts, what the other options and the folder are
// then, the exit codes, and the log's lines.
#include "QuietRun.h"
#include "QuietStart.h"

#include <gtest/gtest.h>

using startmode::Action;

namespace {

const std::string kWin = "C:\\windows";
const std::string kDist = "D:\\dist\\";

// Setup.ini of the distribution has Mode 1, every installed copy Mode 2.
startmode::Plan Decide(const std::string& cmd, const std::string& setupDir = kDist) {
  return startmode::Decide(cmd, setupDir, kWin, [](const std::string& ini) {
    if (ini == kDist + "Setup.ini") return 1;
    return ini != kDist + "Setup.ini" && ini.size() > 10 && ini.compare(ini.size() - 10, 10, "\\Setup.ini") == 0 ? 2 : 0;
  });
}

}  // namespace

TEST(QuietSwitch, CountsOnlyBeforeTheFirstFolderOption) {
  for (const char* on : {"-q", "/q", "-Q", "/Q", "-q -tC:\\x\\", "/d/q/t C:\\x", "x-qy"})
    EXPECT_TRUE(startmode::IsQuiet(on)) << on;
  // a folder named like a switch, after -t or after /t, whichever comes first
  for (const char* off : {"", "-s", "-tC:\\a-q\\", "/tC:\\a-q\\ -q", "-d -tC:\\x\\ /q", "-t-q"})
    EXPECT_FALSE(startmode::IsQuiet(off)) << off;
}

TEST(QuietSwitch, InstallLooksForOptionsBeforeTheFolderOnly) {
  // a folder holding "-s" and "-d" installs there, in the letters it was typed in
  startmode::Plan p = Decide("-q -tC:\\My-Setup\\Tools-D\\");
  EXPECT_EQ(p.action, Action::Install);
  EXPECT_TRUE(p.bQuiet);
  EXPECT_EQ(p.strFolder, "C:\\My-Setup\\Tools-D\\");
  // blanks around it and quotes are taken off, however the caller quoted; none given, none here
  EXPECT_EQ(Decide("/Q /t \"C:\\Program Files\\Demo\\\" ").strFolder, "C:\\Program Files\\Demo\\");
  EXPECT_EQ(Decide("\"-q -tC:\\Program Files\\Demo\\\"").strFolder, "C:\\Program Files\\Demo\\");
  EXPECT_EQ(Decide("-q").strFolder, "");
  EXPECT_EQ(Decide("-q -t  ").strFolder, "");
  // "/t" before "-t": the folder starts at the first of them
  EXPECT_EQ(Decide("-q /tC:\\my-tools\\").strFolder, "C:\\my-tools\\");

  // without -q the whole line counts, as it always has
  EXPECT_EQ(Decide("-tC:\\My-Setup\\").action, Action::Authoring);
  EXPECT_FALSE(Decide("").bQuiet);

  // what needs a person, or is no install, is wrong use
  EXPECT_EQ(Decide("-q -s").action, Action::ErrQuietAuthoring);
  EXPECT_EQ(Decide("-q -d").action, Action::ErrMisuseD);
  EXPECT_EQ(Decide("-q", "E:\\unauthored\\").action, Action::ErrQuietNoSetupInfo);
}

TEST(QuietSwitch, UninstallTakesTheFolderAfterTheFirstFolderOption) {
  startmode::Plan p = Decide("-q -d -tC:\\Apps\\Set-Up -s\\", "C:\\WINDOWS\\");
  EXPECT_EQ(p.action, Action::Uninstall);
  EXPECT_TRUE(p.bQuiet);
  EXPECT_EQ(p.strFolder, "c:\\apps\\set-up -s\\") << "lower case, as the dialog's run takes it";
  EXPECT_EQ(Decide("-q /d /tC:\\a-tb\\", "C:\\WINDOWS\\").strFolder, "c:\\a-tb\\");
  // -d after the folder option is part of the folder
  EXPECT_EQ(Decide("-q -tC:\\x-d\\", "C:\\WINDOWS\\").action, Action::ErrNoOption);
  EXPECT_EQ(Decide("-q -d", "C:\\WINDOWS\\").action, Action::ErrNoTarget);
  EXPECT_EQ(Decide("-q -d -tC:\\gone\\", "C:\\WINDOWS\\").action, Action::Uninstall);
  EXPECT_EQ(Decide("-q -d -tC:\\gone", "C:\\WINDOWS\\").strFolder, "c:\\gone\\") << "the final backslash added";
}

TEST(QuietExitCodes, SameForBothRuns) {
  EXPECT_EQ(quietrun::InstallExitCode(true, 0, false), 0);
  EXPECT_EQ(quietrun::InstallExitCode(true, 0, true), 3010);
  EXPECT_EQ(quietrun::InstallExitCode(true, 2, true), 1) << "failures before the restart";
  EXPECT_EQ(quietrun::InstallExitCode(false, 0, true), 2);
  EXPECT_EQ(quietrun::RemovalExitCode(0, 0, 0), 0);
  EXPECT_EQ(quietrun::RemovalExitCode(0, 1, 0), 1) << "a folder left with files made after the install";
  EXPECT_EQ(quietrun::RemovalExitCode(0, 0, 1), 1);
  for (Action a : {Action::ErrNoOption, Action::ErrNoTarget, Action::ErrNoSetupInfo, Action::ErrMisuseD,
                   Action::ErrQuietAuthoring, Action::ErrQuietNoSetupInfo})
    EXPECT_EQ(quietrun::StartExitCode(a), 3);
  EXPECT_EQ(quietrun::StartExitCode(Action::Install), 0);
  EXPECT_STREQ(quietrun::LogNameOf(Action::ErrNoTarget), "Hanbell-uninstall.log");
  EXPECT_STREQ(quietrun::LogNameOf(Action::ErrQuietNoSetupInfo), "Hanbell-install.log");
}

TEST(QuietLog, StepsThenTheReportWithWindowsLineEnds) {
  struct CMemLog : quietrun::CQuietLog {
    std::string text;
    void Write(const std::string& bytes) override { text += bytes; }
  } log;
  log.Step("copy", "C:\\Apps\\表\\a.txt", quietrun::kKept);
  log.Report("★ｲﾝｽﾄｰﾙを正常におこなえませんでした(Err: 1 )\n    ・Setup.iniﾌｧｲﾙが異常です。\n");
  log.Report("☆ｱﾝｲﾝｽﾄｰﾙが完了しました。");
  EXPECT_EQ(log.text,
            "copy\tC:\\Apps\\表\\a.txt\tkept\r\n"
            "★ｲﾝｽﾄｰﾙを正常におこなえませんでした(Err: 1 )\r\n    ・Setup.iniﾌｧｲﾙが異常です。\r\n"
            "☆ｱﾝｲﾝｽﾄｰﾙが完了しました。\r\n");
}

TEST(PackSwitch, EverythingAfterItIsThePackagesPath) {
  // the path as typed, with whatever switch-like names it holds
  startmode::Plan p = Decide("-pC:\\My-Tools\\Set-Up -d\\KeyRally-setup.exe");
  EXPECT_EQ(p.action, Action::Pack);
  EXPECT_FALSE(p.bQuiet);
  EXPECT_EQ(p.strFolder, "C:\\My-Tools\\Set-Up -d\\KeyRally-setup.exe");
  EXPECT_EQ(Decide("/P").action, Action::Pack);
  EXPECT_EQ(Decide("/P").strFolder, "");
  p = Decide("-q /p \"C:\\out dir\\\"");
  EXPECT_EQ(p.action, Action::Pack);
  EXPECT_TRUE(p.bQuiet);
  EXPECT_EQ(p.strFolder, "C:\\out dir\\");
  EXPECT_EQ(Decide("-q", "E:\\unauthored\\").action, Action::ErrQuietNoSetupInfo);
  EXPECT_EQ(Decide("-p", "E:\\unauthored\\").action, Action::Pack) << "the pack tells what is missing";
  // -q after -p is part of the path; authoring and -d win as they do over an install
  EXPECT_FALSE(Decide("-pC:\\x -q").bQuiet);
  EXPECT_EQ(Decide("-s -p").action, Action::Authoring);
  EXPECT_EQ(Decide("-q -d -p").action, Action::ErrMisuseD);
  // after the install folder, -p is part of the folder
  p = Decide("-q -tC:\\a-pb\\");
  EXPECT_EQ(p.action, Action::Install);
  EXPECT_EQ(p.strFolder, "C:\\a-pb\\");
  // the Windows folder knows no packing
  EXPECT_EQ(Decide("-q -d -tC:\\gone\\a-p\\", "C:\\WINDOWS\\").action, Action::Uninstall);
  EXPECT_EQ(quietrun::LogNameOf(Action::Pack), std::string(quietrun::kPackLogName));
  EXPECT_EQ(quietrun::PackExitCode(packrun::Outcome::Written), 0);
  EXPECT_EQ(quietrun::PackExitCode(packrun::Outcome::MissingFile), 3);
  EXPECT_EQ(quietrun::PackExitCode(packrun::Outcome::WriteFailed), 1);
}

TEST(PackSwitch, APackageOnlyInstalls) {
  startmode::Plan p = startmode::DecidePackage("");
  EXPECT_EQ(p.action, Action::Install);
  EXPECT_FALSE(p.bQuiet);
  p = startmode::DecidePackage("/Q -tC:\\Program Files\\My-Setup -d\\");
  EXPECT_EQ(p.action, Action::Install);
  EXPECT_TRUE(p.bQuiet);
  EXPECT_EQ(p.strFolder, "C:\\Program Files\\My-Setup -d\\");
  for (const char* refused : {"-s", "/S", "-d", "-q -d -tC:\\x\\", "-p", "-q -pC:\\x.exe", "-q -s"})
    EXPECT_EQ(startmode::DecidePackage(refused).action, Action::ErrPackageOption) << refused;
  EXPECT_EQ(quietrun::LogNameOf(Action::ErrPackageOption), std::string(quietrun::kInstallLogName));
}
