// The distribution packed into one file and installed from that file alone, through the
// real programs: "-p" quiet and with its window, the package started quietly and with
// the wizard after the distribution folder was moved away, every installed file
// compared byte for byte, the removal through the registered quiet command; then the
// package cut short or with flipped bytes, a cancelled install, and the packs that fail.
// Nothing may be left in the temporary folder by any of them.
#include <algorithm>
#include <set>

#include "QuietHelpers.h"

using namespace uitest;
using namespace hbtest;
using namespace qtest;

namespace {

const char kPackage[] = "KeyRally-setup.exe";
const char kWritten[] = "☆配布ﾌｫﾙﾀﾞを1つのｲﾝｽﾄｰﾗにまとめました。\n\n《 ";
const char kDamaged[] =
    "☆ｲﾝｽﾄｰﾗﾌｧｲﾙが壊れているため実行できません...\n\n（注:ﾌｧｲﾙをﾀﾞｳﾝﾛｰﾄﾞし直して下さい。）";
const char kCancelled[] = "★ｲﾝｽﾄｰﾙの実行はｷｬﾝｾﾙされました。";

// What lies in the temporary folder, the quiet logs aside.
std::set<std::string> TempEntries() {
  std::set<std::string> names;
  WIN32_FIND_DATAA fd;
  HANDLE h = ::FindFirstFileA((TempFolder() + "*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = fd.cFileName;
    if (name != "." && name != ".." && name != kInstallLog && name != kUninstallLog && name != kPackLog)
      names.insert(name);
  } while (::FindNextFileA(h, &fd));
  ::FindClose(h);
  return names;
}

std::string Added(const std::set<std::string>& before) {
  std::string added;
  for (const std::string& name : TempEntries())
    if (!before.count(name)) added += " " + name;
  return added;
}

// The installed files against the distribution's, byte for byte, and the installer's
// copy in the Windows folder against the plain Setup.exe.
void ExpectInstalled(const std::string& dist, const std::string& target) {
  for (const char* f : kShipped) EXPECT_EQ(Bytes(target + f), Bytes(dist + f)) << f;
  EXPECT_EQ(IniValue(target + "Setup.ini", "Setup", "Mode"), "2");
  EXPECT_EQ(IniValue(target + "Setup.ini", "Setup", "Title"), kTitle);
  EXPECT_EQ(Bytes(WindowsDir() + "Hanbell.exe"), Bytes(dist + "Setup.exe")) << "the plain installer, not the package";
}

// The registered quiet command, as a package manager runs it.
void RemoveQuietly(const std::string& target) {
  const std::string command = RegValue(HKEY_LOCAL_MACHINE, kUninstallBase + std::string(kExeTitle), "QuietUninstallString");
  const std::size_t options = command.find(" -q");
  ASSERT_NE(options, std::string::npos) << command;
  QuietResult r = RunQuiet(command.substr(0, options), command.substr(options + 1), WindowsDir(), kUninstallLog);
  ExpectQuiet(r, 0, "☆ｱﾝｲﾝｽﾄｰﾙが完了しました。");
  EXPECT_FALSE(Exists(target)) << target;
}

}  // namespace

TEST(Package, PackedThenInstalledFromTheOneFileAlone) {
  PrefixRestore restore;
  KeepLogs(restore);
  char full[MAX_PATH] = "";
  ::GetFullPathNameA((ModuleDir() + "..\\package\\dist\\").c_str(), MAX_PATH, full, nullptr);  // laid out by the build
  const std::string dist = full, parent = dist.substr(0, dist.rfind('\\', dist.size() - 2) + 1);
  for (const char* f : kShipped) ASSERT_TRUE(Exists(dist + f)) << dist << f << " missing: lay out the distribution first";
  // the journey's authoring, but nothing started after a person's install
  std::string ini = AuthoredIni(dist);
  ini.replace(ini.find("Execute=1"), 9, "Execute=0");
  ini.replace(ini.find("ReadMe=" + dist), 7 + dist.size() + 10, "ReadMe=");
  ASSERT_TRUE(WriteFile(dist + "Setup.ini", ini));
  restore.Later([dist] { ::DeleteFileA((dist + "Setup.ini").c_str()); });
  const std::string base = TempDir("hb_package");
  restore.Remove(base);
  restore.Key(HKEY_LOCAL_MACHINE, kUninstallBase + std::string(kExeTitle));
  restore.Remove(untest::ShellFolder("Programs") + kGroup);
  restore.Remove(untest::ShellFolder("Desktop") + kShortcut + ".lnk");
  const std::string package = parent + kPackage;
  restore.Remove(package);

  // -q -p: the package beside the folder, no window, its log
  QuietResult r = RunQuiet(dist + "Setup.exe", "-q -p", dist, kPackLog);
  ExpectQuiet(r, 0, kWritten + package + " 》\n\nこのﾌｧｲﾙだけを配れば、ﾀﾞｳﾝﾛｰﾄﾞしてそのまま実行できます。");
  EXPECT_NE(r.log.find("pack\t" + package + "\tok\r\n"), std::string::npos) << r.log;
  ASSERT_TRUE(Exists(package));
  // -p with windows: a box that names the file, in the folder given
  {
    Process p;
    ASSERT_TRUE(p.Start(dist + "Setup.exe", "-p" + base + "out\\", dist));
    MessageBoxInfo box = WaitMessageBox(p.Pid(), 60000);
    ASSERT_TRUE(box.hwnd) << "no box after packing";
    EXPECT_EQ(box.caption, "ｲﾝｽﾄｰﾗ作成の終了");
    EXPECT_EQ(box.text.find(kWritten + base + "out\\" + kPackage + " 》"), 0u) << box.text;
    EXPECT_EQ(box.icon, Icon::Information);
    ASSERT_TRUE(Answer(box, IDOK));
    DWORD code = 1;
    EXPECT_TRUE(p.WaitExit(kDefaultTimeoutMs, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(Bytes(base + "out\\" + kPackage).size(), Bytes(package).size());
  }

  // the distribution folder gone: only the package is left to install from
  const std::string away = dist.substr(0, dist.size() - 1) + "-away\\";
  ASSERT_TRUE(::MoveFileA(dist.c_str(), away.c_str()));
  restore.Later([dist, away] { ::MoveFileA(away.c_str(), dist.c_str()); });
  const std::string downloads = base + "downloads\\";
  ASSERT_TRUE(MakeDirs(downloads));
  ASSERT_TRUE(::CopyFileA(package.c_str(), (downloads + kPackage).c_str(), FALSE));
  const std::string pkg = downloads + kPackage;
  const std::set<std::string> temp = TempEntries();

  {
    SCOPED_TRACE("quiet install");
    const std::string target = base + "quiet\\";
    r = RunQuiet(pkg, "-q -t" + target, downloads, kInstallLog);
    ExpectQuiet(r, 0, "★ｲﾝｽﾄｰﾙは正常に終了しました。");
    EXPECT_NE(r.log.find("copy\t" + target + "words\\romaji.wds\tok\r\n"), std::string::npos) << r.log;
    ExpectInstalled(away, target);
    EXPECT_EQ(IniValue(target + "Setup.ini", "TreeCtrl", "TopRoot"), dist.substr(0, dist.size() - 1))
        << "the author's folder, not the one the package used";
    EXPECT_EQ(Added(temp), "");
    // again over the install: the packed times decide as the folder's would, an older
    // installed file is replaced, a newer one kept
    const std::string older = target + "words\\romaji.wds", newer = target + "words\\english.wds";
    EXPECT_EQ(WriteTime(older), WriteTime(away + "words\\romaji.wds"));
    ASSERT_TRUE(WriteFile(older, "older"));
    SetWriteTime(older, -400);
    ASSERT_TRUE(WriteFile(newer, "newer"));
    SetWriteTime(newer, 400);
    r = RunQuiet(pkg, "-q -t" + target, downloads, kInstallLog);
    ExpectQuiet(r, 0, "★ｲﾝｽﾄｰﾙは正常に終了しました。");
    EXPECT_EQ(Bytes(older), Bytes(away + "words\\romaji.wds"));
    EXPECT_EQ(WriteTime(older), WriteTime(away + "words\\romaji.wds"));
    EXPECT_EQ(Bytes(newer), "newer");
    EXPECT_NE(r.log.find("copy\t" + newer + "\tkept\r\n"), std::string::npos) << r.log;
    EXPECT_EQ(Added(temp), "");
    RemoveQuietly(target);
  }
  {
    SCOPED_TRACE("install with the wizard");
    const std::string target = base + "wizard\\";
    Process p;
    ASSERT_TRUE(p.Start(pkg, "", downloads));
    HWND w = WaitWizard(p, 60000);
    ASSERT_TRUE(w) << "no wizard";
    EXPECT_TRUE(FindWindowOf(p.Pid(), kBackdropCaption, true)) << "the backdrop, as from the folder";
    EXPECT_EQ(GetText(w, IDC_BANNER), std::string(kTitle) + " Ver 1.20");
    // the setup waits in a folder of its own in the temporary folder; the files to
    // install wait in memory, to be written from there
    const std::string added = Added(temp);
    EXPECT_EQ(added.size(), std::string(" Hanbell-0123456789abcdef").size()) << added;
    EXPECT_TRUE(Exists(TempFolder() + added.substr(1) + "\\Setup.ini")) << added;
    EXPECT_FALSE(Exists(TempFolder() + added.substr(1) + "\\words\\english.wds")) << added;
    ASSERT_TRUE(SetText(w, IDC_INSTALLDIR, target));
    ASSERT_TRUE(Click(w, IDOK));
    MessageBoxInfo box = WaitMessageBox(p.Pid(), 60000);
    ASSERT_TRUE(box.hwnd) << "no box at the end of the install";
    EXPECT_EQ(box.text, "★ｲﾝｽﾄｰﾙは正常に終了しました。");
    ASSERT_TRUE(Answer(box, IDOK));
    EXPECT_TRUE(p.WaitExit(60000));
    ExpectInstalled(away, target);
    EXPECT_EQ(Added(temp), "") << "the package's folder is removed";
    RemoveQuietly(target);
  }
  {
    SCOPED_TRACE("cancelled");
    Process p;
    ASSERT_TRUE(p.Start(pkg, "", downloads));
    HWND w = WaitWizard(p, 60000);
    ASSERT_TRUE(w) << "no wizard";
    ASSERT_TRUE(Click(w, IDCANCEL));
    MessageBoxInfo box = WaitMessageBox(p.Pid());
    ASSERT_TRUE(box.hwnd);
    EXPECT_EQ(box.text, kCancelled);
    ASSERT_TRUE(Answer(box, IDOK));
    EXPECT_TRUE(p.WaitExit());
    EXPECT_EQ(Added(temp), "");
  }

  // cut short in its payload, and with bytes flipped there: a clear box, or 3 quietly,
  // and nothing written anywhere
  const std::string whole = Bytes(pkg);
  const std::size_t middle = (Bytes(away + "Setup.exe").size() + whole.size()) / 2;
  std::string flipped = whole;
  for (std::size_t i = middle; i < middle + 16; ++i) flipped[i] ^= 0x5A;
  for (const std::string& bytes : {whole.substr(0, middle), flipped}) {
    SCOPED_TRACE(bytes.size() == whole.size() ? "flipped" : "cut");
    ASSERT_TRUE(WriteFile(pkg, bytes));
    const std::string target = base + "damaged\\";
    r = RunQuiet(pkg, "-q -t" + target, downloads, kInstallLog);
    ExpectQuiet(r, 3, kDamaged);
    Process p;
    ASSERT_TRUE(p.Start(pkg, "", downloads));
    MessageBoxInfo box = WaitMessageBox(p.Pid(), 60000);
    ASSERT_TRUE(box.hwnd) << "no box";
    EXPECT_EQ(box.caption, "Hanbell/Install Error!!");
    EXPECT_EQ(box.text, kDamaged);
    EXPECT_EQ(box.icon, Icon::Stop);
    EXPECT_FALSE(FindWindowOf(p.Pid(), kWizardCaption, true)) << "no wizard for a damaged package";
    ASSERT_TRUE(Answer(box, IDOK));
    EXPECT_TRUE(p.WaitExit());
    EXPECT_FALSE(Exists(target));
    EXPECT_FALSE(untest::KeyExists(kUninstallBase + std::string(kExeTitle)));
    EXPECT_EQ(Added(temp), "");
  }
  // a package only installs
  ASSERT_TRUE(WriteFile(pkg, whole));
  r = RunQuiet(pkg, "-q -s", downloads, kInstallLog);
  ExpectQuiet(r, 3,
              "☆Hanbellの使い方が不正です。(/s /d /p ｵﾌﾟｼｮﾝ)...\n\n（注:1つにまとめたｲﾝｽﾄｰﾗはｲﾝｽﾄｰﾙだけを行います。"
              "設定と削除は配布ﾌｫﾙﾀﾞの『Setup.exe』で行って下さい。）");
  EXPECT_EQ(Added(temp), "");
}

// The packs that cannot be made: 1 when the file cannot be written (and no half of it
// is left), 3 for a folder that is no authored distribution or lacks a listed file.
TEST(Package, PacksThatFailSayWhyAndLeaveNothing) {
  PrefixRestore restore;
  KeepLogs(restore);
  Dist d("hb_pack_fail");
  d.File("app.exe", "MZ app");
  d.Folder("data");
  d.File("data\\more.txt", "more");
  const std::string ini = "[Setup]\r\nTitle=ﾊﾟｯｸ\r\nMode=1\r\n[TreeCtrl]\r\nSelect=" + d.Dir() + "app.exe\r\n_f0=" +
                          d.Dir() + "|16\r\n_f1=" + d.Dir() + "app.exe|32\r\n_f2=" + d.Dir() + "data\\|16\r\n_f3=" +
                          d.Dir() + "data\\more.txt|32\r\nCount=4\r\n";
  const std::string out = TempDir("hb_pack_out");
  restore.Remove(out);
  const std::string fail = "Hanbell/Pack Error!!";

  d.SetIni(ini);
  ASSERT_TRUE(MakeDirs(out + "taken.exe"));  // a folder where the package would go
  QuietResult r = RunQuiet(d.Exe(), "/Q /P" + out + "taken.exe", d.Dir(), kPackLog);
  ExpectQuiet(r, 1,
              "☆ｲﾝｽﾄｰﾗﾌｧｲﾙ《 " + out + "taken.exe 》を書き込めません。\n\n　　書き込み先とﾃﾞｨｽｸの空き容量を確認して下さい。");
  std::vector<std::string> left;
  WIN32_FIND_DATAA fd;
  HANDLE h = ::FindFirstFileA((out + "*").c_str(), &fd);
  for (BOOL more = h != INVALID_HANDLE_VALUE; more; more = ::FindNextFileA(h, &fd)) left.push_back(fd.cFileName);
  if (h != INVALID_HANDLE_VALUE) ::FindClose(h);
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{".", "..", "taken.exe"})) << "a half-written package is removed";

  ::DeleteFileA((d.Dir() + "data\\more.txt").c_str());
  r = RunQuiet(d.Exe(), "-q -p" + out, d.Dir(), kPackLog);
  ExpectQuiet(r, 3, "☆配布ﾌｧｲﾙ《 data\\more.txt 》が見つかりません。\n\n　　-s ｵﾌﾟｼｮﾝで『初期化』し、設定し直して下さい。");
  EXPECT_FALSE(Exists(out + "app-setup.exe"));

  ::DeleteFileA(d.IniPath().c_str());
  Process p;
  ASSERT_TRUE(p.Start(d.Exe(), "-p" + out, d.Dir()));
  MessageBoxInfo box = WaitMessageBox(p.Pid(), 60000);
  ASSERT_TRUE(box.hwnd);
  EXPECT_EQ(box.caption, fail);
  EXPECT_EQ(box.text.find("☆ｾｯﾄｱｯﾌﾟ情報が欠落しているため実行できません..."), 0u) << box.text;
  EXPECT_EQ(box.icon, Icon::Stop);
  ASSERT_TRUE(Answer(box, IDOK));
  DWORD code = 0;
  EXPECT_TRUE(p.WaitExit(kDefaultTimeoutMs, &code));
  EXPECT_EQ(code, 3u);
  EXPECT_FALSE(Exists(out + "app-setup.exe"));
}
