// The file tree's walk, order, exclusions, saving, loading and path matching, over an
// in-memory tree and disk.
#include <gtest/gtest.h>

#include <algorithm>

#include "FileTree.h"
#include "MemTree.h"

using filetree::Item;

namespace {

const std::string kDir = "C:\\DIST\\";

std::string Nested(int levels) {
  std::string p = kDir;
  for (int i = 1; i <= levels; ++i) p += "L" + std::to_string(i) + "\\";
  return p;
}

setupinfo::CProfileSection Section(const std::vector<std::string>& lines) {
  std::string data;
  for (const std::string& l : lines) data += l + '\0';
  data += '\0';
  setupinfo::CProfileSection s;
  s.Assign(data.data(), data.size() - 1);
  return s;
}

}  // namespace

TEST(FileTreeBuild, FoldersFirstCaseInsensitiveOrderWithoutSetupFiles) {
  CMemTree t;
  t.AddFile(kDir + "b.txt");
  t.AddFile(kDir + "A.TXT", 0x21);     // read-only
  t.AddFile(kDir + "_x.dat", 0x22);    // hidden
  t.AddFile(kDir + "SETUP.INI");
  t.AddFile(kDir + "setup.Exe.bak");
  t.AddFolder(kDir + "zeta\\");
  t.AddFolder(kDir + "Alpha\\");
  t.AddFolder(kDir + "Setup.exe\\");  // a folder of that name is listed
  t.AddFile(kDir + "Alpha\\sEtUp.InI");
  t.AddFile(kDir + "Alpha\\SETUP.EXE");
  t.AddFile(kDir + "Alpha\\readme.txt");
  t.AddFile(kDir + "Setup.exe\\inner.txt", 0x27);

  EXPECT_EQ(6, filetree::BuildFromDisk(t, kDir));
  Item root = t.GetRoot();
  ASSERT_TRUE(root);
  EXPECT_EQ("C:\\DIST", t.GetLabel(root));
  EXPECT_EQ(kDir, filetree::ItemPath(t, root));
  EXPECT_EQ((std::vector<std::string>{"Alpha", "Setup.exe", "zeta", "_x.dat", "A.TXT", "b.txt", "setup.Exe.bak"}),
            t.ChildLabels(root));
  EXPECT_EQ(std::vector<std::string>{"readme.txt"}, t.ChildLabels(t.Child(root, "Alpha")));
  Item inner = t.Child(t.Child(root, "Setup.exe"), "inner.txt");
  ASSERT_TRUE(inner);
  EXPECT_EQ(0x27u, t.GetAttributes(inner));
  EXPECT_EQ("C:\\DIST\\Setup.exe\\inner.txt", filetree::ItemPath(t, inner));
  EXPECT_EQ("C:\\DIST\\Alpha\\", filetree::ItemPath(t, t.Child(root, "Alpha")));
}

TEST(FileTreeBuild, OrderFoldsOnlyAsciiAndKeepsDoubleByteCharactersWhole) {
  // 0x83 0x41 is a katakana whose trail byte is "A"; it must not sort as if it were "a".
  EXPECT_LT(filetree::CompareSortKeys("01_abc", "01_ABD"), 0);
  EXPECT_LT(filetree::CompareSortKeys("00_zzz", "01_aaa"), 0);
  EXPECT_NE(0, filetree::CompareSortKeys("01_\x83\x41", "01_\x83\x61"));
  EXPECT_LT(filetree::CompareSortKeys("01_z", "01_\x83\x41"), 0);
}

TEST(FileTreeBuild, TenLevelsAreOpenedAndTheEleventhStaysClosed) {
  CMemTree t;
  for (int level = 1; level <= 12; ++level) t.AddFile(Nested(level) + "f" + std::to_string(level) + ".txt");
  // Files in L1..L10 are listed and counted; L11 shows up inside L10 without contents.
  EXPECT_EQ(10, filetree::BuildFromDisk(t, kDir));
  Item item = t.GetRoot();
  for (int level = 1; level <= 11; ++level) {
    item = t.Child(item, "L" + std::to_string(level));
    ASSERT_TRUE(item) << level;
  }
  EXPECT_TRUE(t.ChildLabels(item).empty());
  EXPECT_EQ(Nested(11), filetree::ItemPath(t, item));

  std::vector<std::string> saved = filetree::SaveEntries(t);
  ASSERT_EQ(t.Count(), saved.size());
  // The closed folder is saved, nothing inside it.
  EXPECT_EQ(1, std::count(saved.begin(), saved.end(), Nested(11) + "|16"));
  for (const std::string& e : saved) EXPECT_FALSE(e.rfind(Nested(11), 0) == 0 && e != Nested(11) + "|16") << e;

  for (Item i = t.GetRoot(); i; i = t.GetFirstChild(i)) t.N(i)->bTicked = true;
  std::vector<std::string> ticked = filetree::TickedPaths(t, [&](Item i) { return t.N(i)->bTicked; });
  ASSERT_EQ(12u, ticked.size());  // the root, then L1 .. L11
  EXPECT_EQ(kDir, ticked.front());
  EXPECT_EQ(Nested(11), ticked.back());
}

TEST(FileTreeBuild, EmptyUnlistableAndIconlessFolders) {
  CMemTree empty;
  empty.AddFolder(kDir);
  EXPECT_EQ(0, filetree::BuildFromDisk(empty, kDir));
  EXPECT_EQ(std::vector<std::string>{"C:\\DIST\\|16"}, filetree::SaveEntries(empty));

  CMemTree gone;  // the setup folder itself cannot be listed
  EXPECT_EQ(0, filetree::BuildFromDisk(gone, kDir));
  EXPECT_EQ(1u, gone.Count());

  CMemTree t;
  t.AddFile(kDir + "locked\\secret.txt");
  t.m_disk.erase(kDir + "locked\\");  // listed in its parent, but cannot be listed itself
  t.AddFile(kDir + "noicon\\a.txt");
  t.AddFile(kDir + "noicon.bin");
  t.AddFile(kDir + "ok.txt");
  t.m_noIcon = {kDir + "noicon", kDir + "noicon.bin"};  // fullPath as inserted: folder path + name
  // noicon.bin is counted although it is not shown; the iconless folder's file is never reached.
  EXPECT_EQ(2, filetree::BuildFromDisk(t, kDir));
  EXPECT_EQ((std::vector<std::string>{"locked", "ok.txt"}), t.ChildLabels(t.GetRoot()));
  EXPECT_TRUE(t.ChildLabels(t.Child(t.GetRoot(), "locked")).empty());
}

TEST(FileTreeBuild, ProgressAndPumpingDuringTheWalk) {
  CMemTree t;
  for (int i = 0; i < 5; ++i) t.AddFile(kDir + "d" + std::to_string(i) + "\\f.txt");
  filetree::BuildFromDisk(t, kDir);
  EXPECT_GT(t.m_nAdvances, 0);
  EXPECT_GT(t.m_nPumps, t.m_nAdvances);  // each pass pumps, and each step down once more
  EXPECT_EQ(6, t.m_nLists);              // every folder is listed exactly once
}

TEST(FileTreeSave, ParentsBeforeChildrenInTreeOrder) {
  CMemTree t;
  t.AddFile(kDir + "SETUP.TXT");
  t.AddFile(kDir + "DATA\\A.TXT", 0x21);
  t.AddFile(kDir + "DATA\\SUB\\B.TXT");
  t.AddFolder(kDir + "EMPTY\\");
  filetree::BuildFromDisk(t, kDir);
  EXPECT_EQ((std::vector<std::string>{"C:\\DIST\\|16", "C:\\DIST\\DATA\\|16", "C:\\DIST\\EMPTY\\|16",
                                      "C:\\DIST\\SETUP.TXT|32", "C:\\DIST\\DATA\\SUB\\|16", "C:\\DIST\\DATA\\A.TXT|33",
                                      "C:\\DIST\\DATA\\SUB\\B.TXT|32"}),
            filetree::SaveEntries(t));
}

TEST(FileTreeLoad, RoundTripRebasedToANewFolder) {
  CMemTree built;
  built.AddFile(kDir + "DATA\\A.TXT");
  built.AddFile(kDir + "app.exe");
  filetree::BuildFromDisk(built, kDir);
  std::vector<std::string> lines = {"Select=C:\\DIST\\app.exe", "TopRoot=C:\\DIST\\"};
  std::vector<std::string> saved = filetree::SaveEntries(built);
  for (std::size_t i = 0; i < saved.size(); ++i) lines.push_back("_f" + std::to_string(i) + "=" + saved[i]);
  lines.push_back("Count=" + std::to_string(saved.size()));
  lines.push_back("Files=2");

  CMemTree loaded;
  filetree::LoadResult r = filetree::LoadStored(loaded, Section(lines), "E:\\", "C:\\DIST\\");
  EXPECT_EQ(static_cast<int>(saved.size()), r.nCount);
  EXPECT_EQ(2, r.nFiles);
  EXPECT_EQ("E:\\app.exe", r.strSelect);
  EXPECT_EQ(static_cast<unsigned long>(saved.size()), loaded.m_nProgressLimit);
  EXPECT_EQ((std::vector<std::string>{"E:\\|16", "E:\\DATA\\|16", "E:\\app.exe|32", "E:\\DATA\\A.TXT|32"}),
            filetree::SaveEntries(loaded));
}

TEST(FileTreeLoad, StoredOrderKeptAndLetterCaseOfFoldersMatters) {
  CMemTree t;
  filetree::LoadResult r = filetree::LoadStored(
      t,
      Section({"Count=5", "_f0=C:\\DIST\\|16", "_f1=C:\\DIST\\z.txt|32", "_f2=C:\\DIST\\Data\\|16",
               "_f3=C:\\DIST\\DATA\\lost.txt|32", "_f4=C:\\DIST\\Data\\kept.txt|32"}),
      kDir, kDir);
  EXPECT_EQ(5, r.nCount);
  EXPECT_EQ((std::vector<std::string>{"z.txt", "Data"}), t.ChildLabels(t.GetRoot()));
  EXPECT_EQ(std::vector<std::string>{"kept.txt"}, t.ChildLabels(t.Child(t.GetRoot(), "Data")));
  // One entry at a time (InsertPath) follows the same rules.
  EXPECT_FALSE(filetree::InsertStoredEntry(t, "C:\\DIST\\DATA\\x.txt", 32, kDir));
  EXPECT_FALSE(filetree::InsertStoredEntry(t, "D:\\DIST\\y.txt", 32, kDir));
  Item added = filetree::InsertStoredEntry(t, "C:\\DIST\\Data\\new\\", 16, kDir);
  ASSERT_TRUE(added);
  EXPECT_EQ("C:\\DIST\\Data\\new\\", filetree::ItemPath(t, added));
}

TEST(FileTreeLoad, DamagedSectionsNeverOverrunOrHang) {
  {  // no Count, zero or negative: nothing is loaded and the tree stays
    for (const char* count : {"Count=0", "Count=-3", "Count=abc", "Count=-2147483648"}) {
      CMemTree t;
      t.AddFolder(kDir);
      filetree::BuildFromDisk(t, kDir);
      EXPECT_EQ(0, filetree::LoadStored(t, Section({count, "_f0=C:\\DIST\\|16"}), kDir, kDir).nCount) << count;
      EXPECT_EQ(1u, t.Count()) << count;
    }
  }
  {  // a huge count stops at the first index the section lacks
    CMemTree t;
    filetree::LoadResult r =
        filetree::LoadStored(t, Section({"Count=2147483647", "_f0=C:\\DIST\\|16", "_f1=C:\\DIST\\a|32", "Files=9"}), kDir, kDir);
    EXPECT_EQ(0, r.nCount);
    EXPECT_EQ(0, r.nFiles);  // not read after an incomplete load
    EXPECT_EQ(2u, t.Count());
    EXPECT_EQ(0xFFFFu, t.m_nProgressLimit & 0xFFFFu);
    EXPECT_LE(t.m_nAdvances, 3);
  }
  {  // an entry without "|" ends the load; what came before stays
    CMemTree t;
    filetree::LoadResult r = filetree::LoadStored(
        t, Section({"Count=4", "_f0=C:\\DIST\\|16", "_f1=C:\\DIST\\a.txt|32", "_f2=C:\\DIST\\b.txt", "_f3=C:\\DIST\\c|32"}),
        kDir, kDir);
    EXPECT_EQ(0, r.nCount);
    EXPECT_EQ(std::vector<std::string>{"a.txt"}, t.ChildLabels(t.GetRoot()));
  }
  {  // an entry cut by the 259-byte read lost its attribute's last digit: the load ends there
    const std::string fits = kDir + std::string(259 - kDir.size() - 3, 'f') + "|32";  // 259 bytes
    const std::string cut = kDir + std::string(260 - kDir.size() - 3, 'c') + "|16";   // read as "...|1"
    ASSERT_EQ(259u, fits.size());
    CMemTree t;
    filetree::LoadResult r = filetree::LoadStored(
        t, Section({"Count=4", "_f0=C:\\DIST\\|16", "_f1=" + fits, "_f2=" + cut, "_f3=C:\\DIST\\z.txt|32"}), kDir, kDir);
    EXPECT_EQ(0, r.nCount);
    ASSERT_EQ(1u, t.ChildLabels(t.GetRoot()).size());
    EXPECT_EQ(32u, t.GetAttributes(t.Child(t.GetRoot(), std::string(259 - kDir.size() - 3, 'f'))));
  }
  {  // paths outside the setup folder, empty names and overlong values are dropped
    std::string longName(400, 'x');
    CMemTree t;
    filetree::LoadResult r = filetree::LoadStored(
        t,
        Section({"Count=7", "_f0=D:\\ELSEWHERE\\|16", "_f1=D:\\OTHER\\a.txt|32", "_f2=C:\\DISTANT\\b.txt|32",
                 "_f3=C:\\DIST\\\\|16", "_f4=C:\\DIST\\" + longName + "|32", "_f5=C:\\|16", "_f6=C:\\DIST\\ok.txt|32"}),
        kDir, kDir);
    EXPECT_EQ(0, r.nCount);  // the overlong value lost its "|" to the 259-byte cut
    EXPECT_EQ("C:\\DIST", t.GetLabel(t.GetRoot()));  // the first entry is the root, whatever its path
    EXPECT_TRUE(t.ChildLabels(t.GetRoot()).empty());
  }
}

TEST(FileTreeMatch, SelectPathIgnoresCaseAndStopsAtTheDeepestMatch) {
  CMemTree t;
  t.AddFile(kDir + "Data\\Sub\\App.EXE");
  // Names whose trail bytes are "\" (the helpers of the in-memory disk split bytes).
  t.AddEntry(kDir, "\x95\x5c\x8e\xa6", 0x10);
  t.AddEntry(kDir + "\x95\x5c\x8e\xa6\\", "\x83\x5c\x83\x74\x83\x67.txt", 0x20);
  filetree::BuildFromDisk(t, kDir);
  Item root = t.GetRoot();
  Item sub = t.Child(t.Child(root, "Data"), "Sub");
  Item app = t.Child(sub, "App.EXE");
  EXPECT_EQ(app, filetree::MatchSelectPath(t, "c:\\dist\\DATA\\sub\\app.exe", kDir.size()));
  EXPECT_EQ(sub, filetree::MatchSelectPath(t, "C:\\DIST\\Data\\Sub\\", kDir.size()));
  EXPECT_EQ(sub, filetree::MatchSelectPath(t, "C:\\DIST\\Data\\Sub\\gone.exe", kDir.size()));
  EXPECT_EQ(root, filetree::MatchSelectPath(t, "C:\\DIST\\", kDir.size()));
  EXPECT_EQ(nullptr, filetree::MatchSelectPath(t, "", kDir.size()));
  EXPECT_EQ(nullptr, filetree::MatchSelectPath(t, "D:\\DIST\\Data", kDir.size()));
  Item jp = t.Child(t.Child(root, "\x95\x5c\x8e\xa6"), "\x83\x5c\x83\x74\x83\x67.txt");
  ASSERT_TRUE(jp);
  EXPECT_EQ(jp, filetree::MatchSelectPath(t, kDir + "\x95\x5c\x8e\xa6\\\x83\x5c\x83\x74\x83\x67.TXT", kDir.size()));
}

TEST(FileTreeMatch, TickPathsMatchExactlyBelowThePrefix) {
  CMemTree t;
  t.AddFile(kDir + "DATA\\DATA");  // a file named like its folder
  t.AddFile(kDir + "DATA\\a.txt");
  t.AddFile(kDir + "b.txt");
  filetree::BuildFromDisk(t, kDir);
  Item data = t.Child(t.GetRoot(), "DATA");
  EXPECT_EQ(data, filetree::FindTickPath(t, kDir + "DATA\\DATA", kDir.size()));  // the folder, not the file
  EXPECT_EQ(data, filetree::FindTickPath(t, kDir + "DATA\\", kDir.size()));
  EXPECT_EQ(t.Child(data, "a.txt"), filetree::FindTickPath(t, kDir + "DATA\\a.txt", kDir.size()));
  EXPECT_EQ(nullptr, filetree::FindTickPath(t, kDir + "data\\a.txt", kDir.size()));
  EXPECT_EQ(nullptr, filetree::FindTickPath(t, kDir + "B.TXT", kDir.size()));
  EXPECT_EQ(t.Child(t.GetRoot(), "b.txt"), filetree::FindTickPath(t, "X:\\ANYY\\b.txt", kDir.size()));
  EXPECT_EQ(nullptr, filetree::FindTickPath(t, "C:\\", kDir.size()));
}

TEST(FileTreeMatch, ADriveRootAsTheSetupFolder) {
  // A distribution at the root of a CD: the root's label is "E:" and its path "E:\".
  const std::string cd = "E:\\";
  CMemTree t;
  t.AddFile(cd + "app.exe");
  t.AddFile(cd + "SETUP.EXE");
  t.AddFile(cd + "DATA\\a.txt");
  t.AddEntry(cd, "DATA", 0x10);  // (the helper takes a drive root's child for the top)
  EXPECT_EQ(2, filetree::BuildFromDisk(t, cd));
  Item root = t.GetRoot();
  EXPECT_EQ("E:", t.GetLabel(root));
  EXPECT_EQ((std::vector<std::string>{"E:\\|16", "E:\\DATA\\|16", "E:\\app.exe|32", "E:\\DATA\\a.txt|32"}),
            filetree::SaveEntries(t));
  Item a = t.Child(t.Child(root, "DATA"), "a.txt");
  EXPECT_EQ(a, filetree::MatchSelectPath(t, "e:\\data\\A.TXT", cd.size()));
  EXPECT_EQ(root, filetree::MatchSelectPath(t, "E:\\", cd.size()));
  EXPECT_EQ(a, filetree::FindTickPath(t, "E:\\DATA\\a.txt", cd.size()));
  EXPECT_EQ(t.Child(root, "app.exe"), filetree::FindTickPath(t, "E:\\app.exe", cd.size()));

  // Stored under C:\DIST\ and read at the root of E:.
  CMemTree loaded;
  filetree::LoadResult r = filetree::LoadStored(
      loaded,
      Section({"Select=C:\\DIST\\DATA\\a.txt", "Count=4", "_f0=C:\\DIST\\|16", "_f1=C:\\DIST\\DATA\\|16",
               "_f2=C:\\DIST\\app.exe|32", "_f3=C:\\DIST\\DATA\\a.txt|32", "Files=2"}),
      cd, "C:\\DIST\\");
  EXPECT_EQ(4, r.nCount);
  EXPECT_EQ("E:\\DATA\\a.txt", r.strSelect);
  EXPECT_EQ(filetree::SaveEntries(t), filetree::SaveEntries(loaded));
}
