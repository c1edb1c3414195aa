// The advanced options and the open-after-install file dialog through the real
// program: everything set once and saved, reopened, cancelled, then installed; Enter and
// Escape; the clearing buttons, which rebuild the trees from the disk.
#include "InstallHelpers.h"

using namespace uitest;
using namespace hbtest;

namespace {

const char kFolderHint[] = "☆初回ｲﾝｽﾄｰﾙ時のみ有効です。";
const char kReadMeHint[] = "☆ReadMe.txt等を指定します。";
const char kBrowseTitle[] = "☆ｲﾝｽﾄｰﾙ先のﾌｫﾙﾀﾞを選択してください(初回ｲﾝｽﾄｰﾙ時のみ有効)";

HWND Ctl(HWND dlg, int id) { return ::GetDlgItem(dlg, id); }

// The ticked items as "depth:label".
std::vector<std::string> Ticked(HWND tree, DWORD pid) {
  std::vector<std::string> out;
  for (const TreeItem& it : TreeItems(tree, pid))
    if (TreeChecked(tree, it.item)) out.push_back(std::to_string(it.depth) + ":" + it.text);
  return out;
}

bool HasItem(HWND tree, DWORD pid, const std::string& label) {
  for (const TreeItem& it : TreeItems(tree, pid))
    if (it.text == label) return true;
  return false;
}

std::vector<std::string> Names(HWND a) { return ListTexts(Ctl(a, IDC_ALT_NAMELIST)); }
std::string Joined(const std::vector<std::string>& v) {
  std::string s;
  for (const std::string& x : v) s += "[" + x + "]";
  return s;
}

const IniSection* Section(const std::vector<IniSection>& ini, const std::string& name) {
  for (const IniSection& s : ini)
    if (s.name == name) return &s;
  return nullptr;
}

// The first keys of a section (a list's count and its used entries; older entries
// beyond them stay in the file).
void ExpectKeys(const std::string& text, const std::string& name, const std::vector<IniKey>& keys) {
  std::vector<IniSection> ini = ParseIni(text);
  const IniSection* s = Section(ini, name);
  ASSERT_TRUE(s) << "no [" << name << "] in\n" << text;
  std::vector<IniKey> head(s->keys.begin(), s->keys.begin() + std::min(s->keys.size(), keys.size()));
  EXPECT_TRUE(head == keys) << "[" << name << "] is\n" << Describe(s->keys) << "expected\n" << Describe(keys);
}

HWND LoadingWindow(DWORD pid) { return FindWindowOf(pid, kLoadingCaption, false); }

// Clicks through the folder browser's tree to `path` (a path on a drive, no final "\"):
// the drive, then each folder, expanded in turn, then the folder selected.
bool PickInBrowser(HWND tree, DWORD pid, const std::string& path) {
  auto expand = [&](HTREEITEM h) {
    DWORD_PTR r = 0;
    ::SendMessageTimeoutA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(h), SMTO_ABORTIFHUNG, 10000, &r);
  };
  // the first item below `parent` (any depth when `parent` is null) whose label `fits`
  auto find = [&](HTREEITEM parent, const std::function<bool(const std::string&)>& fits) -> HTREEITEM {
    std::vector<TreeItem> items = TreeItems(tree, pid);
    int depth = -1;
    for (const TreeItem& it : items) {
      if (parent && it.item == parent) {
        depth = it.depth;
        continue;
      }
      if (parent && depth < 0) continue;
      if (parent && it.depth <= depth) break;
      if ((!parent || it.depth == depth + 1) && fits(it.text)) return it.item;
    }
    return nullptr;
  };
  const std::string drive = "(" + path.substr(0, 2) + ")";
  auto isDrive = [&](const std::string& l) {
    return l.size() >= drive.size() && l.compare(l.size() - drive.size(), drive.size(), drive) == 0;
  };
  HTREEITEM current = find(nullptr, isDrive);
  if (!current)
    for (const TreeItem& it : TreeItems(tree, pid))
      if (it.depth == 1) expand(it.item);
  if (!current) current = find(nullptr, isDrive);
  for (std::size_t pos = 3; current && pos < path.size();) {
    std::size_t end = std::min(path.find('\\', pos), path.size());
    const std::string part = path.substr(pos, end - pos);
    pos = end + 1;
    expand(current);
    current = find(current, [&](const std::string& l) { return ::lstrcmpiA(l.c_str(), part.c_str()) == 0; });
  }
  return current && TreeSelect(tree, current);
}

// Starts the program for authoring in the distribution, selects app.exe in the wizard
// and opens the advanced options; nullptr when one of them did not come.
HWND StartAdvanced(Process& p, const Dist& d, HWND& wizard) {
  wizard = p.Start(d.Exe(), "-s", d.Dir()) ? WaitWizard(p) : nullptr;
  if (!wizard) return nullptr;
  SelectExe(wizard, p.Pid());
  return OpenAdvanced(p, wizard);
}

}  // namespace

// One author's whole session: every option set (the folder typed and then picked in
// the browser, names, ticks, a renamed group shortcut, the open-after file), confirmed,
// opened again in the same run with a file unticked and ticked again, saved; then the
// program started again shows it all, and ｷｬﾝｾﾙ and the close box change nothing; an
// install of the distribution then does what the options say.
TEST(AdvancedOptions, OneSessionSavedReopenedAndCancelled) {
  PrefixRestore restore;
  const std::string pid = std::to_string(::GetCurrentProcessId());
  const std::string exe = "hbadv" + pid + ".exe", helper = "hbadv" + pid + ".dll", shared = "hbadv" + pid + ".ocx";
  const std::string readme = "readme.hbadv";  // opened through an association of the test's own
  // the fixed folder's candidates, and later the install folder, lie outside the distribution
  const std::string places = TempDir("hb_adv_places");
  restore.Remove(places);
  ASSERT_TRUE(MakeDirs(places + "固定先") && MakeDirs(places + "選んだ先"));
  Dist d("hb_adv_journey");
  const std::string& D = d.Dir();
  d.File(exe, Bytes(ModuleDir() + "hbrecorder.exe"));
  d.File(readme, "readme");
  d.File("doc\\manual.html", "manual");
  d.File("doc\\images\\logo.bmp");
  d.File("sys\\" + helper, "helper");
  d.File("sys\\" + shared, "shared");
  const std::string root = D.substr(0, D.size() - 1);

  std::string saved;
  {
    Process p;
    ASSERT_TRUE(p.Start(d.Exe(), "-s", D));
    HWND w = WaitWizard(p);
    ASSERT_TRUE(w);
    SelectExe(w, p.Pid(), exe);
    ASSERT_TRUE(SetText(w, IDC_DELAY, "0"));  // no pause in the install below
    HWND loading = LoadingWindow(p.Pid());
    ASSERT_TRUE(loading);
    EXPECT_EQ(::GetWindowLongA(loading, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    ASSERT_EQ(Beeps(w), "");

    HWND a = OpenAdvanced(p, w);
    ASSERT_TRUE(a) << "高度な設定 opened nothing";
    EXPECT_EQ(::GetWindow(a, GW_OWNER), w);
    EXPECT_FALSE(::IsWindowEnabled(w)) << "modal over the wizard";
    EXPECT_FALSE(::IsWindowVisible(loading)) << "hidden once the trees are filled";
    EXPECT_NE(::GetWindowLongA(loading, GWL_EXSTYLE) & WS_EX_TOPMOST, 0) << "shown on top while they filled";
    EXPECT_EQ(Beeps(w), "500/10 500/10") << "the wizard's beep, then the dialog's when it is ready";
    // a distribution without advanced options
    EXPECT_EQ(GetText(a, IDC_ALT_INSTALLDIR), kFolderHint);
    EXPECT_EQ(GetText(a, IDC_ALT_SHORTCUT), "");
    EXPECT_EQ(GetText(a, IDC_ALT_GROUP), "");
    EXPECT_EQ(GetText(a, IDC_ALT_READMETEXT), kReadMeHint);
    EXPECT_EQ(GetCheck(a, IDC_ALT_EXECUTE), BST_UNCHECKED);
    EXPECT_TRUE(Names(a).empty());
    EXPECT_FALSE(IsVisible(a, IDC_ALT_NAMEEDIT));
    HWND group = Ctl(a, IDC_ALT_GROUPTREE), system = Ctl(a, IDC_ALT_SYSTEMTREE);
    EXPECT_EQ(TreeLines(group, p.Pid()), TreeLines(system, p.Pid()));
    EXPECT_EQ(TreeItems(group, p.Pid()).size(), 10u) << "root, 3 folders, 6 files";
    EXPECT_TRUE(Ticked(group, p.Pid()).empty());
    EXPECT_NE(::GetWindowLongA(group, GWL_STYLE) & TVS_CHECKBOXES, 0);

    // a folder typed without its backslash gets one; a cancelled browser keeps it, then
    // the browser picks another
    TypeInto(a, IDC_ALT_INSTALLDIR, places + "固定先", IDC_ALT_SHORTCUT);
    EXPECT_EQ(GetText(a, IDC_ALT_INSTALLDIR), places + "固定先\\");
    ASSERT_TRUE(Click(a, IDC_ALT_SETDIR));
    HWND browser = WaitOtherDialog(p.Pid(), {w, a});
    ASSERT_TRUE(browser) << "no folder browser";
    ::PostMessageA(browser, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitGone(browser));
    EXPECT_TRUE(WaitFor([&] { return Beeps(w) == "500/10 500/10 500/10 500/10"; }, 5000)) << Beeps(w);
    EXPECT_EQ(GetText(a, IDC_ALT_INSTALLDIR), places + "固定先\\") << "the cancelled browser changed the folder";
    ASSERT_TRUE(Click(a, IDC_ALT_SETDIR));
    browser = WaitOtherDialog(p.Pid(), {w, a});
    ASSERT_TRUE(browser) << "no folder browser";
    EXPECT_EQ(::GetWindow(browser, GW_OWNER), a);
    EXPECT_TRUE(ChildWithText(browser, kBrowseTitle)) << "the browser's title";
    // Wine's browser does not always show the folder it was opened at, so the test does
    // not look; it clicks its way to another one
    const std::string picked = places + "選んだ先";
    HWND browserTree = ChildOfClass(browser, "SysTreeView32");
    ASSERT_TRUE(browserTree && PickInBrowser(browserTree, p.Pid(), picked)) << "no " << picked << " in the browser";
    ::PostMessageA(browser, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitGone(browser));
    EXPECT_TRUE(WaitFor([&] { return GetText(a, IDC_ALT_INSTALLDIR) == picked + "\\"; }, 5000))
        << GetText(a, IDC_ALT_INSTALLDIR);
    EXPECT_EQ(Beeps(w), "500/10 500/10 500/10 500/10 500/10 500/10") << "a beep before and after the browser";

    TypeInto(a, IDC_ALT_SHORTCUT, "打鍵丸を起動", IDC_ALT_GROUP);
    TypeInto(a, IDC_ALT_GROUP, "打鍵丸グループ", IDC_ALT_GROUPTREE);

    // two group files, one of them a folder; the list follows on 更新
    Tick(group, p.Pid(), {"doc"});
    Tick(group, p.Pid(), {readme});
    ASSERT_TRUE(Click(a, IDC_ALT_REFRESHNAMES));
    ASSERT_TRUE(WaitFor([&] { return Names(a) == std::vector<std::string>{"doc", "readme"}; }, 5000))
        << Joined(Names(a));

    // the second name renamed in place
    HWND list = Ctl(a, IDC_ALT_NAMELIST);
    ASSERT_TRUE(DoubleClickListEntry(list, 1));
    HWND editor = Ctl(a, IDC_ALT_NAMEEDIT);
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(editor) && FocusOf(a) == editor; }, 5000))
        << "no editor with the focus";
    EXPECT_EQ(GetText(editor), "readme");
    RECT rcEdit, rcList;
    ::GetWindowRect(editor, &rcEdit);
    ::GetClientRect(list, &rcList);
    ::MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&rcList), 2);
    const LONG itemHeight = static_cast<LONG>(::SendMessageA(list, LB_GETITEMHEIGHT, 1, 0));
    EXPECT_EQ(rcEdit.left, rcList.left);
    EXPECT_EQ(rcEdit.top, rcList.top + itemHeight) << "over the second entry";
    EXPECT_EQ(rcEdit.bottom - rcEdit.top, itemHeight);
    ASSERT_TRUE(SetText(a, IDC_ALT_NAMEEDIT, "お読みください"));
    FocusControl(a, IDC_ALT_EXECUTE);
    EXPECT_TRUE(WaitFor([&] { return !::IsWindowVisible(editor); }, 5000));
    EXPECT_EQ(Names(a), (std::vector<std::string>{"doc", "お読みください"}));
    EXPECT_EQ(FocusOf(a), list) << "the focus goes back to the list";

    Tick(system, p.Pid(), {"sys", helper});
    Tick(system, p.Pid(), {"sys", shared});
    ASSERT_TRUE(Click(a, IDC_ALT_EXECUTE));
    ASSERT_TRUE(WaitFor([&] { return GetCheck(a, IDC_ALT_EXECUTE) == BST_CHECKED; }, 5000));

    // the open-after file: first a folder, then, opened at that folder, the read-me
    HWND f = OpenFileDialog(p, a);
    ASSERT_TRUE(f);
    EXPECT_EQ(::GetWindow(f, GW_OWNER), a);
    EXPECT_FALSE(::IsWindowEnabled(a));
    EXPECT_FALSE(::IsWindowVisible(loading));
    EXPECT_EQ(SelectedLabel(Ctl(f, IDC_AI_TREE), p.Pid()), root) << "the setup folder is the root";
    EXPECT_EQ(Beeps(w), "500/10 500/10 500/10 500/10 500/10 500/10 500/10");
    ChooseInFileDialog(f, p.Pid(), {"doc"});
    ExpectReadMe(a, D + "doc\\");
    f = OpenFileDialog(p, a);
    ASSERT_TRUE(f);
    EXPECT_EQ(SelectedLabel(Ctl(f, IDC_AI_TREE), p.Pid()), "doc");
    ChooseInFileDialog(f, p.Pid(), {readme});
    ExpectReadMe(a, D + readme);

    Confirm(a, w);
    EXPECT_EQ(Beeps(w), "500/10 500/10 500/10 500/10 500/10 500/10 500/10 500/10 500/10")
        << "and one when the dialog closed";

    // again in the same run: what was confirmed; doc unticked and confirmed
    a = OpenAdvanced(p, w);
    ASSERT_TRUE(a);
    group = Ctl(a, IDC_ALT_GROUPTREE);
    EXPECT_EQ(Ticked(group, p.Pid()), (std::vector<std::string>{"1:doc", "1:" + readme}));
    EXPECT_EQ(Names(a), (std::vector<std::string>{"doc", "お読みください"}));
    Tick(group, p.Pid(), {"doc"}, false);
    Confirm(a, w);
    // and once more: doc ticked again while the tree has the focus gets its own name
    // when the focus leaves it, the read-me keeps the one it was given
    a = OpenAdvanced(p, w);
    ASSERT_TRUE(a);
    group = Ctl(a, IDC_ALT_GROUPTREE);
    EXPECT_EQ(Names(a), (std::vector<std::string>{"お読みください"}));
    FocusControl(a, IDC_ALT_GROUPTREE);
    Tick(group, p.Pid(), {"doc"});
    FocusControl(a, IDC_ALT_SHORTCUT);
    EXPECT_TRUE(WaitFor([&] { return Names(a) == std::vector<std::string>{"doc", "お読みください"}; }, 5000))
        << Joined(Names(a));
    Confirm(a, w);
    SaveAndExpectEnd(p, w);
  }

  saved = d.Ini();
  ExpectKeys(saved, "Altitude",
             {{"InstallDir", places + "選んだ先\\"},
              {"PrgShortCut", "打鍵丸を起動"},
              {"PrgGroup", "打鍵丸グループ"},
              {"Execute", "1"},
              {"ReadMe", D + readme}});
  ExpectKeys(saved, "AltitudeGroup", {{"Files", "3"}, {"_g0", D}, {"_g1", D + "doc\\"}, {"_g2", D + readme}});
  ExpectKeys(saved, "AltitudeGrpSC", {{"Files", "3"}, {"_c0", "Dummy"}, {"_c1", "doc"}, {"_c2", "お読みください"}});
  ExpectKeys(saved, "AltitudeSystem",
             {{"Files", "3"}, {"_s0", D}, {"_s1", D + "sys\\" + helper}, {"_s2", D + "sys\\" + shared}});
  for (const char* s : {"AltitudeGroup", "AltitudeGrpSC", "AltitudeSystem"}) {
    const IniSection* sec = Section(ParseIni(saved), s);
    ASSERT_TRUE(sec);
    EXPECT_EQ(sec->keys.size(), 4u) << s << " has no entries beyond its count";
  }

  // a new run shows it all; ｷｬﾝｾﾙ and the close box after changes keep it
  Process p;
  ASSERT_TRUE(p.Start(d.Exe(), "-s", D));
  HWND w = WaitWizard(p);
  ASSERT_TRUE(w);
  for (int round = 0; round < 3; ++round) {
    SCOPED_TRACE(round == 0 ? "reopened" : round == 1 ? "after ｷｬﾝｾﾙ" : "after the close box");
    HWND a = OpenAdvanced(p, w);
    ASSERT_TRUE(a);
    HWND group = Ctl(a, IDC_ALT_GROUPTREE), system = Ctl(a, IDC_ALT_SYSTEMTREE);
    EXPECT_EQ(GetText(a, IDC_ALT_INSTALLDIR), places + "選んだ先\\");
    EXPECT_EQ(GetText(a, IDC_ALT_SHORTCUT), "打鍵丸を起動");
    EXPECT_EQ(GetText(a, IDC_ALT_GROUP), "打鍵丸グループ");
    EXPECT_EQ(Ticked(group, p.Pid()), (std::vector<std::string>{"1:doc", "1:" + readme}));
    EXPECT_EQ(SelectedLabel(group, p.Pid()), "doc") << "the first group file is selected";
    EXPECT_EQ(Names(a), (std::vector<std::string>{"doc", "お読みください"}));
    EXPECT_EQ(Ticked(system, p.Pid()), (std::vector<std::string>{"2:" + helper, "2:" + shared}));
    EXPECT_EQ(GetCheck(a, IDC_ALT_EXECUTE), BST_CHECKED);
    EXPECT_EQ(GetText(a, IDC_ALT_READMETEXT), D + readme);
    if (round == 0) {
      // changes of every kind, then ｷｬﾝｾﾙ
      TypeInto(a, IDC_ALT_INSTALLDIR, "", IDC_ALT_GROUP);
      EXPECT_EQ(GetText(a, IDC_ALT_INSTALLDIR), kFolderHint) << "emptied, the hint comes back";
      TypeInto(a, IDC_ALT_GROUP, "変えたグループ", IDC_ALT_SHORTCUT);
      Tick(group, p.Pid(), {readme}, false);
      ASSERT_TRUE(Click(a, IDC_ALT_REFRESHNAMES));
      ASSERT_TRUE(WaitFor([&] { return Names(a).size() == 1; }, 5000));
      ASSERT_TRUE(Click(a, IDC_ALT_EXECUTE));
      ASSERT_TRUE(Click(a, IDCANCEL));
    } else if (round == 1) {
      // 全て解除 and more, then the close box
      TypeInto(a, IDC_ALT_SHORTCUT, "別の名前", IDC_ALT_GROUP);
      Tick(system, p.Pid(), {"sys", helper}, false);
      ASSERT_TRUE(Click(a, IDC_ALT_CLEARALL));
      ASSERT_TRUE(WaitFor([&] { return GetText(a, IDC_ALT_READMETEXT) == kReadMeHint; }, 5000));
      ::PostMessageA(a, WM_CLOSE, 0, 0);
    } else {
      ASSERT_TRUE(Click(a, IDCANCEL));
    }
    ASSERT_TRUE(WaitGone(a));
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowEnabled(w) != FALSE; }));
  }
  SaveAndExpectEnd(p, w);
  EXPECT_EQ(d.Ini(), saved) << "cancelled and closed options are not saved";

  // an install of the distribution honours it all
  const std::string win = WindowsDir(), programs = RegValue(HKEY_CURRENT_USER, kShellFolders, "Programs") + "\\";
  const std::string target = places + "選んだ先\\", group = "打鍵丸グループ", exeTitle = exe.substr(0, exe.size() - 4);
  for (const std::string& f : {helper, shared}) restore.WindowsFile(f);
  restore.Remove(programs + group);
  restore.Key(HKEY_LOCAL_MACHINE, kUninstallBase + exeTitle);
  const std::string handler = places + "open.exe", progId = "HbAdvReadMe", command = "\"" + handler + "\" \"%1\"";
  ASSERT_TRUE(::CopyFileA((ModuleDir() + "hbrecorder.exe").c_str(), handler.c_str(), FALSE));
  restore.Key(HKEY_CLASSES_ROOT, ".hbadv");
  restore.Key(HKEY_CLASSES_ROOT, progId);
  SetRegValue(HKEY_CLASSES_ROOT, ".hbadv", "", &progId);
  SetRegValue(HKEY_CLASSES_ROOT, progId + "\\shell\\open\\command", "", &command);
  {
    Process inst;
    ASSERT_TRUE(inst.Start(d.Exe(), "", D));
    HWND iw = WaitWizard(inst);
    ASSERT_TRUE(iw);
    EXPECT_EQ(GetText(iw, IDC_INSTALLDIR), target) << "the fixed folder is proposed";
    SetCheck(iw, IDC_STARTUP, false);
    SetCheck(iw, IDC_PROGRAM, true);
    SetCheck(iw, IDC_DESKTOP, false);
    MessageBoxInfo box = Install(iw, inst.Pid());
    EXPECT_EQ(box.text, "★ｲﾝｽﾄｰﾙは正常に終了しました。");
    ASSERT_TRUE(Answer(box, IDOK));
    EXPECT_TRUE(inst.WaitExit());
  }
  auto linksTo = [](const std::string& lnk, std::string want) {
    std::string got = ShortcutTarget(lnk + ".lnk");
    if (!got.empty() && got.back() == '\\') got.pop_back();
    if (want.back() == '\\') want.pop_back();
    return ::lstrcmpiA(got.c_str(), want.c_str()) == 0 ? std::string("ok") : lnk + " -> " + got;
  };
  EXPECT_EQ(linksTo(programs + group + "\\打鍵丸を起動", target + exe), "ok");
  EXPECT_EQ(linksTo(programs + group + "\\doc", target + "doc\\"), "ok");
  EXPECT_EQ(linksTo(programs + group + "\\お読みください", target + readme), "ok") << "the renamed group shortcut";
  for (const std::string& f : {helper, shared}) {
    EXPECT_EQ(Bytes(win + f), f == helper ? "helper" : "shared");
    EXPECT_FALSE(Exists(target + "sys\\" + f)) << f << " went to the Windows folder instead";
  }
  // the application and the read-me started after the install, in the install folder
  std::string ran, opened;
  EXPECT_TRUE(WaitFor([&] { return ReadFile(target + exe + ".txt", ran); })) << "the application was not started";
  EXPECT_NE(ran.find(target.substr(0, target.size() - 1) + "\n"), std::string::npos) << ran;
  EXPECT_TRUE(WaitFor([&] { return ReadFile(handler + ".txt", opened); })) << "the read-me was not opened";
  EXPECT_NE(opened.find(target + readme), std::string::npos) << opened;
}

// Enter in each edit moves the focus on, which commits the edit (and the in-place
// editor), and never presses 登録; Escape does nothing.
TEST(AdvancedOptions, EnterMovesTheFocusAndEscapeDoesNothing) {
  Dist d("hb_adv_keys");
  d.File("app.exe", "MZ");
  d.File("a.txt");
  Process p;
  HWND w = nullptr;
  HWND a = StartAdvanced(p, d, w);
  ASSERT_TRUE(a);

  const std::pair<int, const char*> edits[] = {
      {IDC_ALT_INSTALLDIR, "C:\\typed"}, {IDC_ALT_SHORTCUT, "短縮名"}, {IDC_ALT_GROUP, "群名"}};
  for (const auto& e : edits) {
    SCOPED_TRACE(e.second);
    FocusControl(a, e.first);
    ASSERT_TRUE(SetText(a, e.first, e.second));
    ASSERT_TRUE(PressKey(a, VK_RETURN));
    EXPECT_TRUE(WaitFor([&] { return FocusOf(a) != Ctl(a, e.first); }, 5000)) << "the focus stayed";
    EXPECT_TRUE(::IsWindowVisible(a)) << "Enter closed the dialog";
  }
  EXPECT_EQ(GetText(a, IDC_ALT_INSTALLDIR), "C:\\typed\\") << "left by Enter, the folder got its backslash";

  // the in-place editor: Enter commits it and the focus returns to the list
  Tick(Ctl(a, IDC_ALT_GROUPTREE), p.Pid(), {"a.txt"});
  ASSERT_TRUE(Click(a, IDC_ALT_REFRESHNAMES));
  ASSERT_TRUE(WaitFor([&] { return Names(a) == std::vector<std::string>{"a"}; }, 5000)) << Joined(Names(a));
  HWND editor = Ctl(a, IDC_ALT_NAMEEDIT);
  ASSERT_TRUE(DoubleClickListEntry(Ctl(a, IDC_ALT_NAMELIST), 0));
  ASSERT_TRUE(WaitFor([&] { return FocusOf(a) == editor; }, 5000));
  ASSERT_TRUE(SetText(a, IDC_ALT_NAMEEDIT, "新しい名前"));
  ASSERT_TRUE(PressKey(a, VK_RETURN));
  EXPECT_TRUE(WaitFor([&] { return !::IsWindowVisible(editor); }, 5000)) << "the editor stayed open";
  EXPECT_EQ(Names(a), (std::vector<std::string>{"新しい名前"}));
  EXPECT_EQ(FocusOf(a), Ctl(a, IDC_ALT_NAMELIST));

  // Escape in an edit and on a button: Enter typed after it still finds the dialog
  for (int id : {IDC_ALT_SHORTCUT, IDCANCEL}) {
    SCOPED_TRACE(id);
    FocusControl(a, id);
    ASSERT_TRUE(PressKey(a, VK_ESCAPE));
    ASSERT_TRUE(PressKey(a, VK_RETURN));
    EXPECT_TRUE(WaitFor([&] { return FocusOf(a) != Ctl(a, id); }, 5000));
    EXPECT_TRUE(::IsWindowVisible(a)) << "Escape closed the dialog";
  }

  Confirm(a, w);
  SaveAndExpectEnd(p, w);
  const std::string ini = d.Ini();
  ExpectKeys(ini, "Altitude", {{"InstallDir", "C:\\typed\\"}, {"PrgShortCut", "短縮名"}, {"PrgGroup", "群名"}});
  ExpectKeys(ini, "AltitudeGrpSC", {{"Files", "2"}, {"_c0", "Dummy"}, {"_c1", "新しい名前"}});
}

// 全解除 of the name list, of each tree and 全て解除: the trees are built again from
// the disk (a file added meanwhile appears, no ticks); the open-after file's dialog
// preselects the deepest existing folder of a path that is gone, and 解除, Escape and
// its close box clear the file.
TEST(AdvancedOptions, ClearingRebuildsFromTheDisk) {
  Dist d("hb_adv_clear");
  const std::string& D = d.Dir();
  d.File("app.exe", "MZ");
  d.File("a.txt");
  d.File("doc\\b.txt");
  d.File("sys\\x.dll");
  d.SetIni("[Altitude]\r\nInstallDir=E:\\Fixed\\\r\nPrgShortCut=短\r\nPrgGroup=群\r\nExecute=1\r\nReadMe=" + D +
           "doc\\gone.txt\r\n[AltitudeGroup]\r\nFiles=3\r\n_g0=" + D + "\r\n_g1=" + D + "a.txt\r\n_g2=" + D +
           "doc\\\r\n[AltitudeGrpSC]\r\nFiles=3\r\n_c0=Dummy\r\n_c1=名前A\r\n_c2=資料\r\n"
           "[AltitudeSystem]\r\nFiles=2\r\n_s0=" +
           D + "\r\n_s1=" + D + "sys\\x.dll\r\n");
  Process p;
  HWND w = nullptr;
  HWND a = StartAdvanced(p, d, w);
  ASSERT_TRUE(a);
  HWND group = Ctl(a, IDC_ALT_GROUPTREE), system = Ctl(a, IDC_ALT_SYSTEMTREE);
  EXPECT_EQ(GetText(a, IDC_ALT_INSTALLDIR), "E:\\Fixed\\");
  EXPECT_EQ(Ticked(group, p.Pid()), (std::vector<std::string>{"1:doc", "1:a.txt"}));
  EXPECT_EQ(Names(a), (std::vector<std::string>{"名前A", "資料"})) << "as stored, until 更新";
  EXPECT_EQ(Ticked(system, p.Pid()), (std::vector<std::string>{"2:x.dll"}));
  EXPECT_EQ(GetText(a, IDC_ALT_READMETEXT), D + "doc\\gone.txt");

  // the open-after file's dialog: a gone file's folder, then each way of clearing
  HWND f = OpenFileDialog(p, a);
  ASSERT_TRUE(f);
  EXPECT_EQ(SelectedLabel(Ctl(f, IDC_AI_TREE), p.Pid()), "doc");
  ASSERT_TRUE(Click(f, IDCANCEL));
  ASSERT_TRUE(WaitGone(f));
  ExpectReadMe(a, kReadMeHint);
  for (int way = 0; way < 2; ++way) {
    SCOPED_TRACE(way == 0 ? "Escape" : "close box");
    f = OpenFileDialog(p, a);
    ASSERT_TRUE(f);
    ChooseInFileDialog(f, p.Pid(), {"a.txt"});
    ExpectReadMe(a, D + "a.txt");
    f = OpenFileDialog(p, a);
    ASSERT_TRUE(f);
    EXPECT_EQ(SelectedLabel(Ctl(f, IDC_AI_TREE), p.Pid()), "a.txt");
    if (way == 0)
      ASSERT_TRUE(PressKey(f, VK_ESCAPE));
    else
      ::PostMessageA(f, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitGone(f));
    ExpectReadMe(a, kReadMeHint);
  }

  d.File("new.txt");
  ASSERT_TRUE(Click(a, IDC_ALT_CLEARNAMES));
  ASSERT_TRUE(WaitFor([&] { return Names(a).empty(); }, 5000));
  EXPECT_EQ(Ticked(group, p.Pid()).size(), 2u) << "the list's 全解除 leaves the ticks";
  EXPECT_FALSE(HasItem(group, p.Pid(), "new.txt"));
  ASSERT_TRUE(Click(a, IDC_ALT_CLEARGROUPTREE));
  ASSERT_TRUE(WaitFor([&] { return HasItem(group, p.Pid(), "new.txt"); }, 5000)) << "built again from the disk";
  EXPECT_TRUE(Ticked(group, p.Pid()).empty());
  EXPECT_EQ(Ticked(system, p.Pid()).size(), 1u) << "the other tree keeps its ticks";
  ASSERT_TRUE(Click(a, IDC_ALT_CLEARSYSTEMTREE));
  ASSERT_TRUE(WaitFor([&] { return HasItem(system, p.Pid(), "new.txt"); }, 5000));
  EXPECT_TRUE(Ticked(system, p.Pid()).empty());

  // ticks and names again, then 全て解除 clears everything
  Tick(group, p.Pid(), {"a.txt"});
  Tick(system, p.Pid(), {"sys", "x.dll"});
  ASSERT_TRUE(Click(a, IDC_ALT_REFRESHNAMES));
  ASSERT_TRUE(WaitFor([&] { return Names(a).size() == 1; }, 5000));
  f = OpenFileDialog(p, a);
  ASSERT_TRUE(f);
  ChooseInFileDialog(f, p.Pid(), {"doc", "b.txt"});
  ExpectReadMe(a, D + "doc\\b.txt");
  d.File("newer.txt");
  ASSERT_EQ(Beeps(w), "");
  ASSERT_TRUE(Click(a, IDC_ALT_CLEARALL));
  ASSERT_TRUE(WaitFor([&] { return HasItem(system, p.Pid(), "newer.txt"); }, 5000));
  EXPECT_EQ(Beeps(w), "500/10");
  EXPECT_EQ(GetText(a, IDC_ALT_INSTALLDIR), kFolderHint);
  EXPECT_EQ(GetText(a, IDC_ALT_SHORTCUT), "");
  EXPECT_EQ(GetText(a, IDC_ALT_GROUP), "");
  EXPECT_TRUE(Names(a).empty());
  EXPECT_TRUE(HasItem(group, p.Pid(), "newer.txt"));
  EXPECT_TRUE(Ticked(group, p.Pid()).empty());
  EXPECT_TRUE(Ticked(system, p.Pid()).empty());
  EXPECT_EQ(GetCheck(a, IDC_ALT_EXECUTE), BST_UNCHECKED);
  EXPECT_EQ(GetText(a, IDC_ALT_READMETEXT), kReadMeHint);

  // nothing ticked and no names: one group file (the root) and "Dummy"
  Confirm(a, w);
  SaveAndExpectEnd(p, w);
  const std::string ini = d.Ini();
  ExpectKeys(ini, "Altitude",
             {{"InstallDir", ""}, {"PrgShortCut", ""}, {"PrgGroup", ""}, {"Execute", "0"}, {"ReadMe", ""}});
  ExpectKeys(ini, "AltitudeGroup", {{"Files", "1"}, {"_g0", D}});
  ExpectKeys(ini, "AltitudeGrpSC", {{"Files", "1"}, {"_c0", "Dummy"}});
  ExpectKeys(ini, "AltitudeSystem", {{"Files", "1"}, {"_s0", D}});
}
