// The install plan without files: destinations, group shortcuts, Windows-folder files,
// the safety of stored names, the list bounds, the overwrite rule, the read-me, the counts.
#include <gtest/gtest.h>

#include "InstallPlan.h"

using namespace installplan;

namespace {

const std::string kRoot = "C:\\author\\";  // where the list was made
const std::string kSrc = "E:\\dist\\";     // where it is installed from

PlanInputs Inputs() {
  PlanInputs in;
  in.strSetupDir = kSrc;
  in.strTopRoot = kRoot;
  in.strInstallDir = "D:\\Apps\\Demo\\";
  in.strWindowsDir = "C:\\WINDOWS\\";
  in.strSelect = kRoot + "bin\\demo.exe";
  in.strProgramsFolder = "C:\\Menu\\";
  return in;
}

// Stored entries: "!" marks a value taken as it is, others are below the root.
std::vector<StoredEntry> Stored(const std::vector<std::string>& values) {
  std::vector<StoredEntry> out;
  for (const std::string& v : values) out.push_back({v[0] == '!' ? v.substr(1) : kRoot + v, false});
  return out;
}

InstallPlan Plan(const PlanInputs& in, const std::vector<std::string>& values) {
  return MakePlan(in, static_cast<int>(values.size()), Stored(values));
}

}  // namespace

TEST(InstallPlan, DestinationsGroupsAndWindowsFolder) {
  PlanInputs in = Inputs();
  // lists as the wizard holds them: rebased to the source folder, entry 0 the root
  in.groupFiles = {kSrc, kSrc + "docs\\", kSrc + "docs\\a.txt", kSrc + "sys\\x.dll", kSrc + "DOCS\\A.TXT"};
  in.groupNames = {"Dummy", "", "", "", "説明書"};
  in.systemFiles = {kSrc, kSrc + "sys\\x.dll", kSrc + "bin\\demo.exe", kSrc + "docs\\"};
  in.strPrgGroup = "";
  InstallPlan plan = Plan(in, {"|16", "bin\\|16", "bin\\demo.exe|32", "docs\\|16", "docs\\a.txt|33", "sys\\x.dll|32",
                               "docs\\b.txt|32"});
  EXPECT_FALSE(plan.bSelectMissing);
  EXPECT_EQ(plan.strInstalledExe, "D:\\Apps\\Demo\\bin\\demo.exe");
  EXPECT_EQ(plan.strShortcutName, "demoへのｼｮｰﾄｶｯﾄ");
  EXPECT_EQ(plan.strInstalledIni, "D:\\Apps\\Demo\\Setup.ini");
  EXPECT_EQ(plan.ProgressTop(), 7 + 8);
  ASSERT_EQ(plan.entries.size(), 6u);  // the root is not processed

  const EntryPlan& exe = plan.entries[1];
  EXPECT_EQ(exe.action, EntryAction::CopyFile);
  EXPECT_FALSE(exe.bWindowsFolder) << "the executable is never transferred";
  EXPECT_EQ(exe.strSource, kSrc + "bin\\demo.exe");
  EXPECT_EQ(exe.strDest, "D:\\Apps\\Demo\\bin\\demo.exe");

  const EntryPlan& docs = plan.entries[2];  // a folder that is a group file
  EXPECT_EQ(docs.action, EntryAction::CreateFolder);
  EXPECT_EQ(docs.nGroup, 1);
  EXPECT_EQ(docs.strGroupLink, "C:\\Menu\\demo\\docs");
  EXPECT_FALSE(docs.bWindowsFolder) << "folder elements of the Windows-folder list are ignored";

  const EntryPlan& a = plan.entries[3];  // two group files match: the later one, with its own name
  EXPECT_EQ(a.nGroup, 4);
  EXPECT_EQ(a.strGroupLink, "C:\\Menu\\demo\\説明書");

  const EntryPlan& x = plan.entries[4];  // group file and Windows-folder file
  EXPECT_TRUE(x.bWindowsFolder);
  EXPECT_EQ(x.strDestName, "x.dll");
  EXPECT_EQ(x.strDest, "C:\\WINDOWS\\x.dll");
  EXPECT_EQ(x.strSource, kSrc + "sys\\x.dll");
  EXPECT_EQ(x.strGroupLink, "C:\\Menu\\demo\\x");

  EXPECT_EQ(plan.entries[5].nGroup, 0);

  // no programs folder (option clear or unknown): no group matching at all
  in.strProgramsFolder = "";
  plan = Plan(in, {"|16", "docs\\|16"});
  EXPECT_EQ(plan.entries[0].nGroup, 0);
  // a group folder of the author's own, and a name that would climb out of it
  in.strProgramsFolder = "C:\\Menu\\";
  in.strPrgGroup = "Acme";
  in.groupNames[1] = "..\\..\\Startup\\evil";
  plan = Plan(in, {"|16", "docs\\|16", "docs\\a.txt|32"});
  EXPECT_EQ(plan.entries[0].strGroupLink, "") << "counted as a failed shortcut";
  EXPECT_EQ(plan.entries[1].strGroupLink, "C:\\Menu\\Acme\\説明書");
}

TEST(InstallPlan, UnsafeOrBrokenEntriesAreRefused) {
  PlanInputs in = Inputs();
  in.systemFiles = {kSrc, kSrc + "Hanbell.ini", kSrc + "sys\\hanbell.EXE", kSrc + "ok.dll"};
  std::vector<StoredEntry> stored =
      Stored({"|16", "!" + kRoot + "no bar", "..\\..\\out.txt|32", "a\\..\\..\\out.txt|32", "!D:\\other\\x.txt|32",
              "!\\\\srv\\share\\x.txt|32", "!/etc/x|32", "data\\...\\x|32", "data\\nul.txt|32", "data\\COM3|32",
              "file.txt:stream|32", "data\\|32", "Hanbell.ini|32", "sys\\hanbell.EXE|32", "ok.dll|32",
              "data\\cut.txt|32", "data\\fine..txt|32"});
  stored[15].bOverLong = true;  // a cut value may have lost digits of its attribute word
  InstallPlan plan = MakePlan(in, static_cast<int>(stored.size()), stored);
  ASSERT_EQ(plan.entries.size(), 16u);
  for (std::size_t i = 0; i < 13; ++i) {
    EXPECT_EQ(plan.entries[i].action, EntryAction::Refuse) << i;
    EXPECT_EQ(plan.entries[i].strDest, "") << i;
  }
  EXPECT_EQ(plan.entries[13].strDest, "C:\\WINDOWS\\ok.dll");
  EXPECT_EQ(plan.entries[14].action, EntryAction::Refuse);
  EXPECT_EQ(plan.entries[15].strDest, "D:\\Apps\\Demo\\data\\fine..txt");

  EXPECT_TRUE(IsInsideName("a\\b c\\d.txt"));
  EXPECT_TRUE(IsInsideName("表\\ソ.txt")) << "trail bytes 0x5C are no separators";
  EXPECT_TRUE(IsInsideName("console.txt"));
  EXPECT_FALSE(IsInsideName(""));
  EXPECT_FALSE(IsInsideName("a/../../b"));
  EXPECT_FALSE(IsInsideName(". \\x"));
}

TEST(InstallPlan, SelectAndCountBounds) {
  PlanInputs in = Inputs();
  in.strSelect = "";
  InstallPlan plan = Plan(in, {"|16"});
  EXPECT_TRUE(plan.bSelectMissing);
  EXPECT_EQ(plan.strShortcutName, "");
  EXPECT_FALSE(plan.bListDamaged) << "Count 1 is the root alone";
  EXPECT_TRUE(plan.entries.empty());
  in.strSelect = "D:\\elsewhere\\demo.exe";  // not below the recorded root
  EXPECT_TRUE(Plan(in, {"|16"}).bSelectMissing);

  plan = MakePlan(Inputs(), 0, {});
  EXPECT_TRUE(plan.bListDamaged);
  EXPECT_EQ(plan.ProgressTop(), 8);
  EXPECT_TRUE(IsRealListCount(kMaxTreeEntries));
  EXPECT_FALSE(IsRealListCount(-1));
  EXPECT_FALSE(IsRealListCount(kMaxTreeEntries + 1));

  EXPECT_EQ(StepDelay(-5), 0);
  EXPECT_EQ(StepDelay(250), 250);
  EXPECT_EQ(InstallListCapacity(50, 70), 71);
  EXPECT_EQ(InstallListCapacity(50, 10), 50);
  EXPECT_EQ(InstallListCapacity(50, 2000000000), kMaxListEntries + 1);
  EXPECT_EQ(ExeLinkPath("", "demo"), "") << "no shortcut relative to wherever the current folder is";
  EXPECT_EQ(ExeLinkPath("C:\\Desk\\", "demo"), "C:\\Desk\\demo");
}

// What the install makes is what the removal will look for: missing entries, group
// names the file system shortens or cannot make, names it would shorten in the list.
TEST(InstallPlan, OnlyWhatTheRemovalCanFindAgain) {
  PlanInputs in = Inputs();
  in.groupFiles = {kSrc, kSrc + "a.txt"};
  in.groupNames = {"Dummy", ""};
  in.strPrgGroup = "ABC Inc.";
  // a Count 3 beyond the entries the section could hold: those read are planned, the rest missing
  InstallPlan plan = MakePlan(in, 6, Stored({"|16", "a.txt|32", "data.\\x.txt|32"}));
  EXPECT_EQ(plan.nCount, 6);
  EXPECT_FALSE(plan.bListDamaged);
  EXPECT_EQ(plan.ProgressTop(), 6 + 8);
  ASSERT_EQ(plan.entries.size(), 2u);
  EXPECT_EQ(plan.nMissing, 3);
  EXPECT_EQ(plan.strGroupFolder, "ABC Inc") << "the folder Windows makes of the name";
  EXPECT_EQ(plan.entries[0].strGroupLink, "C:\\Menu\\ABC Inc\\a");
  EXPECT_EQ(plan.entries[1].action, EntryAction::Refuse) << "Windows would make data, not data.";
  EXPECT_EQ(MakePlan(in, 4, {}).nMissing, 3) << "the root aside, every entry missing";

  in.strPrgGroup = "...";  // no folder can be made of it: no group shortcuts, the option fails
  plan = Plan(in, {"|16", "a.txt|32"});
  EXPECT_EQ(plan.strGroupFolder, "");
  EXPECT_EQ(plan.entries[0].nGroup, 0);
  EXPECT_EQ(GroupLinkPath(in.strProgramsFolder, plan.strGroupFolder, plan.strShortcutName), "");

  EXPECT_EQ(PathsBelow("D:\\App\\", "data\\表\\x.txt"),
            (std::vector<std::string>{"D:\\App\\data", "D:\\App\\data\\表", "D:\\App\\data\\表\\x.txt"}));
  EXPECT_EQ(PathsBelow("D:\\App\\", "docs\\"), std::vector<std::string>{"D:\\App\\docs"});
}

TEST(InstallPlan, OverwriteRule) {
  const FileStamp none, t100{true, 100}, t101{true, 101};
  EXPECT_EQ(DecideOverwrite(none, t100, true), OverwriteStep::Copy);
  EXPECT_EQ(DecideOverwrite(t100, none, true), OverwriteStep::Keep);
  EXPECT_EQ(DecideOverwrite(t100, t100, true), OverwriteStep::Copy);
  EXPECT_EQ(DecideOverwrite(t100, t101, true), OverwriteStep::Copy);
  EXPECT_EQ(DecideOverwrite(t101, t100, true), OverwriteStep::Ask);
  EXPECT_EQ(DecideOverwrite(t101, t100, false), OverwriteStep::Keep);
  EXPECT_EQ(OverwriteAnswer(6), kKeep);
  EXPECT_EQ(OverwriteAnswer(7), kCopy);
  EXPECT_EQ(OverwriteAnswer(2), kCopyAll);
  EXPECT_NE(OverwriteQuestionText("D:\\Apps\\sub\\表.dat").find("《 表.dat 》"), std::string::npos);

  CInstallTally tally;
  tally.Fail(kFailOption);
  tally.Fail(kFailCopy);
  std::string text = tally.ReportText();
  EXPECT_EQ(text.find("(Err: 2 )\n"), text.find("(Err: "));
  EXPECT_LT(text.find("ｺﾋﾟｰ出来ません"), text.find("ｵﾌﾟｼｮﾝ設定"));
  EXPECT_EQ(text.find("Setup.ini"), std::string::npos);
}

TEST(InstallPlan, ReadMeAndSharedCounts) {
  const std::vector<std::string> system = {kSrc, kSrc + "doc\\READ.txt", kSrc + "doc\\"};
  EXPECT_EQ(ReadMeTarget(kSrc + "doc\\other.txt", kSrc, "D:\\A\\", "C:\\W\\", system), "D:\\A\\doc\\other.txt");
  EXPECT_EQ(ReadMeTarget(kSrc + "doc\\read.txt", kSrc, "D:\\A\\", "C:\\W\\", system), "C:\\W\\read.txt");
  EXPECT_EQ(ReadMeTarget(kSrc + "..\\..\\x.exe", kSrc, "D:\\A\\", "C:\\W\\", system), "");
  EXPECT_EQ(ReadMeTarget("", kSrc, "D:\\A\\", "C:\\W\\", system), "");

  std::set<std::string> names =
      TransferredNames({"doc\\read.txt", "bin\\demo.exe", "doc\\"}, {kRoot, kRoot + "doc\\Read.txt", kRoot + "bin\\demo.exe"},
                       "bin\\demo.exe");
  EXPECT_EQ(names, (std::set<std::string>{"read.txt"}));
  EXPECT_EQ(NextUseCount(false, 0, false), 1u);
  EXPECT_EQ(NextUseCount(false, 0, true), 2u) << "someone used it before";
  EXPECT_EQ(NextUseCount(true, 3, true), 4u);
  EXPECT_EQ(NextUseCount(true, 0xFFFFFFFFul, true), 0xFFFFFFFFul);
}
