// CFileTreeCtrl on a real folder, in a real (hidden) tree view of this process: build,
// save, clear, load, select, tick, and the icons the shell gives.
#include <gtest/gtest.h>

#include "FileTree.h"
#include "FileTreeCtrl.h"
#include "FileTreeIcons.h"
#include "Globals.h"
#include "LoadingDlg.h"
#include "Mbcs.h"
#include "TestFolder.h"

// The process-wide state the tree reads; the program defines it at start-up.
CString g_strSetupDir;
CString g_strTopRoot;
int g_bAuthorMode = 1;
CLoadingDlg* g_pLoadingDlg = nullptr;

namespace {

std::string Ini() { return g_strSetupDir + "Setup.ini"; }

std::string Profile(const char* key) {
  char buf[300] = "";
  ::GetPrivateProfileStringA("TreeCtrl", key, "<none>", buf, sizeof buf, Ini().c_str());
  return buf;
}

class FileTreeCtrlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_TREEVIEW_CLASSES};
    ::InitCommonControlsEx(&icc);
    m_hParent = ::CreateWindowExA(0, "STATIC", "host", WS_POPUP, 0, 0, 300, 400, nullptr, nullptr, nullptr, nullptr);
    HWND h = ::CreateWindowExA(0, WC_TREEVIEWA, "", WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES | TVS_SHOWSELALWAYS |
                                   TVS_CHECKBOXES, 0, 0, 300, 400, m_hParent, nullptr, nullptr, nullptr);
    ASSERT_TRUE(h);
    m_tree.SubclassWindow(h);

    const std::string d = m_dir.Path();
    Touch(d + "app.exe");
    Touch(d + "Setup.exe");
    Touch(d + "setup.INI");
    Touch(d + "readme.txt", FILE_ATTRIBUTE_READONLY);
    Touch(d + "hidden.dat", FILE_ATTRIBUTE_HIDDEN);
    Mkdir(d + "DATA");
    Touch(d + "DATA\\a.txt");
    Touch(d + "DATA\\SETUP.EXE");
    Mkdir(d + "data2");
    Mkdir(d + "\x93\xfa\x96\x7b\x8c\xea");
    Touch(d + "\x93\xfa\x96\x7b\x8c\xea\\\x95\x5c.txt");
    std::string deep = d;
    for (int i = 1; i <= 12; ++i) {
      deep += "L" + std::to_string(i) + "\\";
      Mkdir(deep);
      Touch(deep + "f.txt");
    }
    g_strSetupDir = d;
    g_strTopRoot = d;
  }
  void TearDown() override {
    m_tree.ClearTree();
    m_tree.UnsubclassWindow();
    ::DestroyWindow(m_hParent);
    PumpPendingMessage();
  }

  static void Touch(const std::string& p, DWORD attr = 0) {
    WriteBytes(p, "x");
    if (attr) ::SetFileAttributesA(p.c_str(), attr);
  }
  static void Mkdir(const std::string& p) { ::CreateDirectoryA(p.c_str(), nullptr); }

  // Every item's path, in the order the walk saves them (all levels, unbounded).
  std::vector<std::string> AllPaths() {
    std::vector<std::string> out;
    std::vector<HTREEITEM> stack;
    for (HTREEITEM h = m_tree.GetRootItem(); h; h = m_tree.GetNextSiblingItem(h)) stack.push_back(h);
    while (!stack.empty()) {
      HTREEITEM h = stack.back();
      stack.pop_back();
      out.push_back(m_tree.GetItemPath(h));
      for (HTREEITEM c = m_tree.GetChildItem(h); c; c = m_tree.GetNextSiblingItem(c)) stack.push_back(c);
    }
    std::sort(out.begin(), out.end());
    return out;
  }
  HTREEITEM Find(const std::string& path) {
    std::vector<HTREEITEM> stack(1, m_tree.GetRootItem());
    while (!stack.empty()) {
      HTREEITEM h = stack.back();
      stack.pop_back();
      if (!h) continue;
      if (m_tree.GetItemPath(h) == path) return h;
      for (HTREEITEM c = m_tree.GetChildItem(h); c; c = m_tree.GetNextSiblingItem(c)) stack.push_back(c);
    }
    return nullptr;
  }

  CTestFolder m_dir{"tree"};
  HWND m_hParent = nullptr;
  CFileTreeCtrl m_tree;
};

}  // namespace

TEST_F(FileTreeCtrlTest, BuildListsTheFolderAsTheAuthorSeesIt) {
  // app.exe readme.txt hidden.dat, DATA\a.txt, the Japanese file, f.txt in L1 .. L10
  EXPECT_EQ(15, m_tree.BuildTree(""));
  EXPECT_EQ(15, m_tree.m_nFiles);
  HTREEITEM root = m_tree.GetRootItem();
  ASSERT_TRUE(root);
  EXPECT_EQ(g_strSetupDir.substr(0, g_strSetupDir.size() - 1), m_tree.GetItemText(root));
  EXPECT_EQ(g_strSetupDir, m_tree.GetItemPath(root));
  std::vector<std::string> labels;
  for (HTREEITEM c = m_tree.GetChildItem(root); c; c = m_tree.GetNextSiblingItem(c)) labels.push_back(m_tree.GetItemText(c));
  EXPECT_EQ((std::vector<std::string>{"DATA", "data2", "L1", "\x93\xfa\x96\x7b\x8c\xea", "app.exe", "hidden.dat", "readme.txt"}),
            labels);
  EXPECT_FALSE(Find(g_strSetupDir + "DATA\\SETUP.EXE"));
  EXPECT_TRUE(Find(g_strSetupDir + "DATA\\a.txt"));
  std::string l11 = g_strSetupDir + "L1\\L2\\L3\\L4\\L5\\L6\\L7\\L8\\L9\\L10\\L11\\";
  HTREEITEM h11 = Find(l11);
  ASSERT_TRUE(h11);
  EXPECT_FALSE(m_tree.GetChildItem(h11));

  DWORD attr = 0;
  m_tree.SelectItem(Find(g_strSetupDir + "readme.txt"));
  EXPECT_EQ(g_strSetupDir + "readme.txt", m_tree.GetSelectedPath(attr));
  EXPECT_TRUE(attr & FILE_ATTRIBUTE_READONLY);
  m_tree.SelectItem(Find(g_strSetupDir + "hidden.dat"));
  m_tree.GetSelectedPath(attr);
  EXPECT_TRUE(attr & FILE_ATTRIBUTE_HIDDEN);
}

TEST_F(FileTreeCtrlTest, IconsAreThoseThePathCallGives) {
  m_tree.BuildTree("");
  int compared = 0;
  std::vector<HTREEITEM> stack(1, m_tree.GetRootItem());
  while (!stack.empty()) {
    HTREEITEM h = stack.back();
    stack.pop_back();
    std::string path = m_tree.GetItemPath(h);
    TVITEMA it = {};
    it.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
    it.hItem = h;
    m_tree.SendMessage(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&it));
    DWORD attr = reinterpret_cast<FileTreeItemData*>(it.lParam)->dwAttributes;
    if (path.size() > 1 && path.back() == '\\' && h != m_tree.GetRootItem()) path.pop_back();
    filetree::IconInfo byPath;
    ASSERT_TRUE(filetree::LookUpIconByPath(path, attr, byPath)) << path;
    EXPECT_EQ(byPath.nIcon, it.iImage) << path;
    EXPECT_EQ(byPath.nSelectedIcon, it.iSelectedImage) << path;
    ++compared;
    for (HTREEITEM c = m_tree.GetChildItem(h); c; c = m_tree.GetNextSiblingItem(c)) stack.push_back(c);
  }
  EXPECT_EQ(static_cast<int>(m_tree.GetCount()), compared);
  EXPECT_TRUE(m_tree.SendMessage(TVM_GETIMAGELIST, TVSIL_NORMAL));
  EXPECT_TRUE(filetree::HasIconPerFile(".exe"));
  EXPECT_FALSE(filetree::HasIconPerFile(".txt"));
}

TEST_F(FileTreeCtrlTest, SaveClearLoadGivesTheSameTree) {
  // An earlier, longer save leaves higher entries that the new one keeps.
  ::WritePrivateProfileStringA("TreeCtrl", "_f500", "C:\\OLD\\x|32", Ini().c_str());
  m_tree.BuildTree(g_strSetupDir + "data\\A.TXT");  // selection matches without regard to case
  DWORD attr = 0;
  EXPECT_EQ(g_strSetupDir + "DATA\\a.txt", m_tree.GetSelectedPath(attr));
  std::vector<std::string> before = AllPaths();
  ASSERT_TRUE(m_tree.SaveTree());
  EXPECT_EQ(g_strSetupDir + "DATA\\a.txt", Profile("Select"));
  EXPECT_EQ(g_strSetupDir, Profile("TopRoot"));
  EXPECT_EQ(g_strSetupDir + "|16", Profile("_f0"));
  EXPECT_EQ(std::to_string(m_tree.GetCount()), Profile("Count"));
  EXPECT_EQ("15", Profile("Files"));
  EXPECT_EQ("C:\\OLD\\x|32", Profile("_f500"));
  bool readOnlyEntry = false;
  for (UINT i = 0; i < m_tree.GetCount(); ++i)
    readOnlyEntry = readOnlyEntry || Profile(("_f" + std::to_string(i)).c_str()) == g_strSetupDir + "readme.txt|33";
  EXPECT_TRUE(readOnlyEntry);

  m_tree.ClearTree();
  EXPECT_EQ(0u, m_tree.GetCount());
  m_tree.m_nFiles = 0;
  EXPECT_EQ(static_cast<int>(before.size()), m_tree.LoadTree());
  EXPECT_EQ(before, AllPaths());
  EXPECT_EQ(15, m_tree.m_nFiles);
  EXPECT_EQ(g_strSetupDir + "DATA\\a.txt", m_tree.GetSelectedPath(attr));

  // Saving the loaded tree again writes the same file.
  std::string first = ReadBytes(Ini());
  ASSERT_TRUE(m_tree.SaveTree());
  EXPECT_EQ(first, ReadBytes(Ini()));
}

TEST_F(FileTreeCtrlTest, LoadRebasesACopiedDistributionAndDropsWhatIsGone) {
  const std::string old = "C:\\AUTHOR\\DIST\\";
  const std::string ini = Ini();
  std::vector<std::pair<std::string, std::string>> keys = {
      {"Select", old + "DATA\\a.txt"}, {"TopRoot", old},       {"_f0", old + "|16"},
      {"_f1", old + "DATA\\|16"},      {"_f2", old + "app.exe|32"}, {"_f3", old + "gone.txt|32"},
      {"_f4", old + "DATA\\a.txt|32"}, {"Count", "5"},          {"Files", "3"}};
  for (auto& k : keys) ::WritePrivateProfileStringA("TreeCtrl", k.first.c_str(), k.second.c_str(), ini.c_str());
  g_strTopRoot = old;
  EXPECT_EQ(5, m_tree.LoadTree());
  EXPECT_EQ((std::vector<std::string>{g_strSetupDir, g_strSetupDir + "DATA\\", g_strSetupDir + "DATA\\a.txt",
                                      g_strSetupDir + "app.exe"}),
            AllPaths());  // gone.txt has no icon: it is not there any more
  DWORD attr = 0;
  EXPECT_EQ(g_strSetupDir + "DATA\\a.txt", m_tree.GetSelectedPath(attr));
  EXPECT_EQ(3, m_tree.m_nFiles);
}

TEST_F(FileTreeCtrlTest, DamagedSectionLeavesTheTreeOrStopsTheLoad) {
  m_tree.BuildTree("");
  UINT built = m_tree.GetCount();
  ::WritePrivateProfileStringA("TreeCtrl", "Count", "-5", Ini().c_str());
  ::WritePrivateProfileStringA("TreeCtrl", "_f0", (g_strSetupDir + "|16").c_str(), Ini().c_str());
  EXPECT_EQ(0, m_tree.LoadTree());
  EXPECT_EQ(built, m_tree.GetCount());

  ::WritePrivateProfileStringA("TreeCtrl", "Count", "99999999", Ini().c_str());
  ::WritePrivateProfileStringA("TreeCtrl", "_f1", (g_strSetupDir + "app.exe|32").c_str(), Ini().c_str());
  ::WritePrivateProfileStringA("TreeCtrl", "_f2", (g_strSetupDir + "readme.txt").c_str(), Ini().c_str());
  EXPECT_EQ(0, m_tree.LoadTree());
  EXPECT_EQ(2u, m_tree.GetCount());  // the root and app.exe, read before the entry without "|"
  EXPECT_EQ(15, m_tree.BuildTree(""));  // the wizard's rebuild clears the partial tree first
  EXPECT_EQ(built, m_tree.GetCount());
}

TEST_F(FileTreeCtrlTest, SelectTickAndCollect) {
  m_tree.BuildTree("");
  m_tree.SelectPath(g_strSetupDir + "L1\\L2\\nothing.here");
  DWORD attr = 0;
  EXPECT_EQ(g_strSetupDir + "L1\\L2\\", m_tree.GetSelectedPath(attr));
  EXPECT_EQ(0x10u, attr & 0x10u);

  const CString list[] = {g_strSetupDir, g_strSetupDir + "readme.txt", g_strSetupDir + "DATA\\", g_strSetupDir + "DATA\\a.txt",
                          g_strSetupDir + "data\\a.txt" /* letter case counts here */, "", g_strSetupDir + "app.exe"};
  m_tree.CheckPaths(list);
  EXPECT_EQ(g_strSetupDir + "readme.txt", m_tree.GetSelectedPath(attr));
  std::vector<CString> ticked;
  EXPECT_EQ(4, m_tree.GetTickedPaths(ticked));
  EXPECT_EQ((std::vector<CString>{g_strSetupDir, g_strSetupDir + "DATA\\", g_strSetupDir + "readme.txt", g_strSetupDir + "DATA\\a.txt"}),
            ticked);
  CString room[2];
  EXPECT_EQ(2, m_tree.GetTickedPaths(room, 2));
  EXPECT_EQ(g_strSetupDir + "DATA\\", room[1]);

  m_tree.BuildTree("");  // rebuilding clears every tick
  EXPECT_EQ(1, m_tree.GetTickedPaths(ticked));
}

TEST_F(FileTreeCtrlTest, NamesEndingInATrailByteLikeABackslashStayWhole) {
  // 一覧表 and 予定表 end in 0x95 0x5C: the trail byte is no folder separator.
  const std::string d = g_strSetupDir;
  const std::string folder = "\x88\xea\x97\x97\x95\x5c", file = "\x97\x5c\x92\xe8\x95\x5c";
  Mkdir(d + folder);
  Touch(d + folder + "\\a.txt");
  Touch(d + file);
  EXPECT_EQ(17, m_tree.BuildTree(d + folder + "\\a.txt"));
  HTREEITEM hFolder = Find(d + folder + "\\");
  ASSERT_TRUE(hFolder);
  EXPECT_EQ(folder, m_tree.GetItemText(hFolder));
  EXPECT_TRUE(Find(d + folder + "\\a.txt")) << "the folder is listed";
  HTREEITEM hFile = Find(d + file);
  ASSERT_TRUE(hFile);
  EXPECT_EQ(file, m_tree.GetItemText(hFile));
  DWORD attr = 0;
  EXPECT_EQ(d + folder + "\\a.txt", m_tree.GetSelectedPath(attr));

  std::vector<std::string> before = AllPaths();
  ASSERT_TRUE(m_tree.SaveTree());
  m_tree.ClearTree();
  EXPECT_EQ(static_cast<int>(before.size()), m_tree.LoadTree());
  EXPECT_EQ(before, AllPaths());
  EXPECT_EQ(d + folder + "\\a.txt", m_tree.GetSelectedPath(attr));
}

TEST_F(FileTreeCtrlTest, SaveWritesItsKeysInOrder) {
  m_tree.BuildTree(g_strSetupDir + "app.exe");
  ASSERT_TRUE(m_tree.SaveTree());
  const UINT n = m_tree.GetCount();
  // (setup.INI of the fixture is this very file, holding "x")
  std::vector<std::string> expected = {"x", "[TreeCtrl]", "Select=" + g_strSetupDir + "app.exe", "TopRoot=" + g_strSetupDir};
  for (UINT i = 0; i < n; ++i) expected.push_back("_f" + std::to_string(i) + "=" + Profile(("_f" + std::to_string(i)).c_str()));
  expected.push_back("Count=" + std::to_string(n));
  expected.push_back("Files=15");
  std::vector<std::string> lines;
  std::string text = ReadBytes(Ini());
  for (std::size_t at = 0, end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2)
    lines.push_back(text.substr(at, end - at));
  EXPECT_EQ(expected, lines);
  EXPECT_EQ(g_strSetupDir + "|16", Profile("_f0"));
  // Parents come before their children.
  for (UINT i = 1; i < n; ++i) {
    std::string entry = Profile(("_f" + std::to_string(i)).c_str());
    std::string path = entry.substr(0, entry.find('|'));
    std::string parent = path.substr(0, mbcs::FindLastChar(path.substr(0, path.size() - 1), '\\') + 1);
    bool before = false;
    for (UINT j = 0; j < i; ++j) before = before || Profile(("_f" + std::to_string(j)).c_str()) == parent + "|16";
    EXPECT_TRUE(before) << entry;
  }
}

namespace {
// Paths beyond MAX_PATH exist only through the wide calls with "\\?\".
std::wstring Long(const std::string& p) { return L"\\\\?\\" + std::wstring(p.begin(), p.end()); }  // ASCII paths
void RemoveLong(const std::string& folder) {
  WIN32_FIND_DATAW fd;
  HANDLE h = ::FindFirstFileW((Long(folder) + L"*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      std::wstring name = fd.cFileName;
      if (name == L"." || name == L"..") continue;
      std::string full = folder + std::string(name.begin(), name.end());
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveLong(full + "\\");
      else ::DeleteFileW(Long(full).c_str());
    } while (::FindNextFileW(h, &fd));
    ::FindClose(h);
  }
  ::RemoveDirectoryW(Long(folder.substr(0, folder.size() - 1)).c_str());
}
struct LongRemover {
  std::string strFolder;
  ~LongRemover() { RemoveLong(strFolder); }
};
}  // namespace

TEST_F(FileTreeCtrlTest, PathsAtThePlatformLimit) {
  // Folders too deep to be listed ("*.*" appended reaches MAX_PATH) stay empty.
  const std::string top = g_strSetupDir + "deep\\";
  LongRemover cleanup{top};
  std::string folder = top;
  ASSERT_TRUE(::CreateDirectoryW(Long(folder).c_str(), nullptr));
  int listable = 0;
  for (int i = 0; i < 6; ++i) {
    folder += std::string(50, static_cast<char>('a' + i)) + "\\";
    ASSERT_TRUE(::CreateDirectoryW(Long(folder).c_str(), nullptr));
    HANDLE h = ::CreateFileW(Long(folder + "f.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    ::CloseHandle(h);
    if ((folder + "*.*").size() < MAX_PATH) ++listable;
  }
  ASSERT_GT(listable, 0);
  ASSERT_LT(listable, 6);

  // Two files whose entries take 259 and 260 bytes: the second cannot be read back whole
  // ("|32" would come back as "|3").
  const std::string dir = g_strSetupDir + "long\\";
  Mkdir(dir);
  const std::string fits = dir + std::string(259 - 3 - dir.size(), 'a');
  const std::string cut = dir + std::string(260 - 3 - dir.size(), 'b');
  Touch(fits);
  Touch(cut);

  EXPECT_EQ(15 + listable + 2, m_tree.BuildTree(""));
  ASSERT_TRUE(Find(cut));
  ASSERT_TRUE(m_tree.SaveTree());
  int written = 0;
  for (int i = 0; i < std::stoi(Profile("Count")); ++i) {
    std::string entry = Profile(("_f" + std::to_string(i)).c_str());
    written += entry == fits + "|32" || entry == cut + "|32";
  }
  EXPECT_EQ(2, written) << "both saved whole";
  m_tree.ClearTree();
  EXPECT_EQ(0, m_tree.LoadTree()) << "an entry cut by the read ends the load";
  HTREEITEM hCut = Find(cut);
  if (hCut) {
    DWORD attr = 0;
    m_tree.SelectItem(hCut);
    m_tree.GetSelectedPath(attr);
    EXPECT_EQ(32u, attr) << "never loaded with a cut attribute word";
  }
  // The wizard then builds from the disk, which is whole.
  EXPECT_EQ(15 + listable + 2, m_tree.BuildTree(""));
  HTREEITEM hFits = Find(fits);
  ASSERT_TRUE(hFits);
  DWORD attr = 0;
  m_tree.SelectItem(hFits);
  m_tree.GetSelectedPath(attr);
  EXPECT_EQ(32u, attr);
}

TEST_F(FileTreeCtrlTest, AControlReplacedUnclearedStartsEmpty) {
  m_tree.BuildTree(g_strSetupDir + "DATA\\a.txt");
  std::vector<std::string> built = AllPaths();
  // the dialog's window goes without ClearTree, and the object is bound to another
  HWND old = m_tree.m_hWnd;
  m_tree.UnsubclassWindow();
  ::DestroyWindow(old);
  HWND h = ::CreateWindowExA(0, WC_TREEVIEWA, "", WS_CHILD | TVS_HASBUTTONS | TVS_CHECKBOXES, 0, 0, 300, 400, m_hParent,
                             nullptr, nullptr, nullptr);
  ASSERT_TRUE(h);
  m_tree.SubclassWindow(h);
  std::vector<CString> ticked;
  EXPECT_EQ(0, m_tree.GetTickedPaths(ticked)) << "nothing of the old items is walked";
  DWORD attr = 0;
  EXPECT_EQ("", m_tree.GetSelectedPath(attr));
  m_tree.CheckPaths(std::vector<CString>{g_strSetupDir, g_strSetupDir + "DATA\\a.txt"});
  EXPECT_EQ(0u, m_tree.GetCount());
  EXPECT_EQ(15, m_tree.BuildTree(""));
  EXPECT_EQ(built, AllPaths());
  EXPECT_TRUE(m_tree.SendMessage(TVM_GETIMAGELIST, TVSIL_NORMAL)) << "the new control is given the icons";
}
