#include "Mbcs.h"

#include <gtest/gtest.h>

// "ソ" is 0x83 0x5C and "表" is 0x95 0x5C: their trail byte is a backslash.
// "ァ" is 0x83 0x40; "ア" is 0x83 0x41, whose trail byte is 'A'.

TEST(Mbcs, ToLowerKeepsDoubleByteTrailBytes) {
  std::string s = "-S ア/T C:\\APPS\\";
  std::string lower = mbcs::ToLower(s);
  EXPECT_EQ(lower, "-s ア/t c:\\apps\\");
  ASSERT_EQ(std::string("ア").size(), 2u);
  EXPECT_EQ(static_cast<unsigned char>(std::string("ア")[1]), 0x41);
  EXPECT_NE(lower.find("ア"), std::string::npos);
}

TEST(Mbcs, ICompareFoldsAsciiOnly) {
  EXPECT_EQ(mbcs::ICompare("C:\\WINDOWS\\", "c:\\windows\\"), 0);
  EXPECT_NE(mbcs::ICompare("ア", "ぁ"), 0);
  EXPECT_LT(mbcs::ICompare("abc", "abd"), 0);
  EXPECT_GT(mbcs::ICompare("abcd", "ABC"), 0);
  EXPECT_TRUE(mbcs::IEquals("Setup.EXE", "setup.exe"));
}

TEST(Mbcs, FitBufferCutsToSizeLessOneWithoutSplittingCharacters) {
  EXPECT_EQ(mbcs::FitBuffer("abcdef", 4), "abc");
  EXPECT_EQ(mbcs::FitBuffer("abc", 4), "abc");
  EXPECT_EQ(mbcs::FitBuffer("abc", 0), "");
  // 3 bytes fit, the second character would need bytes 2 and 3
  EXPECT_EQ(mbcs::FitBuffer("aアイ", 4), "aア");
  EXPECT_EQ(mbcs::FitBuffer("アイ", 4), "ア");
}

TEST(Mbcs, FindCharSkipsTrailBytes) {
  std::string path = "C:\\表\\ソ";
  EXPECT_EQ(mbcs::FindLastChar(path, '\\'), 5u);  // not 7, the trail byte of ソ
  EXPECT_EQ(mbcs::FindFirstChar("表|1", '|'), 2u);
  EXPECT_EQ(mbcs::FindFirstChar("ソ", '\\'), std::string::npos);
}

TEST(Mbcs, ReplaceAllOnCharacterBoundaries) {
  EXPECT_EQ(mbcs::ReplaceAll("C:\\dist\\a C:\\dist\\b", "C:\\dist\\", "E:\\"), "E:\\a E:\\b");
  // the "\\x" inside "ソx" is a trail byte plus x, not a match
  EXPECT_EQ(mbcs::ReplaceAll("ソx", "\\x", "!"), "ソx");
  EXPECT_EQ(mbcs::ReplaceAll("abc", "", "z"), "abc");
}
