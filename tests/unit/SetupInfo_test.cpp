#include "SetupInfo.h"

#include <gtest/gtest.h>

using namespace setupinfo;

TEST(SetupInfo, RebaseReplacesEveryOccurrenceOnlyWhenTheRootsDiffer) {
  EXPECT_EQ(Rebase("C:\\dist\\doc\\readme.txt", "C:\\dist\\", "E:\\"), "E:\\doc\\readme.txt");
  EXPECT_EQ(Rebase("C:\\dist\\a;C:\\dist\\b", "C:\\dist\\", "E:\\x\\"), "E:\\x\\a;E:\\x\\b");
  EXPECT_EQ(Rebase("C:\\dist\\a", "C:\\dist\\", "C:\\dist\\"), "C:\\dist\\a");
  // case-sensitive: a root that differs only in case is still replaced where it matches exactly
  EXPECT_EQ(Rebase("c:\\dist\\a", "C:\\dist\\", "E:\\"), "c:\\dist\\a");
  EXPECT_EQ(Rebase("Dummy", "C:\\dist\\", "E:\\"), "Dummy");
}

TEST(SetupInfo, RelativeFormRemovesTheRoot) {
  EXPECT_EQ(RelativeForm("C:\\dist\\bin\\app.exe", "C:\\dist\\"), "bin\\app.exe");
  EXPECT_EQ(RelativeForm("C:\\dist\\", "C:\\dist\\"), "");
  EXPECT_EQ(RelativeForm("D:\\other\\x", "C:\\dist\\"), "D:\\other\\x");
}

TEST(SetupInfo, TreeEntriesSplitAtTheFirstBar) {
  TreeEntry e;
  ASSERT_TRUE(ParseTreeEntry("C:\\dist\\|16", e));
  EXPECT_EQ(e.strPath, "C:\\dist\\");
  EXPECT_EQ(e.dwAttributes, 16u);
  ASSERT_TRUE(ParseTreeEntry("C:\\a|b.txt|33", e));
  EXPECT_EQ(e.strPath, "C:\\a");
  EXPECT_EQ(e.dwAttributes, 0u);  // "b.txt|33" has no leading number
  ASSERT_TRUE(ParseTreeEntry("C:\\表|33", e));
  EXPECT_EQ(e.strPath, "C:\\表");
  EXPECT_EQ(e.dwAttributes, 33u);
  EXPECT_FALSE(ParseTreeEntry("C:\\dist\\file.txt", e));
  EXPECT_FALSE(ParseTreeEntry("", e));
  EXPECT_EQ(FormatTreeEntry("C:\\dist\\a.txt", 33), "C:\\dist\\a.txt|33");
}

TEST(SetupInfo, ProfileIntegersReadLikeThePlatform) {
  EXPECT_EQ(ParseProfileInt("17"), 17);
  EXPECT_EQ(ParseProfileInt("  -1"), -1);
  EXPECT_EQ(ParseProfileInt("12abc"), 12);
  EXPECT_EQ(ParseProfileInt("abc"), 0);
  EXPECT_EQ(ParseProfileInt(""), 0);
  EXPECT_EQ(EntryKey("_f", 10), "_f10");
  EXPECT_EQ(ListEntriesToRead(3, 4), 3);
  EXPECT_EQ(ListEntriesToRead(-2, 4), 0);
  EXPECT_EQ(ListEntriesToRead(2000000000, 5), 5) << "entries beyond the keys cannot all be there";
}

#include "InstallNames.h"

TEST(InstallNames, NamesTheInstallAndTheRemovalShare) {
  EXPECT_EQ(ShortcutName("", "Sample"), "Sampleへのｼｮｰﾄｶｯﾄ");
  EXPECT_EQ(ShortcutName("打鍵丸", "Sample"), "打鍵丸");
  EXPECT_EQ(GroupFolderName("", "Sample"), "Sample");
  EXPECT_EQ(GroupFolderName("Games", "Sample"), "Games");
  // the folder as Windows makes it, or none at all
  EXPECT_EQ(GroupFolderName("ABC Inc.", "Sample"), "ABC Inc");
  EXPECT_EQ(GroupFolderName("Maker. \\Tools..", "Sample"), "Maker\\Tools");
  EXPECT_EQ(GroupFolderName("ソ.", "Sample"), "ソ") << "a 0x5C trail byte stays";
  EXPECT_EQ(GroupFolderName("...", "Sample"), "");
  EXPECT_EQ(MadeName("a\\. \\b"), "");
  EXPECT_EQ(MadeName("a..b"), "a..b");
  EXPECT_EQ(GroupLinkName("", "C:\\dist\\doc\\read.me.txt"), "read.me");
  EXPECT_EQ(GroupLinkName("", "C:\\dist\\words\\"), "words");  // a folder by its own name
  EXPECT_EQ(GroupLinkName("", "C:\\dist\\表\\"), "表");       // 0x5C trail byte is not a separator
  EXPECT_EQ(GroupLinkName("Help", "C:\\dist\\doc\\a.txt"), "Help");
  // a shortcut's folders as Windows makes them; its own name stays, ".lnk" follows it
  EXPECT_EQ(ShortcutName("Tools. \\Play.", "Sample"), "Tools\\Play.");
  EXPECT_EQ(GroupLinkName("ソ.\\Help ", "C:\\dist\\a.txt"), "ソ\\Help ");
  EXPECT_EQ(ShortcutName("..\\up", "Sample"), "..\\up") << "a climb is left for the checks that refuse it";
  EXPECT_EQ(UninstallKey("Sample"), "SoftWare\\Microsoft\\Windows\\CurrentVersion\\UnInstall\\Sample");
  EXPECT_EQ(UninstallCommand("C:\\WINDOWS\\", "C:\\Apps\\Sample\\"), "C:\\WINDOWS\\Hanbell.exe -d -tC:\\Apps\\Sample\\");
}
