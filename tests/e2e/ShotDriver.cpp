// hbshot FORM DIST MARKERS: started on a virtual screen by scripts/screenshots-hanbell.sh.
// Starts DIST\Setup.exe on the same screen, brings it to the state worth a picture,
// writes MARKERS\ready, waits for MARKERS\done (the picture is taken), then ends the
// program. FORM: loading (the loading window while 初期化 refills the tree), authoring (the
// wizard with the executable selected), install (the install form), advanced (the
// advanced options filled in), afterinstall (the open-after-install file dialog over
// them), browser (the folder browser of the fixed install folder).
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

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) return Fail("usage: hbshot loading|authoring|install|advanced|afterinstall|browser DIST MARKERS");
  std::string form = argv[1], dist = argv[2], markers = argv[3];
  if (dist.back() != '\\') dist += '\\';
  if (markers.back() != '\\') markers += '\\';

  Process p;
  if (!p.Start(dist + "Setup.exe", form == "install" ? "" : "-s", dist)) return Fail("cannot start Setup.exe");
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
  return 0;  // the Process ends the program
}
