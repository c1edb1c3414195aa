// Folder levels of CreateFolderPath, and the whole-section profile rules without a file.
#include <gtest/gtest.h>

#include <cstring>

#include "FolderPath.h"
#include "ProfileSection.h"
#include "ProtectedFolders.h"

#include <functional>
#include <map>
#include <set>

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

TEST(ProtectedFolders, NoRootNoSystemFolderNorOneAboveItHoweverSpelt) {
  const std::vector<std::string> system = {"C:\\WINDOWS", "C:\\WINDOWS\\system32", "C:\\Program Files\\",
                                           "C:\\users\\me", "C:\\users\\me\\Desktop", "", "D:\\表"};
  for (const char* bad : {"C:\\", "c:", "D:/", "\\\\srv\\share\\", "C:\\windows\\", "c:\\WINDOWS.\\",
                          "C:\\Windows\\System32\\..\\.", "C:\\PROGRAM FILES", "C:\\users", "C:\\users\\me\\..\\me\\desktop ",
                          "C:\\x\\...\\..\\..", "D:\\表\\", "C:\\..", "\\\\?\\C:\\apps", "relative\\x", ""})
    EXPECT_TRUE(shell::IsProtectedFolder(bad, system)) << bad;
  for (const char* fine : {"C:\\Program Files\\Acme\\App\\", "C:\\WINDOWS\\MyApp", "C:\\users\\me\\Apps\\x",
                           "C:\\users\\mel", "D:\\表示", "E:\\Games\\"})
    EXPECT_FALSE(shell::IsProtectedFolder(fine, system)) << fine;
  EXPECT_EQ(shell::ComparableFolder("C:/Apps/./Sample. /x/../"), "c:\\apps\\sample");
  EXPECT_EQ(shell::ComparableFolder("C:\\"), "c:\\");
  EXPECT_EQ(shell::ComparableFolder("Apps\\x"), "");
}

namespace {

// A file system of folders by every name that reaches them: each name gives the
// folder's identity (a serial, an index, its final path) or cannot be read.
struct CNames : shell::IFolderLookup {
  std::map<std::string, shell::FolderIdentity> names;  // by lower-case full path
  std::set<std::string> unreadable;
  // `name` reaches the folder whose final path is `final` on volume `serial`
  void Add(const std::string& name, const std::string& final, unsigned long serial = 7, bool root = false) {
    shell::FolderIdentity id;
    id.nVolume = serial;
    id.nIndex = std::hash<std::string>()(shell::ComparableFolder(final)) | 1;
    id.strFinal = final;
    id.bVolumeRoot = root;
    names[shell::ComparableFolder(name)] = id;
  }
  shell::Lookup Identify(const std::string& path, shell::FolderIdentity& id) override {
    const std::string key = shell::ComparableFolder(path);
    if (unreadable.count(key)) return shell::Lookup::Unreadable;
    auto it = names.find(key);
    if (it == names.end()) return shell::Lookup::Missing;
    id = it->second;
    return shell::Lookup::Found;
  }
};

}  // namespace

// What the folder is, not how it is spelt: another drive letter for the volume, an
// administrative share (which gives the server's index under a final path of its own),
// a link in the folder or above it, a volume mounted in a folder, the system folder a
// 32-bit program reaches as Sysnative; and closed where the system cannot tell.
TEST(ProtectedFolders, JudgedByIdentity) {
  CNames fs;
  for (const char* f : {"C:\\", "C:\\Windows", "C:\\Windows\\System32", "C:\\Windows\\SysWOW64", "C:\\Apps",
                        "C:\\Apps\\Big", "C:\\Program Files", "C:\\Program Files (x86)", "C:\\Users", "C:\\Users\\me",
                        "C:\\Users\\me\\Desktop", "C:\\mnt"})
    fs.Add(f, f);
  fs.Add("C:\\Windows\\Sysnative", "C:\\Windows\\System32");
  for (const char* alias : {"X:\\", "X:\\Windows", "X:\\Windows\\System32", "X:\\Apps"})  // X: a subst of C:
    fs.Add(alias, std::string("C:") + (alias + 2));
  fs.Add("\\\\localhost\\c$\\", "\\\\localhost\\c$\\");
  fs.names[shell::ComparableFolder("\\\\localhost\\c$\\Windows")] = fs.names["c:\\windows"];
  fs.names[shell::ComparableFolder("\\\\localhost\\c$\\Windows")].strFinal = "\\\\localhost\\c$\\Windows";
  fs.Add("C:\\Apps\\win", "C:\\Windows");                 // a junction to the Windows folder
  fs.Add("C:\\Apps\\win\\System32", "C:\\Windows\\System32");
  fs.Add("C:\\Apps\\top", "C:\\");                        // and one to the drive
  fs.Add("C:\\Apps\\top\\Apps", "C:\\Apps");
  fs.Add("C:\\mnt\\data", "C:\\mnt\\data", 9, true);      // a volume mounted in a folder
  fs.Add("C:\\mnt\\data\\app", "C:\\mnt\\data\\app", 9);

  const std::vector<shell::ProtectedFolder> system = {
      {"C:\\Windows", true}, {"C:\\Windows\\System32", true}, {"C:\\Windows\\SysWOW64", true},
      {"C:\\Windows\\Sysnative", true}, {"C:\\Program Files", true}, {"C:\\Program Files (x86)", true},
      {"C:\\Users\\me", true}, {"C:\\Users\\me\\Desktop", true}, {"C:\\Users\\me\\Start Menu\\Programs", true},
      {"", false}};
  for (const char* bad :
       {"X:\\Windows\\", "X:\\", "x:\\windows\\system32", "\\\\localhost\\c$\\Windows", "C:\\Apps\\win\\",
        "C:\\Apps\\win\\System32", "C:\\Apps\\top\\", "C:\\mnt\\data\\", "C:\\Windows\\Sysnative",
        "C:\\Users\\me\\Start Menu\\Programs", "C:\\Users\\me\\Start Menu\\"})
    EXPECT_TRUE(shell::IsProtectedFolder(bad, system, fs)) << bad;
  for (const char* fine : {"X:\\Apps\\Big\\", "C:\\Apps\\Big", "C:\\Apps\\win\\MyApp\\", "C:\\Apps\\top\\Apps\\",
                           "C:\\mnt\\data\\app\\", "C:\\Program Files\\Acme\\App\\", "\\\\localhost\\c$\\Apps\\New"})
    EXPECT_FALSE(shell::IsProtectedFolder(fine, system, fs)) << fine;

  // closed: a required folder not known, a protected folder or a level of the folder
  // that is there but cannot be read
  std::vector<shell::ProtectedFolder> unknown = system;
  unknown.back() = {"", true};
  EXPECT_TRUE(shell::IsProtectedFolder("C:\\Apps\\Big\\", unknown, fs));
  fs.unreadable.insert("c:\\users\\me\\desktop");
  EXPECT_TRUE(shell::IsProtectedFolder("C:\\Apps\\Big\\", system, fs));
  fs.unreadable = {"c:\\apps\\new"};
  EXPECT_TRUE(shell::IsProtectedFolder("C:\\Apps\\New\\Sub\\", system, fs));
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

TEST(ProfileRules, MergeReplacesInPlaceAppendsAndListsTheChangingWrites) {
  const char data[] = "Count=5\0_F4=old\0x=\0";
  setupinfo::CProfileSection s;
  s.Assign(data, sizeof data - 1);
  std::string text;
  std::vector<std::size_t> changed;
  ASSERT_TRUE(setupinfo::MergeProfileWrites(
      s, {{"count", "2"}, {"_f4", "old"}, {"_f0", "new"}, {"_F0", "new"}, {" _f1", "  lead"}, {"_f0", "newer"}, {"x", ""}},
      text, changed));
  const char merged[] = "Count=2\0_F4=old\0x=\0_f0=newer\0_f1=lead\0";  // and the final zero
  EXPECT_EQ(std::string(merged, sizeof merged), text);
  EXPECT_EQ((std::vector<std::size_t>{0, 2, 4, 5}), changed);
  ASSERT_TRUE(setupinfo::MergeProfileWrites(s, {{"COUNT", "5"}}, text, changed));
  EXPECT_TRUE(changed.empty());

  // what the section write would store or read back otherwise
  for (const char* d : {"noeq\0", "=v\0"}) {
    setupinfo::CProfileSection odd;
    odd.Assign(d, std::strlen(d));
    EXPECT_FALSE(setupinfo::MergeProfileWrites(odd, {{"a", "1"}}, text, changed)) << d;
  }
  const setupinfo::ProfileWrite refused[] = {{"", "1"},   {"  ", "1"},     {"a ", "1"},   {"a", "1 "},        {"a", "1\x1a"},
                                             {"a", "x\ny"}, {"a\r", "1"}, {"k=x", "1"}, {";c", "1"}, {"[T]", "1"},
                                             {"\x83\x5c", "1"}};
  for (const setupinfo::ProfileWrite& w : refused)
    EXPECT_FALSE(setupinfo::MergeProfileWrites(s, {{"_f0", "x"}, w}, text, changed)) << "[" << w.first << "]";
}

TEST(ProfileRules, SectionWriteFitsWhereNothingHiddenWouldBeLost) {
  using setupinfo::SectionWriteFits;
  EXPECT_TRUE(SectionWriteFits("", "TreeCtrl"));
  EXPECT_TRUE(SectionWriteFits(";top\r\n[A]\r\n;c\r\n[]\r\n x = 1 \r\n [ treectrl ] tail\r\na=1\r\n[B]\n;c", "TreeCtrl"));
  EXPECT_TRUE(SectionWriteFits("[TreeCtrl]\r\na=;not a comment\r\n[\x81\x5d]\r\n;c\r\n", "TreeCtrl"));
  EXPECT_FALSE(SectionWriteFits("[TreeCtrl]\r\na=1\r\n \t;c\r\n", "TreeCtrl"));
  EXPECT_FALSE(SectionWriteFits("[TreeCtrl]\r;c", "TreeCtrl"));
  // "[" and a double-byte character ending in the byte of "]" is a key line, not a header
  EXPECT_FALSE(SectionWriteFits("[TreeCtrl]\r\n[\x81\x5d\r\n;c\r\n", "TreeCtrl"));
  EXPECT_FALSE(SectionWriteFits("[TreeCtrl]\r\na=1\r\n[B]\r\n[treectrl]\r\n", "TreeCtrl"));
  EXPECT_FALSE(SectionWriteFits("[TreeCtrl]\r\na=1\r\n[ ]\r\nb=1\r\n", "TreeCtrl"));
  const char zero[] = "[TreeCtrl]\r\na=\0\r\n";
  EXPECT_FALSE(SectionWriteFits(std::string(zero, sizeof zero - 1), "TreeCtrl"));
  EXPECT_FALSE(SectionWriteFits("\xEF\xBB\xBF[A]\r\n", "TreeCtrl"));
  for (const char* name : {"", " TreeCtrl", "TreeCtrl\t", "\x81\x5d"}) EXPECT_FALSE(SectionWriteFits("[A]\r\n", name)) << name;
}
