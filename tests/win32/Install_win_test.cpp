// The overwrite decision on real files and times, and shortcut files written and read
// back through the shell link.
#include <gtest/gtest.h>

#include "ConfirmOverwrite.h"
#include "Shortcut.h"
#include "TestFolder.h"
#include "uitest.h"

namespace {

// Sets the last-write time to `base` seconds plus `tenths` of a second.
void SetTime(const std::string& path, long long seconds, int tenths) {
  ULARGE_INTEGER t;
  t.QuadPart = (13000000000ull + static_cast<unsigned long long>(seconds)) * 10000000ull + tenths * 1000000ull;
  FILETIME ft = {t.LowPart, t.HighPart};
  HANDLE h = ::CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  ::SetFileTime(h, nullptr, nullptr, &ft);
  ::CloseHandle(h);
}

}  // namespace

// Only cases without a question: the question itself is shown by the real program.
TEST(ConfirmOverwrite, WholeSecondsMissingAndHeldFiles) {
  CTestFolder dir("ow");
  const std::string fresh = dir.Path() + "new.dat", existing = dir.Path() + "old.dat";
  WriteBytes(fresh, "new");
  EXPECT_EQ(ConfirmOverwrite(nullptr, fresh, existing, 1), 1) << "no destination: copy";
  WriteBytes(existing, "old");
  SetTime(fresh, 100, 1);
  SetTime(existing, 100, 9);  // later, but within the same second
  EXPECT_EQ(ConfirmOverwrite(nullptr, fresh, existing, 1), 1);
  SetTime(existing, 102, 0);
  EXPECT_EQ(ConfirmOverwrite(nullptr, fresh, existing, 0), 0) << "newer destination, no asking: keep";
  SetTime(fresh, 103, 0);
  EXPECT_EQ(ConfirmOverwrite(nullptr, fresh, existing, 0), 1);
  SetTime(fresh, 100, 0);
  {
    // another program holds the destination: copy (whether the copy works is the caller's)
    HANDLE held = ::CreateFileA(existing.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(ConfirmOverwrite(nullptr, fresh, existing, 0), 1);
    ::CloseHandle(held);
  }
  EXPECT_EQ(ConfirmOverwrite(nullptr, dir.Path() + "gone.dat", existing, 1), 0) << "unreadable source: keep";
}

TEST(CreateShortcut, OneLevelMadeReplacedAndTooLong) {
  CTestFolder dir("lnk");
  const std::string target = dir.Path() + "app.exe", other = dir.Path() + "other.exe";
  WriteBytes(target, "x");
  WriteBytes(other, "y");

  // a new group folder is made on demand, one level only
  EXPECT_TRUE(CreateShortcut(dir.Path() + "グループ\\起動", "", target));
  EXPECT_EQ(uitest::ShortcutTarget(dir.Path() + "グループ\\起動.lnk"), target);
  EXPECT_FALSE(CreateShortcut(dir.Path() + "a\\b\\link", "", target));
  EXPECT_EQ(::GetFileAttributesA((dir.Path() + "a").c_str()), INVALID_FILE_ATTRIBUTES);
  // an existing shortcut of the same name is replaced
  EXPECT_TRUE(CreateShortcut(dir.Path() + "グループ\\起動", "説明", other));
  EXPECT_EQ(uitest::ShortcutTarget(dir.Path() + "グループ\\起動.lnk"), other);

  // the name must fit 260 wide characters with its terminator, whatever its byte length
  const std::size_t room = 259 - dir.Path().size() - 4;  // ".lnk"
  std::string wide;
  for (std::size_t i = 0; i < room && i < 200; ++i) wide += "あ";
  std::string fits = dir.Path() + wide + std::string(room - wide.size() / 2, 'n');
  EXPECT_GT(fits.size() + 4, 260u);
  EXPECT_TRUE(CreateShortcut(fits, "", target));
  EXPECT_EQ(uitest::ShortcutTarget(fits + ".lnk"), target);
  EXPECT_FALSE(CreateShortcut(fits + "n", "", target));
}
