// Special folders from the registry, CreateFolderPath level by level, and the record of
// install folders, on the real registry and file system.
#include <gtest/gtest.h>

#include "Package_win.h"
#include "SetupDirectory.h"
#include "ShellFolders.h"
#include "TestFolder.h"

namespace {

std::string RegString(HKEY root, const char* sub, const char* value) {
  HKEY h;
  if (::RegOpenKeyExA(root, sub, 0, KEY_READ, &h) != ERROR_SUCCESS) return "<no key>";
  char buf[1024] = "";
  DWORD cb = sizeof buf;
  LONG r = ::RegQueryValueExA(h, value, nullptr, nullptr, reinterpret_cast<BYTE*>(buf), &cb);
  ::RegCloseKey(h);
  return r == ERROR_SUCCESS ? buf : "<no value>";
}

bool IsFolderThere(const std::string& p) {
  DWORD a = ::GetFileAttributesA(p.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

TEST(SpecialFolders, TheFourFoldersComeFromTheRegistryWithABackslash) {
  const char* shellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
  EXPECT_EQ(RegString(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir") + "\\",
            GetProgramFilesFolder());
  EXPECT_EQ(RegString(HKEY_CURRENT_USER, shellFolders, "Startup") + "\\", GetStartupFolder());
  EXPECT_EQ(RegString(HKEY_CURRENT_USER, shellFolders, "Desktop") + "\\", GetDesktopFolder());
  EXPECT_EQ(RegString(HKEY_CURRENT_USER, shellFolders, "Programs") + "\\", GetProgramsFolder());
  EXPECT_GT(GetProgramFilesFolder().size(), 3u);
}

TEST(SpecialFolders, ValuesOfAKeyOfOurOwn) {
  const std::string sub = "Software\\HbTreeTest" + std::to_string(::GetCurrentProcessId());
  HKEY h;
  ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExA(HKEY_CURRENT_USER, sub.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr));
  auto set = [&](const char* name, const std::string& v) {
    ::RegSetValueExA(h, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(v.c_str()), static_cast<DWORD>(v.size() + 1));
  };
  set("Plain", "C:\\Apps");
  set("Slash", "C:\\Apps\\");                   // a backslash is added all the same
  set("Long", std::string(300, 'x'));           // does not fit 260 bytes: not read
  set("Fits", std::string(259, 'y'));
  set("Japanese", "C:\\\x83\x76\x83\x8d\x83\x4f\x83\x89\x83\x80");
  DWORD dw = 0x41;
  ::RegSetValueExA(h, "Number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dw), sizeof dw);  // the type is not looked at
  ::RegCloseKey(h);

  EXPECT_EQ("C:\\Apps\\", shell::ReadFolderValue(HKEY_CURRENT_USER, sub.c_str(), "Plain"));
  EXPECT_EQ("C:\\Apps\\\\", shell::ReadFolderValue(HKEY_CURRENT_USER, sub.c_str(), "Slash"));
  EXPECT_EQ("", shell::ReadFolderValue(HKEY_CURRENT_USER, sub.c_str(), "Long"));
  EXPECT_EQ(std::string(259, 'y') + "\\", shell::ReadFolderValue(HKEY_CURRENT_USER, sub.c_str(), "Fits"));
  EXPECT_EQ("C:\\\x83\x76\x83\x8d\x83\x4f\x83\x89\x83\x80\\", shell::ReadFolderValue(HKEY_CURRENT_USER, sub.c_str(), "Japanese"));
  EXPECT_EQ("A\\", shell::ReadFolderValue(HKEY_CURRENT_USER, sub.c_str(), "Number"));
  EXPECT_EQ("", shell::ReadFolderValue(HKEY_CURRENT_USER, sub.c_str(), "Missing"));
  EXPECT_EQ("", shell::ReadFolderValue(HKEY_CURRENT_USER, (sub + "\\NoSuchKey").c_str(), "Plain"));
  ::RegDeleteKeyA(HKEY_CURRENT_USER, sub.c_str());
}

TEST(CreateFolderPath, EveryLevelRule) {
  CTestFolder dir("mk");
  const std::string base = dir.Path();
  // Drive path with a trailing backslash: every missing level is made.
  EXPECT_TRUE(CreateFolderPath(base + "Apps\\\x83\x54\x83\x93\x83\x76\x83\x8b\\bin\\"));
  EXPECT_TRUE(IsFolderThere(base + "Apps\\\x83\x54\x83\x93\x83\x76\x83\x8b\\bin"));
  // Already there completely.
  EXPECT_TRUE(CreateFolderPath(base + "Apps\\\x83\x54\x83\x93\x83\x76\x83\x8b\\bin"));
  // A file in the middle: that level passes as existing, the next cannot be made.
  WriteBytes(base + "Apps\\file", "x");
  EXPECT_FALSE(CreateFolderPath(base + "Apps\\file\\sub\\deeper"));
  EXPECT_FALSE(IsFolderThere(base + "Apps\\file\\sub"));
  // A level whose name the file system refuses as invalid is passed over.
  EXPECT_TRUE(CreateFolderPath(base + "Apps\\bad?name"));
  // A bare name is made in the current folder.
  char cwd[MAX_PATH];
  ::GetCurrentDirectoryA(MAX_PATH, cwd);
  ::SetCurrentDirectoryA(base.c_str());
  EXPECT_TRUE(CreateFolderPath("bare"));
  ::SetCurrentDirectoryA(cwd);
  EXPECT_TRUE(IsFolderThere(base + "bare"));
  // The drive root: only "C:" is tried, and nothing is made.
  CreateFolderPath("C:\\");
  EXPECT_TRUE(IsFolderThere("C:\\"));
}

TEST(SetupDirectory, RecordsInAFileOfOurOwn) {
  CTestFolder dir("sd");
  const std::string ini = dir.Path() + "Hanbell.ini";
  EXPECT_FALSE(shell::WriteSetupDirectoryTo(ini, ini, "", "Sample.exe"));
  EXPECT_FALSE(shell::WriteSetupDirectoryTo(ini, ini, "C:\\Apps\\Sample.exe", ""));
  EXPECT_FALSE(shell::WriteSetupDirectoryTo(ini, ini, "C:\\Apps\\sample.exe", "Sample.exe"));
  EXPECT_EQ("<missing>", ReadBytes(ini));  // refused writes leave no file

  EXPECT_TRUE(shell::WriteSetupDirectoryTo(ini, ini, "C:\\Apps\\Sample\\bin\\Sample.exe", "bin\\Sample.exe"));
  EXPECT_EQ("C:\\Apps\\Sample\\", shell::ReadSetupDirectoryFrom(ini, "bin\\Sample.exe"));
  // The key is found in any case, but the folder is cut at the key as written in the value.
  EXPECT_EQ("", shell::ReadSetupDirectoryFrom(ini, "BIN\\SAMPLE.EXE"));
  EXPECT_EQ("", shell::ReadSetupDirectoryFrom(ini, "Other.exe"));
  EXPECT_EQ("", shell::ReadSetupDirectoryFrom(ini, ""));

  // A second install elsewhere replaces the record; a read-only file is made writable.
  ::SetFileAttributesA(ini.c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_TRUE(shell::WriteSetupDirectoryTo(ini, ini, "D:\\\x83\x41\x83\x76\x83\x8a\\bin\\Sample.exe", "bin\\Sample.exe"));
  EXPECT_FALSE(::GetFileAttributesA(ini.c_str()) & FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ("D:\\\x83\x41\x83\x76\x83\x8a\\", shell::ReadSetupDirectoryFrom(ini, "bin\\Sample.exe"));

  // A record edited so that it no longer holds its key reads as nothing.
  ::WritePrivateProfileStringA("SetupDirectory", "bin\\Sample.exe", "C:\\Apps\\BIN\\SAMPLE.EXE", ini.c_str());
  EXPECT_EQ("", shell::ReadSetupDirectoryFrom(ini, "bin\\Sample.exe"));
}

TEST(SetupDirectory, TheWindowsFolderFileKeepsOtherRecords) {
  char win[MAX_PATH];
  ::GetWindowsDirectoryA(win, MAX_PATH);
  const std::string ini = std::string(win) + "\\Hanbell.ini";
  const bool existed = ::GetFileAttributesA(ini.c_str()) != INVALID_FILE_ATTRIBUTES;
  const std::string key = "hbtree" + std::to_string(::GetCurrentProcessId()) + "\\Sample.exe";
  ASSERT_TRUE(WriteSetupDirectory("C:\\Apps\\" + key, key));
  EXPECT_EQ("C:\\Apps\\", ReadSetupDirectory(key));
  char buf[300] = "";
  ::GetPrivateProfileStringA("SetupDirectory", key.c_str(), "", buf, sizeof buf, ini.c_str());
  EXPECT_EQ("C:\\Apps\\" + key, std::string(buf));
  // Remove only our record (others may be writing theirs), and the file if we made it.
  ::WritePrivateProfileStringA("SetupDirectory", key.c_str(), nullptr, ini.c_str());
  if (!existed) {
    char names[64] = "", keys[16] = "";
    DWORD n = ::GetPrivateProfileSectionNamesA(names, sizeof names, ini.c_str());
    if (::GetPrivateProfileSectionA("SetupDirectory", keys, sizeof keys, ini.c_str()) == 0 &&
        (n == 0 || std::string(names) == "SetupDirectory") && names[std::string(names).size() + 1] == '\0')
      ::DeleteFileA(ini.c_str());
  }
  EXPECT_EQ("", ReadSetupDirectory(key));
}

// A package's files are unpacked on a thread of their own while the caller goes on:
// into memory within the budget, into the folder beyond it. Each is whole once its
// look-up returns, and the folder can go however far the unpacking got.
TEST(Package, EachFileWholeOnceLookedUpInMemoryOrInTheFolder) {
  CTestFolder dir("pkg");
  char self[MAX_PATH] = "";
  ::GetModuleFileNameA(nullptr, self, MAX_PATH);  // any plain program serves as the installer
  WIN32_FILE_ATTRIBUTE_DATA selfData;
  ASSERT_TRUE(::GetFileAttributesExA(self, GetFileExInfoStandard, &selfData));
  const std::string ini = "[Setup]\r\nMode=1\r\n";
  ASSERT_TRUE(WriteBytes(dir.Path() + "Setup.ini", ini));
  std::vector<package::CSourceFile> files = {{dir.Path() + "Setup.ini", "Setup.ini"}};
  std::vector<std::string> contents;
  ::CreateDirectoryA((dir.Path() + "sub").c_str(), nullptr);
  for (int i = 0; i < 40; ++i) {
    const std::string name = "sub\\f" + std::to_string(i) + ".dat";
    contents.push_back(std::string(50000 + i, static_cast<char>('a' + i % 26)) + name);
    ASSERT_TRUE(WriteBytes(dir.Path() + name, contents.back()));
    files.push_back({dir.Path() + name, name});
  }
  CString failed;
  const std::string pkg = dir.Path() + "p.exe";
  ASSERT_EQ(package::WritePackage(self, files, pkg, failed), package::WriteResult::Written) << failed;

  // all in memory; the first three within 200,000 bytes, the rest in the folder
  for (const std::uint64_t budget : {std::uint64_t{1} << 30, std::uint64_t{200000}}) {
    SCOPED_TRACE(budget);
    package::CHeldFiles held;
    CString folder;
    ASSERT_EQ(package::ExtractPackage(pkg, selfData.nFileSizeLow, folder, nullptr, held, budget),
              package::OpenResult::Extracted);
    EXPECT_EQ(ReadBytes(folder + "Setup.ini"), ini);
    int inMemory = 0;
    for (int i = 0; i < 40; ++i) {
      const std::string path = folder + files[static_cast<std::size_t>(i) + 1].strName;
      if (const package::CHeldFile* f = held.Find(path)) {
        ++inMemory;
        EXPECT_EQ(f->bytes, contents[static_cast<std::size_t>(i)]) << path;
        EXPECT_EQ(::GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES) << path;
      } else {
        EXPECT_EQ(ReadBytes(path), contents[static_cast<std::size_t>(i)]) << path;
      }
    }
    EXPECT_EQ(inMemory, budget == 200000 ? 3 : 40);
    EXPECT_EQ(held.Find(folder + "none.dat"), nullptr);
    held.Stop();
    EXPECT_TRUE(package::RemoveFolderTree(folder));
  }
  {
    SCOPED_TRACE("stopped at once");
    package::CHeldFiles held;
    CString folder;
    ASSERT_EQ(package::ExtractPackage(pkg, selfData.nFileSizeLow, folder, nullptr, held, 0),
              package::OpenResult::Extracted);
    held.Stop();
    EXPECT_TRUE(package::RemoveFolderTree(folder));
    EXPECT_EQ(::GetFileAttributesA(folder.c_str()), INVALID_FILE_ATTRIBUTES);
  }
}
