// Setup.ini read limits, defaults and list rules on the platform's profile functions.
#include <gtest/gtest.h>

#include "SetupInfo_win.h"

using namespace setupinfo;

namespace {
class SetupIniFile : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, tmp);
    m_dir = std::string(tmp) + "hb_setupinfo_" + std::to_string(::GetCurrentProcessId()) + "\\";
    ::CreateDirectoryA(m_dir.c_str(), nullptr);
    m_path = IniPath(m_dir);
    ::DeleteFileA(m_path.c_str());
  }
  void TearDown() override {
    ::SetFileAttributesA(m_path.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileA(m_path.c_str());
    ::RemoveDirectoryA(m_dir.c_str());
  }
  std::string m_dir, m_path;
};
}  // namespace

TEST_F(SetupIniFile, ValuesAreCutToTheBufferLessOneByte) {
  ASSERT_TRUE(PutString(m_path, kSecSetup, "Title", std::string(60, 'T')));
  ASSERT_TRUE(PutString(m_path, kSecSetup, "Version", std::string(30, 'V')));
  ASSERT_TRUE(PutString(m_path, kSecCommentary, "_t0", std::string(300, 'c')));
  ASSERT_TRUE(PutString(m_path, kSecSetup, "Name", std::string(49, 'N')));
  EXPECT_EQ(GetString(m_path, kSecSetup, "Title", kDefTitle, kBufTitle), std::string(49, 'T'));
  EXPECT_EQ(GetString(m_path, kSecSetup, "Version", kDefVersion, kBufVersion), std::string(19, 'V'));
  EXPECT_EQ(GetString(m_path, kSecCommentary, "_t0", "", kBufPath), std::string(259, 'c'));
  EXPECT_EQ(GetString(m_path, kSecSetup, "Name", kDefName, kBufName), std::string(49, 'N'));  // fits exactly
  // Japanese text round-trips as code page 932 bytes
  ASSERT_TRUE(PutString(m_path, kSecSetup, "Title", "打鍵丸 タイピング"));
  EXPECT_EQ(GetString(m_path, kSecSetup, "Title", kDefTitle, kBufTitle), "打鍵丸 タイピング");
  // a cut inside a double-byte character keeps whole characters, and no stray byte
  ASSERT_TRUE(PutString(m_path, kSecSetup, "Title", "abアイウエオカキクケコサシスセソタチツテトナニヌネノハ"));
  std::string cut = GetString(m_path, kSecSetup, "Title", kDefTitle, kBufTitle);
  EXPECT_EQ(cut, "abアイウエオカキクケコサシスセソタチツテトナニヌ");  // 48 bytes: ネ would need the 49th and 50th
  EXPECT_EQ(cut.find('\0'), std::string::npos);
}

TEST_F(SetupIniFile, MissingFileOrKeyReadsAsDefaults) {
  EXPECT_EQ(GetString(m_path, kSecSetup, "Title", kDefTitle, kBufTitle), kDefTitle);
  EXPECT_EQ(GetString(m_path, kSecSetup, "Version", kDefVersion, kBufVersion), kDefVersion);
  EXPECT_EQ(GetInt(m_path, kSecSetup, "Mode", 0), 0);
  EXPECT_EQ(GetInt(m_path, kSecOption, "BlueBack", 1), 1);
  EXPECT_EQ(GetString(m_path, kSecTree, "TopRoot", ""), "");
  // present but empty is not absent
  ASSERT_TRUE(PutString(m_path, kSecSetup, "Name", ""));
  EXPECT_EQ(GetString(m_path, kSecSetup, "Name", kDefName, kBufName), "");
  // section and key names match without case
  ASSERT_TRUE(PutInt(m_path, kSecSetup, "Mode", 2));
  EXPECT_EQ(GetInt(m_path, "SETUP", "mode", 0), 2);
  EXPECT_EQ(GetInt(m_path, kSecSetup, "STime", -1), -1);
}

TEST_F(SetupIniFile, LockedFileReadsAsDefaults) {
  ASSERT_TRUE(PutInt(m_path, kSecSetup, "Mode", 1));
  HANDLE h = ::CreateFileA(m_path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetInt(m_path, kSecSetup, "Mode", 0), 0);
  EXPECT_EQ(GetString(m_path, kSecSetup, "Title", kDefTitle, kBufTitle), kDefTitle);
  ::CloseHandle(h);
  EXPECT_EQ(GetInt(m_path, kSecSetup, "Mode", 0), 1);
}

TEST_F(SetupIniFile, ListsShrinkWithoutDeletingHigherEntries) {
  auto writeList = [&](int n) {
    ASSERT_TRUE(PutInt(m_path, kSecGroup, "Files", n));
    for (int i = 0; i < n; ++i) ASSERT_TRUE(PutString(m_path, kSecGroup, EntryKey("_g", i).c_str(), "item" + std::to_string(i)));
  };
  auto readList = [&] {
    std::vector<std::string> v;
    int n = GetInt(m_path, kSecGroup, "Files", 0);
    for (int i = 0; i < n; ++i) v.push_back(GetString(m_path, kSecGroup, EntryKey("_g", i).c_str(), ""));
    return v;
  };
  writeList(5);
  writeList(2);
  EXPECT_EQ(readList(), (std::vector<std::string>{"item0", "item1"}));
  EXPECT_EQ(GetString(m_path, kSecGroup, "_g4", ""), "item4");  // left in the file

  // a count beyond the entries present yields empty entries
  ASSERT_TRUE(PutInt(m_path, kSecGroup, "Files", 7));
  std::vector<std::string> v = readList();
  ASSERT_EQ(v.size(), 7u);
  EXPECT_EQ(v[4], "item4");
  EXPECT_EQ(v[5], "");
  EXPECT_EQ(v[6], "");
}

TEST_F(SetupIniFile, LockedFileRefusesTheWriteAndSaysSo) {
  // (a read-only bit does not stop root under Wine, so a lock stands for a file we cannot write)
  ASSERT_TRUE(PutInt(m_path, kSecSetup, "Mode", 1));
  HANDLE h = ::CreateFileA(m_path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(PutInt(m_path, kSecSetup, "Mode", 2));
  ::CloseHandle(h);
  EXPECT_EQ(GetInt(m_path, kSecSetup, "Mode", 0), 1);
}
