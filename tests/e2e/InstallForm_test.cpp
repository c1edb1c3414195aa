// The install form through the real program: over the blue backdrop or alone, the
// banner, the user's name and organisation, the proposed install folder in each of
// its cases, the install folder's normalisation and the install cancel box.
#include "WizardHelpers.h"

using namespace uitest;
using namespace hbtest;

namespace {

const char kOrgWindows[] = "Software\\Microsoft\\Windows\\CurrentVersion";
const char kOrgWindowsNT[] = "Software\\Microsoft\\Windows NT\\CurrentVersion";

// An authored distribution whose executable is bin\<exe>.
std::string AuthoredIni(const Dist& d, const std::string& exe, const std::string& extra) {
  return "[Setup]\r\nTitle=打鍵丸\r\nVersion=Ver 3.10\r\nName=東方ソフト\r\nMode=1\r\nSTime=10\r\n"
         "[Commentary]\r\nCount=2\r\n_t0=ようこそ\r\n_t1=second\r\n"
         "[TreeCtrl]\r\nSelect=" +
         d.Dir() + "bin\\" + exe + "\r\nTopRoot=" + d.Dir() + "\r\n_f0=" + d.Dir() + "|16\r\n_f1=" + d.Dir() +
         "bin\\|16\r\n_f2=" + d.Dir() + "bin\\" + exe + "|32\r\nCount=3\r\nFiles=1\r\n" + extra;
}

std::string RegString(HKEY root, const char* key, const char* value, bool* present = nullptr) {
  char buf[1024] = "";
  DWORD size = sizeof buf - 1, type = 0;
  HKEY h = nullptr;
  bool ok = ::RegOpenKeyExA(root, key, 0, KEY_READ, &h) == ERROR_SUCCESS &&
            ::RegQueryValueExA(h, value, nullptr, &type, reinterpret_cast<BYTE*>(buf), &size) == ERROR_SUCCESS;
  if (h) ::RegCloseKey(h);
  if (present) *present = ok;
  return ok ? std::string(buf) : std::string();
}

void SetRegString(HKEY root, const char* key, const char* value, const std::string* data) {
  HKEY h = nullptr;
  ASSERT_EQ(::RegOpenKeyExA(root, key, 0, KEY_SET_VALUE, &h), ERROR_SUCCESS) << key;
  if (data)
    ::RegSetValueExA(h, value, 0, REG_SZ, reinterpret_cast<const BYTE*>(data->c_str()),
                     static_cast<DWORD>(data->size() + 1));
  else
    ::RegDeleteValueA(h, value);
  ::RegCloseKey(h);
}

// Puts the organisation values back as the test found them.
class OrganizationValues {
 public:
  OrganizationValues() {
    m_win = RegString(HKEY_LOCAL_MACHINE, kOrgWindows, "RegisteredOrganization", &m_hasWin);
    m_nt = RegString(HKEY_LOCAL_MACHINE, kOrgWindowsNT, "RegisteredOrganization", &m_hasNT);
  }
  ~OrganizationValues() {
    SetRegString(HKEY_LOCAL_MACHINE, kOrgWindows, "RegisteredOrganization", m_hasWin ? &m_win : nullptr);
    SetRegString(HKEY_LOCAL_MACHINE, kOrgWindowsNT, "RegisteredOrganization", m_hasNT ? &m_nt : nullptr);
  }
  void Set(const std::string* windows, const std::string* nt) {
    SetRegString(HKEY_LOCAL_MACHINE, kOrgWindows, "RegisteredOrganization", windows);
    SetRegString(HKEY_LOCAL_MACHINE, kOrgWindowsNT, "RegisteredOrganization", nt);
  }

 private:
  std::string m_win, m_nt;
  bool m_hasWin = false, m_hasNT = false;
};

// A record of its own in Hanbell.ini; removed again (with the file if the test made it).
class SetupDirRecord {
 public:
  SetupDirRecord(const std::string& relExe, const std::string& installedExe) : m_key(relExe) {
    m_path = WindowsDir() + "Hanbell.ini";
    m_existed = ::GetFileAttributesA(m_path.c_str()) != INVALID_FILE_ATTRIBUTES;
    EXPECT_TRUE(::WritePrivateProfileStringA("SetupDirectory", m_key.c_str(), installedExe.c_str(), "Hanbell.ini"));
  }
  ~SetupDirRecord() {
    ::WritePrivateProfileStringA("SetupDirectory", m_key.c_str(), nullptr, "Hanbell.ini");
    std::string rest;
    ReadFile(m_path, rest);
    if (!m_existed && rest.find('=') == std::string::npos) ::DeleteFileA(m_path.c_str());
  }

 private:
  std::string m_key, m_path;
  bool m_existed = false;
};

std::string ProgramFiles() {
  std::string pf = RegString(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir");
  return pf.empty() ? pf : pf + "\\";
}

std::string UserName() {
  char buf[300] = "";
  DWORD size = 260;
  return ::GetUserNameA(buf, &size) ? std::string(buf) : std::string();
}

// A drive letter with no drive behind it.
char UnusedDrive() {
  for (char c = 'Q'; c <= 'Y'; ++c) {
    std::string root = std::string(1, c) + ":\\";
    if (::GetDriveTypeA(root.c_str()) == DRIVE_NO_ROOT_DIR) return c;
  }
  return 0;
}

// The install folder the wizard proposes for a distribution, read from 1068.
std::string ProposedFolder(const Dist& d) {
  Process p;
  EXPECT_TRUE(p.Start(d.Exe(), "", d.Dir()));
  HWND w = WaitWizard(p);
  EXPECT_TRUE(w);
  return w ? GetText(w, IDC_INSTALLDIR) : std::string("<no wizard>");
}

}  // namespace

TEST(InstallForm, OverTheBackdropWithBannerUserAndOrganization) {
  OrganizationValues org;
  std::string mine = "東方組織テスト";
  org.Set(&mine, nullptr);

  Dist d("hb_inst_backdrop");
  d.File("bin\\demo.exe");
  const std::string ini = AuthoredIni(d, "demo.exe", "");
  d.SetIni(ini);
  Process p;
  ASSERT_TRUE(p.Start(d.Exe(), "", d.Dir()));
  HWND w = WaitWizard(p);
  ASSERT_TRUE(w);
  HWND back = FindWindowOf(p.Pid(), kBackdropCaption, true);
  ASSERT_TRUE(back) << "the backdrop is shown behind the wizard";
  EXPECT_TRUE(::IsZoomed(back)) << "maximised";
  EXPECT_EQ(::GetWindow(w, GW_OWNER), back);
  EXPECT_EQ(GetText(back, IDC_BACKDROP_TITLE), "東方ソフト/ 打鍵丸 Ver 3.10");
  EXPECT_FALSE(HasWindow(p.Pid(), kLoadingCaption));

  for (int id : {IDC_BANNER, IDC_USERNAME, IDC_USERNAME_LABEL, IDC_ORGANIZATION, IDC_ORGANIZATION_LABEL, IDC_INSTALLDIR,
                 IDC_INSTALLDIR_LABEL, IDC_INSTALLDIR_FRAME, IDC_BROWSE, IDC_COMPANY_LABEL, IDC_INSTALL_PROGRESS,
                 IDC_STARTUP, IDC_PROGRAM, IDC_DESKTOP, IDOK, IDCANCEL, IDC_COMMENTARY, IDC_SIDE_BITMAP})
    EXPECT_TRUE(IsVisible(w, id)) << id;
  for (int id : {IDC_TITLE, IDC_TITLE_LABEL, IDC_VERSION, IDC_TREE_HINT, IDC_FILETREE, IDC_REFRESH, IDC_FILECOUNT,
                 IDC_FILECOUNT_LABEL, IDC_DELAY, IDC_DELAY_LABEL, IDC_COMPANY, IDC_ALTITUDE, IDC_REBOOT, IDC_BLUEBACK})
    EXPECT_FALSE(IsVisible(w, id)) << id;

  EXPECT_EQ(GetText(w, IDC_BANNER), "打鍵丸 Ver 3.10");
  EXPECT_EQ(GetText(w, IDC_COMPANY_LABEL), "東方ソフト");
  EXPECT_EQ(GetText(w, IDC_COMMENTARY), "ようこそ\r\nsecond\r\n");
  EXPECT_EQ(GetText(w, IDC_USERNAME), UserName());
  EXPECT_FALSE(UserName().empty());
  EXPECT_EQ(GetText(w, IDC_ORGANIZATION), mine);
  for (int id : {IDC_USERNAME, IDC_ORGANIZATION, IDC_COMMENTARY})
    EXPECT_NE(::GetWindowLongA(::GetDlgItem(w, id), GWL_STYLE) & ES_READONLY, 0) << id << " is read-only";
  EXPECT_EQ(GetCheck(w, IDC_STARTUP), BST_UNCHECKED);
  EXPECT_EQ(GetCheck(w, IDC_PROGRAM), BST_CHECKED);
  EXPECT_EQ(GetCheck(w, IDC_DESKTOP), BST_CHECKED);

  // 中止: a beep and the install cancel box; the wizard and the backdrop end, nothing is written
  ASSERT_EQ(Beeps(w), "");
  ASSERT_TRUE(Click(w, IDCANCEL));
  MessageBoxInfo box = WaitMessageBox(p.Pid());
  ASSERT_TRUE(box.hwnd);
  EXPECT_EQ(Beeps(w), "500/10");
  EXPECT_EQ(box.caption, "ｲﾝｽﾄｰﾙ作業の中止");
  EXPECT_EQ(box.text, "★ｲﾝｽﾄｰﾙの実行はｷｬﾝｾﾙされました。");
  EXPECT_EQ(box.icon, Icon::Warning);
  ASSERT_TRUE(Answer(box, IDOK));
  DWORD code = 1;
  EXPECT_TRUE(p.WaitExit(kDefaultTimeoutMs, &code)) << "the backdrop closes after the wizard";
  EXPECT_EQ(d.Ini(), ini);
}

TEST(InstallForm, WithoutBackdropTheWizardStandsAlone) {
  Dist d("hb_inst_alone");
  d.File("bin\\demo.exe");
  d.SetIni(AuthoredIni(d, "demo.exe", "[Option]\r\nBlueBack=0\r\nStartUp=1\r\nProgram=0\r\nDesktop=0\r\n"));
  Process p;
  ASSERT_TRUE(p.Start(d.Exe(), "", d.Dir()));
  HWND w = WaitWizard(p);
  ASSERT_TRUE(w);
  EXPECT_FALSE(FindWindowOf(p.Pid(), kBackdropCaption, false)) << "no backdrop at all";
  EXPECT_EQ(::GetWindow(w, GW_OWNER), nullptr);
  EXPECT_FALSE(::IsZoomed(w));
  EXPECT_EQ(GetCheck(w, IDC_STARTUP), BST_CHECKED);
  EXPECT_EQ(GetCheck(w, IDC_PROGRAM), BST_UNCHECKED);
  EXPECT_EQ(GetCheck(w, IDC_DESKTOP), BST_UNCHECKED);
}

TEST(InstallForm, OrganizationFallsBackToTheNtKey) {
  OrganizationValues org;
  std::string nt = "NT側の組織";
  std::string empty;
  Dist d("hb_inst_org");
  d.File("bin\\demo.exe");
  d.SetIni(AuthoredIni(d, "demo.exe", "[Option]\r\nBlueBack=0\r\n"));

  org.Set(&empty, &nt);  // an empty value counts as none
  {
    Process p;
    ASSERT_TRUE(p.Start(d.Exe(), "", d.Dir()));
    HWND w = WaitWizard(p);
    ASSERT_TRUE(w);
    EXPECT_EQ(GetText(w, IDC_ORGANIZATION), nt);
  }
  org.Set(nullptr, nullptr);
  {
    Process p;
    ASSERT_TRUE(p.Start(d.Exe(), "", d.Dir()));
    HWND w = WaitWizard(p);
    ASSERT_TRUE(w);
    EXPECT_EQ(GetText(w, IDC_ORGANIZATION), "");
  }
}

TEST(InstallForm, ProposedInstallFolderInEachCase) {
  const std::string exe = "hbwiz" + std::to_string(::GetCurrentProcessId()) + ".exe";
  const std::string title = exe.substr(0, exe.size() - 4);
  Dist d("hb_inst_folder");
  d.File("bin\\" + exe);
  const std::string pf = ProgramFiles();
  ASSERT_FALSE(pf.empty());

  // Program Files + company (the default company shortened) + executable title
  d.SetIni(AuthoredIni(d, exe, "[Option]\r\nBlueBack=0\r\n"));
  EXPECT_EQ(ProposedFolder(d), pf + "東方ソフト\\" + title + "\\");
  std::string tovane = AuthoredIni(d, exe, "[Option]\r\nBlueBack=0\r\n");
  tovane.replace(tovane.find("Name=東方ソフト"), std::string("Name=東方ソフト").size(), "Name=");
  d.SetIni(tovane);  // an empty name reads as "TOVANE Soft"
  EXPECT_EQ(ProposedFolder(d), pf + "TOVANE\\" + title + "\\");

  // the author's fixed folder, with its backslash; moved to the Windows drive when its
  // own drive does not exist
  ASSERT_EQ(::GetDriveTypeA("C:\\"), static_cast<UINT>(DRIVE_FIXED));
  d.SetIni(AuthoredIni(d, exe, "[Option]\r\nBlueBack=0\r\n[Altitude]\r\nInstallDir=C:\\HbFixed\\Demo\r\n"));
  EXPECT_EQ(ProposedFolder(d), "C:\\HbFixed\\Demo\\");
  char none = UnusedDrive();
  ASSERT_TRUE(none) << "no unused drive letter";
  std::string fixedOnNone = std::string(1, none) + ":\\Apps\\Demo\\";
  d.SetIni(AuthoredIni(d, exe, "[Option]\r\nBlueBack=0\r\n[Altitude]\r\nInstallDir=" + fixedOnNone + "\r\n"));
  EXPECT_EQ(ProposedFolder(d), WindowsDir().substr(0, 1) + ":\\Apps\\Demo\\");

  // a recorded earlier install wins over the fixed folder
  SetupDirRecord record("bin\\" + exe, "C:\\Recorded\\Place\\bin\\" + exe);
  EXPECT_EQ(ProposedFolder(d), "C:\\Recorded\\Place\\");
}

TEST(InstallForm, InstallFolderIsNormalisedWhenLeft) {
  const std::string exe = "hbnorm" + std::to_string(::GetCurrentProcessId()) + ".exe";
  Dist d("hb_inst_norm");
  d.File("bin\\" + exe);
  d.SetIni(AuthoredIni(d, exe, "[Option]\r\nBlueBack=0\r\n"));
  Process p;
  ASSERT_TRUE(p.Start(d.Exe(), "", d.Dir()));
  HWND w = WaitWizard(p);
  ASSERT_TRUE(w);
  const std::string proposal = GetText(w, IDC_INSTALLDIR);

  FocusControl(w, IDC_INSTALLDIR);
  ASSERT_TRUE(SetText(w, IDC_INSTALLDIR, "C:\\x"));
  FocusControl(w, IDC_STARTUP);
  EXPECT_TRUE(WaitFor([&] { return GetText(w, IDC_INSTALLDIR) == "C:\\x\\"; })) << GetText(w, IDC_INSTALLDIR);

  FocusControl(w, IDC_INSTALLDIR);
  ASSERT_TRUE(SetText(w, IDC_INSTALLDIR, ""));
  FocusControl(w, IDC_STARTUP);
  EXPECT_TRUE(WaitFor([&] { return GetText(w, IDC_INSTALLDIR) == proposal; })) << GetText(w, IDC_INSTALLDIR);

  // the company part is what 1039 shows at that moment, the default name shortened
  const std::string title = exe.substr(0, exe.size() - 4);
  const std::pair<const char*, const char*> companies[] = {{"別会社", "別会社"}, {"TOVANE Soft", "TOVANE"}};
  for (const auto& c : companies) {
    ASSERT_TRUE(SetText(w, IDC_COMPANY_LABEL, c.first));
    FocusControl(w, IDC_INSTALLDIR);
    ASSERT_TRUE(SetText(w, IDC_INSTALLDIR, ""));
    FocusControl(w, IDC_STARTUP);
    const std::string want = ProgramFiles() + c.second + "\\" + title + "\\";
    EXPECT_TRUE(WaitFor([&] { return GetText(w, IDC_INSTALLDIR) == want; })) << GetText(w, IDC_INSTALLDIR);
  }
}

namespace {
// The folder browser the wizard opened: a dialog of the process other than the wizard.
HWND WaitBrowser(DWORD pid, HWND wizard) {
  HWND found = nullptr;
  WaitFor([&] {
    for (HWND h : TopWindows(pid, true))
      if (h != wizard && ClassOf(h) == "#32770") found = h;
    return found != nullptr;
  });
  return found;
}

bool HasChildText(HWND parent, const std::string& text) {
  for (HWND c = ::GetWindow(parent, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT))
    if (GetText(c) == text) return true;
  return false;
}
}  // namespace

TEST(InstallForm, BrowseStartsAtTheFieldsFolderAndTakesTheChoice) {
  Dist d("hb_inst_browse");
  d.File("bin\\demo.exe");
  d.Folder("target\\inner");
  d.SetIni(AuthoredIni(d, "demo.exe", "[Option]\r\nBlueBack=0\r\n"));
  Process p;
  ASSERT_TRUE(p.Start(d.Exe(), "", d.Dir()));
  HWND w = WaitWizard(p);
  ASSERT_TRUE(w);

  // a field without a final backslash opens the browser at its parent folder
  ASSERT_TRUE(SetText(w, IDC_INSTALLDIR, d.Dir() + "target\\notyet"));
  ASSERT_TRUE(Click(w, IDC_BROWSE));
  HWND browser = WaitBrowser(p.Pid(), w);
  ASSERT_TRUE(browser) << "no folder browser";
  EXPECT_TRUE(HasChildText(browser, "インストール先のフォルダを選択してください..."));
  ::PostMessageA(browser, WM_COMMAND, IDCANCEL, 0);
  ASSERT_TRUE(WaitGone(browser));
  EXPECT_EQ(GetText(w, IDC_INSTALLDIR), d.Dir() + "target\\notyet") << "cancel keeps the field";

  ASSERT_TRUE(Click(w, IDC_BROWSE));
  browser = WaitBrowser(p.Pid(), w);
  ASSERT_TRUE(browser);
  ::PostMessageA(browser, WM_COMMAND, IDOK, 0);  // take the preselected folder
  ASSERT_TRUE(WaitGone(browser));
  EXPECT_TRUE(WaitFor([&] { return GetText(w, IDC_INSTALLDIR) == d.Dir() + "target\\"; }))
      << GetText(w, IDC_INSTALLDIR);
}

// Damaged files in the install form, where the arrays hold only 50 entries and the
// tree stays empty: the wizard opens, proposes a folder, and ends normally.
TEST(InstallForm, DamagedFilesNeverCrashOrHang) {
  Dist d("hb_inst_damaged");
  d.File("bin\\demo.exe");
  const std::string longValue(5000, 'L');
  const std::string lists =
      "[AltitudeGroup]\r\nFiles=999999\r\n_g0=C:\\\r\n_g1=C:\\windows\\win.ini\r\n_g70=" + longValue +
      "\r\n[AltitudeGrpSC]\r\nFiles=2147483647\r\n_c1=" + longValue +
      "\r\n[AltitudeSystem]\r\nFiles=-7\r\n_s1=..\\..\\outside.dll\r\n";
  struct Case {
    std::string ini;
    std::string folderTail;  // what 1068 must end with
  };
  const Case cases[] = {
      {AuthoredIni(d, "demo.exe", "[Option]\r\nBlueBack=0\r\n" + lists), "\\demo\\"},
      // the backdrop too, with overlong names and a huge description count
      {"[Setup]\r\nMode=1\r\nTitle=" + longValue + "\r\nName=" + longValue + "\r\nVersion=" + longValue +
           "\r\n[Commentary]\r\nCount=2000000000\r\n[TreeCtrl]\r\nCount=-5\r\nSelect=" + longValue +
           "\r\n[Altitude]\r\nReadMe=" + longValue + "\r\n" + lists,
       std::string(250, 'L') + "\\"},
      {"[Setup]\r\nMode=1\r\n[Option]\r\nBlueBack=0\r\n[TreeCtrl]\r\nCount=2000000000\r\nSelect=" + d.Dir() +
           "bin\\demo.exe\r\n[Altitude]\r\nInstallDir=" + longValue + "\r\n",
       std::string(258, 'L') + "\\"},
      {"[Setup]\r\nMode=1\r\n[Option]\r\nBlueBack=0\r\n[Altitude]\r\nInstallDir=\\\\\r\n", "\\"},
  };
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE("case " + std::to_string(n++));
    d.SetIni(c.ini);
    Process p;
    ASSERT_TRUE(p.Start(d.Exe(), "", d.Dir()));
    HWND w = WaitWizard(p, 60000);
    ASSERT_TRUE(w) << "the wizard did not open";
    std::string folder = GetText(w, IDC_INSTALLDIR);
    EXPECT_LE(folder.size(), 600u);
    EXPECT_TRUE(folder.size() >= c.folderTail.size() &&
                folder.compare(folder.size() - c.folderTail.size(), c.folderTail.size(), c.folderTail) == 0)
        << folder;
    ASSERT_TRUE(Click(w, IDCANCEL));
    MessageBoxInfo box = WaitMessageBox(p.Pid());
    ASSERT_TRUE(box.hwnd) << "the wizard stopped answering";
    EXPECT_EQ(box.caption, "ｲﾝｽﾄｰﾙ作業の中止");
    ASSERT_TRUE(Answer(box, IDOK));
    DWORD code = 1;
    EXPECT_TRUE(p.WaitExit(kDefaultTimeoutMs, &code));
    EXPECT_EQ(code, 0u) << "ended normally";
    EXPECT_EQ(d.Ini(), c.ini) << "nothing is written";
  }
}

// The banner's font: 38 high, bold, italic, Shift-JIS "ＭＳ Ｐゴシック", its average width
// the window's right edge (the wizard starts at the screen's left edge) shared by the
// banner's bytes + 10, so a longer banner gets narrower letters.
TEST(InstallForm, BannerFontIsSharedByTheBannersBytes) {
  Dist d("hb_inst_banner");
  d.File("bin\\demo.exe");
  for (const std::string title : {"打鍵丸", "とても長いアプリケーションの名前 Deluxe Edition"}) {
    SCOPED_TRACE(title);
    std::string ini = AuthoredIni(d, "demo.exe", "[Option]\r\nBlueBack=0\r\n");
    ini.replace(ini.find("Title=打鍵丸"), std::string("Title=打鍵丸").size(), "Title=" + title);
    d.SetIni(ini);
    Process p;
    ASSERT_TRUE(p.Start(d.Exe(), "", d.Dir()));
    HWND w = WaitWizard(p);
    ASSERT_TRUE(w);
    const std::string banner = title + " Ver 3.10";
    EXPECT_EQ(GetText(w, IDC_BANNER), banner);
    RECT rc;
    ASSERT_TRUE(::GetWindowRect(w, &rc));
    const long width = (rc.right - rc.left) / static_cast<long>(banner.size() + 10);
    EXPECT_EQ(ControlFont(w, IDC_BANNER), "38\t" + std::to_string(width) + "\t700\t1\t128\tＭＳ Ｐゴシック");
  }
}
