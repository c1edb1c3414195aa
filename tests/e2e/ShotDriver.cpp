// hbshot FORM DIST MARKERS: started on a virtual screen by scripts/screenshots-hanbell.sh.
// Starts DIST\Setup.exe on the same screen, brings it to the state worth a picture,
// writes MARKERS\ready, waits for MARKERS\done (the picture is taken), then ends the
// program. FORM: loading (the loading window while 初期化 refills the tree), authoring (the
// wizard with the executable selected), install (the install form); installing (the install
// form during a run), installed (its success box), overwrite (the question about a newer
// file). The last three install into a folder of their own under %TEMP% without shortcuts
// and put the prefix back afterwards. advanced (the advanced options filled in),
// afterinstall (the open-after-install file dialog over them), browser (the folder browser
// of the fixed install folder).
#include <cstdio>
#include <string>

#include "WizardHelpers.h"

using namespace uitest;

namespace {

int Fail(const char* what) {
  std::fprintf(stderr, "hbshot: %s\n", what);
  return 1;
}

bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// A fixed folder, names, ticked group and Windows-folder files and a read-me.
bool FillAdvanced(const Process& p, HWND a, const std::string& dist) {
  hbtest::FocusControl(a, IDC_ALT_INSTALLDIR);
  SetText(a, IDC_ALT_INSTALLDIR, "C:\\Games\\打鍵丸\\");
  hbtest::FocusControl(a, IDC_ALT_SHORTCUT);
  SetText(a, IDC_ALT_SHORTCUT, "打鍵丸で遊ぶ");
  hbtest::FocusControl(a, IDC_ALT_GROUP);
  SetText(a, IDC_ALT_GROUP, "TOVANE ゲーム");
  hbtest::FocusControl(a, IDC_ALT_GROUPTREE);
  HWND group = ::GetDlgItem(a, IDC_ALT_GROUPTREE), system = ::GetDlgItem(a, IDC_ALT_SYSTEMTREE);
  bool ok = true;
  for (const auto& labels : {std::vector<std::string>{"doc"}, std::vector<std::string>{"doc", "readme.txt"}}) {
    HTREEITEM item = hbtest::FindTreeItem(group, p.Pid(), labels);
    ok = ok && item && TreeSetCheck(group, p.Pid(), item, true);
  }
  HTREEITEM sound = hbtest::FindTreeItem(system, p.Pid(), {"sounds", "bark.wav"});
  ok = ok && sound && TreeSetCheck(system, p.Pid(), sound, true) && TreeSelect(system, sound);
  Click(a, IDC_ALT_REFRESHNAMES);
  WaitFor([&] { return ListTexts(::GetDlgItem(a, IDC_ALT_NAMELIST)).size() == 2; }, 5000);
  SetCheck(a, IDC_ALT_EXECUTE, true);
  SetText(a, IDC_ALT_READMETEXT, dist + "doc\\readme.txt");
  hbtest::FocusControl(a, IDC_ALT_NAMELIST);
  return ok;
}

int Progress(HWND w) {
  return static_cast<int>(::SendMessageA(::GetDlgItem(w, IDC_INSTALL_PROGRESS), PBM_GETPOS, 0, 0));
}

// Starts an install into %TEMP%\hbshot_target\ and brings it to the state of `form`;
// true once it is there.
bool StartInstall(Process& p, HWND w, const std::string& form, const std::string& target) {
  SetText(w, IDC_INSTALLDIR, target);
  for (int id : {IDC_STARTUP, IDC_PROGRAM, IDC_DESKTOP}) SetCheck(w, id, false);
  if (form == "overwrite") {
    // a newer file at the destination
    MakeDirs(target + "words");
    WriteFile(target + "words\\basic.wds", "newer");
    FILETIME ft;
    ::GetSystemTimeAsFileTime(&ft);
    ULARGE_INTEGER t = {{ft.dwLowDateTime, ft.dwHighDateTime}};
    t.QuadPart += 86400ull * 10000000ull;
    ft = {t.LowPart, t.HighPart};
    HANDLE h = ::CreateFileA((target + "words\\basic.wds").c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0,
                             nullptr);
    ::SetFileTime(h, nullptr, nullptr, &ft);
    ::CloseHandle(h);
  }
  Click(w, IDOK);
  if (form == "installing") return WaitFor([&] { return Progress(w) >= 4; }, 60000);
  return WaitMessageBox(p.Pid(), 60000).hwnd != nullptr;
}

// Answers the boxes (keeping a newer file) until the run ends, then removes what it left.
void FinishInstall(Process& p, const std::string& target, bool hadCopy, bool hadRecord, const std::string& select) {
  for (int i = 0; i < 5 && p.Running(); ++i) {
    MessageBoxInfo box = WaitMessageBox(p.Pid(), 30000);
    if (!box.hwnd) break;
    Answer(box, ::GetDlgItem(box.hwnd, IDYES) ? IDYES : IDOK);
    WaitGone(box.hwnd);
    if (p.WaitExit(3000)) break;
  }
  p.WaitExit(30000);
  RemoveTree(target);
  std::string win = WindowsDir();
  if (!hadCopy) ::DeleteFileA((win + "Hanbell.exe").c_str());
  if (!hadRecord) ::DeleteFileA((win + "Hanbell.ini").c_str());
  std::string title = select.substr(select.rfind('\\') + 1);
  title = title.substr(0, title.rfind('.'));
  ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, ("SoftWare\\Microsoft\\Windows\\CurrentVersion\\UnInstall\\" + title).c_str());
  ::WritePrivateProfileStringA("SetupDirectory", select.c_str(), nullptr, "Hanbell.ini");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4)
    return Fail("usage: hbshot loading|authoring|install|installing|installed|overwrite|advanced|afterinstall|browser "
                "DIST MARKERS");
  std::string form = argv[1], dist = argv[2], markers = argv[3];
  if (dist.back() != '\\') dist += '\\';
  if (markers.back() != '\\') markers += '\\';

  const bool installs = form == "installing" || form == "installed" || form == "overwrite";
  const std::string win = WindowsDir(), target = TempDir("hbshot_target");
  const bool hadCopy = Exists(win + "Hanbell.exe"), hadRecord = Exists(win + "Hanbell.ini");
  Process p;
  if (!p.Start(dist + "Setup.exe", form == "install" || installs ? "" : "-s", dist)) return Fail("cannot start Setup.exe");
  HWND w = hbtest::WaitWizard(p, 60000);
  if (!w) return Fail("no wizard");
  if (form == "loading") {
    // 初期化 shows the loading window again, over the wizard, while the tree is rebuilt
    Click(w, IDC_REFRESH);
    if (!WaitWindow(p.Pid(), hbtest::kLoadingCaption, "#32770", 60000)) return Fail("no loading window");
  } else if (form == "authoring") {
    HWND tree = ::GetDlgItem(w, IDC_FILETREE);
    HTREEITEM exe = hbtest::FindTreeItem(tree, p.Pid(), {"KeyRally.exe"});
    if (exe) TreeSelect(tree, exe);
    hbtest::FocusControl(w, IDC_FILETREE);
  } else if (installs && !StartInstall(p, w, form, target)) {
    FinishInstall(p, target, hadCopy, hadRecord, "KeyRally.exe");
    return Fail("the install did not get there");
  } else if (form == "advanced" || form == "afterinstall" || form == "browser") {
    HWND a = hbtest::OpenAdvanced(p, w);
    if (!a) return Fail("no advanced options");
    if (!FillAdvanced(p, a, dist)) return Fail("advanced options not filled in");
    if (form == "afterinstall") {
      Click(a, IDC_ALT_SETREADME);
      if (!WaitWindow(p.Pid(), hbtest::kAfterInstallCaption, "#32770", 60000)) return Fail("no file dialog");
    } else if (form == "browser") {
      // a folder that exists, so that the browser opens on it
      hbtest::FocusControl(a, IDC_ALT_INSTALLDIR);
      SetText(a, IDC_ALT_INSTALLDIR, dist + "words");
      hbtest::FocusControl(a, IDC_ALT_SHORTCUT);
      Click(a, IDC_ALT_SETDIR);
      if (!hbtest::WaitOtherDialog(p.Pid(), {w, a})) return Fail("no folder browser");
    }
  }
  WriteFile(markers + "ready", "ready");
  WaitFor([&] { return Exists(markers + "done"); }, 60000);
  if (installs) FinishInstall(p, target, hadCopy, hadRecord, "KeyRally.exe");
  RemoveTree(target);
  return 0;  // the Process ends the program
}
