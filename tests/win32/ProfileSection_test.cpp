// The whole-section read and the list write against the platform's own profile
// functions: same values for every key and buffer size, same bytes in the file.
#include <gtest/gtest.h>

#include <random>

#include "ProfileSection_win.h"
#include "TestFolder.h"

using setupinfo::CProfileSection;
using setupinfo::ProfileWrite;

namespace {

struct WriteCase {
  const char* name;
  const char* initial;  // nullptr: no file
  const char* section;
  std::vector<ProfileWrite> writes;
};

// Files an author or an editor may leave, and writes that touch every rule.
std::vector<WriteCase> HandCases() {
  const char* messy =
      "; written by hand\r\n"
      "top=before any section\n"
      "\r\n"
      "[Setup]\r\n"
      "  Title =  \x93\xfa\x96\x7b\x8c\xea  \r\n"  // Japanese title with blanks around
      "\tVersion\t=\tVer 1.00\t\r\n"
      ";Mode=0\r\n"
      "\r\n\r\n"
      "[TreeCtrl]\r\n"
      "Count=3\r\n"
      "_f0=C:\\DIST\\|16\r\n"
      "_F0=duplicate with another case\r\n"
      "_f1 = C:\\DIST\\A.TXT|32\r\n"
      "noequals line\r\n"
      "_f2=\"C:\\DIST\\B.TXT|33\"\r\n"
      "_f5=old higher entry\r\n"
      "[Option]\n"
      "StartUp=1\n"
      "[treectrl]\r\n"
      "_f1=second section of the same name\r\n"
      "\x1a";
  std::vector<WriteCase> cases;
  cases.push_back({"new file", nullptr, "TreeCtrl", {{"Select", ""}, {"Count", "2"}, {"_f0", "C:\\X\\|16"}}});
  cases.push_back({"empty file", "", "TreeCtrl", {{"Count", "1"}}});
  cases.push_back({"messy: replace, append, duplicate keys and sections", messy, "TreeCtrl",
                   {{"Select", "C:\\DIST\\A.TXT"},
                    {"TopRoot", "C:\\DIST\\"},
                    {"_f0", "C:\\DIST\\|16"},
                    {"_f1", "C:\\DIST\\A.TXT|32"},
                    {"COUNT", "2"},
                    {"Files", "1"}}});
  cases.push_back({"messy: section created at the end", messy, "Altitude", {{"InstallDir", ""}, {"Execute", "0"}}});
  cases.push_back({"messy: nothing changes", messy, "Setup", {{"Version", "Ver 1.00"}, {"title", "\x93\xfa\x96\x7b\x8c\xea"}}});
  cases.push_back({"messy: comment line as key, key without =", messy, "TreeCtrl", {{";Mode", "1"}, {"noequals line", "x"}}});
  cases.push_back({"blanks kept by the last write only", "[S]\r\na=1\r\n", "S",
                   {{"a", "  v  "}, {" b ", "\t x \t"}, {"c", "y  "}}});
  cases.push_back({"same key twice, other case", "[S]\r\n", "S", {{"k", "1"}, {"K", "2"}, {"k", "2"}}});
  cases.push_back({"value with a line break", "[S]\r\nz=0\r\n", "S", {{"a", "x\r\ny=1"}, {"y", "2"}, {"b", "3"}}});
  cases.push_back({"key that looks like a section", "[S]\r\n", "S", {{"[T]", "1"}, {"t", "2"}, {"k=x", "3"}}});
  cases.push_back({"section name with blanks and brackets", "[ S ]\r\na=1\r\n[S]x]\r\nb=1\r\n", " s ",
                   {{"a", "2"}, {"b", "2"}}});
  cases.push_back({"section name ending in a blank is created", "[A]\r\n", "T ", {{"k", "1"}, {"j", "2"}}});
  cases.push_back({"bytes outside code page 932", "[S]\r\nx=\x80\xa0\xfd\xfe\xff\x85\r\ny=\x82\r\nb=1\r\nc=\x82", "S",
                   {{"b", "2"}, {"d", "\x82"}}});
  cases.push_back({"only CR line ends, no final line end", "[S]\ra=1\rb=2", "S", {{"a", "1"}, {"b", "3"}}});
  cases.push_back({"empty value, then set again", "[S]\r\na=1\r\nnoeq\r\n", "S", {{"a", ""}, {"noeq", ""}, {"a", "1"}}});
  // Trail bytes that look like "]" and "\" inside names and values.
  cases.push_back({"double-byte names", "[\x81\x5d]\r\n\x83\x5c=1\r\n", "\x81\x5d", {{"\x83\x5c", "\x95\x5c"}, {"\x95\x5c", "2"}}});
  return cases;
}

std::string Escape(const std::string& s) {
  std::string r;
  char b[8];
  for (unsigned char c : s) {
    if (c == '\r') r += "\\r";
    else if (c == '\n') r += "\\n\n";
    else if (c < 32 || c >= 127) { snprintf(b, sizeof b, "\\x%02x", c); r += b; }
    else r += static_cast<char>(c);
  }
  return r;
}

void ExpectSameAsKeyByKey(const std::string& dir, const std::string& label, const char* initial, const char* section,
                          const std::vector<ProfileWrite>& writes) {
  std::string one = dir + "one.ini", bulk = dir + "bulk.ini";
  ::DeleteFileA(one.c_str());
  ::DeleteFileA(bulk.c_str());
  if (initial) {
    ASSERT_TRUE(WriteBytes(one, initial));
    ASSERT_TRUE(WriteBytes(bulk, initial));
  }
  for (const ProfileWrite& w : writes)
    ::WritePrivateProfileStringA(section, w.first.c_str(), w.second.c_str(), one.c_str());
  EXPECT_TRUE(setupinfo::WriteSection(bulk, section, writes)) << label;
  EXPECT_EQ(Escape(ReadBytes(one)), Escape(ReadBytes(bulk))) << label;
}

struct Pools {
  std::vector<const char*> keys, values, lines;
};

// Random files made of `pools.lines` and random writes, each compared with the key writes.
void ExpectRandomRoundsMatch(const std::string& dir, unsigned seed, const Pools& pools) {
  std::mt19937 rng(seed);
  const char* eolPool[] = {"\r\n", "\n", "\r", "\r\n\r\n"};
  auto pick = [&rng](const std::vector<const char*>& pool) { return pool[rng() % pool.size()]; };
  for (int round = 0; round < 500; ++round) {
    std::string text;
    int lines = static_cast<int>(rng() % 12);
    for (int i = 0; i < lines; ++i) text += std::string(pick(pools.lines)) + eolPool[rng() % 4];
    if (rng() % 4 == 0 && !text.empty()) text.resize(text.size() - 1);
    std::vector<ProfileWrite> writes;
    int n = 1 + static_cast<int>(rng() % 6);
    for (int i = 0; i < n; ++i) writes.emplace_back(pick(pools.keys), pick(pools.values));
    const char* section = (rng() % 3 == 0) ? "T" : "S";
    std::string label = "round " + std::to_string(round) + " section " + section + " writes:";
    for (const ProfileWrite& w : writes) label += " [" + Escape(w.first) + "]=[" + Escape(w.second) + "]";
    ExpectSameAsKeyByKey(dir, label + "\nfile:\n" + Escape(text), text.c_str(), section, writes);
    if (::testing::Test::HasFailure()) break;
  }
}

}  // namespace

TEST(ProfileWriteSection, LeavesTheBytesOfOneWritePerKey) {
  CTestFolder dir("pw");
  for (const WriteCase& c : HandCases()) ExpectSameAsKeyByKey(dir.Path(), c.name, c.initial, c.section, c.writes);
}

TEST(ProfileWriteSection, UntouchedWhenNothingChanges) {
  CTestFolder dir("pwu");
  std::string path = dir.Path() + "same.ini";
  const std::string text = "[S]\n a = 1 \n\n;c\n";  // LF line ends stay as long as nothing is rewritten
  ASSERT_TRUE(WriteBytes(path, text));
  EXPECT_TRUE(setupinfo::WriteSection(path, "S", {{"A", "1"}}));
  EXPECT_EQ(text, ReadBytes(path));
}

TEST(ProfileWriteSection, RandomFilesAndWritesMatch) {
  CTestFolder dir("pwr");
  ExpectRandomRoundsMatch(
      dir.Path(), 20240607,
      {{"a", "A", "b", "_f0", "_F0", "_f10", "Count", " c ", "d\t", "[x]", "=", "e=f", "\x83\x5c", ";note", "noeq", ""},
       {"", "1", " 1", "1 ", "\"q\"", "'", "x=y", "\x93\xfa\x96\x7b", "  ", "\x81\x40", "a\x1a", "[S]", "\x82",
        "\x82\x20x", "\x80\xfd"},
       {"[S]", "[s]", " [ S ] tail", "[T]", "[]", "[S", "a=1", " a = 2 ", "A=3", "b", "=v", ";c=1", "", "   ", "\t",
        "_f0=x|16", "Count = 9", "\x83\x5c=\x95\x5c", "[\x81\x5d]", "\x1a"}});
}

// Files and writes with nothing that forces the key writes: most rounds go through the
// section write.
TEST(ProfileWriteSection, RandomPlainFilesAndWritesMatch) {
  CTestFolder dir("pwp");
  ExpectRandomRoundsMatch(
      dir.Path(), 4,
      {{"a", "A", "b", "B", "_f0", "_F0", "_f10", "Count", " c", "\tq", "x]", "\x83\x5c"},
       {"", "1", " 1", "2", "\"q\"", "'", "x=y", "\x93\xfa\x96\x7b", "\x81\x40", "a\x1a" "b", "[S]", "\x95\x5c", ";x"},
       {"[S]", "[U]", " [ S ] tail", "[T]", "[S=1", "a=1", " a = 2 ", "A=3", "b=", "v=\"1\"", "k=;c=1", "", "   ",
        "_f0=x|16", "Count = 9", "\x83\x5c=\x95\x5c", "[\x81\x5d]", "\x1a"}});
}

// Where the section write would lose or move something, the keys go one by one: each
// case leaves the bytes of the key writes, which hold what the section write would not.
TEST(ProfileWriteSection, KeyByKeyWhereTheSectionWriteWouldDiffer) {
  CTestFolder dir("pwf");
  struct Case {
    const char* name;
    const char* initial;
    const char* section;
    std::vector<ProfileWrite> writes;
    const char* kept;  // what only the key writes leave; nullptr where both would agree
  };
  const Case cases[] = {
      {"comment line", "[S]\r\n;note\r\na=1\r\n", "S", {{"a", "2"}, {"b", "3"}}, ";note\r\n"},
      {"line without =", "[S]\r\nnoeq\r\na=1\r\n", "S", {{"a", "2"}, {"b", "3"}}, "noeq\r\n"},
      {"key without a name", "[S]\r\n=v\r\na=1\r\n", "S", {{"a", "2"}, {"b", "3"}}, "=v\r\n"},
      {"written key without a name", "[S]\r\n", "S", {{"", "1"}, {"a", "2"}}, nullptr},
      {"second section of that name", "[S]\r\na=1\r\n[s]\r\nb=1\r\n", "S", {{"a", "2"}, {"c", "3"}},
       "[s]\r\nb=1\r\n"},
      {"header without a name after it", "[S]\r\na=1\r\n[]\r\nb=1\r\n", "S", {{"a", "2"}, {"c", "3"}},
       "b=1\r\nc=3\r\n"},
      {"value ending in blanks", "[S]\r\n", "S", {{"a", "v  "}, {"b", "x"}}, "a=v\r\n"},
      {"value with a line break", "[S]\r\nz=0\r\n", "S", {{"a", "x\r\ny=1"}, {"y", "2"}}, "y=2\r\n"},
      {"key with =", "[S]\r\n", "S", {{"k=x", "3"}, {"k", "4"}}, "[S]\r\nk=4\r\n"},
      {"key like a header", "[S]\r\n", "S", {{"[T]", "1"}, {"t", "2"}}, "t=2\r\n[T]"},
      {"key like a comment", "[S]\r\n", "S", {{";c", "1"}, {"a", "2"}}, nullptr},
      {"double-byte key", "[S]\r\n\x82\x60=1\r\n", "S", {{"\x82\x81", "2"}, {"a", "3"}}, nullptr},
      {"lead byte without its trail", "[S]\r\n", "S", {{"a", "\x82"}, {"b", "2"}}, "b=2\r\n"},
      {"section name with blanks", "[S]\r\na=1\r\n", " S ", {{"a", "2"}, {"b", "3"}}, nullptr},
      {"UTF-8 file with a character outside code page 932", "\xEF\xBB\xBF[S]\r\nx=\xF0\x9F\x98\x80\r\na=1\r\n", "S",
       {{"a", "2"}, {"b", "3"}}, "x=\xF0\x9F\x98\x80\r\n"},
  };
  for (const Case& c : cases) {
    ExpectSameAsKeyByKey(dir.Path(), c.name, c.initial, c.section, c.writes);
    if (c.kept) {
      EXPECT_NE(std::string::npos, ReadBytes(dir.Path() + "bulk.ini").find(c.kept)) << c.name;
    }
  }

  // A file another program holds without sharing is not written, and says so.
  std::string locked = dir.Path() + "locked.ini";
  ASSERT_TRUE(WriteBytes(locked, "[S]\r\na=1\r\n"));
  HANDLE h = ::CreateFileA(locked.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(setupinfo::WriteSection(locked, "S", {{"a", "2"}, {"b", "3"}}));
  ::CloseHandle(h);
  EXPECT_EQ("[S]\r\na=1\r\n", ReadBytes(locked));
}

// A section of an earlier save, large enough that a few changes go key by key and many
// through the section write: both leave the key writes' bytes.
TEST(ProfileWriteSection, LargeSectionWithFewOrManyChanges) {
  CTestFolder dir("pwl");
  std::string initial = "[Setup]\r\nTitle=\x93\xfa\x96\x7b\r\n[TreeCtrl]\r\n";
  for (int i = 0; i < 3000; ++i) initial += "_f" + std::to_string(i) + "=C:\\D\\\x95\x5c" + std::to_string(i) + "|32\r\n";
  initial += "Count=3000\r\n[Option]\r\nStartUp=1\r\n";
  std::vector<ProfileWrite> few = {{"_f7", "C:\\D\\x|33"}, {"_f8", "C:\\D\\\x95\x5c" "8|32"}, {"count", "3001"},
                                   {"_f3000", "C:\\D\\y|32"}};
  ExpectSameAsKeyByKey(dir.Path(), "few", initial.c_str(), "TreeCtrl", few);
  std::vector<ProfileWrite> many;
  for (int i = 0; i < 20; ++i) many.emplace_back("_f" + std::to_string(i * 7), "\"C:\\E\\" + std::to_string(i) + "\"|16");
  ExpectSameAsKeyByKey(dir.Path(), "many", initial.c_str(), "TreeCtrl", many);
}

TEST(ProfileWriteSection, ReadersSeeTheNewValuesAtOnce) {
  CTestFolder dir("pwc");
  std::string path = dir.Path() + "cache.ini";
  // The platform caches files it has read; a rewrite of the same size in the same
  // instant must still be seen.
  ASSERT_TRUE(::WritePrivateProfileStringA("S", "k", "1", path.c_str()));
  char buf[16];
  for (int i = 2; i < 10; ++i) {
    ::GetPrivateProfileStringA("S", "k", "", buf, sizeof buf, path.c_str());
    ASSERT_TRUE(setupinfo::WriteSection(path, "S", {{"k", std::to_string(i)}}));
    ::GetPrivateProfileStringA("S", "k", "", buf, sizeof buf, path.c_str());
    EXPECT_EQ(std::to_string(i), buf);
  }
}

TEST(ProfileWriteSection, ReadOnlyFileAsTheProfileWrite) {
  CTestFolder dir("pwo");
  std::string one = dir.Path() + "one.ini", bulk = dir.Path() + "bulk.ini";
  for (const std::string& p : {one, bulk}) {
    ASSERT_TRUE(WriteBytes(p, "[S]\r\na=1\r\n"));
    ::SetFileAttributesA(p.c_str(), FILE_ATTRIBUTE_READONLY);
  }
  BOOL platform = ::WritePrivateProfileStringA("S", "a", "2", one.c_str());
  EXPECT_EQ(platform != FALSE, setupinfo::WriteSection(bulk, "S", {{"a", "2"}}) != FALSE);
  EXPECT_EQ(ReadBytes(one), ReadBytes(bulk));
  EXPECT_EQ(::GetFileAttributesA(one.c_str()), ::GetFileAttributesA(bulk.c_str()));
}

TEST(ProfileWriteSection, TenThousandKeysInOnePass) {
  CTestFolder dir("pwb");
  std::string path = dir.Path() + "big.ini";
  std::vector<ProfileWrite> writes;
  for (int i = 0; i < 10000; ++i) writes.emplace_back("_f" + std::to_string(i), "C:\\DIST\\F" + std::to_string(i) + "|32");
  DWORD t0 = ::GetTickCount();
  ASSERT_TRUE(setupinfo::WriteSection(path, "TreeCtrl", writes));
  EXPECT_LT(::GetTickCount() - t0, 5000u);
  CProfileSection sec;
  ASSERT_TRUE(setupinfo::ReadSection(path, "TreeCtrl", sec));
  EXPECT_EQ(10000u, sec.GetKeyCount());
  char buf[64];
  ::GetPrivateProfileStringA("TreeCtrl", "_f9999", "", buf, sizeof buf, path.c_str());
  EXPECT_STREQ("C:\\DIST\\F9999|32", buf);
}

// ---- reading ----

TEST(ProfileReadSection, EveryKeyAndBufferSizeAsTheProfileRead) {
  CTestFolder dir("pr");
  std::string path = dir.Path() + "read.ini";
  const std::string text =
      "[S]\r\n"
      "plain=value\r\n"
      "  spaced  =  inner  blanks  \r\n"
      "q1=\"abc\"\r\nq2='abc'\r\nq3=\"abc\r\nq4=\"\r\nq5=\"\"\r\nq6=\"a\"b\"\r\nq7=  \"x\"  \r\n"
      "jp=\x93\xfa\x96\x7b\x8c\xea\x95\x5c\r\n"
      "jq=\"\x93\xfa\x96\x7b\"\r\n"
      "ideo=\x81\x40v\x81\x40\r\n"
      "ctrlz=a\x1a\r\n"
      "noeq\r\n"
      "Dup=first\r\ndup=second\r\n"
      "empty=\r\n"
      "=nameless\r\n"
      "n1=12\r\nn2=-5\r\nn3=+7\r\nn4=0x1F\r\nn5=0X1f\r\nn6=0o17\r\nn7=0b101\r\nn8=4294967297\r\n"
      "n9=99999999999999999999999999999999999\r\nn10=12abc\r\nn11=abc\r\nn12=\"42\"\r\nn13=-0x10\r\nn14=\"\"\r\n"
      "n15=\x81\x40" "5\r\nn16=-\r\nn17=0x\r\n"
      "[T]\r\nplain=other section\r\n";
  ASSERT_TRUE(WriteBytes(path, text));
  CProfileSection sec;
  ASSERT_TRUE(setupinfo::ReadSection(path, "s", sec));
  const char* keys[] = {"plain", "spaced", " SPACED ", "q1", "q2", "q3", "q4", "q5", "q6", "q7", "jp", "jq", "ideo",
                        "ctrlz", "noeq", "DUP", "empty", "", "missing", "n1", "n2", "n3", "n4", "n5", "n6", "n7",
                        "n8", "n9", "n10", "n11", "n12", "n13", "n14", "n15", "n16", "n17"};
  const char* defaults[] = {"", "def", "def  ", " ", "  ", "\"d\"", "\x93\xfa\x96\x7b  "};
  for (const char* key : keys) {
    for (const char* def : defaults) {
      for (int size = 1; size <= 24; ++size) {
        std::vector<char> buf(64, '\0');
        ::GetPrivateProfileStringA("S", key, def, buf.data(), static_cast<DWORD>(size), path.c_str());
        EXPECT_EQ(std::string(buf.data()), sec.GetString(key, def, size))
            << "key [" << key << "] default [" << def << "] size " << size;
      }
    }
    EXPECT_EQ(static_cast<int>(::GetPrivateProfileIntA("S", key, -77, path.c_str())), sec.GetInt(key, -77))
        << "key [" << key << "]";
  }
}

TEST(ProfileReadSection, MissingFileOrSectionGivesDefaults) {
  CTestFolder dir("prm");
  CProfileSection sec;
  EXPECT_TRUE(setupinfo::ReadSection(dir.Path() + "none.ini", "S", sec));
  EXPECT_EQ(0u, sec.GetKeyCount());
  EXPECT_EQ("Ver 1.00", sec.GetString("Version", "Ver 1.00", 20));
  EXPECT_EQ(100, sec.GetInt("STime", 100));
  std::string path = dir.Path() + "other.ini";
  ASSERT_TRUE(WriteBytes(path, "[A]\r\nk=1\r\n"));
  EXPECT_TRUE(setupinfo::ReadSection(path, "S", sec));
  EXPECT_EQ(0u, sec.GetKeyCount());
  // a file another program holds locked cannot be read: its keys give their defaults
  ASSERT_TRUE(WriteBytes(path, "[S]\r\nSTime=5\r\n"));
  HANDLE lock = ::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  setupinfo::ReadSection(path, "S", sec);
  EXPECT_EQ(100, sec.GetInt("STime", 100));
  ::CloseHandle(lock);
  ASSERT_TRUE(setupinfo::ReadSection(path, "S", sec));
  EXPECT_EQ(5, sec.GetInt("STime", 100));
}

TEST(ProfileReadSection, LargeJapaneseSectionIsReadWhole) {
  CTestFolder dir("prl");
  std::string path = dir.Path() + "large.ini";
  std::string text = "[Commentary]\r\n";
  for (int i = 0; i < 3000; ++i) text += "_t" + std::to_string(i) + "=\x93\xfa\x96\x7b\x8c\xea\x82\xcc\x90\xe0\x96\xbe" + std::to_string(i) + "\r\n";
  ASSERT_TRUE(WriteBytes(path, text));
  CProfileSection sec;
  ASSERT_TRUE(setupinfo::ReadSection(path, "Commentary", sec));
  EXPECT_EQ(3000u, sec.GetKeyCount());
  EXPECT_EQ("\x93\xfa\x96\x7b\x8c\xea\x82\xcc\x90\xe0\x96\xbe" "2999", sec.GetString("_t2999", "", 260));
}
