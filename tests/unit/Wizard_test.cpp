#include <gtest/gtest.h>

#include "WizardRules.h"

using namespace wizardrules;

namespace {

InstallDirInputs Inputs() {
  InstallDirInputs in;
  in.strWindowsDir = "C:\\windows";
  in.strProgramFiles = "C:\\Program Files\\";
  in.strCompany = "TOVANE Soft";
  in.strExeTitle = "demo";
  return in;
}

}  // namespace

TEST(WizardInstallDir, DefaultIsProgramFilesCompanyAndTitle) {
  InstallDirInputs in = Inputs();
  EXPECT_EQ(ProposeInstallDir(in), "C:\\Program Files\\TOVANE\\demo\\");
  in.strCompany = "Acme";
  EXPECT_EQ(ProposeInstallDir(in), "C:\\Program Files\\Acme\\demo\\");
  // only the exact default name is shortened
  in.strCompany = "TOVANE Software";
  EXPECT_EQ(ProposeInstallDir(in), "C:\\Program Files\\TOVANE Software\\demo\\");
  in.strCompany = "株式会社表計算";  // trail bytes 0x5C must not count as separators
  EXPECT_EQ(ProposeInstallDir(in), "C:\\Program Files\\株式会社表計算\\demo\\");
  // an unreadable Program Files folder leaves a relative folder for the user to fix
  in.strProgramFiles = "";
  in.strCompany = "Acme";
  EXPECT_EQ(ProposeInstallDir(in), "Acme\\demo\\");
}

TEST(WizardInstallDir, RecordedFolderWinsOverEverything) {
  InstallDirInputs in = Inputs();
  in.strRecorded = "D:\\Tools\\Demo\\";
  in.strFixed = "E:\\Fixed\\";
  in.nFixedDriveType = 3;
  EXPECT_EQ(ProposeInstallDir(in), "D:\\Tools\\Demo\\");
}

TEST(WizardInstallDir, FixedFolderMovesOffCdRomAndUnknownDrives) {
  InstallDirInputs in = Inputs();
  in.strFixed = "D:\\Apps\\Demo\\";
  in.nFixedDriveType = kDriveCdRom;
  EXPECT_EQ(ProposeInstallDir(in), "C:\\Apps\\Demo\\");
  in.nFixedDriveType = kDriveUnknown;
  EXPECT_EQ(ProposeInstallDir(in), "C:\\Apps\\Demo\\");
  in.nFixedDriveType = kDriveNoRootDir;
  EXPECT_EQ(ProposeInstallDir(in), "C:\\Apps\\Demo\\");
  for (unsigned type : {2u, 3u, 4u, 6u}) {  // removable, fixed, remote, RAM disk
    in.nFixedDriveType = type;
    EXPECT_EQ(ProposeInstallDir(in), "D:\\Apps\\Demo\\") << type;
  }
}

TEST(WizardInstallDir, FixedFolderGetsItsBackslashAndDriveRoot) {
  EXPECT_EQ(WithBackslash("D:\\Apps\\Demo"), "D:\\Apps\\Demo\\");
  EXPECT_EQ(WithBackslash("D:\\Apps\\Demo\\"), "D:\\Apps\\Demo\\");
  EXPECT_EQ(WithBackslash(""), "");
  EXPECT_EQ(WithBackslash("C:\\表"), "C:\\表\\");  // 表 ends in byte 0x5C, which is no backslash
  EXPECT_EQ(DriveRoot("D:\\Apps\\Demo\\"), "D:\\");
  EXPECT_EQ(DriveRoot("\\\\srv\\share\\"), "\\");
}

TEST(WizardInstallDir, FocusLossNormalisation) {
  EXPECT_EQ(NormaliseInstallDir("", "C:\\Program Files\\", "TOVANE Soft", "demo"), "C:\\Program Files\\TOVANE\\demo\\");
  EXPECT_EQ(NormaliseInstallDir("C:\\x", "C:\\Program Files\\", "Acme", "demo"), "C:\\x\\");
  EXPECT_EQ(NormaliseInstallDir("C:\\x\\", "C:\\Program Files\\", "Acme", "demo"), "C:\\x\\");
  EXPECT_EQ(NormaliseInstallDir("C:\\ソ", "", "Acme", "demo"), "C:\\ソ\\");
}

TEST(WizardPaths, ExeTitleAndFolderAsSplitpathGivesThem) {
  EXPECT_EQ(ExeTitle("C:\\dist\\bin\\demo.exe"), "demo");
  EXPECT_EQ(ExeTitle("C:\\dist\\a.b.exe"), "a.b");
  EXPECT_EQ(ExeTitle("C:\\dist\\noext"), "noext");
  EXPECT_EQ(ExeTitle("C:\\dist\\bin\\"), "");
  EXPECT_EQ(ExeTitle("C:demo.exe"), "demo");
  EXPECT_EQ(ExeTitle("C:\\ゲーム\\表示.exe"), "表示");
  EXPECT_EQ(ExeTitle(""), "");
  EXPECT_EQ(DriveAndFolder("C:\\Apps\\Sample\\bin\\Sample.exe"), "C:\\Apps\\Sample\\bin\\");
  EXPECT_EQ(DriveAndFolder("Sample.exe"), "");
  EXPECT_EQ(DriveAndFolder("C:\\表\\a.exe"), "C:\\表\\");
  EXPECT_EQ(DriveAndFolder(""), "");
}

TEST(WizardDelay, NotAboveZeroBecomesZero) {
  EXPECT_EQ(NormaliseDelay("250"), "250");
  EXPECT_EQ(NormaliseDelay("0"), "0");
  EXPECT_EQ(NormaliseDelay(""), "0");
  EXPECT_EQ(NormaliseDelay("-5"), "0");
  EXPECT_EQ(NormaliseDelay("abc"), "0");
  EXPECT_EQ(NormaliseDelay("007"), "007");  // kept as typed when positive
  EXPECT_EQ(NormaliseDelay("-0"), "0");
  EXPECT_EQ(NormaliseDelay("000"), "0");
  EXPECT_EQ(NormaliseDelay(" 12ms"), " 12ms");  // the number is what leads the text
  // numbers beyond 32 bits are still above 0, whatever they would wrap to
  EXPECT_EQ(NormaliseDelay("4294967295"), "4294967295");
  EXPECT_EQ(NormaliseDelay("2147483648"), "2147483648");
  EXPECT_EQ(NormaliseDelay("99999999999999999999"), "99999999999999999999");
  EXPECT_EQ(NormaliseDelay("-4294967297"), "0");
}

TEST(WizardBanner, FontWidthSharesTheWindowByBytesPlusTen) {
  EXPECT_EQ(BannerFontWidth(800, 30), 20);
  EXPECT_EQ(BannerFontWidth(799, 30), 19);
  EXPECT_EQ(BannerFontWidth(500, 0), 50);
  std::string banner = "打鍵丸 Ver 1.00";  // six bytes of Japanese
  EXPECT_EQ(BannerFontWidth(1024, static_cast<int>(banner.size())), 1024 / (15 + 10));
}

TEST(WizardCommentary, LoadedLinesEachEndWithABreak) {
  EXPECT_EQ(CommentaryText(3, {"一行目", "", "三行目"}), "一行目\r\n\r\n三行目\r\n");
  EXPECT_EQ(CommentaryText(0, {}), std::string(kDefaultCommentary));
  EXPECT_EQ(std::string(kDefaultCommentary).find("\r\n", 20), std::string::npos);  // no break at its end
  // a Count above the stored lines reads the missing ones as empty lines, not the default
  EXPECT_EQ(CommentaryText(2, {"", ""}), "\r\n\r\n");
  // only a Count of 0 asks for the default text; a negative one leaves the box empty
  EXPECT_EQ(CommentaryText(-5, {}), "");
}

TEST(WizardCommentary, DamagedCountsReadAtMostTheCut) {
  EXPECT_EQ(CommentaryLinesToLoad(0), 0);
  EXPECT_EQ(CommentaryLinesToLoad(-1), 0);
  EXPECT_EQ(CommentaryLinesToLoad(3), 3);
  EXPECT_EQ(CommentaryLinesToLoad(kMaxCommentaryLines), kMaxCommentaryLines);
  EXPECT_EQ(CommentaryLinesToLoad(2000000000), kMaxCommentaryLines);
}

TEST(WizardCommentary, StoredLinesAreTheDisplayLinesLessTheLast) {
  // three loaded lines display as four, the last empty: a save gives the three back
  std::vector<std::string> lines = {"一行目", "二行目", "三行目"};
  std::vector<std::string> display = lines;
  display.push_back("");
  EXPECT_EQ(CommentaryLinesToStore(display), lines);
  // typed without a break after the second line: only the first is stored
  EXPECT_EQ(CommentaryLinesToStore({"first", "second"}), std::vector<std::string>{"first"});
  // the untouched default text stores its first line only
  EXPECT_EQ(CommentaryLinesToStore({"<<ｲﾝｽﾄｰﾙ情報>>", "　ここに..."}), std::vector<std::string>{"<<ｲﾝｽﾄｰﾙ情報>>"});
  EXPECT_TRUE(CommentaryLinesToStore({""}).empty());
  EXPECT_TRUE(CommentaryLinesToStore({}).empty());
}

TEST(WizardCommentary, LongLinesAreCutToTheFetchBufferOnCharacterBoundaries) {
  std::string ascii(300, 'a');
  EXPECT_EQ(CommentaryLinesToStore({ascii, ""})[0].size(), kLineBuffer);
  std::string kanji;
  for (int i = 0; i < 200; ++i) kanji += "漢";  // 400 bytes
  std::string cut = CommentaryLinesToStore({"a" + kanji, ""})[0];
  EXPECT_EQ(cut.size(), kLineBuffer - 1);  // a half character would make 260
  std::vector<std::string> many(static_cast<size_t>(kMaxCommentaryLines) + 50, "x");
  EXPECT_EQ(CommentaryLinesToStore(many).size(), static_cast<size_t>(kMaxCommentaryLines));
}

TEST(WizardLists, StoredCountsAreCutToTheArrays) {
  EXPECT_EQ(ClampListCount(3, 50), 3);
  EXPECT_EQ(ClampListCount(49, 50), 49);
  EXPECT_EQ(ClampListCount(50, 50), 49);  // one empty entry always follows the last used
  EXPECT_EQ(ClampListCount(2000000000, 50), 49);
  EXPECT_EQ(ClampListCount(-7, 50), 0);
  EXPECT_EQ(ClampListCount(0, 50), 0);
}

TEST(WizardFolderPicker, StartsAtTheFieldsFolderAndAnswersWithABackslash) {
  EXPECT_EQ(BrowseStartFolder("C:\\Apps\\Sample"), "C:\\Apps");  // a last part without "\" is dropped
  EXPECT_EQ(BrowseStartFolder("C:\\Apps\\Sample\\"), "C:\\Apps\\Sample");
  EXPECT_EQ(BrowseStartFolder(""), "");
  EXPECT_EQ(BrowseStartFolder("C:\\"), "C:");
  EXPECT_EQ(BrowseStartFolder("C:\\表\\"), "C:\\表");
  EXPECT_EQ(PickedFolder("C:\\Apps", "X"), "C:\\Apps\\");
  EXPECT_EQ(PickedFolder("C:\\", "X"), "C:\\");  // a drive root keeps its one backslash
  EXPECT_EQ(PickedFolder("", "X"), "");          // no file-system path: nothing chosen
  EXPECT_EQ(PickedFolder(std::string(260, 'a'), "C:\\start"), "C:\\start");
}
