// KeyRally's records file on the real file system: the folder made on the first game,
// the header and one line per game, a cut last line, files that are not records kept
// aside whole, and a file that cannot be written.
#include <gtest/gtest.h>

#include <cstdlib>

#include "Mbcs.h"
#include "RecordsFile_win.h"
#include "TestFolder.h"

namespace {
krrec::GameRecord GameOf(int total, const std::string& name = "基本単語.wds") {
  krrec::GameRecord g;
  g.when = "2026-03-05 14:03:27";
  g.name = name;
  g.path = "C:\\ﾀｲﾋﾟﾝｸﾞ\\" + name;
  g.total = total;
  g.right = 5;
  g.wrong = 1;
  g.chars = 30;
  return g;
}
}  // namespace

TEST(KeyRallyRecordsFile, InTheApplicationDataFolder) {
  std::string folder = CRecordsFile::DefaultFolder();
  const char* appdata = std::getenv("APPDATA");
  ASSERT_TRUE(appdata && *appdata);
  EXPECT_TRUE(mbcs::IEquals(folder, std::string(appdata) + "\\KeyRally\\")) << folder;
  EXPECT_EQ(CRecordsFile(folder).Path(), folder + "records.tsv");
}

TEST(KeyRallyRecordsFile, AppendsEachGameAndKeepsWhatItCannotReadAside) {
  CTestFolder top("records");
  const std::string folder = top.Path() + "KeyRally\\", path = folder + "records.tsv";
  CRecordsFile file(folder);
  ASSERT_TRUE(file.Read()) << "no file yet is an empty book";
  EXPECT_EQ(file.Book().GameCount(), 0u);

  // the first game makes the folder and the file with its header; the second, higher,
  // is a new best
  bool best = true;
  ASSERT_TRUE(file.Record(GameOf(3000), best));
  EXPECT_FALSE(best) << "a first game beats nothing";
  ASSERT_TRUE(file.Record(GameOf(4000), best));
  EXPECT_TRUE(best);
  ASSERT_TRUE(file.Record(GameOf(4000), best));
  EXPECT_FALSE(best) << "an equal total is no new best";
  std::string lines = krrec::HeaderLine() + krrec::FormatLine(GameOf(3000)) + krrec::FormatLine(GameOf(4000)) +
                      krrec::FormatLine(GameOf(4000));
  EXPECT_EQ(ReadBytes(path), lines);

  // a game cut short in the file (a crash while writing): the next starts its own line
  std::string cut = krrec::FormatLine(GameOf(9000)).substr(0, 30);
  ASSERT_TRUE(WriteBytes(path, lines + cut));
  ASSERT_TRUE(file.Record(GameOf(5000, "other.wds"), best));
  EXPECT_EQ(ReadBytes(path), lines + cut + "\r\n" + krrec::FormatLine(GameOf(5000, "other.wds")));
  ASSERT_TRUE(file.Read());
  EXPECT_EQ(file.Book().GameCount(), 4u);
  EXPECT_EQ(file.Book().Skipped(), 1u);
  EXPECT_EQ(file.Book().Lists().size(), 2u);

  // a file saved in another encoding is kept whole under a new name; the next game
  // starts a new file; a second such file takes the next name
  std::string utf16("\xFF\xFE\x65\x00\x30\x00", 6);
  ASSERT_TRUE(WriteBytes(path, utf16));
  ASSERT_TRUE(file.Read());
  EXPECT_EQ(file.Book().GameCount(), 0u);
  EXPECT_EQ(file.AsideName(), folder + "records-1.tsv");
  EXPECT_EQ(ReadBytes(folder + "records-1.tsv"), utf16);
  EXPECT_EQ(ReadBytes(path), "<missing>");
  ASSERT_TRUE(file.Record(GameOf(100), best));
  EXPECT_EQ(ReadBytes(path), krrec::HeaderLine() + krrec::FormatLine(GameOf(100)));
  ASSERT_TRUE(WriteBytes(path, "not records\r\n"));
  ASSERT_TRUE(file.Record(GameOf(200), best));
  EXPECT_FALSE(best) << "the old records went aside with their file";
  EXPECT_EQ(ReadBytes(folder + "records-2.tsv"), "not records\r\n");
  EXPECT_EQ(ReadBytes(folder + "records-1.tsv"), utf16);
  EXPECT_EQ(ReadBytes(path), krrec::HeaderLine() + krrec::FormatLine(GameOf(200)));

  // a records file that cannot be written (a folder of that name): refused, nothing
  // moved, nothing thrown
  ASSERT_TRUE(::DeleteFileA(path.c_str()));
  ASSERT_TRUE(::CreateDirectoryA(path.c_str(), nullptr));
  EXPECT_FALSE(file.Record(GameOf(300), best));
  EXPECT_EQ(::GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY,
            static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
  EXPECT_EQ(ReadBytes(folder + "records-3.tsv"), "<missing>");
  // and no folder to write in at all
  CRecordsFile nowhere(top.Path() + "no\\such\\folder\\");
  EXPECT_FALSE(nowhere.Record(GameOf(300), best));
}
