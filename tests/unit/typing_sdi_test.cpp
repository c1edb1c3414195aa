// Portable parts of the single-document framework and the main window placement.
#include <gtest/gtest.h>

#include "FramePlacement.h"
#include "RecentFiles.h"
#include "SdiText.h"
#include "typing_memstream.h"

TEST(FramePlacement, HalfHeightCentredQuarterDown) {
  FramePlacement p = MainFramePlacement(1024, 768);
  EXPECT_EQ(p.x, 100);
  EXPECT_EQ(p.y, 192);
  EXPECT_EQ(p.cx, 824);
  EXPECT_EQ(p.cy, 384);
  p = MainFramePlacement(1023, 767);  // divisions truncate
  EXPECT_EQ(p.cy, 383);
  EXPECT_EQ(p.y, 191);
  EXPECT_EQ(p.cx, 823);
  EXPECT_EQ(p.x, 100);
}

TEST(DocString, SubstringsOfTheKeyRallyDocumentString) {
  const std::string s = "KeyRally\n\nKeyRal\n単語ファイル(*.wds)\n.wds\nKeyRally.Document\nKeyRal Document";
  std::string out;
  const char* expect[] = {"KeyRally",       "", "KeyRal", "単語ファイル(*.wds)", ".wds", "KeyRally.Document",
                          "KeyRal Document"};
  for (int i = 0; i < 7; ++i) {
    ASSERT_TRUE(sdi::ExtractSubString(out, s, i)) << i;
    EXPECT_EQ(out, expect[i]) << i;
  }
  EXPECT_FALSE(sdi::ExtractSubString(out, s, 7));
  EXPECT_FALSE(sdi::ExtractSubString(out, s, -1));
}

TEST(SdiText, TitlesFiltersAndMessages) {
  EXPECT_EQ(sdi::FrameTitle("words.wds", "KeyRally"), "words.wds - KeyRally");
  EXPECT_EQ(sdi::FrameTitle("words.wds", "KeyRally", false), "KeyRally - words.wds");
  EXPECT_EQ(sdi::FileDialogFilter("単語ファイル(*.wds)", ".wds", "すべてのﾌｧｲﾙ(*.*)"),
            std::string("単語ファイル(*.wds)\0*.wds\0すべてのﾌｧｲﾙ(*.*)\0*.*\0\0", 49));
  // "%1" after a double-byte character whose trail byte is '%' (0x81 0x25 is not a
  // valid pair, but 0x83 0x25 neither; use a real one: "ソ" 0x83 0x5C)
  EXPECT_EQ(sdi::FormatString1("%1 を開けません。%1", "ソ.wds"), "ソ.wds を開けません。ソ.wds");
  EXPECT_EQ(sdi::FormatString1("100%", "x"), "100%");
}

TEST(SdiText, FileNameOfAndAbbreviation) {
  EXPECT_EQ(sdi::FileNameOf("C:\\dir\\表\\word.wds"), "word.wds");
  EXPECT_EQ(sdi::FileNameOf("C:\\dir\\表"), "表");  // 0x95 0x5C: not a separator
  EXPECT_EQ(sdi::AbbreviatePath("C:\\a\\b.wds", 30), "C:\\a\\b.wds");
  EXPECT_EQ(sdi::AbbreviatePath("C:\\first folder\\second folder\\third\\list.wds", 30), "C:\\...\\third\\list.wds");
  std::string longName = std::string(40, 'n') + ".wds";
  EXPECT_EQ(sdi::AbbreviatePath("C:\\x\\" + longName, 30), longName);
  EXPECT_EQ(sdi::AbbreviatePath("C:\\x\\" + longName, 30, false).size(), 30u);
  std::string jp = "C:\\単語帳のフォルダ\\ソフト\\表.wds";
  std::string a = sdi::AbbreviatePath(jp, 20);
  EXPECT_LE(a.size(), 20u);
  EXPECT_EQ(a, "C:\\...\\ソフト\\表.wds");
}

TEST(RecentFiles, NewestFirstAtMostFourNoDuplicates) {
  CRecentFileList l(0, "Recent File List", "File", 4);
  EXPECT_TRUE(l.IsEmpty());
  for (const char* p : {"C:\\w\\1.wds", "C:\\w\\2.wds", "C:\\w\\3.wds", "C:\\w\\4.wds", "C:\\w\\5.wds"}) l.Add(p);
  ASSERT_EQ(l.GetSize(), 4);
  EXPECT_EQ(l[0], "C:\\w\\5.wds");
  EXPECT_EQ(l[3], "C:\\w\\2.wds");
  l.Add("c:\\W\\3.WDS");  // the same file in other letters moves up
  EXPECT_EQ(l[0], "c:\\W\\3.WDS");
  EXPECT_EQ(l[1], "C:\\w\\5.wds");
  EXPECT_EQ(l[2], "C:\\w\\4.wds");
  EXPECT_EQ(l[3], "C:\\w\\2.wds");
  l.Remove(0);
  EXPECT_EQ(l[0], "C:\\w\\5.wds");
  EXPECT_EQ(l[3], "");
  EXPECT_EQ(l.EntryName(0), "File1");
  EXPECT_EQ(l.EntryName(3), "File4");
}

TEST(RecentFiles, DisplayNames) {
  CRecentFileList l(0, "Recent File List", "File", 4);
  l.Add("C:\\very long folder name\\another long one\\R&D.wds");
  l.Add("C:\\cur\\here.wds");
  EXPECT_EQ(l.GetDisplayName(0, "C:\\CUR\\"), "here.wds");
  EXPECT_EQ(l.GetDisplayName(0, "C:\\other\\"), "C:\\cur\\here.wds");
  EXPECT_EQ(l.GetDisplayName(1, "C:\\cur\\"), "C:\\...\\R&&D.wds");
  EXPECT_EQ(l.GetDisplayName(2, "C:\\cur\\"), "");
}

TEST(CommandLine, SplitLikeTheRuntime) {
  using V = std::vector<std::string>;
  EXPECT_EQ(sdi::SplitCommandLine(""), V{});
  EXPECT_EQ(sdi::SplitCommandLine("  words.wds  "), V{"words.wds"});
  EXPECT_EQ(sdi::SplitCommandLine("\"C:\\My Words\\a.wds\" /x"), (V{"C:\\My Words\\a.wds", "/x"}));
  EXPECT_EQ(sdi::SplitCommandLine("a\\\\\"b c\" d"), (V{"a\\b c", "d"}));
  EXPECT_EQ(sdi::SplitCommandLine("a\\\"b"), V{"a\"b"});
  // "ソ" ends in 0x5C: it must not escape the closing quote
  EXPECT_EQ(sdi::SplitCommandLine("\"C:\\ソ\" next"), (V{"C:\\ソ", "next"}));
}

TEST(Archive, NumbersAndStringsLittleEndian) {
  MemStream s;
  {
    CArchive ar(&s, CArchive::store, 64);
    ar << uint8_t(1) << uint16_t(0x0203) << uint32_t(0x04050607) << int32_t(-2) << std::string("hi");
  }
  EXPECT_EQ(s.m_data, Bytes({1, 3, 2, 7, 6, 5, 4, 0xFE, 0xFF, 0xFF, 0xFF, 2, 'h', 'i'}));
  MemStream in(s.m_data, 1);
  CArchive ar(&in, CArchive::load, 64);
  uint8_t a;
  uint16_t b;
  uint32_t c;
  int32_t d;
  std::string e;
  ar >> a >> b >> c >> d >> e;
  EXPECT_TRUE(ar.IsOK());
  EXPECT_EQ(a, 1);
  EXPECT_EQ(b, 0x0203);
  EXPECT_EQ(c, 0x04050607u);
  EXPECT_EQ(d, -2);
  EXPECT_EQ(e, "hi");
  ar >> a;  // past the end
  EXPECT_FALSE(ar.IsOK());
}

TEST(Archive, StringReaderBoundsAndWideForm) {
  {  // 2-byte length says 300, only 3 bytes follow
    MemStream in(Bytes({0xFF, 0x2C, 0x01, 'a', 'b', 'c'}));
    CArchive ar(&in, CArchive::load, 64);
    std::string s;
    ar >> s;
    EXPECT_FALSE(ar.IsOK());
    EXPECT_EQ(s, "");
  }
  {  // a marker twice is malformed
    MemStream in(Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFE, 0xFF, 0}));
    CArchive ar(&in, CArchive::load, 64);
    ar.m_pfnWideToMultiByte = [](const uint16_t*, size_t, std::string& o) {
      o = "?";
      return true;
    };
    std::string s;
    ar >> s;
    EXPECT_FALSE(ar.IsOK());
  }
  {  // wide with a 3-byte character count: 256 characters
    std::string file = Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0x00, 0x01});
    for (int i = 0; i < 256; ++i) file += Bytes({'q', 0});
    MemStream in(file, 5);
    CArchive ar(&in, CArchive::load, 64);
    ar.m_pfnWideToMultiByte = [](const uint16_t* p, size_t n, std::string& o) {
      o.assign(n, static_cast<char>(p[0]));
      return true;
    };
    std::string s;
    ar >> s;
    EXPECT_TRUE(ar.IsOK());
    EXPECT_EQ(s, std::string(256, 'q'));
  }
}

TEST(CommandLine, ArgumentsAfterTheProgramName) {
  EXPECT_EQ(sdi::ArgsAfterProgramName("\"C:\\Program Files\\KeyRally.exe\"  基本単語.wds"), "基本単語.wds");
  EXPECT_EQ(sdi::ArgsAfterProgramName("KeyRally.exe\t\"a b.wds\""), "\"a b.wds\"");
  EXPECT_EQ(sdi::ArgsAfterProgramName("\"C:\\ソフト\\KeyRally.exe\""), "");
  EXPECT_EQ(sdi::ArgsAfterProgramName("KeyRally.exe"), "");
  EXPECT_EQ(sdi::ArgsAfterProgramName("\"unterminated"), "");
}
