// KeyRally's main window: placement, title, menus, status bar, Ctrl+N, the about box
// and the version information.
#include <memory>

#include "typing_fixture.h"

using krtest::PopupItems;
using krtest::Texts;

TEST_F(KeyRallyTest, StartsPlacedTitledWithItsMenusAndStatusBar) {
  ASSERT_EQ(::GetSystemMetrics(SM_CXSCREEN), 1024) << "the tests need a 1024x768 screen";
  ASSERT_EQ(::GetSystemMetrics(SM_CYSCREEN), 768);
  uitest::Process p;
  HWND frame = Start(p);
  ASSERT_TRUE(frame);
  RECT r;
  ::GetWindowRect(frame, &r);
  EXPECT_EQ(r.left, 100);
  EXPECT_EQ(r.top, 192);
  EXPECT_EQ(r.right - r.left, 824);
  EXPECT_EQ(r.bottom - r.top, 384);
  EXPECT_EQ(uitest::GetText(frame), "打鍵丸");
  // the framework's single-document frame: a sizeable window that takes no dropped
  // files, with the program's icon
  LONG style = ::GetWindowLongA(frame, GWL_STYLE);
  EXPECT_EQ(style & WS_OVERLAPPEDWINDOW, static_cast<LONG>(WS_OVERLAPPEDWINDOW));
  EXPECT_FALSE(::GetWindowLongA(frame, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);

  krtest::Menu menu = krtest::ReadMenu(frame);
  ASSERT_FALSE(menu.empty()) << "the menu probe did not answer";
  ASSERT_EQ(menu.back().text, "class icon");
  EXPECT_EQ(menu.back().id, static_cast<UINT>(IDI_KEYRALLY));
  krtest::Menu bar = PopupItems(menu, -1);
  EXPECT_EQ(Texts(bar), (std::vector<std::string>{"ﾌｧｲﾙ(&F)", "単語リスト(&L)", "ゲーム(&G)", "フォント(&O)",
                                                  "表示(&V)", "ﾍﾙﾌﾟ(&H)"}));
  ASSERT_EQ(bar.size(), 6u);
  EXPECT_EQ(bar[1].id, static_cast<UINT>(ID_WORD_LIST));
  EXPECT_EQ(bar[3].id, static_cast<UINT>(ID_WORD_FONT));
  krtest::Menu file = PopupItems(menu, 0);
  EXPECT_EQ(Texts(file),
            (std::vector<std::string>{"開く(&O)...\tCtrl+O", "上書き保存(&S)\tCtrl+S", "名前を付けて保存(&A)...", "",
                                      "最近使ったﾌｧｲﾙ", "", "ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)"}));
  const UINT fileIds[] = {ID_FILE_OPEN, ID_FILE_SAVE, ID_FILE_SAVE_AS, 0, ID_FILE_MRU_FILE1, 0, ID_APP_EXIT};
  ASSERT_EQ(file.size(), 7u);
  for (int i = 0; i < 7; ++i) EXPECT_EQ(file[i].id, fileIds[i]) << i;
  EXPECT_TRUE(file[4].state & MF_GRAYED) << "no recent files yet";
  EXPECT_FALSE(file[0].state & MF_GRAYED);
  krtest::Menu game = PopupItems(menu, 2);
  EXPECT_EQ(Texts(game), (std::vector<std::string>{"開始(&A)\tCtrl+A", "停止(&P)\tCtrl+P", "再開(&R)\tCtrl+R",
                                                   "成績(&R)..."}));
  ASSERT_EQ(game.size(), 4u);
  EXPECT_EQ(game[0].id, static_cast<UINT>(ID_GAME_START));
  EXPECT_EQ(game[1].id, static_cast<UINT>(ID_GAME_STOP));
  EXPECT_EQ(game[2].id, static_cast<UINT>(ID_GAME_RESUME));
  EXPECT_EQ(game[3].id, 32780u);
  EXPECT_FALSE(game[3].state & MF_GRAYED) << "the records can be looked at any time";
  krtest::Menu show = PopupItems(menu, 4), help = PopupItems(menu, 5);
  EXPECT_EQ(Texts(show), std::vector<std::string>{"ｽﾃｰﾀｽ ﾊﾞｰ(&S)"});
  ASSERT_EQ(show.size(), 1u);
  EXPECT_EQ(show[0].id, static_cast<UINT>(ID_VIEW_STATUS_BAR));
  EXPECT_TRUE(show[0].state & MF_CHECKED);
  EXPECT_EQ(Texts(help), std::vector<std::string>{"KeyRally のﾊﾞｰｼﾞｮﾝ情報(&A)..."});
  ASSERT_EQ(help.size(), 1u);
  EXPECT_EQ(help[0].id, static_cast<UINT>(ID_APP_ABOUT));

  // status bar: five panes, the idle text, a command's prompt while its item is lit
  HWND status = ::GetDlgItem(frame, AFX_IDW_STATUS_BAR);
  ASSERT_TRUE(status);
  EXPECT_EQ(uitest::ClassOf(status), "msctls_statusbar32");
  EXPECT_EQ(::SendMessageA(status, SB_GETPARTS, 0, 0), 5);
  EXPECT_TRUE(uitest::WaitFor([&] { return krtest::PaneText(status, 0) == "ﾚﾃﾞｨ"; }, 5000))
      << krtest::PaneText(status, 0);
  LPARAM hMenu = reinterpret_cast<LPARAM>(::GetMenu(frame));  // only its presence counts here
  ::SendMessageA(frame, WM_MENUSELECT, MAKEWPARAM(ID_FILE_OPEN, MF_HILITE), hMenu);
  EXPECT_EQ(krtest::PaneText(status, 0), "既存のﾌｧｲﾙを開く");
  ::SendMessageA(frame, WM_MENUSELECT, MAKEWPARAM(ID_APP_EXIT, MF_HILITE), hMenu);
  EXPECT_EQ(krtest::PaneText(status, 0), "ｱﾌﾟﾘｹｰｼｮﾝを終了し、ﾌｧｲﾙの保存を指示");
  ::SendMessageA(frame, WM_MENUSELECT, MAKEWPARAM(ID_WORD_LIST, MF_HILITE), hMenu);
  EXPECT_EQ(krtest::PaneText(status, 0), "単語リストの編集");
  ::SendMessageA(frame, WM_MENUSELECT, MAKEWPARAM(ID_GAME_STOP, MF_HILITE), hMenu);
  EXPECT_EQ(krtest::PaneText(status, 0), "ゲームを一時停止します");
  ::SendMessageA(frame, WM_MENUSELECT, MAKEWPARAM(ID_GAME_RECORDS, MF_HILITE), hMenu);
  EXPECT_EQ(krtest::PaneText(status, 0), "これまでの成績を表示します");
  ::SendMessageA(frame, WM_MENUSELECT, MAKEWPARAM(2, MF_HILITE | MF_POPUP), hMenu);
  EXPECT_EQ(krtest::PaneText(status, 0), "") << "a pop-up has no prompt";
  ::SendMessageA(frame, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);  // menu closed
  EXPECT_EQ(krtest::PaneText(status, 0), "ﾚﾃﾞｨ");

  // the status bar toggle hides the bar, the view takes its room, and back
  HWND view = ::GetDlgItem(frame, AFX_IDW_PANE_FIRST);
  ASSERT_TRUE(view);
  RECT before;
  ::GetWindowRect(view, &before);
  krtest::Command(frame, ID_VIEW_STATUS_BAR);
  EXPECT_TRUE(uitest::WaitFor([&] { return !::IsWindowVisible(status); }, 5000));
  RECT after;
  EXPECT_TRUE(uitest::WaitFor(
      [&] {
        ::GetWindowRect(view, &after);
        return after.bottom > before.bottom;
      },
      5000));
  EXPECT_FALSE(PopupItems(krtest::ReadMenu(frame), 4).at(0).state & MF_CHECKED);
  krtest::Command(frame, ID_VIEW_STATUS_BAR);
  EXPECT_TRUE(uitest::WaitFor([&] { return ::IsWindowVisible(status) != FALSE; }, 5000));
  EXPECT_TRUE(PopupItems(krtest::ReadMenu(frame), 4).at(0).state & MF_CHECKED);
  Close(p, frame);
}

TEST_F(KeyRallyTest, CtrlNStartsAnEmptyListAndSaveAsWritesFourZeroBytes) {
  std::string words = krtest::WdsBytes({"alpha", "beta", "ガンマ"});
  Put("基本単語.wds", words);  // double-byte right after the program name
  uitest::Process p;
  HWND frame = Start(p, "基本単語.wds");
  ASSERT_TRUE(frame);
  EXPECT_EQ(uitest::GetText(frame), "打鍵丸");
  EXPECT_EQ(SaveAs(p, frame, "copy.wds"), words) << "the command-line file was not loaded";
  krtest::PressKeys(frame, {VK_CONTROL, 'N'});
  EXPECT_TRUE(krtest::WaitTitle(frame, krtest::kUntitledTitle)) << uitest::GetText(frame);
  // Ctrl+S on the new list asks for a name, proposing the title with the extension
  krtest::PressKeys(frame, {VK_CONTROL, 'S'});
  HWND dlg = uitest::WaitWindow(p.Pid(), krtest::kSaveCaption, "#32770");
  ASSERT_TRUE(dlg) << "Ctrl+S on an unnamed list shows no save dialog";
  int nameBox = ::GetDlgItem(dlg, 1148) ? 1148 : 1152;
  EXPECT_TRUE(uitest::WaitFor([&] { return uitest::GetText(dlg, nameBox) == "無題.wds"; }, 5000))
      << uitest::GetText(dlg, nameBox);
  ASSERT_TRUE(krtest::ChooseFile(p.Pid(), krtest::kSaveCaption, m_dir + "empty.wds"));
  EXPECT_TRUE(krtest::WaitTitle(frame, "empty.wds - KeyRally")) << uitest::GetText(frame);
  EXPECT_EQ(Bytes("empty.wds"), std::string(4, '\0'));
  Close(p, frame);
}

TEST_F(KeyRallyTest, AboutBoxAndVersionInformation) {
  uitest::Process p;
  HWND frame = Start(p);
  ASSERT_TRUE(frame);
  krtest::Command(frame, ID_APP_ABOUT);
  HWND about = uitest::WaitWindow(p.Pid(), krtest::kAboutCaption, "#32770");
  ASSERT_TRUE(about);
  EXPECT_EQ(uitest::GetText(about, IDC_ABOUT_NAME), "打鍵丸 (KeyRally) ﾊﾞｰｼﾞｮﾝ 1.0");
  EXPECT_NE(uitest::GetText(about, IDC_ABOUT_COPYRIGHT).find("Copyright"), std::string::npos);
  EXPECT_FALSE(::IsWindowEnabled(frame)) << "the about box is modal";
  uitest::Click(about, IDOK);
  EXPECT_TRUE(uitest::WaitGone(about));
  EXPECT_TRUE(uitest::WaitFor([&] { return ::IsWindowEnabled(frame) != FALSE; }, 5000));
  Close(p, frame);

  std::string exe = krtest::ProgramPath();
  DWORD handle = 0;
  DWORD size = ::GetFileVersionInfoSizeA(exe.c_str(), &handle);
  ASSERT_GT(size, 0u);
  std::unique_ptr<char[]> data(new char[size]);
  ASSERT_TRUE(::GetFileVersionInfoA(exe.c_str(), 0, size, data.get()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT len = 0;
  ASSERT_TRUE(::VerQueryValueA(data.get(), "\\", reinterpret_cast<void**>(&fixed), &len));
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwFileVersionLS, 0x00000001u);
  EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwProductVersionLS, 0x00000001u);
  WORD* lang = nullptr;
  ASSERT_TRUE(::VerQueryValueA(data.get(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&lang), &len));
  EXPECT_EQ(lang[0], 0x0411);
  auto value = [&](const char* name) {
    char* v = nullptr;
    UINT n = 0;
    std::string path = std::string("\\StringFileInfo\\041103a4\\") + name;
    return ::VerQueryValueA(data.get(), path.c_str(), reinterpret_cast<void**>(&v), &n) && v ? std::string(v)
                                                                                             : std::string("<none>");
  };
  EXPECT_EQ(value("Comments"), "タイピングソフト");
  EXPECT_EQ(value("FileDescription"), "打鍵丸");
  EXPECT_EQ(value("ProductName"), "打鍵丸");
  EXPECT_EQ(value("InternalName"), "KeyRally");
  EXPECT_EQ(value("OriginalFilename"), "KeyRally.EXE");
}

TEST_F(KeyRallyTest, AcceleratorsWithoutAHandlerDoNothing) {
  std::string words = krtest::WdsBytes({"copy", "paste"});
  Put("keys.wds", words);
  uitest::Process p;
  HWND frame = Start(p, "keys.wds");
  ASSERT_TRUE(frame);
  const std::vector<std::vector<WORD>> keys = {
      {VK_CONTROL, 'C'}, {VK_CONTROL, VK_INSERT}, {VK_CONTROL, 'V'}, {VK_SHIFT, VK_INSERT},
      {VK_CONTROL, 'X'}, {VK_SHIFT, VK_DELETE},   {VK_CONTROL, 'Z'}, {VK_MENU, VK_BACK},
      {VK_F6},           {VK_SHIFT, VK_F6},
  };
  for (const auto& k : keys) {
    if (k.size() == 1)
      krtest::PressKeys(frame, {k[0]});
    else
      krtest::PressKeys(frame, {k[0], k[1]});
  }
  // Ctrl+S after them writes the list in place: once the file is whole again, every
  // key before it has been handled
  ASSERT_TRUE(uitest::WriteFile(m_dir + "keys.wds", "scribbled"));
  krtest::PressKeys(frame, {VK_CONTROL, 'S'});
  std::string saved;
  EXPECT_TRUE(uitest::WaitFor([&] { return uitest::ReadFile(m_dir + "keys.wds", saved) && saved == words; }, 10000))
      << "the list changed, or a key left a window in the way";
  EXPECT_EQ(uitest::TopWindows(p.Pid()).size(), 1u) << "a key opened a window";
  EXPECT_EQ(uitest::GetText(frame), "keys.wds - KeyRally") << "the saved list is still the file's";
  // the keys did reach the frame: a key with a handler still works there
  krtest::PressKeys(frame, {VK_CONTROL, 'N'});
  EXPECT_TRUE(krtest::WaitTitle(frame, krtest::kUntitledTitle)) << uitest::GetText(frame);
  Close(p, frame);
}

namespace {
bool SetClipboardText(const std::string& text) {
  if (!::OpenClipboard(nullptr)) return false;
  ::EmptyClipboard();
  HGLOBAL mem = ::GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  memcpy(::GlobalLock(mem), text.c_str(), text.size() + 1);
  ::GlobalUnlock(mem);
  bool ok = ::SetClipboardData(CF_TEXT, mem) != nullptr;
  ::CloseClipboard();
  return ok;
}
std::string ClipboardText() {
  std::string s;
  if (!::OpenClipboard(nullptr)) return "<busy>";
  if (HANDLE h = ::GetClipboardData(CF_TEXT)) {
    s = static_cast<const char*>(::GlobalLock(h));
    ::GlobalUnlock(h);
  }
  ::CloseClipboard();
  return s;
}
}  // namespace

TEST_F(KeyRallyTest, EditingKeysDoNothingInsideTheTypingBox) {
  uitest::Process p;
  HWND frame = Start(p);
  ASSERT_TRUE(frame);
  ::SetForegroundWindow(frame);
  ASSERT_TRUE(uitest::WaitFor([&] { return ::GetForegroundWindow() == frame; }, 5000));
  HWND box = krtest::MakeTypingBox(frame);
  ASSERT_TRUE(box) << "no typing box in the view";
  ASSERT_TRUE(SetClipboardText("クリップ"));
  ::SendMessageA(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("abc"));
  ::SendMessageA(box, EM_SETSEL, 0, -1);
  // paste, cut and copy by both their keys, then a letter that replaces the selection
  for (auto k : std::vector<std::vector<WORD>>{{VK_CONTROL, 'V'},
                                               {VK_SHIFT, VK_INSERT},
                                               {VK_CONTROL, 'X'},
                                               {VK_SHIFT, VK_DELETE},
                                               {VK_CONTROL, 'C'},
                                               {VK_CONTROL, VK_INSERT},
                                               {VK_F6},
                                               {VK_SHIFT, VK_F6},
                                               {'Q'}}) {
    if (k.size() == 1)
      krtest::PressKeys(frame, {k[0]});
    else
      krtest::PressKeys(frame, {k[0], k[1]});
  }
  EXPECT_TRUE(uitest::WaitFor([&] { return uitest::GetText(box) == "q"; }, 5000))
      << "the keys before the letter changed the box: " << uitest::GetText(box);
  // undo by both its keys would bring back "abc"
  krtest::PressKeys(frame, {VK_CONTROL, 'Z'});
  krtest::PressKeys(frame, {VK_MENU, VK_BACK});
  krtest::PressKeys(frame, {'W'});
  EXPECT_TRUE(uitest::WaitFor([&] { return uitest::GetText(box) == "qw"; }, 5000)) << uitest::GetText(box);
  EXPECT_EQ(krtest::FocusOf(frame), box) << "F6 moved the focus";
  EXPECT_EQ(ClipboardText(), "クリップ") << "a key cut or copied";
  EXPECT_EQ(uitest::TopWindows(p.Pid()).size(), 1u) << "a key opened a window";
  // the box itself pastes when told to: it was the keys that did nothing
  ::SendMessageA(box, WM_PASTE, 0, 0);
  EXPECT_EQ(uitest::GetText(box), "qwクリップ");
  // and a key with a handler works from inside the box
  krtest::PressKeys(frame, {VK_CONTROL, 'N'});
  EXPECT_TRUE(krtest::WaitTitle(frame, krtest::kUntitledTitle)) << uitest::GetText(frame);
  Close(p, frame);
}

TEST_F(KeyRallyTest, StatusBarIndicatorsInTheirPanes) {
  uitest::Process p;
  HWND frame = Start(p);
  ASSERT_TRUE(frame);
  HWND status = ::GetDlgItem(frame, AFX_IDW_STATUS_BAR);
  ASSERT_TRUE(status);
  struct {
    WORD vk;
    int pane;
    const char* text;
  } keys[] = {{VK_KANA, 1, "ｶﾅ"}, {VK_CAPITAL, 2, "CAP"}, {VK_NUMLOCK, 3, "NUM"}, {VK_SCROLL, 4, "SCRL"}};
  for (const auto& k : keys) {
    SCOPED_TRACE(k.text);
    bool on = (::GetKeyState(k.vk) & 1) != 0;
    krtest::PressKeys(frame, {k.vk});
    EXPECT_TRUE(uitest::WaitFor([&] { return krtest::PaneText(status, k.pane) == (on ? "" : k.text); }, 5000))
        << krtest::PaneText(status, k.pane);
    krtest::PressKeys(frame, {k.vk});  // back as it was
    EXPECT_TRUE(uitest::WaitFor([&] { return krtest::PaneText(status, k.pane) == (on ? k.text : ""); }, 5000))
        << krtest::PaneText(status, k.pane);
  }
  Close(p, frame);
}
