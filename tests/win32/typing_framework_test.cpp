// The single-document framework and KeyRally's resources against the real system:
// files and archives, wide archived strings, the profile in the registry, and the
// accelerators, pop-up menu and strings compiled into KeyRally.exe.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "../../typing/res/resource.h"
#include "AfxCtrl.h"
#include "AfxDoc.h"
#include "KeyRallyDoc.h"

namespace {

std::string TempPath(const char* name) {
  char dir[MAX_PATH] = "";
  ::GetTempPathA(MAX_PATH, dir);
  return std::string(dir) + "kr_win32_" + std::to_string(::GetCurrentProcessId()) + "_" + name;
}

std::string ReadAll(const std::string& path) {
  CFile f;
  if (!f.Open(path.c_str(), CFile::modeRead)) return "<missing>";
  std::string s(f.GetLength(), '\0');
  s.resize(f.Read(&s[0], s.size()));
  return s;
}

bool WriteAll(const std::string& path, const std::string& bytes) {
  CFile f;
  return f.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite) && f.Write(bytes.data(), bytes.size());
}

// The document class itself, driven without windows.
class TestDoc : public CKeyRallyDoc {
 public:
  TestDoc() = default;
};

std::string TestAppName() {
  static const std::string name = "kr_win32_test_" + std::to_string(::GetCurrentProcessId());
  return name;
}

class TestApp : public CWinApp {
 public:
  TestApp() : CWinApp(TestAppName().c_str()) {}
  const std::string m_name = TestAppName();
};

bool StartsWith(const std::string& s, const std::string& head) { return s.compare(0, head.size(), head) == 0; }

// Answers the first message box this process shows with `button` and keeps what it
// said; a box that never comes leaves the texts empty.
class BoxAnswerer {
 public:
  explicit BoxAnswerer(int button) : m_button(button), m_thread([this] { Run(); }) {}
  ~BoxAnswerer() {
    m_stop = true;
    if (m_thread.joinable()) m_thread.join();
  }
  std::string Text() {
    m_stop = true;
    if (m_thread.joinable()) m_thread.join();
    return m_text;
  }
  std::string m_caption;

 private:
  static BOOL CALLBACK Find(HWND h, LPARAM l) {
    DWORD pid = 0;
    ::GetWindowThreadProcessId(h, &pid);
    char cls[32] = "";
    ::GetClassNameA(h, cls, sizeof cls);
    if (pid != ::GetCurrentProcessId() || strcmp(cls, "#32770") != 0 || !::GetDlgItem(h, 0xFFFF)) return TRUE;
    *reinterpret_cast<HWND*>(l) = h;
    return FALSE;
  }
  void Run() {
    for (int i = 0; i < 500 && !m_stop; ++i) {
      HWND box = nullptr;
      ::EnumWindows(Find, reinterpret_cast<LPARAM>(&box));
      if (box && ::IsWindowVisible(box)) {
        char buf[1024] = "";
        ::GetWindowTextA(::GetDlgItem(box, 0xFFFF), buf, sizeof buf);
        m_text = buf;
        ::GetWindowTextA(box, buf, sizeof buf);
        m_caption = buf;
        ::PostMessageA(::GetDlgItem(box, m_button), BM_CLICK, 0, 0);
        return;
      }
      ::Sleep(10);
    }
  }
  int m_button;
  std::string m_text;
  std::atomic<bool> m_stop{false};
  std::thread m_thread;
};

}  // namespace

TEST(KeyRallyDocument, AsksToSaveOnlyAModifiedList) {
  TestApp app;
  TestDoc doc;
  doc.SetTitle("words.wds");
  {
    BoxAnswerer none(IDCANCEL);
    EXPECT_TRUE(doc.SaveModified());
    EXPECT_EQ(none.Text(), "") << "an unmodified list asks nothing";
  }
  doc.SetModifiedFlag();
  {
    BoxAnswerer no(IDNO);
    EXPECT_TRUE(doc.SaveModified());
    EXPECT_EQ(no.Text(), "words.wds への変更を保存しますか?");
    EXPECT_EQ(no.m_caption, app.m_name);
  }
  {
    BoxAnswerer cancel(IDCANCEL);
    EXPECT_FALSE(doc.SaveModified()) << "cancel keeps the program open";
    EXPECT_FALSE(cancel.Text().empty());
  }
}

TEST(KeyRallyDocument, FailedLoadsReportAndLeaveNothing) {
  TestApp app;
  std::string empty = TempPath("empty.wds"), missing = TempPath("missing.wds");
  ASSERT_TRUE(WriteAll(empty, ""));
  TestDoc doc;
  doc.AddWord("old");
  {
    BoxAnswerer ok(IDOK);
    EXPECT_FALSE(doc.OnOpenDocument(empty.c_str()));
    EXPECT_EQ(ok.Text(), empty + " を読み込めませんでした。\nﾌｧｲﾙの形式が違うか、ﾌｧｲﾙが壊れています。");
  }
  EXPECT_EQ(doc.GetWordCount(), 0);
  doc.AddWord("kept");
  {
    BoxAnswerer ok(IDOK);
    EXPECT_FALSE(doc.OnOpenDocument(missing.c_str()));
    EXPECT_TRUE(StartsWith(ok.Text(), missing + " を開けませんでした。")) << ok.Text();
  }
  EXPECT_EQ(doc.GetWordCount(), 1) << "a file that does not open leaves the list alone";
  ::DeleteFileA(empty.c_str());
}

TEST(KeyRallyDocument, FailedSaveKeepsTheOldFile) {
  TestApp app;
  std::string path = TempPath("readonly.wds");
  ASSERT_TRUE(WriteAll(path, "precious"));
  ASSERT_TRUE(::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
  TestDoc doc;
  doc.AddWord("new");
  doc.SetModifiedFlag();
  {
    BoxAnswerer ok(IDOK);
    EXPECT_FALSE(doc.OnSaveDocument(path.c_str()));
    EXPECT_TRUE(StartsWith(ok.Text(), path + " に保存できませんでした。")) << ok.Text();
  }
  EXPECT_EQ(ReadAll(path), "precious");
  EXPECT_TRUE(doc.IsModified());
  ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  ::DeleteFileA(path.c_str());
  // no temporary file is left beside it
  char dir[MAX_PATH] = "";
  ::GetTempPathA(MAX_PATH, dir);
  WIN32_FIND_DATAA fd;
  HANDLE h = ::FindFirstFileA((std::string(dir) + "wds*.tmp").c_str(), &fd);
  EXPECT_EQ(h, INVALID_HANDLE_VALUE) << fd.cFileName;
  if (h != INVALID_HANDLE_VALUE) ::FindClose(h);
}

TEST(KeyRallyDocument, SavesAndLoadsThroughRealFiles) {
  std::string path = TempPath("doc.wds");
  TestDoc doc;
  doc.AddWord("cat");
  doc.AddWord("いぬ");
  doc.AddWord("");
  doc.AddWord(std::string(70000, 'k'));
  ASSERT_TRUE(WriteAll(path, "old contents that must be replaced"));
  ASSERT_TRUE(doc.OnSaveDocument(path.c_str()));
  std::string bytes = ReadAll(path);
  ASSERT_EQ(bytes.size(), 4u + 4 + 5 + 1 + 7 + 70000);
  EXPECT_EQ(bytes.substr(0, 13), std::string("\x04\0\0\0\x03"
                                             "cat\x04\x82\xA2\x82\xCA",
                                             13));
  EXPECT_EQ(bytes.substr(14, 7), std::string("\xFF\xFF\xFF\x70\x11\x01\x00", 7));

  TestDoc back;
  back.AddWord("stale");
  ASSERT_TRUE(back.OnOpenDocument(path.c_str()));
  ASSERT_EQ(back.GetWordCount(), 4);
  EXPECT_EQ(back.GetWord(1), "いぬ");
  EXPECT_EQ(back.GetWord(2), "");
  EXPECT_EQ(back.GetWord(3), std::string(70000, 'k'));
  EXPECT_FALSE(back.IsModified());
  ::DeleteFileA(path.c_str());
}

TEST(KeyRallyDocument, ReadsTheWideFormOfAWord) {
  // "いぬ" as FF FE FF, 2 characters, UTF-16LE 3044 306C; then "a" in the usual form
  std::string path = TempPath("wide.wds");
  ASSERT_TRUE(WriteAll(path, std::string("\x02\0\0\0\xFF\xFE\xFF\x02\x44\x30\x6C\x30\x01"
                                         "a",
                                         14)));
  TestDoc doc;
  ASSERT_TRUE(doc.OnOpenDocument(path.c_str()));
  ASSERT_EQ(doc.GetWordCount(), 2);
  EXPECT_EQ(doc.GetWord(0), "いぬ");
  EXPECT_EQ(doc.GetWord(1), "a");
  // saved again, it is in the program's own form
  ASSERT_TRUE(doc.OnSaveDocument(path.c_str()));
  EXPECT_EQ(ReadAll(path), std::string("\x02\0\0\0\x04\x82\xA2\x82\xCA\x01"
                                       "a",
                                       11));
  ::DeleteFileA(path.c_str());
}

TEST(Framework, WideToAnsiConversion) {
  std::string out;
  const uint16_t text[] = {0x6253, 0x9375, 0x4E38, 'A'};  // 打鍵丸A
  ASSERT_TRUE(AfxWideToMultiByte(text, 4, out));
  EXPECT_EQ(out, "打鍵丸A");
  EXPECT_TRUE(AfxWideToMultiByte(text, 0, out));
  EXPECT_EQ(out, "");
}

TEST(Framework, ProfileStringsAndRecentFilesInTheRegistry) {
  TestApp app;
  app.SetRegistryKey("kr win32 tests");
  std::string key = "Software\\kr win32 tests";
  EXPECT_EQ(app.GetProfileString("Sec", "Missing", "dflt"), "dflt");
  ASSERT_TRUE(app.WriteProfileString("Sec", "Name", "値"));
  EXPECT_EQ(app.GetProfileString("Sec", "Name"), "値");
  ASSERT_TRUE(app.WriteProfileString("Sec", "Name", nullptr));
  EXPECT_EQ(app.GetProfileString("Sec", "Name", "gone"), "gone");
  EXPECT_TRUE(app.WriteProfileString("Sec", "Name", nullptr)) << "deleting what is not there is no failure";

  app.LoadStdProfileSettings(4);
  ASSERT_TRUE(app.m_pRecentFileList);
  EXPECT_TRUE(app.m_pRecentFileList->IsEmpty());
  for (const char* p : {"C:\\1.wds", "C:\\2.wds", "C:\\3.wds", "C:\\4.wds", "C:\\5.wds"}) app.AddToRecentFileList(p);
  app.m_pRecentFileList->Remove(3);  // C:\2.wds: File4 must go from the registry
  app.SaveStdProfileSettings();
  std::string section = key + "\\" + app.m_name + "\\Recent File List";
  EXPECT_EQ(app.GetProfileString("Recent File List", "File1"), "C:\\5.wds");
  EXPECT_EQ(app.GetProfileString("Recent File List", "File3"), "C:\\3.wds");
  EXPECT_EQ(app.GetProfileString("Recent File List", "File4", "none"), "none");
  app.LoadStdProfileSettings(4);  // read back
  EXPECT_EQ((*app.m_pRecentFileList)[0], "C:\\5.wds");
  EXPECT_EQ((*app.m_pRecentFileList)[2], "C:\\3.wds");
  EXPECT_EQ((*app.m_pRecentFileList)[3], "");

  delete app.m_pRecentFileList;
  app.m_pRecentFileList = nullptr;
  ::RegDeleteKeyA(HKEY_CURRENT_USER, section.c_str());
  ::RegDeleteKeyA(HKEY_CURRENT_USER, (key + "\\" + app.m_name + "\\Sec").c_str());
  ::RegDeleteKeyA(HKEY_CURRENT_USER, (key + "\\" + app.m_name).c_str());
  EXPECT_EQ(::RegDeleteKeyA(HKEY_CURRENT_USER, key.c_str()), ERROR_SUCCESS) << "the test left keys behind";
}

namespace {
class PlainDoc : public CDocument {
  DECLARE_DYNCREATE(PlainDoc)
};
IMPLEMENT_DYNCREATE(PlainDoc, CDocument)
class PlainView : public CView {
  DECLARE_DYNCREATE(PlainView)
  void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNCREATE(PlainView, CView)
class PlainFrame : public CFrameWnd {
  DECLARE_DYNCREATE(PlainFrame)
};
IMPLEMENT_DYNCREATE(PlainFrame, CFrameWnd)
// A frame whose creation fails after its view exists (a status bar that cannot be made).
class RefusingFrame : public CFrameWnd {
  DECLARE_DYNCREATE(RefusingFrame)
  int OnCreate(LPCREATESTRUCT lpcs) { return CFrameWnd::OnCreate(lpcs) == -1 ? -1 : -1; }
  DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(RefusingFrame, CFrameWnd)
BEGIN_MESSAGE_MAP(RefusingFrame, CFrameWnd)
ON_WM_CREATE()
END_MESSAGE_MAP()
}  // namespace

TEST(Framework, SingleDocumentLifeAndAFrameThatCannotBeMade) {
  TestApp app;
  app.m_nCmdShow = SW_HIDE;
  {
    CSingleDocTemplate refusing(999, RUNTIME_CLASS(PlainDoc), RUNTIME_CLASS(RefusingFrame), RUNTIME_CLASS(PlainView));
    refusing.LoadTemplate();
    EXPECT_EQ(refusing.OpenDocumentFile(nullptr), nullptr);  // no crash, nothing left
    EXPECT_EQ(refusing.GetOnlyDocument(), nullptr);
    EXPECT_EQ(app.m_pMainWnd, nullptr);
  }
  CSingleDocTemplate t(999, RUNTIME_CLASS(PlainDoc), RUNTIME_CLASS(PlainFrame), RUNTIME_CLASS(PlainView));
  t.LoadTemplate();
  CDocument* doc = t.OpenDocumentFile(nullptr);
  ASSERT_TRUE(doc);
  EXPECT_EQ(doc->GetTitle(), "無題");
  ASSERT_TRUE(app.m_pMainWnd);
  HWND frame = app.m_pMainWnd->m_hWnd;
  EXPECT_TRUE(::GetDlgItem(frame, AFX_IDW_PANE_FIRST)) << "the view";
  EXPECT_EQ(t.OpenDocumentFile(nullptr), doc) << "file new reuses the document";
  ::SendMessageA(frame, WM_CLOSE, 0, 0);
  EXPECT_FALSE(::IsWindow(frame));
  EXPECT_EQ(t.GetOnlyDocument(), nullptr) << "the document closed with its frame";
  EXPECT_EQ(app.m_pMainWnd, nullptr);
  MSG msg;
  EXPECT_TRUE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "closing the main frame ends the loop";
}

namespace {
// Frames and views whose memory stays theirs after delete, filled with a pattern, so
// that anything written into a deleted object shows.
constexpr size_t kArenaSlots = 8, kSlotSize = 4096;
alignas(16) unsigned char g_arena[kArenaSlots][kSlotSize];
size_t g_arenaSize[kArenaSlots];
bool g_arenaDeleted[kArenaSlots];
size_t g_arenaUsed = 0;
void* ArenaNew(size_t n) {
  if (g_arenaUsed == kArenaSlots || n > kSlotSize) throw std::bad_alloc();
  g_arenaSize[g_arenaUsed] = n;
  return g_arena[g_arenaUsed++];
}
void ArenaDelete(void* p, size_t n) {
  memset(p, 0xDD, n);
  for (size_t i = 0; i < g_arenaUsed; ++i)
    if (g_arena[i] == p) g_arenaDeleted[i] = true;
}
class PoisonFrame : public CFrameWnd {
  DECLARE_DYNCREATE(PoisonFrame)
 public:
  static void* operator new(size_t n) { return ArenaNew(n); }
  static void operator delete(void* p, size_t n) { ArenaDelete(p, n); }
};
IMPLEMENT_DYNCREATE(PoisonFrame, CFrameWnd)
class PoisonView : public CView {
  DECLARE_DYNCREATE(PoisonView)
  void OnDraw(CDC*) override {}
 public:
  static void* operator new(size_t n) { return ArenaNew(n); }
  static void operator delete(void* p, size_t n) { ArenaDelete(p, n); }
};
IMPLEMENT_DYNCREATE(PoisonView, CView)
}  // namespace

TEST(Framework, ClosingWritesNothingIntoTheDeletedFrameAndView) {
  TestApp app;
  app.m_nCmdShow = SW_HIDE;
  CSingleDocTemplate t(999, RUNTIME_CLASS(PlainDoc), RUNTIME_CLASS(PoisonFrame), RUNTIME_CLASS(PoisonView));
  t.LoadTemplate();
  // closed by its close box, then by the exit command, which closes from inside a command
  for (bool byExit : {false, true}) {
    SCOPED_TRACE(byExit ? "exit command" : "close");
    ASSERT_TRUE(t.OpenDocumentFile(nullptr));
    ASSERT_TRUE(app.m_pMainWnd);
    HWND frame = app.m_pMainWnd->m_hWnd;
    if (byExit)
      ::SendMessageA(frame, WM_COMMAND, ID_APP_EXIT, 0);
    else
      ::SendMessageA(frame, WM_CLOSE, 0, 0);
    EXPECT_FALSE(::IsWindow(frame));
    EXPECT_EQ(t.GetOnlyDocument(), nullptr);
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
    app.OnIdle(0);  // the program's loop goes idle between messages
  }
  ASSERT_EQ(g_arenaUsed, 4u) << "two frames and two views";
  for (size_t i = 0; i < g_arenaUsed; ++i) {
    EXPECT_TRUE(g_arenaDeleted[i]) << "object " << i << " was not deleted";
    size_t dirty = 0;
    for (size_t k = 0; k < g_arenaSize[i]; ++k) dirty += g_arena[i][k] != 0xDD;
    EXPECT_EQ(dirty, 0u) << "bytes written into deleted object " << i;
  }
}

TEST(Framework, CommandLineGivesTheFileToOpen) {
  TestApp app;
  std::string line = "/flag \"C:\\My Words\\ソ.wds\" second.wds";
  app.m_lpCmdLine = &line[0];
  CCommandLineInfo info;
  app.ParseCommandLine(info);
  EXPECT_EQ(info.m_nShellCommand, CCommandLineInfo::FileOpen);
  EXPECT_EQ(info.m_strFileName, "C:\\My Words\\ソ.wds");
  std::string none = "  ";
  app.m_lpCmdLine = &none[0];
  CCommandLineInfo empty;
  app.ParseCommandLine(empty);
  EXPECT_EQ(empty.m_nShellCommand, CCommandLineInfo::FileNew);
}

// ---- KeyRally.exe's resources ---------------------------------------------------------
class KeyRallyResources : public ::testing::Test {
 protected:
  void SetUp() override {
    char buf[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, buf, MAX_PATH);
    std::string exe = buf;
    exe = exe.substr(0, exe.find_last_of('\\') + 1) + "KeyRally.exe";
    m_module = ::LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_TRUE(m_module) << exe;
  }
  void TearDown() override {
    if (m_module) ::FreeLibrary(m_module);
  }
  std::string String(UINT id) {
    char buf[512] = "";
    int n = ::LoadStringA(m_module, id, buf, sizeof buf);
    return std::string(buf, n > 0 ? static_cast<size_t>(n) : 0);
  }
  HMODULE m_module = nullptr;
};

TEST_F(KeyRallyResources, AcceleratorTableHasEveryRow) {
  HRSRC res = ::FindResourceA(m_module, MAKEINTRESOURCEA(IDR_MAINFRAME), reinterpret_cast<LPCSTR>(RT_ACCELERATOR));
  ASSERT_TRUE(res);
  // the resource form: flags, key, command, padding (2 bytes each)
  const WORD* p = static_cast<const WORD*>(::LockResource(::LoadResource(m_module, res)));
  size_t n = ::SizeofResource(m_module, res) / 8;
  struct Row {
    WORD flags, key, cmd;
  };
  std::vector<Row> rows;
  for (size_t i = 0; i < n; ++i) rows.push_back({static_cast<WORD>(p[4 * i] & 0x7F), p[4 * i + 1], p[4 * i + 2]});
  const WORD V = FVIRTKEY, C = FCONTROL, S = FSHIFT, A = FALT;
  const Row expect[] = {
      {V | C, 'A', ID_GAME_START},     {V | C, 'P', ID_GAME_STOP},        {V | C, 'R', ID_GAME_RESUME},
      {V, VK_RETURN, ID_GAME_JUDGE},   {V | C, 'N', ID_FILE_NEW},         {V | C, 'O', ID_FILE_OPEN},
      {V | C, 'S', ID_FILE_SAVE},      {V | C, 'C', ID_EDIT_COPY},        {V | C, VK_INSERT, ID_EDIT_COPY},
      {V | C, 'V', ID_EDIT_PASTE},     {V | S, VK_INSERT, ID_EDIT_PASTE}, {V | C, 'X', ID_EDIT_CUT},
      {V | S, VK_DELETE, ID_EDIT_CUT}, {V | C, 'Z', ID_EDIT_UNDO},        {V | A, VK_BACK, ID_EDIT_UNDO},
      {V, VK_F6, ID_NEXT_PANE},        {V | S, VK_F6, ID_PREV_PANE},
  };
  ASSERT_EQ(rows.size(), sizeof expect / sizeof expect[0]);
  for (size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i].flags & (V | C | S | A), expect[i].flags) << "row " << i;
    EXPECT_EQ(rows[i].key, expect[i].key) << "row " << i;
    EXPECT_EQ(rows[i].cmd, expect[i].cmd) << "row " << i;
  }
  EXPECT_EQ(ID_EDIT_COPY, 57634);
  EXPECT_EQ(ID_EDIT_PASTE, 57637);
  EXPECT_EQ(ID_EDIT_CUT, 57635);
  EXPECT_EQ(ID_EDIT_UNDO, 57643);
  EXPECT_EQ(ID_NEXT_PANE, 57680);
}

TEST_F(KeyRallyResources, GamePopupMenu) {
  HMENU menu = ::LoadMenuA(m_module, MAKEINTRESOURCEA(IDR_GAMEMENU));
  ASSERT_TRUE(menu);
  ASSERT_EQ(::GetMenuItemCount(menu), 1);
  HMENU pop = ::GetSubMenu(menu, 0);
  ASSERT_TRUE(pop);
  const char* texts[] = {"開始(&A)\tCtrl+A", "停止(&P)\tCtrl+P", "再開(&R)\tCtrl+R"};
  const UINT ids[] = {32772, 32779, 32778};
  ASSERT_EQ(::GetMenuItemCount(pop), 3);
  for (int i = 0; i < 3; ++i) {
    char buf[128] = "";
    ::GetMenuStringA(pop, static_cast<UINT>(i), buf, sizeof buf, MF_BYPOSITION);
    EXPECT_STREQ(buf, texts[i]);
    EXPECT_EQ(::GetMenuItemID(pop, i), ids[i]);
  }
  ::DestroyMenu(menu);
}

TEST_F(KeyRallyResources, StringTable) {
  EXPECT_EQ(String(128), "KeyRally\n\nKeyRal\n単語ファイル(*.wds)\n.wds\nKeyRally.Document\nKeyRal Document");
  EXPECT_EQ(String(57344), "打鍵丸");
  EXPECT_EQ(String(57345), "ﾚﾃﾞｨ");
  EXPECT_EQ(String(59142), "ｶﾅ");
  EXPECT_EQ(String(59137), "CAP");
  EXPECT_EQ(String(59138), "NUM");
  EXPECT_EQ(String(59139), "SCRL");
  EXPECT_EQ(String(32772), "ゲームを開始します");
  EXPECT_EQ(String(32773), "フォントを変更します");
  EXPECT_EQ(String(32776), "単語リストの編集");
  EXPECT_EQ(String(32778), "ゲームを再開します");
  EXPECT_EQ(String(32779), "ゲームを一時停止します");
  EXPECT_EQ(String(32780), "これまでの成績を表示します");
  EXPECT_EQ(String(57601), "既存のﾌｧｲﾙを開く\n開く");
  EXPECT_EQ(String(57665), "ｱﾌﾟﾘｹｰｼｮﾝを終了し、ﾌｧｲﾙの保存を指示\n終了");
  // every command of the menus has a prompt
  for (UINT id : {57603u, 57604u, 57616u, 57664u, 59393u}) EXPECT_FALSE(String(id).empty()) << id;
}

TEST_F(KeyRallyResources, IconIs32By32In16Colours) {
  HRSRC res = ::FindResourceA(m_module, MAKEINTRESOURCEA(IDI_KEYRALLY), reinterpret_cast<LPCSTR>(RT_GROUP_ICON));
  ASSERT_TRUE(res);
  const BYTE* dir = static_cast<const BYTE*>(::LockResource(::LoadResource(m_module, res)));
  int count = dir[4] | (dir[5] << 8);
  bool found = false;
  for (int i = 0; i < count; ++i) {
    const BYTE* e = dir + 6 + 14 * i;  // width, height, colours, reserved, planes, bit count, size, id
    int bits = e[6] | (e[7] << 8);
    if (e[0] == 32 && e[1] == 32 && e[2] == 16 && bits == 4) found = true;
  }
  EXPECT_TRUE(found) << "no 32x32 16-colour image in icon 133";
}

TEST(Framework, StatusBarPaneTextsComeBackWhole) {
  INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_BAR_CLASSES};
  ::InitCommonControlsEx(&icc);
  CWnd parent;
  parent.m_hWnd = ::CreateWindowExA(0, "STATIC", "", WS_OVERLAPPED, 0, 0, 400, 200, nullptr, nullptr,
                                    ::GetModuleHandleA(nullptr), nullptr);
  ASSERT_TRUE(parent.m_hWnd);
  {
    CStatusBar bar;
    ASSERT_TRUE(bar.Create(&parent));
    const UINT ids[] = {ID_SEPARATOR};
    ASSERT_TRUE(bar.SetIndicators(ids, 1));
    // prompts mix double-byte and half-width characters: more bytes than characters
    for (const char* text : {"ﾚﾃﾞｨ", "既存のﾌｧｲﾙを開く", "ｱﾌﾟﾘｹｰｼｮﾝを終了し、ﾌｧｲﾙの保存を指示",
                             "単語リストの編集単語リストの編集単語リストの編集", ""}) {
      ASSERT_TRUE(bar.SetPaneText(0, text));
      EXPECT_EQ(bar.GetPaneText(0), text);
    }
    bar.DestroyWindow();
  }
  ::DestroyWindow(parent.m_hWnd);
  parent.m_hWnd = nullptr;
}

namespace {
// KeyRally's document with a record of the hooks the framework calls.
std::vector<std::string> g_hooks;
class HookDoc : public CKeyRallyDoc {
  DECLARE_DYNCREATE(HookDoc)
 public:
  void DeleteContents() override {
    g_hooks.push_back(GetWordCount() ? "empty " + std::to_string(GetWordCount()) : "empty 0");
    CKeyRallyDoc::DeleteContents();
  }
  void Serialize(CArchive& ar) override {
    g_hooks.push_back(ar.IsStoring() ? "store" : "load");
    CKeyRallyDoc::Serialize(ar);
  }
};
IMPLEMENT_DYNCREATE(HookDoc, CKeyRallyDoc)
using Hooks = std::vector<std::string>;
}  // namespace

TEST(KeyRallyDocument, EmptiedBeforeNewAndLoadAfterAFailedLoadAndOnClose) {
  TestApp app;
  app.m_nCmdShow = SW_HIDE;
  std::string good = TempPath("hooks good.wds"), cut = TempPath("hooks cut.wds"), missing = TempPath("none.wds");
  ASSERT_TRUE(WriteAll(good, std::string("\x02\0\0\0\x01"
                                         "a\x01"
                                         "b",
                                         8)));
  ASSERT_TRUE(WriteAll(cut, std::string("\x03\0\0\0\x01"
                                        "a",
                                        6)));
  CSingleDocTemplate t(999, RUNTIME_CLASS(HookDoc), RUNTIME_CLASS(PlainFrame), RUNTIME_CLASS(PlainView));
  t.LoadTemplate();
  g_hooks.clear();
  HookDoc* doc = static_cast<HookDoc*>(t.OpenDocumentFile(nullptr));
  ASSERT_TRUE(doc);
  EXPECT_EQ(g_hooks, Hooks{"empty 0"}) << "file new";
  EXPECT_EQ(doc->GetPathName(), "");
  EXPECT_FALSE(doc->IsModified());
  doc->AddWord("typed");
  doc->AddWord("gone");
  EXPECT_TRUE(doc->RemoveWord(1));
  EXPECT_FALSE(doc->IsModified()) << "editing the list leaves the flag to the framework";

  g_hooks.clear();
  ASSERT_EQ(t.OpenDocumentFile(good.c_str()), doc) << "the one document is reused";
  EXPECT_EQ(g_hooks, (Hooks{"empty 1", "load"}));
  EXPECT_EQ(doc->GetWordCount(), 2);
  EXPECT_EQ(doc->GetPathName(), good);
  EXPECT_EQ(doc->GetTitle(), "kr_win32_" + std::to_string(::GetCurrentProcessId()) + "_hooks good.wds");
  EXPECT_FALSE(doc->IsModified());

  g_hooks.clear();
  doc->AddWord("c");
  {
    BoxAnswerer ok(IDOK);
    EXPECT_EQ(t.OpenDocumentFile(missing.c_str()), nullptr);
    EXPECT_FALSE(ok.Text().empty());
  }
  EXPECT_EQ(g_hooks, Hooks{}) << "a file that does not open empties nothing";
  EXPECT_EQ(doc->GetWordCount(), 3);
  EXPECT_EQ(doc->GetPathName(), good);

  g_hooks.clear();
  {
    BoxAnswerer ok(IDOK);
    EXPECT_EQ(t.OpenDocumentFile(cut.c_str()), nullptr);
    EXPECT_FALSE(ok.Text().empty());
  }
  ASSERT_GE(g_hooks.size(), 3u);
  EXPECT_EQ(g_hooks[0], "empty 3");
  EXPECT_EQ(g_hooks[1], "load");
  EXPECT_EQ(g_hooks[2], "empty 0") << "emptied again after the failed load";
  EXPECT_EQ(doc->GetWordCount(), 0);
  EXPECT_EQ(doc->GetPathName(), "") << "a failed load leaves a new, untitled list";
  EXPECT_EQ(doc->GetTitle(), "無題");
  EXPECT_FALSE(doc->IsModified());

  // closing: a modified list asks first, and cancel keeps everything
  ASSERT_TRUE(t.OpenDocumentFile(good.c_str()));
  ASSERT_TRUE(app.m_pMainWnd);
  HWND frame = app.m_pMainWnd->m_hWnd;
  // logging off asks the same question; cancelling it keeps the session
  doc->SetModifiedFlag();
  {
    BoxAnswerer cancel(IDCANCEL);
    EXPECT_EQ(::SendMessageA(frame, WM_QUERYENDSESSION, 0, 0), 0);
    EXPECT_FALSE(cancel.Text().empty()) << "no save question before the session ends";
  }
  doc->SetModifiedFlag(FALSE);
  {
    BoxAnswerer none(IDCANCEL);
    EXPECT_NE(::SendMessageA(frame, WM_QUERYENDSESSION, 0, 0), 0);
    EXPECT_EQ(none.Text(), "") << "an unmodified list lets the session end without a question";
  }
  doc->SetModifiedFlag();
  g_hooks.clear();
  {
    BoxAnswerer cancel(IDCANCEL);
    ::SendMessageA(frame, WM_CLOSE, 0, 0);
    EXPECT_FALSE(cancel.Text().empty()) << "no save question";
  }
  EXPECT_TRUE(::IsWindow(frame));
  EXPECT_EQ(g_hooks, Hooks{});
  EXPECT_EQ(doc->GetWordCount(), 2);
  doc->SetModifiedFlag(FALSE);
  {
    BoxAnswerer none(IDCANCEL);
    ::SendMessageA(frame, WM_CLOSE, 0, 0);
    EXPECT_EQ(none.Text(), "") << "an unmodified list closes without a question";
  }
  EXPECT_FALSE(::IsWindow(frame));
  EXPECT_EQ(g_hooks, Hooks{"empty 2"}) << "emptied once as it closes";
  EXPECT_EQ(t.GetOnlyDocument(), nullptr);
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
  }
  app.OnIdle(0);
  ::DeleteFileA(good.c_str());
  ::DeleteFileA(cut.c_str());
}

TEST(Framework, ListBoxTextsComeBackWhole) {
  CListBox list;
  ASSERT_TRUE(list.Attach(::CreateWindowExA(0, "LISTBOX", "", WS_POPUP | LBS_HASSTRINGS, 0, 0, 200, 200, nullptr,
                                            nullptr, ::GetModuleHandleA(nullptr), nullptr)));
  for (const char* word : {"cat", "単語リストの編集", "ｱﾌﾟﾘｹｰｼｮﾝを終了し、ﾌｧｲﾙの保存を指示", ""}) {
    int i = list.AddString(word);
    ASSERT_GE(i, 0);
    EXPECT_EQ(list.GetText(i), word);
  }
  ::DestroyWindow(list.Detach());
}

TEST(Framework, EditLinesWithDoubleByteCharactersComeBackWhole) {
  CEdit edit;
  ASSERT_TRUE(edit.Attach(::CreateWindowExA(0, "EDIT", "", WS_POPUP | ES_MULTILINE, 0, 0, 400, 200, nullptr, nullptr,
                                            ::GetModuleHandleA(nullptr), nullptr)));
  ::SetWindowTextA(edit.m_hWnd, "単語リスト\r\nｱﾌﾟﾘｹｰｼｮﾝを終了し\r\n\r\nend");
  EXPECT_EQ(edit.GetLine(0), "単語リスト");
  EXPECT_EQ(edit.GetLine(1), "ｱﾌﾟﾘｹｰｼｮﾝを終了し");
  EXPECT_EQ(edit.GetLine(2), "");
  EXPECT_EQ(edit.GetLine(3), "end");
  EXPECT_EQ(edit.GetWindowText(), "単語リスト\r\nｱﾌﾟﾘｹｰｼｮﾝを終了し\r\n\r\nend");
  ::DestroyWindow(edit.Detach());
}
