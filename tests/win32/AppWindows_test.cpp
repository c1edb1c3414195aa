// The loading window and the backdrop made from the installer's own dialog resources
// (linked into this test), in this process: the bar's limit and wrap-around, how the
// file tree drives the bar, and what the backdrop shows while it runs the wizard.
#include <gtest/gtest.h>

#include "BackdropDlg.h"
#include "FileTreeCtrl.h"
#include "Globals.h"
#include "LoadingDlg.h"
#include "TestFolder.h"
#include "resource.h"

// The process-wide state; the program defines it at start-up (PumpPendingMessage is
// the program's own, from the library).
CString g_strSetupDir;
CString g_strTopRoot;
int g_bAuthorMode = 1;
CLoadingDlg* g_pLoadingDlg = nullptr;
CString GetModulePath() {
  char buf[MAX_PATH] = "";
  ::GetModuleFileNameA(nullptr, buf, MAX_PATH);
  return buf;
}
CString GetInstanceName() { return "hb_windows_win32_tests"; }

namespace {

void Pump() {
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
}

std::string Text(HWND h) {
  char buf[512] = "";
  ::GetWindowTextA(h, buf, sizeof buf);
  return buf;
}

class LoadingWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_PROGRESS_CLASS | ICC_TREEVIEW_CLASSES};
    ::InitCommonControlsEx(&icc);
    ASSERT_TRUE(m_dlg.Create(IDD_LOADING, nullptr));
    m_bar = ::GetDlgItem(m_dlg.m_hWnd, IDC_LOADING_PROGRESS);
    ASSERT_TRUE(m_bar);
  }
  void TearDown() override {
    g_pLoadingDlg = nullptr;
    ::DestroyWindow(m_dlg.m_hWnd);
    Pump();
  }
  int Pos() const { return static_cast<int>(::SendMessageA(m_bar, PBM_GETPOS, 0, 0)); }
  int Upper() const { return static_cast<int>(::SendMessageA(m_bar, PBM_GETRANGE, FALSE, 0)); }
  int Lower() const { return static_cast<int>(::SendMessageA(m_bar, PBM_GETRANGE, TRUE, 0)); }

  CLoadingDlg m_dlg;
  HWND m_bar = nullptr;
};

}  // namespace

namespace {
std::vector<UINT> g_seen;
LRESULT CALLBACK Recorder(HWND h, UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_APP || msg == WM_KEYDOWN || msg == WM_CHAR) g_seen.push_back(msg);
  return ::DefWindowProcA(h, msg, w, l);
}
}  // namespace

// The long loops' pump: one waiting message per call, translated (a key gives its
// character), and nothing to wait for when the queue is empty.
TEST(PumpPendingMessage, DispatchesOneWaitingMessageAndNeverWaits) {
  HWND h = ::CreateWindowExA(0, "STATIC", "pump", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(h);
  ::SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Recorder));
  Pump();
  g_seen.clear();
  ::PostMessageA(h, WM_APP, 0, 0);
  ::PostMessageA(h, WM_APP, 0, 0);
  PumpPendingMessage();
  EXPECT_EQ(g_seen, std::vector<UINT>{WM_APP});
  PumpPendingMessage();
  EXPECT_EQ(g_seen, (std::vector<UINT>{WM_APP, WM_APP}));

  g_seen.clear();
  ::PostMessageA(h, WM_KEYDOWN, 'A', 1 | (::MapVirtualKeyA('A', MAPVK_VK_TO_VSC) << 16));
  PumpPendingMessage();
  EXPECT_EQ(g_seen, std::vector<UINT>{WM_KEYDOWN});
  PumpPendingMessage();
  EXPECT_EQ(g_seen, (std::vector<UINT>{WM_KEYDOWN, WM_CHAR})) << "the key was not translated";

  DWORD start = ::GetTickCount();
  for (int i = 0; i < 100; ++i) PumpPendingMessage();
  EXPECT_LT(::GetTickCount() - start, 1000u) << "an empty queue made the pump wait";
  EXPECT_EQ(g_seen.size(), 2u);
  ::DestroyWindow(h);
  Pump();
}

TEST_F(LoadingWindowTest, VisibleAtOnceAtTheTopLeftWithoutSystemMenu) {
  HWND h = m_dlg.m_hWnd;
  EXPECT_TRUE(::IsWindowVisible(h));
  EXPECT_EQ("Hanbell/InstallWizard...Data Loading Message.", Text(h));
  LONG style = ::GetWindowLongA(h, GWL_STYLE);
  EXPECT_TRUE(style & WS_CAPTION);
  EXPECT_FALSE(style & WS_SYSMENU) << "no close box";
  EXPECT_TRUE(::GetWindowLongA(h, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  RECT r;
  ::GetWindowRect(h, &r);
  EXPECT_EQ(0, r.left);
  EXPECT_EQ(0, r.top);

  m_dlg.Hide();
  EXPECT_FALSE(::IsWindowVisible(h));
  m_dlg.Show();
  EXPECT_TRUE(::IsWindowVisible(h));
  EXPECT_TRUE(::GetWindowLongA(h, GWL_EXSTYLE) & WS_EX_TOPMOST) << "shown on top of all windows";
}

TEST_F(LoadingWindowTest, TheLimitKeepsOnlyItsLow16Bits) {
  m_dlg.BeginProgress(0x10005, 1);
  EXPECT_EQ(0, Lower());
  EXPECT_EQ(5, Upper());
  EXPECT_EQ(0, Pos());
  m_dlg.BeginProgress(70000, 1);
  EXPECT_EQ(70000 - 65536, Upper());
  m_dlg.BeginProgress(65535, 1);
  EXPECT_EQ(65535, Upper()) << "an unsigned 16-bit limit";
  m_dlg.BeginProgress(0x20000, 1);
  EXPECT_EQ(0, Upper());
}

TEST_F(LoadingWindowTest, AStepPastTheLimitStartsTheBarOverFromZero) {
  m_dlg.BeginProgress(3, 1);
  std::vector<int> seen;
  for (int i = 0; i < 6; ++i) {
    m_dlg.AdvanceProgress();
    seen.push_back(Pos());
  }
  EXPECT_EQ((std::vector<int>{1, 2, 3, 0, 1, 2}), seen);

  // A new start puts the bar back to 0 with the new step.
  m_dlg.BeginProgress(10, 4);
  EXPECT_EQ(0, Pos());
  seen.clear();
  for (int i = 0; i < 3; ++i) {
    m_dlg.AdvanceProgress();
    seen.push_back(Pos());
  }
  EXPECT_EQ((std::vector<int>{4, 8, 0}), seen);
}

TEST_F(LoadingWindowTest, TheFileTreeDrivesTheBar) {
  CTestFolder dir("bar");
  for (int i = 0; i < 150; ++i) WriteBytes(dir.Path() + "f" + std::to_string(1000 + i) + ".txt", "x");
  g_strSetupDir = dir.Path();
  g_strTopRoot = dir.Path();
  g_pLoadingDlg = &m_dlg;

  HWND host = ::CreateWindowExA(0, "STATIC", "host", WS_POPUP, 0, 0, 300, 400, nullptr, nullptr, nullptr, nullptr);
  HWND hTree = ::CreateWindowExA(0, WC_TREEVIEWA, "", WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES, 0, 0, 300,
                                 400, host, nullptr, nullptr, nullptr);
  ASSERT_TRUE(hTree);
  CFileTreeCtrl tree;
  tree.SubclassWindow(hTree);

  // A first build has the limit 100 whatever the number of files, and one step per
  // pass of the walk (one per file here): 150 steps go once past the limit.
  EXPECT_EQ(150, tree.BuildTree(""));
  EXPECT_EQ(100, Upper());
  EXPECT_EQ(150 - 101, Pos());
  // A rebuild takes the previous item count as its limit.
  EXPECT_EQ(150, tree.BuildTree(""));
  EXPECT_EQ(151, Upper());
  EXPECT_EQ(150, Pos());

  // Loading takes Count as its limit and steps once per entry.
  tree.SaveTree();
  EXPECT_EQ(151, tree.LoadTree());
  EXPECT_EQ(151, Upper());
  EXPECT_EQ(151, Pos());

  // A damaged count beyond 16 bits: the low bits are the limit, and the load stops
  // at the first entry that is not there.
  ::WritePrivateProfileStringA("TreeCtrl", "Count", "65540", (g_strSetupDir + "Setup.ini").c_str());
  EXPECT_EQ(0, tree.LoadTree());
  EXPECT_EQ(4, Upper());
  EXPECT_EQ(152 % 5, Pos()) << "152 steps on a bar of 0..4";

  tree.ClearTree();
  tree.UnsubclassWindow();
  ::DestroyWindow(host);
  Pump();
}

namespace {

// What the backdrop shows while the wizard runs over it.
struct BackdropSeen {
  bool bWizard = false;              // the wizard came up
  bool bVisibleBeforeWizard = true;  // the backdrop was visible when the wizard was made
  bool bOwnsWizard = false;
  bool bZoomed = false;
  std::string strTitle;
  RECT rcTitle = {};               // in the backdrop's client coordinates
  RECT rcTemplate = {7, 7, 0, 0};  // the static's place in the template, in pixels
  std::string strCaption;
  LONG nStyle = 0, nTitleStyle = 0;
  LOGFONTA font = {};
  bool bFont = false;
  HICON hBig = nullptr, hSmall = nullptr;
  HICON hWizardBig = nullptr, hWizardSmall = nullptr, hWizardDrag = nullptr;
  COLORREF crDialog = 0, crStatic = 0;
  bool bButtonBrushIsBlue = false;
  HWND hBackdrop = nullptr;
};

BackdropSeen* g_pSeen = nullptr;
HHOOK g_hHook = nullptr;
int g_nTicks = 0;

COLORREF BrushColor(LRESULT brush, bool* ok = nullptr) {
  LOGBRUSH lb = {};
  bool got = brush && ::GetObjectA(reinterpret_cast<HBRUSH>(brush), sizeof lb, &lb) == sizeof lb;
  if (ok) *ok = got;
  return got ? lb.lbColor : CLR_INVALID;
}

struct WizardSearch {
  HWND hOwner, hFound;
};

BOOL CALLBACK TakeWizard(HWND h, LPARAM l) {
  WizardSearch* p = reinterpret_cast<WizardSearch*>(l);
  if (h != p->hOwner && ::GetDlgItem(h, IDC_FILETREE)) {
    p->hFound = h;
    return FALSE;
  }
  return TRUE;
}

// The wizard dialog of this thread (it carries the file tree, hidden in the install form).
HWND FindWizard(HWND hBackdrop) {
  WizardSearch f = {hBackdrop, nullptr};
  ::EnumThreadWindows(::GetCurrentThreadId(), TakeWizard, reinterpret_cast<LPARAM>(&f));
  return f.hFound;
}

LRESULT CALLBACK WatchCreation(int code, WPARAM w, LPARAM l) {
  // The first top-level window is the backdrop; the wizard's window, made while the
  // backdrop initialises, is the next one, owned by it: look at the backdrop then.
  if (code == HCBT_CREATEWND && g_pSeen) {
    CBT_CREATEWNDA* c = reinterpret_cast<CBT_CREATEWNDA*>(l);
    if (!(c->lpcs->style & WS_CHILD)) {
      if (!g_pSeen->hBackdrop)
        g_pSeen->hBackdrop = reinterpret_cast<HWND>(w);
      else if (c->lpcs->hwndParent == g_pSeen->hBackdrop)
        g_pSeen->bVisibleBeforeWizard = ::IsWindowVisible(g_pSeen->hBackdrop) != FALSE;
    }
  }
  return ::CallNextHookEx(g_hHook, code, w, l);
}

void CALLBACK LookAndClose(HWND, UINT, UINT_PTR id, DWORD) {
  BackdropSeen& s = *g_pSeen;
  HWND back = s.hBackdrop;
  HWND wiz = back ? FindWizard(back) : nullptr;
  if (!wiz || !::IsWindowVisible(wiz)) {
    if (++g_nTicks > 400) {  // no wizard after 20 s: end every loop rather than hang
      ::KillTimer(nullptr, id);
      ::PostQuitMessage(1);
    }
    return;
  }
  ::KillTimer(nullptr, id);
  s.bWizard = true;
  s.bOwnsWizard = ::GetWindow(wiz, GW_OWNER) == back;
  s.bZoomed = ::IsZoomed(back) != FALSE;
  HWND title = ::GetDlgItem(back, IDC_BACKDROP_TITLE);
  s.strTitle = Text(title);
  ::GetWindowRect(title, &s.rcTitle);
  ::MapWindowPoints(nullptr, back, reinterpret_cast<POINT*>(&s.rcTitle), 2);
  ::MapDialogRect(back, &s.rcTemplate);
  s.strCaption = Text(back);
  s.nStyle = ::GetWindowLongA(back, GWL_STYLE);
  s.nTitleStyle = ::GetWindowLongA(title, GWL_STYLE);
  HFONT hFont = reinterpret_cast<HFONT>(::SendMessageA(title, WM_GETFONT, 0, 0));
  s.bFont = hFont && ::GetObjectA(hFont, sizeof s.font, &s.font) == sizeof s.font;
  s.hBig = reinterpret_cast<HICON>(::SendMessageA(back, WM_GETICON, ICON_BIG, 0));
  s.hSmall = reinterpret_cast<HICON>(::SendMessageA(back, WM_GETICON, ICON_SMALL, 0));
  s.hWizardBig = reinterpret_cast<HICON>(::SendMessageA(wiz, WM_GETICON, ICON_BIG, 0));
  s.hWizardSmall = reinterpret_cast<HICON>(::SendMessageA(wiz, WM_GETICON, ICON_SMALL, 0));
  s.hWizardDrag = reinterpret_cast<HICON>(::SendMessageA(wiz, WM_QUERYDRAGICON, 0, 0));
  HDC dc = ::GetDC(back);
  s.crDialog =
      BrushColor(::SendMessageA(back, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(back)));
  s.crStatic = BrushColor(
      ::SendMessageA(back, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(title)));
  bool ok = false;
  COLORREF button = BrushColor(
      ::SendMessageA(back, WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(title)), &ok);
  s.bButtonBrushIsBlue = ok && button == RGB(64, 100, 255);
  ::ReleaseDC(back, dc);
  // Close the wizard as its own cancel would, without the box.
  static_cast<CDialog*>(CWnd::FromHandlePermanent(wiz))->EndDialog(IDCANCEL);
}

// Runs the backdrop on a distribution whose [Setup] holds `setup` and reports what it showed.
BackdropSeen RunBackdrop(const std::string& setup, INT_PTR* pResult) {
  CTestFolder dir("back");
  WriteBytes(dir.Path() + "Setup.ini", "[Setup]\r\n" + setup + "Mode=1\r\n[Option]\r\nBlueBack=1\r\n");
  WriteBytes(dir.Path() + "app.exe", "x");
  g_strSetupDir = dir.Path();
  g_strTopRoot = dir.Path();
  g_bAuthorMode = 0;

  BackdropSeen seen;
  g_pSeen = &seen;
  g_nTicks = 0;
  CWinApp app;
  app.m_hInstance = ::GetModuleHandleA(nullptr);
  {
    CBackdropDlg back;
    app.m_pMainWnd = &back;
    g_hHook = ::SetWindowsHookExA(WH_CBT, WatchCreation, nullptr, ::GetCurrentThreadId());
    ::SetTimer(nullptr, 0, 50, LookAndClose);
    *pResult = back.DoModal();
    ::UnhookWindowsHookEx(g_hHook);
    seen.hBackdrop = back.m_hWnd;  // null when the backdrop is gone
    app.m_pMainWnd = nullptr;
  }
  g_pSeen = nullptr;
  g_bAuthorMode = 1;
  Pump();
  return seen;
}

}  // namespace

TEST(Backdrop, MaximisedBehindTheWizardWithTheTitleInItsFont) {
  INT_PTR result = 0;
  BackdropSeen s = RunBackdrop("Name=東方ソフト\r\nTitle=打鍵丸\r\nVersion=Ver 3.10\r\n", &result);
  ASSERT_TRUE(s.bWizard) << "the backdrop runs the wizard";
  EXPECT_FALSE(s.bVisibleBeforeWizard) << "not shown before the wizard shows it";
  EXPECT_TRUE(s.bOwnsWizard);
  EXPECT_TRUE(s.bZoomed) << "maximised by the wizard";
  EXPECT_EQ("Hanbell/TOVANE Soft(TVS)'s System Installer&Uninstaller...", s.strCaption);
  EXPECT_EQ(WS_CAPTION | WS_SYSMENU, s.nStyle & (WS_CAPTION | WS_SYSMENU));
  EXPECT_EQ(WS_DISABLED | WS_VISIBLE, s.nTitleStyle & (WS_DISABLED | WS_VISIBLE));

  const std::string text = "東方ソフト/ 打鍵丸 Ver 3.10";
  EXPECT_EQ(text, s.strTitle);
  RECT desk;
  ::GetWindowRect(::GetDesktopWindow(), &desk);
  const int W = desk.right;
  EXPECT_EQ(W, s.rcTitle.right - s.rcTitle.left) << "the title static as wide as the screen";
  EXPECT_EQ(200, s.rcTitle.bottom - s.rcTitle.top);
  EXPECT_EQ(s.rcTemplate.left, s.rcTitle.left) << "resized, not moved";
  EXPECT_EQ(s.rcTemplate.top, s.rcTitle.top);

  ASSERT_TRUE(s.bFont);
  EXPECT_EQ(90, s.font.lfHeight);
  EXPECT_EQ(W / (static_cast<int>(text.size()) + 15), s.font.lfWidth);
  EXPECT_EQ(0, s.font.lfEscapement);
  EXPECT_EQ(0, s.font.lfOrientation);
  EXPECT_EQ(900, s.font.lfWeight);
  EXPECT_TRUE(s.font.lfItalic);
  EXPECT_FALSE(s.font.lfUnderline);
  EXPECT_FALSE(s.font.lfStrikeOut);
  EXPECT_EQ(SHIFTJIS_CHARSET, s.font.lfCharSet);
  EXPECT_EQ(OUT_DEFAULT_PRECIS, s.font.lfOutPrecision);
  EXPECT_EQ(CLIP_DEFAULT_PRECIS, s.font.lfClipPrecision);
  EXPECT_EQ(DEFAULT_QUALITY, s.font.lfQuality);
  EXPECT_EQ(DEFAULT_PITCH, s.font.lfPitchAndFamily);
  EXPECT_STREQ("ＭＳ Ｐゴシック", s.font.lfFaceName);

  HICON icon = ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME));
  EXPECT_EQ(icon, s.hBig);
  EXPECT_EQ(icon, s.hSmall);
  // the wizard shows the same program icon, also as its drag icon
  EXPECT_EQ(icon, s.hWizardBig);
  EXPECT_EQ(icon, s.hWizardSmall);
  EXPECT_EQ(icon, s.hWizardDrag);
  EXPECT_EQ(RGB(64, 100, 255), s.crDialog);
  EXPECT_EQ(RGB(64, 100, 255), s.crStatic);
  EXPECT_FALSE(s.bButtonBrushIsBlue) << "only the dialog and its statics are blue";

  EXPECT_EQ(IDCANCEL, result) << "closed through WM_CLOSE after the wizard";
  EXPECT_EQ(nullptr, s.hBackdrop);
}

TEST(Backdrop, EmptyNameLongTitleAndTheBufferCuts) {
  INT_PTR result = 0;
  // 60 bytes of title are cut to 49, 25 of version to 19; an empty Name is the default company.
  const std::string title(60, 'T'), version(25, 'v');
  BackdropSeen s = RunBackdrop("Name=\r\nTitle=" + title + "\r\nVersion=" + version + "\r\n", &result);
  ASSERT_TRUE(s.bWizard);
  const std::string text = "TOVANE Soft/ " + title.substr(0, 49) + " " + version.substr(0, 19);
  EXPECT_EQ(text, s.strTitle);
  RECT desk;
  ::GetWindowRect(::GetDesktopWindow(), &desk);
  EXPECT_EQ(desk.right / (static_cast<int>(text.size()) + 15), s.font.lfWidth) << "a longer title, a narrower font";

  // Missing keys give the defaults; an empty title or version stays empty.
  s = RunBackdrop("", &result);
  EXPECT_EQ("TOVANE Soft/ <<Title/Application Name.>> Ver 1.00", s.strTitle);
  s = RunBackdrop("Title=\r\nVersion=\r\n", &result);
  EXPECT_EQ("TOVANE Soft/  ", s.strTitle);
  EXPECT_EQ(desk.right / (14 + 15), s.font.lfWidth);
}
