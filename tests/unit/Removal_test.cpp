// The removal run against an in-memory system: what goes, from where, which
// indicator lights, which counter grows, which box ends it, and what is never touched.
#include "Removal.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "Mbcs.h"
#include "SetupInfo.h"

using namespace uninstall;

namespace {

const std::string kInstall = "c:\\apps\\demo\\";  // as the command line gives it: lower case
const std::string kAuthor = "C:\\dist\\";
const std::string kWindows = "C:\\WINDOWS\\";
const std::string kStartup = "C:\\users\\u\\Start Menu\\Programs\\Startup\\";
const std::string kDesktop = "C:\\users\\u\\Desktop\\";
const std::string kPrograms = "C:\\users\\u\\Start Menu\\Programs\\";

std::string Key(std::string path) {
  path = mbcs::ToLower(path);
  while (path.size() > 3 && path.back() == '\\') path.pop_back();
  return path;
}

const char* Name(Indicator i) {
  switch (i) {
    case Indicator::Files: return "files";
    case Indicator::Folder: return "folder";
    case Indicator::Startup: return "startup";
    case Indicator::Desktop: return "desktop";
    case Indicator::Group: return "group";
    case Indicator::Registry: return "registry";
  }
  return "?";
}

// Files and folders by path (no "." or ".." handling: a path the run did not resolve
// misses), shared counts, uninstall keys, and a log of what the run did.
class CMemOs : public IRemovalOs {
 public:
  struct Node {
    bool bFolder = false;
    unsigned long dwAttributes = 0x20;
    bool bLocked = false;
  };
  std::map<std::string, Node> nodes;
  std::map<std::string, unsigned long> counts;  // by lower-case value name
  bool bCountsLocked = false;                    // every write or deletion of a count fails
  std::set<std::string> keys;
  RemovalOptions options;
  std::vector<std::string> log;      // "enable files", "check files", "pause 5"
  std::vector<std::string> touched;  // every path handed to an attribute change or deletion
  std::map<std::string, int> looks;  // attribute reads by Key()
  std::set<std::string> held;        // folders held open (by Key()), which cannot be removed

  void File(const std::string& path, unsigned long attributes = 0x20) { nodes[Key(path)] = {false, attributes, false}; }
  void Folder(const std::string& path) { nodes[Key(path)] = {true, 0x10, false}; }
  bool Has(const std::string& path) const { return nodes.count(Key(path)) != 0; }

  void EnableIndicator(Indicator i) override { log.push_back(std::string("enable ") + Name(i)); }
  void CheckIndicator(Indicator i) override { log.push_back(std::string("check ") + Name(i)); }
  void Pause(int ms) override { log.push_back("pause " + std::to_string(ms)); }
  void SetNormalAttributes(const std::string& path) override {
    touched.push_back(path);
    auto it = nodes.find(Key(path));
    if (it != nodes.end()) it->second.dwAttributes = it->second.bFolder ? 0x10 : 0x80;
  }
  bool DeleteFile(const std::string& path) override {
    touched.push_back(path);
    auto it = nodes.find(Key(path));
    if (it == nodes.end() || it->second.bFolder || it->second.bLocked || (it->second.dwAttributes & 1)) return false;
    nodes.erase(it);
    return true;
  }
  bool RemoveFolder(const std::string& path) override {
    touched.push_back(path);
    std::string k = Key(path);
    auto it = nodes.find(k);
    if (it == nodes.end() || !it->second.bFolder || held.count(k)) return false;
    for (const auto& n : nodes)
      if (n.first.size() > k.size() && n.first.compare(0, k.size() + 1, k + "\\") == 0) return false;
    nodes.erase(it);
    return true;
  }
  bool HasSystemAttribute(const std::string& path) override {
    auto it = nodes.find(Key(path));
    return it != nodes.end() && (it->second.dwAttributes & 4);
  }
  bool Exists(const std::string& path) override { return Has(path); }
  unsigned long Attributes(const std::string& path) override {
    ++looks[Key(path)];
    auto it = nodes.find(Key(path));
    return it == nodes.end() ? kNoAttributes : it->second.dwAttributes;
  }
  Hold HoldFolder(const std::string& root, const std::string& relative) override {
    std::string path = root;
    for (std::size_t at = 0; at <= relative.size();) {
      std::size_t end = std::min(mbcs::FindFirstChar(relative, '\\', at), relative.size());
      path += (path.back() == '\\' ? "" : "\\") + relative.substr(at, end - at);
      at = end + 1;
      auto it = nodes.find(Key(path));
      if (it == nodes.end() || !it->second.bFolder) return Hold::Unheld;
      if (it->second.dwAttributes & 0x400) return Hold::Link;
      held.insert(Key(path));
    }
    return Hold::Held;
  }
  void ReleaseFolder(const std::string& root, const std::string& relative) override {
    std::string k = Key(root + relative);
    for (auto it = held.begin(); it != held.end();)
      it = *it == k || it->rfind(k + "\\", 0) == 0 ? held.erase(it) : std::next(it);
  }
  bool ReadSharedCount(const std::string& name, unsigned long& n) override {
    auto it = counts.find(mbcs::ToLower(name));
    if (it == counts.end()) return false;
    n = it->second;
    return true;
  }
  bool WriteSharedCount(const std::string& name, unsigned long n) override {
    if (!bCountsLocked) counts[mbcs::ToLower(name)] = n;
    return !bCountsLocked;
  }
  bool DeleteSharedCount(const std::string& name) override {
    return !bCountsLocked && counts.erase(mbcs::ToLower(name)) != 0;
  }
  RemovalOptions ReadOptions() override {
    log.push_back("options");
    return options;
  }
  bool DeleteUninstallKey(const std::string& subKey) override {
    log.push_back("key " + subKey);
    return keys.erase(subKey) != 0;
  }
  std::set<std::string> system;  // folders of the system's, by Key()
  bool IsSystemFolder(const std::string& path) override { return system.count(Key(path)) != 0; }
  bool bKept = false;  // Setup.ini notes a kept record
  bool NoteRecordKept() override {
    log.push_back("kept");
    return bKept = true;
  }

  std::vector<std::string> Indicators() const {
    std::vector<std::string> out;
    for (const std::string& l : log)
      if (l.rfind("enable ", 0) == 0 || l.rfind("check ", 0) == 0) out.push_back(l);
    return out;
  }
  int Pauses() const {
    int n = 0;
    for (const std::string& l : log) n += l.rfind("pause ", 0) == 0;
    return n;
  }
};

setupinfo::CProfileSection Section(const std::vector<std::string>& lines) {
  std::string data;
  for (const std::string& l : lines) data += l + '\0';
  setupinfo::CProfileSection s;
  s.Assign(data.data(), data.size());
  return s;
}

// An installed Demo: the author's tree under C:\dist\, installed into c:\apps\demo\.
struct CInstall {
  std::vector<std::string> groupFiles{kAuthor};
  std::vector<std::string> groupNames{"Dummy"};
  std::vector<std::string> systemFiles{kAuthor};
  RemovalInputs in;

  CInstall() {
    in.strSetupDir = kInstall;
    in.strTopRoot = kAuthor;
    in.strWindowsDir = kWindows;
    in.strExeTitle = "Demo";
    in.strStartupFolder = kStartup;
    in.strDesktopFolder = kDesktop;
    in.strProgramsFolder = kPrograms;
  }
  // Lists as the dialog holds them: already rebased, names paired with the group files.
  const RemovalInputs& Inputs() {
    for (auto* list : {&groupFiles, &groupNames, &systemFiles})
      for (std::string& e : *list) e = setupinfo::Rebase(e, kAuthor, kInstall);
    groupNames.resize(groupFiles.size());
    in.pGroupFiles = groupFiles.data();
    in.pGroupShortcutNames = groupNames.data();
    in.nGroupFiles = static_cast<int>(groupFiles.size());
    in.pSystemFiles = systemFiles.data();
    in.nSystemFiles = static_cast<int>(systemFiles.size());
    return in;
  }
};

// The installed files of a small Demo, the shortcuts of all three options and the key.
void LayOutInstall(CMemOs& os) {
  os.Folder(kInstall);
  os.File(kInstall + "Setup.ini");
  os.File(kInstall + "Demo.exe");
  os.Folder(kInstall + "ソフト");  // 0x5C trail byte in the folder's name
  os.File(kInstall + "ソフト\\words.wds", 0x21);
  os.options = {1, 1, 1};
  os.File(kStartup + "Demoへのｼｮｰﾄｶｯﾄ.lnk");
  os.File(kDesktop + "Demoへのｼｮｰﾄｶｯﾄ.lnk");
  os.Folder(kPrograms + "Demo");
  os.File(kPrograms + "Demo\\Demoへのｼｮｰﾄｶｯﾄ.lnk");
  os.keys.insert("SoftWare\\Microsoft\\Windows\\CurrentVersion\\UnInstall\\Demo");
}

const std::vector<std::string> kDemoTree = {
    "Select=C:\\dist\\Demo.exe", "TopRoot=C:\\dist", "_f0=C:\\dist\\|16", "_f1=C:\\dist\\Demo.exe|32",
    "_f2=C:\\dist\\ソフト\\|16", "_f3=C:\\dist\\ソフト\\words.wds|33", "Count=4"};

std::vector<std::string> Remaining(const CMemOs& os) {
  std::vector<std::string> out;
  for (const auto& n : os.nodes) out.push_back(n.first);
  return out;
}

}  // namespace

TEST(Removal, AWholeInstallGoesStepByStep) {
  CMemOs os;
  os.Folder(kInstall);
  os.File(kInstall + "Setup.ini");
  os.File(kInstall + "Demo2.exe");  // the Select file, also a Windows-folder entry
  os.File(kWindows + "Demo2.exe");
  os.Folder(kInstall + "ソフト");  // 0x5C trail byte in the folder's name
  os.File(kInstall + "ソフト\\words.wds", 0x21);
  os.Folder(kInstall + "ソフト\\深い");
  os.File(kInstall + "ソフト\\深い\\x.bin");
  os.File(kInstall + "readme.txt", 0x23);  // read-only and hidden: reset, then deleted
  os.Folder(kInstall + "doc");
  os.File(kWindows + "shared.dll");
  os.counts[mbcs::ToLower(kWindows + "shared.dll")] = 1;  // this install's alone: deleted
  os.File(kWindows + "common.dll");
  os.counts[mbcs::ToLower(kWindows + "common.dll")] = 3;  // others use it too: one use less, stays
  os.options = {1, 1, 1};
  for (const std::string& folder : {kStartup, kDesktop, kPrograms + "Demo\\"}) {
    os.File(folder + "Demo.lnk");
    os.File(folder + "Other.lnk");  // another program's
  }
  os.nodes.erase(Key(kPrograms + "Demo\\Other.lnk"));
  os.Folder(kPrograms + "Demo");
  for (const char* link : {"ソフト.lnk", "読んでね.lnk", "doc.lnk"}) os.File(kPrograms + "Demo\\" + link);
  os.keys = {"SoftWare\\Microsoft\\Windows\\CurrentVersion\\UnInstall\\Demo2",
             "SoftWare\\Microsoft\\Windows\\CurrentVersion\\UnInstall\\Other"};

  CInstall inst;
  inst.systemFiles = {kAuthor, kAuthor + "shared.dll", kAuthor + "Common.DLL", kAuthor + "Demo2.exe"};
  inst.groupFiles = {kAuthor, kAuthor + "ソフト\\", kAuthor + "readme.txt", kAuthor + "doc\\"};
  inst.groupNames = {"Dummy", "", "読んでね", ""};
  inst.in.strExeTitle = "Demo2";
  inst.in.strPrgShortCut = "Demo";  // the executable's links are named Demo.lnk
  inst.in.strPrgGroup = "Demo";
  auto tree = Section({"Select=C:\\dist\\Demo2.exe", "TopRoot=C:\\dist", "_f0=C:\\dist\\|16",
                       "_f1=C:\\dist\\Demo2.exe|32", "_f2=C:\\dist\\ソフト\\|16", "_f3=C:\\dist\\readme.txt|35",
                       "_f4=C:\\dist\\shared.dll|32", "_f5=C:\\dist\\common.dll|32", "_f6=C:\\dist\\ソフト\\words.wds|33",
                       "_f7=C:\\dist\\ソフト\\深い\\|16", "_f8=C:\\dist\\ソフト\\深い\\x.bin|32", "_f9=C:\\dist\\doc\\|16",
                       "Count=10"});
  RemovalCounts c = RunRemovalSteps(inst.Inputs(), tree, 5, os);

  EXPECT_EQ(c.nFiles, 0);
  EXPECT_EQ(c.nFolders, 0);
  EXPECT_EQ(c.nShortcuts, 0);
  EXPECT_EQ(Remaining(os), (std::vector<std::string>{Key(kDesktop + "Other.lnk"), Key(kStartup + "Other.lnk"),
                                                     Key(kWindows + "common.dll"), Key(kWindows + "Demo2.exe")}))
      << "the Select file goes from its own folder, the Windows folder's copy stays";
  EXPECT_EQ(os.counts, (std::map<std::string, unsigned long>{{mbcs::ToLower(kWindows + "common.dll"), 2}}));
  EXPECT_EQ(os.keys, (std::set<std::string>{"SoftWare\\Microsoft\\Windows\\CurrentVersion\\UnInstall\\Other"}));
  // each indicator enabled as its step begins and checked once it succeeded
  EXPECT_EQ(os.Indicators(), (std::vector<std::string>{"enable files", "check files", "enable folder", "check folder",
                                                       "enable startup", "check startup", "enable desktop",
                                                       "check desktop", "enable group", "check group",
                                                       "enable registry", "check registry"}));
  // one pause after each of the nine entries, after Setup.ini, the folder, and in each later step
  EXPECT_EQ(os.Pauses(), 9 + 2 + 4);
  // the options are read before Setup.ini goes
  auto opt = std::find(os.log.begin(), os.log.end(), "options");
  ASSERT_NE(opt, os.log.end());
  EXPECT_EQ(*std::prev(opt), "check files");
  // the tree in reverse order: a folder's contents before the folder
  std::vector<std::string> order;
  for (const std::string& p : os.touched)
    if (order.empty() || order.back() != p) order.push_back(p);
  auto pos = [&](const std::string& p) { return std::find(order.begin(), order.end(), p) - order.begin(); };
  EXPECT_LT(pos(kInstall + "ソフト\\深い\\x.bin"), pos(kInstall + "ソフト\\深い"));
  EXPECT_LT(pos(kInstall + "ソフト\\words.wds"), pos(kInstall + "ソフト"));
  EXPECT_LT(pos(kInstall + "ソフト"), pos(kInstall + "Setup.ini"));
  EXPECT_LT(pos(kInstall + "Setup.ini"), pos(kInstall));
  // a folder is looked at once, as it goes: the files below it go in it held; only a
  // read-only file has its attributes reset; nothing stays held
  EXPECT_EQ(os.looks[Key(kInstall + "ソフト")], 1);
  EXPECT_EQ(os.looks[Key(kInstall + "ソフト\\深い")], 1);
  EXPECT_EQ(std::count(os.touched.begin(), os.touched.end(), kInstall + "ソフト\\深い\\x.bin"), 1);
  EXPECT_EQ(std::count(os.touched.begin(), os.touched.end(), kInstall + "readme.txt"), 2);
  EXPECT_TRUE(os.held.empty());

  BoxText box = ResultBox(c);
  EXPECT_EQ(box.strCaption, "ｱﾝｲﾝｽﾄｰﾙの終了");
  EXPECT_EQ(box.strText, "☆ｱﾝｲﾝｽﾄｰﾙが完了しました。");
  EXPECT_EQ(box.icon, BoxIcon::Information);
}

TEST(Removal, EachCauseCountsWhereItBelongsAndTheFirstCounterChoosesTheBox) {
  struct Case {
    const char* what;
    void (*spoil)(CMemOs&);
    RemovalCounts expected;
    std::vector<std::string> unchecked;  // indicators enabled but not checked
    const char* caption;
    BoxIcon icon;
    const char* errPart;
  };
  const Case cases[] = {
      {"links and files of the user's own in the group and install folders: shortcuts before folders",
       [](CMemOs& os) {
         os.File(kPrograms + "Demo\\mine.lnk");
         os.File(kInstall + "mine.txt");
       },
       {0, 1, 1}, {"folder", "group"}, "ｱﾝｲﾝｽﾄｰﾙの終了", BoxIcon::Question, "(err:1)"},
      {"Setup.ini, the key and a link already gone, a file of the user's: files before the rest",
       [](CMemOs& os) {
         os.nodes.erase(Key(kInstall + "Setup.ini"));
         os.keys.clear();
         os.nodes.erase(Key(kStartup + "Demoへのｼｮｰﾄｶｯﾄ.lnk"));
         os.File(kInstall + "mine.txt");
       },
       {2, 1, 1}, {"folder", "startup", "registry"}, "ｱﾝｲﾝｽﾄｰﾙの異常終了", BoxIcon::Exclamation, "(err:2)"},
  };
  for (const Case& k : cases) {
    CMemOs os;
    LayOutInstall(os);
    k.spoil(os);
    CInstall inst;
    RemovalCounts c = RunRemovalSteps(inst.Inputs(), Section(kDemoTree), 0, os);
    EXPECT_EQ(c.nFiles, k.expected.nFiles) << k.what;
    EXPECT_EQ(c.nFolders, k.expected.nFolders) << k.what;
    EXPECT_EQ(c.nShortcuts, k.expected.nShortcuts) << k.what;
    EXPECT_EQ(os.Pauses(), 0) << k.what << ": STime 0 waits nothing";
    std::vector<std::string> log = os.Indicators();
    for (const char* step : {"files", "folder", "startup", "desktop", "group", "registry"}) {
      bool bUnchecked = std::find(k.unchecked.begin(), k.unchecked.end(), step) != k.unchecked.end();
      EXPECT_NE(std::find(log.begin(), log.end(), std::string("enable ") + step), log.end()) << k.what << " " << step;
      EXPECT_EQ(std::find(log.begin(), log.end(), std::string("check ") + step) == log.end(), bUnchecked)
          << k.what << " " << step;
    }
    BoxText box = ResultBox(c);
    EXPECT_EQ(box.strCaption, k.caption) << k.what;
    EXPECT_EQ(box.icon, k.icon) << k.what;
    if (k.errPart) {
      EXPECT_NE(box.strText.find(k.errPart), std::string::npos) << k.what << ": " << box.strText;
    }
  }
}

TEST(Removal, ATamperedListNeverReachesOutside) {
  CMemOs os;
  LayOutInstall(os);
  // what the tampered entries aim at
  os.File("C:\\WINDOWS\\win.ini");
  os.File("C:\\apps\\other\\keep.txt");
  os.Folder("C:\\apps\\other");
  os.File("c:\\apps\\demo2\\x.txt");
  os.File(kWindows + "Hanbell.exe");
  os.counts[mbcs::ToLower(kWindows + "hanbell.exe")] = 1;
  os.File(kWindows + "Hanbell.ini");
  os.counts[mbcs::ToLower(kWindows + "hanbell.ini")] = 1;
  os.File(kWindows + "kernel.dll", 0x24);  // a file of Windows itself
  os.counts[mbcs::ToLower(kWindows + "kernel.dll")] = 1;
  os.File(kWindows + "nocount.dll");  // no count: not this install's
  os.File(kWindows + "evil.dll");     // listed with a climbing path: only the name counts, and it has a count
  os.counts[mbcs::ToLower(kWindows + "evil.dll")] = 1;
  // links planted in the install folder: a folder and a file that point elsewhere
  os.nodes[Key(kInstall + "linked")] = {true, 0x410, false};
  os.File(kInstall + "linked\\victim.txt");  // the target, as seen through the link
  os.File(kInstall + "flink.txt", 0x420);
  os.File("C:\\users\\u\\Start Menu\\victim.lnk");
  os.File("C:\\users\\u\\Start Menu\\Other\\x.lnk");
  os.Folder("C:\\users\\u\\Start Menu\\Other");

  CInstall inst;
  inst.systemFiles = {kAuthor,
                      kAuthor + "Hanbell.exe",
                      kAuthor + "sub\\HANBELL.INI",
                      kAuthor + "kernel.dll",
                      kAuthor + "nocount.dll",
                      kAuthor + "..\\..\\evil.dll",
                      kAuthor + "hanbell.exe.",
                      kAuthor + "x\\.."};
  inst.groupFiles = {kAuthor, kAuthor + "a.txt"};
  inst.groupNames = {"Dummy", "..\\..\\victim"};
  inst.in.strPrgShortCut = "..\\victim";
  inst.in.strPrgGroup = "..\\Other";
  auto tree = Section({"Select=C:\\dist\\Demo.exe", "_f0=C:\\dist\\|16",
                       "_f1=C:\\dist\\..\\..\\WINDOWS\\win.ini|32",     // climbs out by ".."
                       "_f2=C:\\dist\\ソフト/../../other\\keep.txt|32",  // "/" is a separator too
                       "_f3=C:\\apps\\demo2\\x.txt|32",                 // a sibling that starts alike
                       "_f4=..\\other\\keep.txt|32",                    // relative
                       "_f5=\\\\?\\C:\\WINDOWS\\win.ini|32",            // device path
                       "_f6=C:\\dist\\..\\other\\|16",                  // a folder outside
                       "_f7=C:\\dist\\|16",                             // the install folder itself
                       "_f8=C:\\dist\\Hanbell.exe|32", "_f9=C:\\dist\\sub\\HANBELL.INI|32",
                       "_f10=C:\\dist\\kernel.dll|32", "_f11=C:\\dist\\nocount.dll|32",
                       "_f12=C:\\dist\\..\\..\\evil.dll|32", "_f13=C:\\dist\\hanbell.exe.|32",
                       "_f14=C:\\dist\\x\\..|32", "_f15=C:\\dist\\Demo.exe:stream|32",
                       "_f16=C:\\dist\\linked\\victim.txt|32", "_f17=C:\\dist\\flink.txt|32", "Count=18"});
  RemovalCounts c = RunRemovalSteps(inst.Inputs(), tree, 0, os);

  // every tampered entry is a failure of its kind; evil.dll alone goes, from the Windows folder
  EXPECT_EQ(c.nFiles, 14);
  EXPECT_EQ(c.nFolders, 3) << "the outside folder, the install folder itself, and the install folder left with Demo.exe";
  EXPECT_EQ(c.nShortcuts, 5) << "startup, desktop, the group link, the group's own link and its folder";
  for (const char* kept : {"C:\\WINDOWS\\win.ini", "C:\\apps\\other\\keep.txt", "c:\\apps\\demo2\\x.txt",
                           "C:\\WINDOWS\\Hanbell.exe", "C:\\WINDOWS\\Hanbell.ini", "C:\\WINDOWS\\kernel.dll",
                           "C:\\WINDOWS\\nocount.dll", "C:\\users\\u\\Start Menu\\victim.lnk",
                           "C:\\users\\u\\Start Menu\\Other\\x.lnk", "C:\\users\\u\\Start Menu\\Other"})
    EXPECT_TRUE(os.Has(kept)) << kept;
  EXPECT_FALSE(os.Has(kWindows + "evil.dll"));
  EXPECT_EQ(os.nodes.at(Key(kWindows + "kernel.dll")).dwAttributes, 0x24u) << "a kept file keeps its attributes";
  EXPECT_EQ(os.counts.count(mbcs::ToLower(kWindows + "hanbell.exe")), 1u);
  // nothing handed to the system lies outside the install folder or behind a link, bar the one counted file
  for (const std::string& p : os.touched) {
    EXPECT_TRUE(IsInsideFolder(p, kInstall) || p == kInstall || p == kWindows + "evil.dll") << p;
    EXPECT_EQ(p.find("link"), std::string::npos) << p;
  }
  EXPECT_TRUE(os.Has(kInstall + "linked\\victim.txt"));
  ASSERT_TRUE(os.Has(kInstall + "flink.txt"));
  EXPECT_EQ(os.nodes.at(Key(kInstall + "flink.txt")).dwAttributes, 0x420u) << "no attribute change through a link";
}

TEST(Removal, CountsOptionsAndMissingNamesAtTheirEdges) {
  {  // a program group named after the start-up folder: its links go, the folder stays
    CMemOs os;
    LayOutInstall(os);
    os.Folder(kPrograms + "Startup");
    os.File(kPrograms + "Startup\\Demoへのｼｮｰﾄｶｯﾄ.lnk");
    os.system.insert(Key(kPrograms + "Startup"));
    os.options = {0, 1, 1};  // the start-up step would name the same link
    CInstall inst;
    inst.in.strPrgGroup = "Startup";
    RemovalCounts c = RunRemovalSteps(inst.Inputs(), Section(kDemoTree), 0, os);
    EXPECT_EQ(c.nShortcuts, 0);
    EXPECT_TRUE(os.Has(kPrograms + "Startup"));
    EXPECT_FALSE(os.Has(kPrograms + "Startup\\Demoへのｼｮｰﾄｶｯﾄ.lnk"));
  }
  {  // Count 1: only the top folder; nothing deleted, the step succeeds
    CMemOs os;
    LayOutInstall(os);
    CInstall inst;
    RunRemovalSteps(inst.Inputs(), Section({"_f0=C:\\dist\\|16", "Count=1"}), 0, os);
    EXPECT_EQ(os.Indicators().front(), "enable files");
    EXPECT_EQ(os.Indicators()[1], "check files");
    EXPECT_TRUE(os.Has(kInstall + "Demo.exe"));
  }
  {  // Count 0, no options, no executable title: only files, Setup.ini, the folder and the registry step
    CMemOs os;
    os.Folder(kInstall);
    os.File(kInstall + "Setup.ini");
    os.options = {0, 0, 0};
    os.keys.insert("SoftWare\\Microsoft\\Windows\\CurrentVersion\\UnInstall\\");
    CInstall inst;
    inst.in.strExeTitle = "";
    RemovalCounts c = RunRemovalSteps(inst.Inputs(), Section({"Count=0"}), 7, os);
    EXPECT_EQ(os.Indicators(), (std::vector<std::string>{"enable folder", "check folder", "enable registry"}));
    EXPECT_EQ(os.keys.size(), 1u) << "no key is touched without a title";
    EXPECT_EQ(os.Pauses(), 3);
    EXPECT_EQ(c.nFiles + c.nFolders + c.nShortcuts, 0);
  }
  {  // a damaged Count far beyond the entries: the missing ones count as not deleted, and none is waited for
    CMemOs os;
    LayOutInstall(os);
    CInstall inst;
    std::vector<std::string> tree = kDemoTree;
    tree.back() = "Count=2147483647";
    RemovalCounts c = RunRemovalSteps(inst.Inputs(), Section(tree), 1000, os);
    EXPECT_EQ(c.nFiles, 2147483647 - 1 - 3) << "every entry but the three real ones";
    EXPECT_FALSE(os.Has(kInstall + "ソフト\\words.wds"));
    EXPECT_EQ(os.Pauses(), 6 + 6) << "the entries up to the section's size, and the later steps";
  }
  {  // a negative pause waits nothing; special folders that are not registered touch no file
    CMemOs os;
    LayOutInstall(os);
    CInstall inst;
    inst.in.strStartupFolder = inst.in.strDesktopFolder = inst.in.strProgramsFolder = "";
    RemovalCounts c = RunRemovalSteps(inst.Inputs(), Section(kDemoTree), -5, os);
    EXPECT_EQ(os.Pauses(), 0);
    EXPECT_EQ(c.nShortcuts, 4);
    for (const std::string& p : os.touched) EXPECT_TRUE(p.rfind(kInstall, 0) == 0) << p;
  }
}

TEST(Removal, ASharedFileKeepsItsUseUntilItCanGo) {
  const std::string held = kWindows + "held.dll", gone = kWindows + "gone.dll", shared = kWindows + "shared.dll";
  auto run = [&](CMemOs& os) {
    CInstall inst;
    inst.systemFiles = {kAuthor, kAuthor + "held.dll", kAuthor + "gone.dll", kAuthor + "shared.dll"};
    std::vector<std::string> tree = kDemoTree;
    tree.pop_back();
    for (const char* f : {"_f4=C:\\dist\\held.dll|32", "_f5=C:\\dist\\gone.dll|32", "_f6=C:\\dist\\shared.dll|32", "Count=7"})
      tree.push_back(f);
    inst.in.bResumed = os.bKept;
    return RunRemovalSteps(inst.Inputs(), Section(tree), 0, os);
  };
  CMemOs os;
  LayOutInstall(os);
  os.File(held);
  os.nodes[Key(held)].bLocked = true;  // open in a running program
  os.File(shared);
  for (const std::string& f : {held, gone}) os.counts[mbcs::ToLower(f)] = 1;
  os.counts[mbcs::ToLower(shared)] = 2;
  RemovalCounts c = run(os);
  EXPECT_EQ(c.nFiles, 2) << "the held file and the one already gone";
  EXPECT_EQ(c.nFolders, 1) << "the install folder holds Setup.ini still";
  EXPECT_EQ(os.counts, (std::map<std::string, unsigned long>{{mbcs::ToLower(held), 1}, {mbcs::ToLower(shared), 2}}))
      << "the held file keeps its use, the other as Setup.ini still lists it; a file already gone has none to keep";
  EXPECT_TRUE(os.Has(kInstall + "Setup.ini") && os.Has(held) && os.Has(shared));
  EXPECT_FALSE(os.Has(kInstall + "Demo.exe"));
  EXPECT_EQ(os.keys.size(), 1u) << "the uninstall key stays for the next try";
  for (const std::string& link : {kStartup + "Demoへのｼｮｰﾄｶｯﾄ.lnk", kPrograms + "Demo\\Demoへのｼｮｰﾄｶｯﾄ.lnk"})
    EXPECT_TRUE(os.Has(link)) << "the shortcuts stay with it: " << link;
  EXPECT_TRUE(os.bKept);
  EXPECT_EQ(os.Indicators().back(), "enable registry");

  // the same command once the file is free: it goes with its count, the rest after it,
  // and what the first run deleted is done
  os.nodes[Key(held)].bLocked = false;
  c = run(os);
  EXPECT_EQ(c.nFiles + c.nFolders + c.nShortcuts, 0);
  EXPECT_EQ(Remaining(os), (std::vector<std::string>{Key(shared)}));
  EXPECT_TRUE(os.keys.empty());
  EXPECT_EQ(os.counts, (std::map<std::string, unsigned long>{{mbcs::ToLower(shared), 1}})) << "lowered once in all";

  // the application's own executable held open (it runs): the same, and nothing of the
  // record goes
  CMemOs running;
  LayOutInstall(running);
  running.nodes[Key(kInstall + "Demo.exe")].bLocked = true;
  c = RunRemovalSteps(CInstall().Inputs(), Section(kDemoTree), 0, running);
  EXPECT_EQ(c.nFiles, 1);
  EXPECT_TRUE(running.bKept);
  EXPECT_EQ(Remaining(running).size(), 7u) << "only words.wds and its folder went";
  EXPECT_EQ(running.keys.size(), 1u);

  // a count that cannot be written is a failure, and the file stays with it
  CMemOs locked;
  LayOutInstall(locked);
  locked.File(held);
  locked.File(shared);
  locked.counts[mbcs::ToLower(held)] = 1;
  locked.counts[mbcs::ToLower(shared)] = 3;
  locked.bCountsLocked = true;
  c = run(locked);
  EXPECT_EQ(c.nFiles, 3) << "held.dll deleted but its count kept, shared.dll's count not lowered, gone.dll";
  EXPECT_EQ(locked.counts.at(mbcs::ToLower(shared)), 3u);
  EXPECT_TRUE(locked.Has(shared));
}

TEST(Removal, PathsResolveAsTheFileSystemReadsThem) {
  ResolvedPath r;
  ASSERT_TRUE(ResolvePath("C:\\a\\.\\b\\..\\ソ\\\\c/", r));
  EXPECT_EQ(r.Text(), "C:\\a\\ソ\\c");
  ASSERT_TRUE(ResolvePath("\\\\srv\\share\\x\\..\\y", r));
  EXPECT_EQ(r.Text(), "\\\\srv\\share\\y");
  for (const char* bad : {"C:\\..", "\\\\srv\\share\\..", "C:x", "\\x", "x\\y", "\\\\.\\C:\\x", "C:\\a \\b",
                          "C:\\a.\\b", "C:\\a:b", "C:\\a*", ""})
    EXPECT_FALSE(ResolvePath(bad, r)) << bad;
  EXPECT_TRUE(IsInsideFolder("c:\\APPS\\Demo\\x", "C:\\apps\\demo\\"));
  EXPECT_FALSE(IsInsideFolder("C:\\apps\\demo", "C:\\apps\\demo\\"));
  EXPECT_FALSE(IsInsideFolder("C:\\apps\\demox\\y", "C:\\apps\\demo"));
  EXPECT_FALSE(IsInsideFolder("D:\\apps\\demo\\x", "C:\\apps\\demo\\"));
  EXPECT_EQ(FileNamePart("C:\\dist\\ソフト.dll"), "ソフト.dll");
  EXPECT_TRUE(IsPlainFileName("ソフト.dll"));
  for (const char* bad : {"", ".", "..", "a.", "a ", "a\\b", "a/b", "a:b", "*.dll", "a|b"})
    EXPECT_FALSE(IsPlainFileName(bad)) << bad;
}

TEST(Removal, TheDialogsReadingsOfTheInstalledFile) {
  EXPECT_EQ(TopRootForRemoval("C:\\dist", kInstall), "C:\\dist\\");
  EXPECT_EQ(TopRootForRemoval("C:\\dist\\", kInstall), "C:\\dist\\");
  EXPECT_EQ(TopRootForRemoval("C:\\表", kInstall), "C:\\表\\") << "a 0x5C trail byte is no final backslash";
  EXPECT_EQ(TopRootForRemoval("", kInstall), kInstall) << "nothing stored: nothing is rebased";
  EXPECT_EQ(ListReadCount(3, 4), 3);
  EXPECT_EQ(ListReadCount(-2, 4), 0);
  EXPECT_EQ(ListReadCount(2000000000, 5), 5) << "a damaged count is cut to what the section can hold";
  auto list = Section({"Files=2", "_g0=C:\\dist\\", "_g1=C:\\dist\\doc\\a.txt;C:\\dist\\b"});
  EXPECT_EQ(ListEntry(list, "_g", 1, "C:\\dist\\", kInstall), kInstall + "doc\\a.txt;" + kInstall + "b");
  EXPECT_EQ(ListEntry(list, "_g", 1, kInstall, kInstall), "C:\\dist\\doc\\a.txt;C:\\dist\\b");
  EXPECT_EQ(ListEntry(list, "_g", 5, "C:\\dist\\", kInstall), "");
}
