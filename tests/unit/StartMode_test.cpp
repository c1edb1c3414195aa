#include "StartMode.h"

#include <gtest/gtest.h>

#include <map>

using startmode::Action;

namespace {
const std::string kWin = "C:\\windows";

struct Folders {
  std::map<std::string, int> modes;  // Setup.ini path -> Mode
  std::vector<std::string> asked;
  std::function<int(const std::string&)> Reader() {
    return [this](const std::string& p) {
      asked.push_back(p);
      auto it = modes.find(p);
      return it == modes.end() ? 0 : it->second;
    };
  }
};

startmode::Plan Decide(Folders& f, const std::string& cmd, const std::string& setupDir) {
  return startmode::Decide(startmode::NormaliseCommandLine(cmd), setupDir, kWin, f.Reader());
}
}  // namespace

TEST(StartMode, AuthoringOrInstallOutsideWindowsFolder) {
  Folders f;
  f.modes["D:\\dist\\Setup.ini"] = 1;
  EXPECT_EQ(Decide(f, "", "D:\\dist\\").action, Action::Install);
  for (const char* opt : {"-s", "/s", "-S", "/S", "x-Sy", "-d -s", "/D/S"})
    EXPECT_EQ(Decide(f, opt, "D:\\dist\\").action, Action::Authoring) << opt;
  EXPECT_EQ(Decide(f, "-d", "D:\\dist\\").action, Action::ErrMisuseD);
  EXPECT_EQ(Decide(f, "/D -tC:\\x\\", "D:\\dist\\").action, Action::ErrMisuseD);

  // only Mode 1 installs: 0, 2, absent or a stray number author
  for (int m : {0, 2, 3, -1}) {
    f.modes["D:\\dist\\Setup.ini"] = m;
    EXPECT_EQ(Decide(f, "", "D:\\dist\\").action, Action::Authoring) << m;
  }
  Folders none;
  EXPECT_EQ(Decide(none, "", "D:\\dist\\").action, Action::Authoring);
  EXPECT_EQ(none.asked.back(), "D:\\dist\\Setup.ini");
}

TEST(StartMode, WindowsFolderIsComparedWithoutCaseAndWithItsBackslash) {
  EXPECT_TRUE(startmode::IsWindowsFolder("c:\\WINDOWS\\", kWin));
  EXPECT_FALSE(startmode::IsWindowsFolder("C:\\windows", kWin));
  EXPECT_FALSE(startmode::IsWindowsFolder("C:\\windows\\system32\\", kWin));
  EXPECT_FALSE(startmode::IsWindowsFolder("D:\\windows\\", kWin));
}

TEST(StartMode, UninstallBranchAndItsWrongUseBoxes) {
  Folders f;
  EXPECT_EQ(Decide(f, "", "C:\\WINDOWS\\").action, Action::ErrNoOption);
  EXPECT_EQ(Decide(f, "-s", "C:\\windows\\").action, Action::ErrNoOption);  // -s is not looked at here
  EXPECT_EQ(Decide(f, "-d", "C:\\windows\\").action, Action::ErrNoTarget);
  EXPECT_EQ(Decide(f, "/D", "C:\\windows\\").action, Action::ErrNoTarget);

  // the folder after -t, lower-cased, with its final backslash
  startmode::Plan p = Decide(f, "-d -tC:\\Apps\\Demo\\", "C:\\windows\\");
  EXPECT_EQ(p.action, Action::ErrNoSetupInfo);
  EXPECT_EQ(f.asked.back(), "c:\\apps\\demo\\Setup.ini");

  f.modes["c:\\apps\\demo\\Setup.ini"] = 2;
  p = Decide(f, "-d -tC:\\Apps\\Demo\\", "C:\\windows\\");
  EXPECT_EQ(p.action, Action::Uninstall);
  EXPECT_EQ(p.strFolder, "c:\\apps\\demo\\");

  // "-t" wins over an earlier "/t"
  EXPECT_EQ(Decide(f, "/d/t c:\\x -tc:\\apps\\demo", "C:\\windows\\").strFolder, "c:\\apps\\demo\\");

  f.modes["c:\\apps\\demo\\Setup.ini"] = 1;
  EXPECT_EQ(Decide(f, "-d -tC:\\Apps\\Demo\\", "C:\\windows\\").action, Action::ErrNoSetupInfo);
}

// The folder after -t is read as the install reads its folder: blanks and quotes
// around it go, and the rest is made full by the program (here as from c:\apps\demo\);
// what is no full folder then is refused before anything is read from it.
TEST(StartMode, UninstallFolderForms) {
  Folders f;
  f.modes["c:\\apps\\demo\\Setup.ini"] = 2;
  auto full = [](const std::string& text) -> std::string {
    if (text == "." || text == ".\\" || text == "c:\\apps\\x\\..\\demo\\.") return "c:\\apps\\demo\\";
    if (text == "c:\\apps\\demo\\" || text == "c:\\apps\\demo") return "c:\\apps\\demo\\";
    if (text == "\\\\?\\c:\\apps\\demo") return text + "\\";
    return text.empty() ? text : "c:\\apps\\demo\\" + text + "\\";
  };
  for (const char* form : {"-tC:\\Apps\\Demo", "-t\"C:\\Apps\\Demo\\\"", "-t  C:\\Apps\\Demo\\  ", "-t.\\", "/t.",
                           "-t C:\\Apps\\x\\..\\Demo\\."}) {
    for (const char* quiet : {"", "-q "}) {
      startmode::Plan p =
          startmode::Decide(std::string(quiet) + "-d " + form, "C:\\windows\\", kWin, f.Reader(), full);
      EXPECT_EQ(p.action, Action::Uninstall) << quiet << form;
      EXPECT_EQ(p.strFolder, "c:\\apps\\demo\\") << quiet << form;
    }
  }
  for (const char* form : {"-t\\\\?\\C:\\Apps\\Demo", "-t\"\"", "-t   "}) {
    f.asked.clear();
    EXPECT_EQ(startmode::Decide(std::string("-d ") + form, "C:\\windows\\", kWin, f.Reader(), full).action,
              Action::ErrNoSetupInfo)
        << form;
    EXPECT_TRUE(f.asked.empty()) << form;
  }
}

TEST(StartMode, VeryLongCommandLines) {
  Folders f;
  std::string longLine(100000, 'A');
  EXPECT_EQ(Decide(f, longLine, "D:\\dist\\").action, Action::Authoring);
  startmode::Plan p = Decide(f, "-d -tc:\\" + longLine, "C:\\windows\\");
  EXPECT_EQ(p.action, Action::ErrNoSetupInfo);
  EXPECT_EQ(p.strFolder.size(), longLine.size() + 4) << "not cut";
}

TEST(StartMode, FolderAndInstanceNameOfTheProgramFile) {
  EXPECT_EQ(startmode::FolderOf("D:\\dist\\Setup.exe"), "D:\\dist\\");
  EXPECT_EQ(startmode::FolderOf("D:\\表\\Setup.exe"), "D:\\表\\");
  EXPECT_EQ(startmode::InstanceName("D:\\dist\\Setup.exe"), "Setup");
  EXPECT_EQ(startmode::InstanceName("C:\\windows\\Hanbell.exe"), "Hanbell");
  EXPECT_EQ(startmode::InstanceName("C:\\a.b\\Hanbell"), "Hanbell");
}
