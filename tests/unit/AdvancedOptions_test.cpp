#include <gtest/gtest.h>

#include "AdvancedOptions.h"

using namespace advanced;

namespace {

const std::string D = "C:\\dist\\";
const std::string A = D + "a.txt";
const std::string B = D + "doc\\b.html";
const std::string F = D + "data\\";  // a ticked folder
const std::string C = D + "c.dat";

typedef std::vector<std::string> Strings;

// What 登録 writes after the names were brought up to date with `ticked`.
CopyBack Confirm(NameTable& names, const Strings& ticked, int capacity = 60) {
  Strings list = names.Refresh(ticked);
  return MakeCopyBack(ticked, static_cast<int>(list.size()), names, {D}, D, capacity);
}

}  // namespace

TEST(AdvancedFixedFolder, BackslashAddedAndHintMeansNone) {
  FixedFolder f = NormaliseFixedFolder("D:\\Apps\\Demo");
  EXPECT_EQ(f.strFolder, "D:\\Apps\\Demo\\");
  EXPECT_EQ(f.strText, "D:\\Apps\\Demo\\");
  EXPECT_EQ(NormaliseFixedFolder("D:\\Apps\\").strFolder, "D:\\Apps\\");
  // a last character whose trail byte is 0x5C is no backslash
  EXPECT_EQ(NormaliseFixedFolder("C:\\表").strFolder, "C:\\表\\");
  for (const std::string& none : {std::string(), std::string(kFolderHint)}) {
    f = NormaliseFixedFolder(none);
    EXPECT_EQ(f.strFolder, "");
    EXPECT_EQ(f.strText, "☆初回ｲﾝｽﾄｰﾙ時のみ有効です。");
  }
  EXPECT_EQ(FixedFolderText(""), kFolderHint);
  EXPECT_EQ(FixedFolderText("E:\\x\\"), "E:\\x\\");
  EXPECT_EQ(ReadMeText(""), "☆ReadMe.txt等を指定します。");
  EXPECT_EQ(ReadMeText(A), A);
}

TEST(AdvancedNames, DerivedFromTheFileOrFolderName) {
  EXPECT_EQ(DerivedName(A), "a");
  EXPECT_EQ(DerivedName(F), "data");
  EXPECT_EQ(DerivedName(D + "v1.2.notes.txt"), "v1.2.notes");
  EXPECT_EQ(DerivedName(D + "説明書\\表.txt"), "表");
  EXPECT_EQ(DerivedName(D + "表\\"), "表");
  EXPECT_EQ(DerivedName(D + std::string(300, 'n') + ".txt"), std::string(255, 'n'));
}

TEST(AdvancedNames, LoadTakesPairsUpToTheFirstEmptyNameAndTheTreeSize) {
  NameTable t;
  EXPECT_EQ(t.Load(10, {"Dummy", "Lesen", "Bild", "", "after gap"}, {D, A, B, C, F}), (Strings{"Lesen", "Bild"}));
  EXPECT_EQ(t.Size(), 10u);
  EXPECT_EQ(t.Path(2), B);
  EXPECT_EQ(t.Name(3), "");
  // no room beyond the tree's items; fewer files than names leaves paths empty
  EXPECT_EQ(t.Load(2, {"Dummy", "x", "y"}, {D}), (Strings{"x"}));
  EXPECT_EQ(t.Size(), 2u);
  EXPECT_EQ(t.Path(1), "");
  // a file whose options were never confirmed has no names
  EXPECT_TRUE(t.Load(5, {"", "x"}, {D, A}).empty());
  EXPECT_TRUE(t.Load(5, {}, {}).empty());
}

TEST(AdvancedNames, RefreshKeepsGivenNamesWhileTicked) {
  NameTable t;
  t.Load(6, {}, {});
  EXPECT_EQ(t.Refresh({D, A, F}), (Strings{"a", "data"}));
  t.Rename(0, "読んでね");
  t.Rename(5, "out of range");  // beyond the table: ignored
  t.Rename(-1, "none");
  EXPECT_EQ(t.Refresh({D, A, B, F}), (Strings{"読んでね", "b", "data"}));
  // A unticked: its name goes from the list; B and F keep theirs
  t.Rename(1, "Bild");
  EXPECT_EQ(t.Refresh({D, B, F}), (Strings{"Bild", "data"}));
  // an edited-away name is derived again
  t.Rename(0, "");
  EXPECT_EQ(t.Refresh({D, B, F}), (Strings{"b", "data"}));
  // a tree rebuilt with more ticked files than it had items grows the table
  Strings many = {D};
  for (int i = 0; i < 8; ++i) many.push_back(D + "f" + std::to_string(i) + ".txt");
  EXPECT_EQ(t.Refresh(many).size(), 8u);
  EXPECT_EQ(t.Size(), 9u);
  EXPECT_EQ(t.Name(8), "f7");
}

// The names go back with their files, so a second opening (and a later install) finds
// each name beside the file it was given for, whatever was unticked in between.
TEST(AdvancedNames, ANameStaysWithItsFileAcrossOpenings) {
  NameTable first;
  first.Load(8, {"Dummy", "Lesen", "Bild"}, {D, A, B});
  // A is no longer ticked (say, gone from the disk) while its name is still listed
  CopyBack back = Confirm(first, {D, B, F});
  EXPECT_EQ(back.groupFiles, (Strings{D, B, F}));
  EXPECT_EQ(back.shortcutNames, (Strings{"Dummy", "Bild", "data"}));
  EXPECT_EQ(back.shortcutFiles, back.groupFiles);

  NameTable second;
  EXPECT_EQ(second.Load(8, back.shortcutNames, back.shortcutFiles), (Strings{"Bild", "data"}));
  back = Confirm(second, {D, A, B, F});
  EXPECT_EQ(back.shortcutNames, (Strings{"Dummy", "a", "Bild", "data"})) << "A gets its own name, not B's";
  EXPECT_EQ(back.shortcutFiles, (Strings{D, A, B, F}));

  // a file named all extension is named in full: an empty name would end the names
  // read back, and the one given after it would be lost
  const std::string E = D + ".config";
  NameTable third;
  third.Load(8, {}, {});
  EXPECT_EQ(third.Refresh({D, E, B}), (Strings{".config", "b"}));
  third.Rename(1, "Bild");
  back = Confirm(third, {D, E, B});
  NameTable fourth;
  EXPECT_EQ(fourth.Load(8, back.shortcutNames, back.shortcutFiles), (Strings{".config", "Bild"}));
}

TEST(AdvancedCopyBack, CountsAtLeastOneAndNeverBeyondTheArrays) {
  NameTable t;
  t.Load(4, {}, {});
  // nothing ticked, no list: the root and "Dummy"
  CopyBack back = MakeCopyBack({D}, 0, t, {D}, D, 60);
  EXPECT_EQ(back.groupFiles, (Strings{D}));
  EXPECT_EQ(back.shortcutNames, (Strings{"Dummy"}));
  EXPECT_EQ(back.shortcutFiles, (Strings{D}));
  EXPECT_EQ(back.systemFiles, (Strings{D}));
  // trees that gave nothing, a list that reported an error
  back = MakeCopyBack({}, -1, t, {}, D, 60);
  EXPECT_EQ(back.groupFiles, (Strings{D}));
  EXPECT_EQ(back.shortcutNames, (Strings{"Dummy"}));
  EXPECT_EQ(back.systemFiles, (Strings{D}));
  // names come from the table by list index; an emptied list gives none but "Dummy"
  t.Refresh({D, A, B});
  EXPECT_EQ(MakeCopyBack({D, A, B}, 2, t, {D, C}, D, 60).shortcutNames, (Strings{"Dummy", "a", "b"}));
  EXPECT_EQ(MakeCopyBack({D, A, B}, 0, t, {D, C}, D, 60).shortcutNames, (Strings{"Dummy"}));
  // a list longer than the table gets empty names, not a read beyond it
  back = MakeCopyBack({D, A, B}, 6, t, {D}, D, 60);
  EXPECT_EQ(back.shortcutNames, (Strings{"Dummy", "a", "b", "", "", "", ""}));
  // every list leaves one entry of the arrays free
  back = MakeCopyBack({D, A, B, C}, 3, t, {D, A, B, C}, D, 3);
  EXPECT_EQ(back.groupFiles, (Strings{D, A}));
  EXPECT_EQ(back.shortcutNames, (Strings{"Dummy", "a"}));
  EXPECT_EQ(back.systemFiles, (Strings{D, A}));
}
