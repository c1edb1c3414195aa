// Folder levels of CreateFolderPath, and the whole-section profile rules without a file.
#include <gtest/gtest.h>

#include "FolderPath.h"
#include "ProfileSection.h"

using shell::FolderLevels;
typedef std::vector<std::string> Levels;

TEST(FolderLevels, DriveUncBareAndRoot) {
  EXPECT_EQ((Levels{"C:\\Apps", "C:\\Apps\\Sample"}), FolderLevels("C:\\Apps\\Sample\\"));
  EXPECT_EQ((Levels{"C:\\Apps", "C:\\Apps\\Sample"}), FolderLevels("C:\\Apps\\Sample"));
  EXPECT_EQ((Levels{"\\\\srv\\share", "\\\\srv\\share\\dir"}), FolderLevels("\\\\srv\\share\\dir"));
  EXPECT_EQ(Levels{"name"}, FolderLevels("name"));
  EXPECT_EQ(Levels{"C:"}, FolderLevels("C:\\"));
  EXPECT_EQ(Levels{"C:"}, FolderLevels("C:"));
  // Only one trailing backslash goes; a trail byte 0x5C is no separator.
  EXPECT_EQ((Levels{"C:\\\x95\x5c", "C:\\\x95\x5c\\\x83\x5c"}), FolderLevels("C:\\\x95\x5c\\\x83\x5c\\"));
  EXPECT_EQ(Levels{"C:\\\x95\x5c"}, FolderLevels("C:\\\x95\x5c"));
}

TEST(FolderLevels, JoinFolderNameAddsOneBackslash) {
  EXPECT_EQ("C:\\WINDOWS\\Hanbell.ini", shell::JoinFolderName("C:\\WINDOWS", "Hanbell.ini"));
  EXPECT_EQ("C:\\Hanbell.ini", shell::JoinFolderName("C:\\", "Hanbell.ini"));
  // A folder ending in 表 (0x95 0x5C) still needs its separator.
  EXPECT_EQ("C:\\\x95\x5c\\Hanbell.ini", shell::JoinFolderName("C:\\\x95\x5c", "Hanbell.ini"));
}

TEST(FolderLevels, FindTextOnCharacterBoundaries) {
  EXPECT_EQ(8u, shell::FindText("C:\\Apps\\bin\\a.exe", "bin\\a.exe"));
  // "\x5c\x83" spans the trail byte of one character and the lead byte of the next.
  EXPECT_EQ(std::string::npos, shell::FindText("\x95\x5c\x83\x41", "\x5c\x83"));
  EXPECT_EQ(std::string::npos, shell::FindText("abc", ""));
  EXPECT_EQ(std::string::npos, shell::FindText("C:\\APPS\\a.exe", "apps"));
}

TEST(ProfileRules, BufferCutsQuotesAndNumbers) {
  using setupinfo::ProfileIntFromValue;
  using setupinfo::ProfileValueForBuffer;
  EXPECT_EQ("abc", ProfileValueForBuffer("\"abc\"", 260));
  EXPECT_EQ("ab", ProfileValueForBuffer("\"abc\"", 4));  // a cut quoted value loses one more character
  EXPECT_EQ("abc", ProfileValueForBuffer("\"abc\"", 5));
  EXPECT_EQ("\"abc", ProfileValueForBuffer("\"abc", 260));
  EXPECT_EQ("\x93\xfa", ProfileValueForBuffer("\x93\xfa\x96\x7b", 4));  // never half a character
  EXPECT_EQ("", ProfileValueForBuffer("abc", 1));
  EXPECT_EQ(std::string(259, 'x'), ProfileValueForBuffer(std::string(300, 'x'), 260));
  EXPECT_EQ(-77, ProfileIntFromValue("", -77));
  EXPECT_EQ(-77, ProfileIntFromValue("\"\"", -77));
  EXPECT_EQ(16, ProfileIntFromValue("0x10", 0));
  EXPECT_EQ(0, ProfileIntFromValue("0X10", 0));
  EXPECT_EQ(1, ProfileIntFromValue("4294967297", 0));
  EXPECT_EQ(-5, ProfileIntFromValue("-5", 0));
  EXPECT_EQ(12, ProfileIntFromValue("12abc", 0));
}

TEST(ProfileRules, LookupIsCaseInsensitiveAndTakesTheFirstKey) {
  const char data[] = "Count=3\0count=9\0noeq\0_t0=line\0";
  setupinfo::CProfileSection s;
  s.Assign(data, sizeof data - 1);
  EXPECT_EQ(3, s.GetInt("COUNT", 0));
  EXPECT_EQ(7, s.GetInt("noeq", 7));
  EXPECT_EQ("line", s.GetString(" _T0 ", "", 260));
  EXPECT_EQ("d", s.GetString("_t1", "d  ", 260));
}

TEST(ProfileRules, WritesReplaceInPlaceAppendAndCreateTheSection) {
  std::string out;
  bool changed = false;
  ASSERT_TRUE(setupinfo::ApplyProfileWrites("[A]\r\nx = 1\r\n\r\n[T]\r\nCount=5\r\n_f4=old\r\n[B]\r\n", "t",
                                            {{"count", "2"}, {"_f0", "new"}, {"_f1", "  lead"}}, out, changed));
  EXPECT_TRUE(changed);
  EXPECT_EQ("[A]\r\nx=1\r\n[T]\r\nCount=2\r\n_f4=old\r\n_f0=new\r\n_f1=lead\r\n[B]\r\n", out);
  ASSERT_TRUE(setupinfo::ApplyProfileWrites("[A]\nx=1\n", "New", {{"k", "v"}}, out, changed));
  EXPECT_EQ("[A]\r\nx=1\r\n[New]\r\nk=v\r\n", out);
  ASSERT_TRUE(setupinfo::ApplyProfileWrites("[A]\n x = 1 \n", "a", {{"X", "1"}}, out, changed));
  EXPECT_FALSE(changed);
  EXPECT_EQ("[A]\n x = 1 \n", out);
  EXPECT_FALSE(setupinfo::ApplyProfileWrites("[A]\r\n=1\r\n", "A", {{"k", "v"}}, out, changed));
}
