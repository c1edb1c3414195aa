// hbshot FORM DIST MARKERS: started on a virtual screen by scripts/screenshots-hanbell.sh.
// Starts DIST\Setup.exe on the same screen, brings it to the state worth a picture,
// writes MARKERS\ready, waits for MARKERS\done (the picture is taken), then ends the
// program. FORM: loading (the loading window while 初期化 refills the tree), authoring (the
// wizard with the executable selected), install (the install form).
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

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) return Fail("usage: hbshot loading|authoring|install DIST MARKERS");
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
  }
  WriteFile(markers + "ready", "ready");
  WaitFor([&] { return Exists(markers + "done"); }, 60000);
  return 0;  // the Process ends the program
}
