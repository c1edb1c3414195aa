// The authoring form through the real program: a distribution described and saved,
// read back key by key, reopened and saved again; the warning, cancel and failure
// boxes; the tree rebuilt with its selection; copied distributions; damaged files.
#include <algorithm>

#include "WizardHelpers.h"

using namespace uitest;
using namespace hbtest;

namespace {

const char kWarnCaption[] = "☆設定条件の不備☆";
const char kWarnText[] = "ｱﾌﾟﾘｹｰｼｮﾝの実行ﾌｧｲﾙが選択されていません！\n(ﾂﾘｰﾘｽﾄのﾌｧｲﾙ名を確認して下さい。)";

const char kTitle[] = "打鍵丸テスト版";
const char kCompany[] = "東方ソフト工房";
const char kLine0[] = "一行目：タイピング練習ソフトです。";
const char kLine1[] = "二行目 ﾊﾝｶｸも表示";
const char kLine2[] = "third line";

// A distribution with nested folders (one eleven levels deep), "Setup" look-alikes at
// several levels, hidden and read-only files, a Japanese file name.
void Populate(const Dist& d) {
  d.File("readme.txt");
  d.File("Zeta.TXT");
  d.File("説明書.txt");
  d.File("hidden.dat", "h", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);
  d.File("locked.txt", "r", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
  d.File("bin\\demo.exe", "MZ");
  d.File("bin\\setup.EXE");
  d.File("bin\\SETUP.ini", "[Setup]\r\nMode=1\r\n");
  d.File("bin\\Help\\help.txt");
  d.File("data\\a.dat");
  d.File("data\\B.dat");
  d.File("data\\sub\\c.dat");
  d.File("data\\sub\\SETUP.INI");
  d.File("data\\sub\\Setup.Exe");
  std::string deep = "d1\\d2\\d3\\d4\\d5\\d6\\d7\\d8\\d9\\d10\\";
  d.File(deep + "x.txt");
  d.File(deep + "d11\\deep.txt");
  d.File(deep + "d11\\setup.exe");
  d.Folder("empty");
}

// What the tree shows of that distribution, depth-first.
std::vector<std::string> ExpectedTree(const Dist& d) {
  std::string root = d.Dir().substr(0, d.Dir().size() - 1);
  std::vector<std::string> t = {"0:" + root, "1:bin", "2:Help", "3:help.txt", "2:demo.exe", "1:d1"};
  for (int i = 2; i <= 11; ++i) t.push_back(std::to_string(i) + ":d" + std::to_string(i));
  t.push_back("11:x.txt");  // d11 is shown without contents
  for (const char* s : {"1:data", "2:sub", "3:c.dat", "2:a.dat", "2:B.dat", "1:empty", "1:hidden.dat", "1:locked.txt",
                        "1:readme.txt", "1:Zeta.TXT", "1:説明書.txt"})
    t.push_back(s);
  return t;
}
constexpr int kExpectedFiles = 11;

std::string Attr(const std::string& path) { return std::to_string(::GetFileAttributesA(path.c_str())); }

// The [TreeCtrl] section the save must write: root, the root's children, then the
// children of each folder in walk order.
std::vector<IniKey> ExpectedTreeSection(const Dist& d, const std::string& select) {
  const std::string& D = d.Dir();
  std::vector<std::string> paths = {D,
                                    D + "bin\\",
                                    D + "d1\\",
                                    D + "data\\",
                                    D + "empty\\",
                                    D + "hidden.dat",
                                    D + "locked.txt",
                                    D + "readme.txt",
                                    D + "Zeta.TXT",
                                    D + "説明書.txt",
                                    D + "bin\\Help\\",
                                    D + "bin\\demo.exe",
                                    D + "bin\\Help\\help.txt"};
  std::string chain = D + "d1\\";
  for (int i = 2; i <= 11; ++i) paths.push_back(chain += "d" + std::to_string(i) + "\\");
  paths.push_back(D + "d1\\d2\\d3\\d4\\d5\\d6\\d7\\d8\\d9\\d10\\x.txt");
  for (const char* s : {"data\\sub\\", "data\\a.dat", "data\\B.dat", "data\\sub\\c.dat"}) paths.push_back(D + s);

  std::vector<IniKey> keys = {{"Select", select}, {"TopRoot", D}};
  for (std::size_t i = 0; i < paths.size(); ++i) {
    std::string p = paths[i];
    std::string attr = p.back() == '\\' ? "16" : Attr(p);
    keys.push_back({"_f" + std::to_string(i), p + "|" + attr});
  }
  keys.push_back({"Count", std::to_string(paths.size())});
  keys.push_back({"Files", std::to_string(kExpectedFiles)});
  return keys;
}

HWND Tree(HWND wizard) { return ::GetDlgItem(wizard, IDC_FILETREE); }

void SelectInTree(HWND wizard, DWORD pid, const std::vector<std::string>& labels) {
  HTREEITEM item = FindTreeItem(Tree(wizard), pid, labels);
  ASSERT_TRUE(item) << labels.back() << " not in the tree";
  ASSERT_TRUE(TreeSelect(Tree(wizard), item));
}

void ExpectWarningAndStay(Process& p, HWND wizard) {
  ASSERT_TRUE(Click(wizard, IDOK));
  MessageBoxInfo box = WaitMessageBox(p.Pid());
  ASSERT_TRUE(box.hwnd) << "no warning";
  EXPECT_EQ(box.caption, kWarnCaption);
  EXPECT_EQ(box.text, kWarnText);
  EXPECT_EQ(box.icon, Icon::Warning);
  ASSERT_TRUE(Answer(box, IDOK));
  ASSERT_TRUE(WaitGone(box.hwnd));
  EXPECT_TRUE(::IsWindowVisible(wizard)) << "the wizard must stay open";
  EXPECT_TRUE(IsEnabled(wizard, IDOK));
}

}  // namespace

TEST(Authoring, SaveReadBackReopenAndSaveAgain) {
  Dist d("hb_auth_save");
  Populate(d);
  ASSERT_NE(::GetFileAttributesA((d.Dir() + "hidden.dat").c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
  const std::string select = d.Dir() + "bin\\demo.exe";

  {
    Process p;
    ASSERT_TRUE(p.Start(d.Exe(), "", d.Dir()));  // no Setup.ini yet: authoring
    HWND w = WaitWizard(p);
    ASSERT_TRUE(w);
    // authoring form: the tree and the author's fields, none of the install form's
    for (int id : {IDC_TITLE_LABEL, IDC_TITLE,    IDC_VERSION,   IDC_SIDE_BITMAP,     IDC_COMMENTARY,
                   IDC_TREE_HINT,   IDC_FILETREE, IDC_FILECOUNT, IDC_FILECOUNT_LABEL, IDC_REFRESH,
                   IDC_STARTUP,     IDC_PROGRAM,  IDC_DESKTOP,   IDC_ALTITUDE,        IDC_COMPANY,
                   IDC_DELAY_LABEL, IDC_DELAY,    IDC_REBOOT,    IDC_BLUEBACK,        IDOK,
                   IDCANCEL})
      EXPECT_TRUE(IsVisible(w, id)) << id;
    for (int id :
         {IDC_BANNER, IDC_USERNAME_LABEL, IDC_USERNAME, IDC_ORGANIZATION_LABEL, IDC_ORGANIZATION, IDC_INSTALLDIR_FRAME,
          IDC_INSTALLDIR_LABEL, IDC_INSTALLDIR, IDC_BROWSE, IDC_COMPANY_LABEL, IDC_INSTALL_PROGRESS})
      EXPECT_FALSE(IsVisible(w, id)) << id;
    EXPECT_EQ(::GetWindowLongA(::GetDlgItem(w, IDC_COMMENTARY), GWL_STYLE) & ES_READONLY, 0) << "writable";
    EXPECT_FALSE(HasWindow(p.Pid(), kLoadingCaption)) << "loading window hidden after the initialisation";
    // defaults of a file that does not exist
    EXPECT_EQ(GetText(w, IDC_TITLE), "<<Title/Application Name.>>");
    EXPECT_EQ(GetText(w, IDC_VERSION), "Ver 1.00");
    EXPECT_EQ(GetText(w, IDC_COMPANY), "TOVANE Soft");
    EXPECT_EQ(GetText(w, IDC_COMMENTARY), "<<ｲﾝｽﾄｰﾙ情報>>\r\n　ここにｲﾝｽﾄｰﾙに関するﾃｷｽﾄを記述して下さい。");
    EXPECT_EQ(GetText(w, IDC_DELAY), "100");
    EXPECT_EQ(GetCheck(w, IDC_STARTUP), BST_UNCHECKED);
    EXPECT_EQ(GetCheck(w, IDC_PROGRAM), BST_CHECKED);
    EXPECT_EQ(GetCheck(w, IDC_DESKTOP), BST_CHECKED);
    EXPECT_EQ(GetCheck(w, IDC_REBOOT), BST_UNCHECKED);
    EXPECT_EQ(GetCheck(w, IDC_BLUEBACK), BST_CHECKED);

    EXPECT_EQ(TreeLines(Tree(w), p.Pid()), ExpectedTree(d));
    EXPECT_EQ(GetText(w, IDC_FILECOUNT), std::to_string(kExpectedFiles));

    SelectInTree(w, p.Pid(), {"bin", "demo.exe"});
    ASSERT_TRUE(SetText(w, IDC_TITLE, kTitle));
    ASSERT_TRUE(SetText(w, IDC_VERSION, "Ver 2.50"));
    ASSERT_TRUE(SetText(w, IDC_COMPANY, kCompany));
    ASSERT_TRUE(SetText(w, IDC_COMMENTARY, std::string(kLine0) + "\r\n" + kLine1 + "\r\n" + kLine2 + "\r\n"));
    ASSERT_TRUE(SetText(w, IDC_DELAY, "250"));
    SetCheck(w, IDC_STARTUP, true);
    SetCheck(w, IDC_PROGRAM, false);
    SetCheck(w, IDC_DESKTOP, true);
    SetCheck(w, IDC_REBOOT, true);
    SetCheck(w, IDC_BLUEBACK, false);
    SaveAndExpectEnd(p, w);
  }

  const std::string first = d.Ini();
  ExpectIni(
      first,
      {
          {"Setup", {{"Title", kTitle}, {"Version", "Ver 2.50"}, {"Name", kCompany}, {"Mode", "1"}, {"STime", "250"}}},
          {"Commentary", {{"Count", "3"}, {"_t0", kLine0}, {"_t1", kLine1}, {"_t2", kLine2}}},
          {"TreeCtrl", ExpectedTreeSection(d, select)},
          {"Option", {{"StartUp", "1"}, {"Program", "0"}, {"Desktop", "1"}, {"Reboot", "1"}, {"BlueBack", "0"}}},
          {"Altitude", {{"InstallDir", ""}, {"PrgShortCut", ""}, {"PrgGroup", ""}, {"Execute", "0"}, {"ReadMe", ""}}},
          {"AltitudeGroup", {{"Files", "0"}}},
          {"AltitudeGrpSC", {{"Files", "0"}}},
          {"AltitudeSystem", {{"Files", "0"}}},
      });

  // reopened with -s, every control shows what was saved; saved unchanged, the file stays
  {
    Process p;
    ASSERT_TRUE(p.Start(d.Exe(), "-s", d.Dir()));
    HWND w = WaitWizard(p);
    ASSERT_TRUE(w);
    EXPECT_EQ(GetText(w, IDC_TITLE), kTitle);
    EXPECT_EQ(GetText(w, IDC_VERSION), "Ver 2.50");
    EXPECT_EQ(GetText(w, IDC_COMPANY), kCompany);
    EXPECT_EQ(GetText(w, IDC_COMMENTARY), std::string(kLine0) + "\r\n" + kLine1 + "\r\n" + kLine2 + "\r\n");
    EXPECT_EQ(GetText(w, IDC_DELAY), "250");
    EXPECT_EQ(GetText(w, IDC_FILECOUNT), std::to_string(kExpectedFiles));
    EXPECT_EQ(GetCheck(w, IDC_STARTUP), BST_CHECKED);
    EXPECT_EQ(GetCheck(w, IDC_PROGRAM), BST_UNCHECKED);
    EXPECT_EQ(GetCheck(w, IDC_DESKTOP), BST_CHECKED);
    EXPECT_EQ(GetCheck(w, IDC_REBOOT), BST_CHECKED);
    EXPECT_EQ(GetCheck(w, IDC_BLUEBACK), BST_UNCHECKED);
    EXPECT_EQ(TreeLines(Tree(w), p.Pid()), ExpectedTree(d));
    EXPECT_EQ(TreeSelected(Tree(w)), FindTreeItem(Tree(w), p.Pid(), {"bin", "demo.exe"}));
    SaveAndExpectEnd(p, w);
  }
  EXPECT_EQ(d.Ini(), first) << "an unchanged save must leave the same file";

  // a read-only Setup.ini is made writable and saved
  ASSERT_TRUE(::SetFileAttributesA(d.IniPath().c_str(), FILE_ATTRIBUTE_READONLY));
  {
    Process p;
    ASSERT_TRUE(p.Start(d.Exe(), "-s", d.Dir()));
    HWND w = WaitWizard(p);
    ASSERT_TRUE(w);
    ASSERT_TRUE(SetText(w, IDC_DELAY, "0300"));  // stored as typed, even never left
    SaveAndExpectEnd(p, w);
  }
  EXPECT_EQ(::GetFileAttributesA(d.IniPath().c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
  std::vector<IniSection> third = ParseIni(d.Ini());
  ASSERT_FALSE(third.empty());
  EXPECT_EQ(third[0].keys[4], (IniKey{"STime", "0300"}));
}

TEST(Authoring, DescriptionIsStoredAsDisplayLines) {
  Dist d("hb_auth_desc");
  d.File("app.exe");
  std::string paragraph;
  for (int i = 0; i < 24; ++i) paragraph += "word" + std::to_string(i) + " ";
  paragraph += "end";
  {
    Process p;
    ASSERT_TRUE(p.Start(d.Exe(), "-s", d.Dir()));
    HWND w = WaitWizard(p);
    ASSERT_TRUE(w);
    SelectInTree(w, p.Pid(), {"app.exe"});
    // a wide paragraph with its break, then a line without one (never stored)
    ASSERT_TRUE(SetText(w, IDC_COMMENTARY, paragraph + "\r\nlast line"));
    SaveAndExpectEnd(p, w);
  }
  std::vector<IniSection> ini = ParseIni(d.Ini());
  ASSERT_GE(ini.size(), 2u);
  ASSERT_EQ(ini[1].name, "Commentary");
  int count = std::stoi(ini[1].keys.at(0).value);
  ASSERT_GE(count, 2) << "the paragraph is wider than the box and wraps";
  std::string joined, reopened;
  for (int i = 0; i < count; ++i) {
    const IniKey& k = ini[1].keys.at(static_cast<size_t>(i) + 1);
    EXPECT_EQ(k.key, "_t" + std::to_string(i));
    joined += k.value;
    reopened += k.value + "\r\n";
  }
  // the box may or may not keep the blank at a wrap point in the line before it
  auto words = [](std::string t) {
    t.erase(std::remove(t.begin(), t.end(), ' '), t.end());
    return t;
  };
  EXPECT_EQ(words(joined), words(paragraph)) << "the wrapped lines together are the paragraph: " << joined;
  EXPECT_LT(ini[1].keys.at(1).value.size(), paragraph.size());
  EXPECT_EQ(ini[1].keys.size(), static_cast<size_t>(count) + 1) << "the last line is not stored";

  // reopened, the box breaks at the stored wrap points; saved again, the same lines
  const std::string before = d.Ini();
  Process p;
  ASSERT_TRUE(p.Start(d.Exe(), "-s", d.Dir()));
  HWND w = WaitWizard(p);
  ASSERT_TRUE(w);
  EXPECT_EQ(GetText(w, IDC_COMMENTARY), reopened);
  SaveAndExpectEnd(p, w);
  EXPECT_EQ(d.Ini(), before);
}

TEST(Authoring, EmptyDescriptionAndUntouchedDefault) {
  Dist d("hb_auth_defdesc");
  d.File("app.exe");
  for (bool empty : {false, true}) {
    Process p;
    ASSERT_TRUE(p.Start(d.Exe(), "-s", d.Dir()));
    HWND w = WaitWizard(p);
    ASSERT_TRUE(w);
    SelectInTree(w, p.Pid(), {"app.exe"});
    if (empty) {
      ASSERT_TRUE(SetText(w, IDC_COMMENTARY, ""));
      ASSERT_TRUE(SetText(w, IDC_COMPANY, ""));
    }
    SaveAndExpectEnd(p, w);
    std::vector<IniSection> ini = ParseIni(d.Ini());
    ASSERT_GE(ini.size(), 2u);
    if (empty) {
      EXPECT_EQ(ini[0].keys.at(2), (IniKey{"Name", ""})) << "an emptied company name is written empty";
      EXPECT_EQ(ini[1].keys.at(0), (IniKey{"Count", "0"}));
    } else {
      // the default text has no break after its second line: only the first is stored
      ASSERT_EQ(ini[1].keys.size(), 2u);
      EXPECT_EQ(ini[1].keys[0], (IniKey{"Count", "1"}));
      EXPECT_EQ(ini[1].keys[1], (IniKey{"_t0", "<<ｲﾝｽﾄｰﾙ情報>>"}));
    }
  }
  // Count 0 opens with the default text again
  Process p;
  ASSERT_TRUE(p.Start(d.Exe(), "-s", d.Dir()));
  HWND w = WaitWizard(p);
  ASSERT_TRUE(w);
  EXPECT_EQ(GetText(w, IDC_COMMENTARY), "<<ｲﾝｽﾄｰﾙ情報>>\r\n　ここにｲﾝｽﾄｰﾙに関するﾃｷｽﾄを記述して下さい。");
}

TEST(Authoring, RefreshKeepsTheSelectionAndCountsAgain) {
  Dist d("hb_auth_refresh");
  Populate(d);
  Process p;
  ASSERT_TRUE(p.Start(d.Exe(), "-s", d.Dir()));
  HWND w = WaitWizard(p);
  ASSERT_TRUE(w);
  SelectInTree(w, p.Pid(), {"data", "sub", "c.dat"});
  d.File("data\\new.dat");  // found only by a rebuild from the disk
  ASSERT_EQ(Beeps(w), "");
  ASSERT_TRUE(Click(w, IDC_REFRESH));
  ASSERT_TRUE(WaitFor([&] { return GetText(w, IDC_FILECOUNT) == std::to_string(kExpectedFiles + 1); }))
      << GetText(w, IDC_FILECOUNT);
  ASSERT_TRUE(WaitFor([&] { return IsEnabled(w, IDOK) && IsEnabled(w, IDC_REFRESH); })) << "controls enabled again";
  EXPECT_FALSE(HasWindow(p.Pid(), kLoadingCaption));
  EXPECT_TRUE(FindTreeItem(Tree(w), p.Pid(), {"data", "new.dat"}));
  EXPECT_EQ(TreeSelected(Tree(w)), FindTreeItem(Tree(w), p.Pid(), {"data", "sub", "c.dat"}));
  EXPECT_EQ(SelectedLabel(Tree(w), p.Pid()), "c.dat");
  EXPECT_EQ(Beeps(w), "500/10 500/10") << "one beep as the rebuild starts, one as it ends";
}

TEST(Authoring, NoExecutableSelectedWarnsAndWritesNothing) {
  Dist d("hb_auth_warn");
  Populate(d);
  Process p;
  ASSERT_TRUE(p.Start(d.Exe(), "-s", d.Dir()));
  HWND w = WaitWizard(p);
  ASSERT_TRUE(w);
  ASSERT_EQ(TreeSelected(Tree(w)), nullptr);
  ExpectWarningAndStay(p, w);
  SelectInTree(w, p.Pid(), {"bin"});  // a folder is no executable
  ExpectWarningAndStay(p, w);
  SelectInTree(w, p.Pid(), {"bin", "Help"});
  ExpectWarningAndStay(p, w);
  EXPECT_EQ(::GetFileAttributesA(d.IniPath().c_str()), INVALID_FILE_ATTRIBUTES) << "nothing written";

  // then 中止: a beep and the authoring cancel box, the end, still nothing written
  ASSERT_EQ(Beeps(w), "");
  ASSERT_TRUE(Click(w, IDCANCEL));
  MessageBoxInfo box = WaitMessageBox(p.Pid());
  ASSERT_TRUE(box.hwnd);
  EXPECT_EQ(Beeps(w), "500/10");
  EXPECT_EQ(box.caption, "ｲﾝｽﾄｰﾙ情報設定の中止");
  EXPECT_EQ(box.text, "★ｾｯﾄｱｯﾌﾟの設定はｷｬﾝｾﾙされました。");
  EXPECT_EQ(box.icon, Icon::Warning);
  // the controls a long operation locks are disabled while the box is up, no others
  for (int id :
       {IDC_BROWSE, IDC_REFRESH, IDC_ALTITUDE, IDOK, IDCANCEL, IDC_PROGRAM, IDC_STARTUP, IDC_DESKTOP, IDC_INSTALLDIR})
    EXPECT_FALSE(IsEnabled(w, id)) << id;
  for (int id :
       {IDC_TITLE, IDC_VERSION, IDC_COMMENTARY, IDC_FILETREE, IDC_COMPANY, IDC_DELAY, IDC_REBOOT, IDC_BLUEBACK})
    EXPECT_TRUE(IsEnabled(w, id)) << id;
  ASSERT_TRUE(Answer(box, IDOK));
  EXPECT_TRUE(p.WaitExit());
  EXPECT_EQ(::GetFileAttributesA(d.IniPath().c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(Authoring, CancelLeavesAnAuthoredFileAlone) {
  Dist d("hb_auth_cancel");
  d.File("app.exe");
  const std::string ini = "[Setup]\r\nTitle=Keep\r\nMode=1\r\n";
  d.SetIni(ini);
  Process p;
  ASSERT_TRUE(p.Start(d.Exe(), "-s", d.Dir()));
  HWND w = WaitWizard(p);
  ASSERT_TRUE(w);
  SelectInTree(w, p.Pid(), {"app.exe"});
  ASSERT_TRUE(SetText(w, IDC_TITLE, "Changed"));
  ::PostMessageA(w, WM_CLOSE, 0, 0);  // the close box cancels like 中止
  MessageBoxInfo box = WaitMessageBox(p.Pid());
  ASSERT_TRUE(box.hwnd);
  EXPECT_EQ(box.caption, "ｲﾝｽﾄｰﾙ情報設定の中止");
  ASSERT_TRUE(Answer(box, IDOK));
  EXPECT_TRUE(p.WaitExit());
  EXPECT_EQ(d.Ini(), ini);
}

TEST(Authoring, FailedFirstWriteShowsTheFailureBoxAndWritesNothing) {
  Dist d("hb_auth_fail");
  d.File("app.exe");
  d.Folder("Setup.ini");  // a folder where the file should be: the first write fails
  Process p;
  ASSERT_TRUE(p.Start(d.Exe(), "-s", d.Dir()));
  HWND w = WaitWizard(p);
  ASSERT_TRUE(w);
  SelectInTree(w, p.Pid(), {"app.exe"});
  ASSERT_EQ(Beeps(w), "");
  ASSERT_TRUE(Click(w, IDOK));
  MessageBoxInfo box = WaitMessageBox(p.Pid());
  ASSERT_TRUE(box.hwnd);
  EXPECT_EQ(Beeps(w), "") << "the failure box comes without a beep";
  EXPECT_EQ(box.caption, "☆ｾｯﾄｱｯﾌﾟ情報登録異常通知...");
  EXPECT_EQ(box.text,
            "☆ｾｯﾄｱｯﾌﾟ情報ﾌｧｲﾙ《 Setup.ini 》に正しく記録できません。\n\n"
            "　　機器の接続状況等を確認してください。処理を中断します。");
  EXPECT_EQ(box.icon, Icon::Stop);
  EXPECT_EQ(::GetWindow(box.hwnd, GW_OWNER), w);
  EXPECT_FALSE(IsEnabled(w, IDOK)) << "the save runs with the controls locked";
  ASSERT_TRUE(Answer(box, IDOK));
  EXPECT_TRUE(p.WaitExit()) << "the wizard closes as after a save";
  EXPECT_NE(::GetFileAttributesA(d.IniPath().c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
}

// A distribution authored in one folder and copied to another: every stored path is
// rebased, and the next save describes the folder the file lies in.
TEST(Authoring, CopiedDistributionIsRebased) {
  Dist a("hb_auth_orig");
  Populate(a);
  {
    Process p;
    ASSERT_TRUE(p.Start(a.Exe(), "-s", a.Dir()));
    HWND w = WaitWizard(p);
    ASSERT_TRUE(w);
    SelectInTree(w, p.Pid(), {"bin", "demo.exe"});
    SaveAndExpectEnd(p, w);
  }
  // the advanced options' lists, as that dialog writes them, with the original paths
  std::string lists = "[AltitudeGroup]\r\nFiles=2\r\n_g0=" + a.Dir() + "\r\n_g1=" + a.Dir() +
                      "readme.txt\r\n[AltitudeGrpSC]\r\nFiles=2\r\n_c0=Dummy\r\n_c1=読んでね\r\n"
                      "[AltitudeSystem]\r\nFiles=2\r\n_s0=" +
                      a.Dir() + "\r\n_s1=" + a.Dir() + "data\\a.dat\r\n";
  std::string authored = a.Ini();
  for (const char* sec : {"[AltitudeGroup]", "[AltitudeGrpSC]", "[AltitudeSystem]"})
    authored = authored.substr(0, authored.find(sec));  // the empty lists of the save go
  authored += lists;
  std::size_t readMe = authored.find("ReadMe=");
  ASSERT_NE(readMe, std::string::npos);
  authored.insert(readMe + 7, a.Dir() + "readme.txt");
  a.SetIni(authored);

  Dist b("hb_auth_copy");
  Populate(b);
  b.SetIni(authored);
  {
    Process p;
    ASSERT_TRUE(p.Start(b.Exe(), "-s", b.Dir()));
    HWND w = WaitWizard(p);
    ASSERT_TRUE(w);
    EXPECT_EQ(TreeLines(Tree(w), p.Pid()), ExpectedTree(b)) << "loaded from the file, rebased";
    EXPECT_EQ(TreeSelected(Tree(w)), FindTreeItem(Tree(w), p.Pid(), {"bin", "demo.exe"}));
    SaveAndExpectEnd(p, w);
  }
  // the saved file is the original with every path moved to the copy
  std::string expected = authored;
  for (std::size_t pos = 0; (pos = expected.find(a.Dir(), pos)) != std::string::npos; pos += b.Dir().size())
    expected.replace(pos, a.Dir().size(), b.Dir());
  std::vector<IniSection> want = ParseIni(expected);
  ExpectIni(b.Ini(), want);
  EXPECT_EQ(b.Ini().find(a.Dir()), std::string::npos) << "no path of the original is left";
}

// Damaged [TreeCtrl] and list counts: the wizard opens, shows a tree, and ends normally.
TEST(Authoring, DamagedFilesNeverCrashOrHang) {
  Dist d("hb_auth_damaged");
  d.File("app.exe");
  d.File("data\\a.dat");
  std::string longValue(5000, 'L');
  const std::string cases[] = {
      "[TreeCtrl]\r\nCount=-5\r\nFiles=-3\r\n",
      "[TreeCtrl]\r\nCount=2000000000\r\n_f0=" + d.Dir() + "|16\r\n",
      "[TreeCtrl]\r\nCount=3\r\n_f0=" + d.Dir() + "|16\r\n_f1=no bar here\r\n_f2=" + d.Dir() + "app.exe|32\r\n",
      "[TreeCtrl]\r\nCount=3\r\n_f0=C:\\elsewhere\\|16\r\n_f1=C:\\elsewhere\\x\\y\\z.txt|32\r\n_f2=Q:\\|16\r\n"
      "Select=Z:\\nowhere\\at\\all.exe\r\n",
      "[TreeCtrl]\r\nCount=2\r\n_f0=" + d.Dir() + longValue + "|16\r\n_f1=" + longValue + "|" + longValue +
          "\r\nSelect=" + longValue + "\r\nTopRoot=" + longValue + "\r\n",
      "[Commentary]\r\nCount=2000000000\r\n_t0=" + longValue +
          "\r\n[AltitudeGroup]\r\nFiles=999999\r\n"
          "[AltitudeGrpSC]\r\nFiles=-1\r\n[AltitudeSystem]\r\nFiles=2147483647\r\n[Altitude]\r\nInstallDir=" +
          longValue + "\r\nReadMe=" + longValue + "\r\n[Setup]\r\nTitle=" + longValue + "\r\nSTime=-9\r\n",
  };
  int n = 0;
  for (const std::string& ini : cases) {
    SCOPED_TRACE("case " + std::to_string(n++));
    d.SetIni(ini);
    Process p;
    ASSERT_TRUE(p.Start(d.Exe(), "-s", d.Dir()));
    HWND w = WaitWizard(p, 60000);
    ASSERT_TRUE(w) << "the wizard did not open";
    EXPECT_FALSE(TreeItems(Tree(w), p.Pid()).empty()) << "a tree is shown";
    EXPECT_LE(GetText(w, IDC_TITLE).size(), 49u);
    ASSERT_TRUE(Click(w, IDCANCEL));
    MessageBoxInfo box = WaitMessageBox(p.Pid());
    ASSERT_TRUE(box.hwnd) << "the wizard stopped answering";
    ASSERT_TRUE(Answer(box, IDOK));
    DWORD code = 1;
    EXPECT_TRUE(p.WaitExit(kDefaultTimeoutMs, &code));
    EXPECT_EQ(code, 0u) << "ended normally";
  }
}

TEST(Authoring, DelayIsNormalisedWhenLeft) {
  Dist d("hb_auth_delay");
  d.File("app.exe");
  Process p;
  ASSERT_TRUE(p.Start(d.Exe(), "-s", d.Dir()));
  HWND w = WaitWizard(p);
  ASSERT_TRUE(w);
  const std::pair<const char*, const char*> cases[] = {{"-5", "0"},  {"", "0"},      {"0", "0"},
                                                       {"abc", "0"}, {"250", "250"}, {"4294967295", "4294967295"}};
  for (const auto& c : cases) {
    FocusControl(w, IDC_DELAY);
    ASSERT_TRUE(SetText(w, IDC_DELAY, c.first));
    FocusControl(w, IDC_TITLE);
    EXPECT_TRUE(WaitFor([&] { return GetText(w, IDC_DELAY) == c.second; }, 5000))
        << "'" << c.first << "' became '" << GetText(w, IDC_DELAY) << "'";
  }
}

// A stored Count of 0 asks for the default description; a negative one is damage and
// opens an empty box; a huge one is read only up to the cut, quickly.
TEST(Authoring, DamagedDescriptionCounts) {
  Dist d("hb_auth_desccount");
  d.File("app.exe");
  std::string tenThousandBreaks;
  for (int i = 1; i < 10000; ++i) tenThousandBreaks += "\r\n";
  const std::pair<std::string, std::string> cases[] = {
      {"[Commentary]\r\nCount=-3\r\n_t0=stale line\r\n", ""},
      {"[Commentary]\r\nCount=2000000000\r\n_t0=first\r\n", "first\r\n" + tenThousandBreaks},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.first);
    d.SetIni(c.first);
    Process p;
    ASSERT_TRUE(p.Start(d.Exe(), "-s", d.Dir()));
    HWND w = WaitWizard(p);
    ASSERT_TRUE(w);
    std::string text = GetText(w, IDC_COMMENTARY);
    EXPECT_EQ(text.size(), c.second.size());
    EXPECT_TRUE(text == c.second) << text.substr(0, 80);
    ASSERT_TRUE(Click(w, IDCANCEL));
    MessageBoxInfo box = WaitMessageBox(p.Pid());
    ASSERT_TRUE(box.hwnd);
    ASSERT_TRUE(Answer(box, IDOK));
    EXPECT_TRUE(p.WaitExit());
  }
}

namespace {
const IniSection* FindSection(const std::vector<IniSection>& ini, const std::string& name) {
  for (const IniSection& s : ini)
    if (s.name == name) return &s;
  return nullptr;
}
}  // namespace

// List counts beyond the arrays are cut to the arrays' capacity less one (the tree's
// items + 50 - 1), so the save writes what the arrays hold and nothing more.
TEST(Authoring, DamagedListCountsAreCutToTheArrays) {
  Dist d("hb_auth_listcut");
  d.File("app.exe");
  d.File("data\\a.dat");  // the tree: root, data, a.dat, app.exe
  const int kCut = 4 + 50 - 1;
  d.SetIni("[AltitudeGroup]\r\nFiles=999999\r\n_g0=" + d.Dir() + "\r\n_g1=" + d.Dir() +
           "app.exe\r\n[AltitudeGrpSC]\r\nFiles=-1\r\n_c0=Dummy\r\n"
           "[AltitudeSystem]\r\nFiles=2147483647\r\n_s0=" +
           d.Dir() + "\r\n_s60=beyond\r\n");
  {
    Process p;
    ASSERT_TRUE(p.Start(d.Exe(), "-s", d.Dir()));
    HWND w = WaitWizard(p);
    ASSERT_TRUE(w);
    ASSERT_EQ(TreeItems(Tree(w), p.Pid()).size(), 4u);
    SelectInTree(w, p.Pid(), {"app.exe"});
    SaveAndExpectEnd(p, w);
  }
  std::vector<IniSection> ini = ParseIni(d.Ini());
  const IniSection* group = FindSection(ini, "AltitudeGroup");
  const IniSection* names = FindSection(ini, "AltitudeGrpSC");
  const IniSection* system = FindSection(ini, "AltitudeSystem");
  ASSERT_TRUE(group && names && system) << d.Ini();
  std::vector<IniKey> wantGroup = {{"Files", std::to_string(kCut)}, {"_g0", d.Dir()}, {"_g1", d.Dir() + "app.exe"}};
  for (int i = 2; i < kCut; ++i) wantGroup.push_back({"_g" + std::to_string(i), ""});
  EXPECT_TRUE(group->keys == wantGroup) << Describe(group->keys);
  // a negative count reads as none; the entry of the earlier file stays, unread
  EXPECT_TRUE(names->keys == (std::vector<IniKey>{{"Files", "0"}, {"_c0", "Dummy"}})) << Describe(names->keys);
  ASSERT_EQ(system->keys.size(), static_cast<size_t>(kCut) + 2) << Describe(system->keys);
  EXPECT_EQ(system->keys[0], (IniKey{"Files", std::to_string(kCut)}));
  EXPECT_EQ(system->keys[1], (IniKey{"_s0", d.Dir()}));
  EXPECT_EQ(system->keys[2], (IniKey{"_s60", "beyond"}));  // index 60 lies beyond the cut
  EXPECT_EQ(system->keys.back(), (IniKey{"_s" + std::to_string(kCut - 1), ""}));
}

// An authored file's own values come back through the controls and the members: texts
// cut to their buffers, an empty company read as the default, the file count as stored,
// the advanced options kept (the fixed folder with its final backslash).
TEST(Authoring, StoredValuesAsLoadedAreSavedAgain) {
  Dist d("hb_auth_loaded");
  d.File("app.exe");
  d.File("readme.txt");
  const std::string D = d.Dir();
  d.SetIni("[Setup]\r\nTitle=" + std::string(60, 'T') + "\r\nVersion=" + std::string(30, 'V') +
           "\r\nName=\r\nMode=1\r\n[Commentary]\r\nCount=1\r\n_t0=" + std::string(300, 'C') +
           "\r\n[TreeCtrl]\r\nSelect=" + D + "app.exe\r\nTopRoot=" + D + "\r\n_f0=" + D + "|16\r\n_f1=" + D +
           "app.exe|32\r\n_f2=" + D +
           "readme.txt|32\r\nCount=3\r\nFiles=7\r\n"
           "[Altitude]\r\nInstallDir=D:\\Apps\\Demo\r\nPrgShortCut=デモ起動\r\nPrgGroup=東方グループ\r\n"
           "Execute=1\r\nReadMe=" +
           D + "readme.txt\r\n");
  {
    Process p;
    ASSERT_TRUE(p.Start(d.Exe(), "-s", d.Dir()));
    HWND w = WaitWizard(p);
    ASSERT_TRUE(w);
    EXPECT_EQ(GetText(w, IDC_TITLE), std::string(49, 'T'));
    EXPECT_EQ(GetText(w, IDC_VERSION), std::string(19, 'V'));
    EXPECT_EQ(GetText(w, IDC_COMPANY), "TOVANE Soft");
    EXPECT_EQ(GetText(w, IDC_COMMENTARY), std::string(259, 'C') + "\r\n");
    EXPECT_EQ(GetText(w, IDC_FILECOUNT), "7") << "the stored count, not the tree's";
    EXPECT_EQ(SelectedLabel(Tree(w), p.Pid()), "app.exe");
    SaveAndExpectEnd(p, w, true);
  }
  std::vector<IniSection> ini = ParseIni(d.Ini());
  const IniSection* setup = ini.empty() ? nullptr : &ini[0];
  ASSERT_TRUE(setup && setup->name == "Setup") << d.Ini();
  EXPECT_TRUE(setup->keys == (std::vector<IniKey>{{"Title", std::string(49, 'T')},
                                                  {"Version", std::string(19, 'V')},
                                                  {"Name", "TOVANE Soft"},
                                                  {"Mode", "1"},
                                                  {"STime", "100"}}))
      << Describe(setup->keys);
  const IniSection* altitude = nullptr;
  for (const IniSection& s : ini)
    if (s.name == "Altitude") altitude = &s;
  ASSERT_TRUE(altitude) << d.Ini();
  EXPECT_TRUE(altitude->keys == (std::vector<IniKey>{{"InstallDir", "D:\\Apps\\Demo\\"},
                                                     {"PrgShortCut", "デモ起動"},
                                                     {"PrgGroup", "東方グループ"},
                                                     {"Execute", "1"},
                                                     {"ReadMe", D + "readme.txt"}}))
      << Describe(altitude->keys);
}

// The program icon of the wizard (and the backdrop): 32 x 32 and 16 x 16, 16 colours each.
TEST(WizardResources, ProgramIconIs32And16PixelsIn16Colours) {
  HMODULE exe = ::LoadLibraryExA(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_TRUE(exe);
  HRSRC res = ::FindResourceA(exe, MAKEINTRESOURCEA(IDR_MAINFRAME), reinterpret_cast<LPCSTR>(RT_GROUP_ICON));
  ASSERT_TRUE(res);
  const BYTE* dir = static_cast<const BYTE*>(::LockResource(::LoadResource(exe, res)));
  ASSERT_TRUE(dir);
  int count = dir[4] | (dir[5] << 8);
  std::vector<std::string> images;
  for (int i = 0; i < count; ++i) {
    const BYTE* e = dir + 6 + 14 * i;  // width, height, colours, reserved, planes, bit count, size, id
    images.push_back(std::to_string(e[0]) + "x" + std::to_string(e[1]) + " colours " + std::to_string(e[2]) + " bits " +
                     std::to_string(e[6] | (e[7] << 8)));
  }
  ::FreeLibrary(exe);
  EXPECT_EQ(images, (std::vector<std::string>{"32x32 colours 16 bits 4", "16x16 colours 16 bits 4"}));
}
