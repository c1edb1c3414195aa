// hbunshot FORM MARKERS: started on a virtual screen by scripts/screenshots-uninstall.sh.
// Lays out an installed application, starts its registered uninstall command on the same
// screen, brings the dialog to the state worth a picture, writes MARKERS\ready, waits for
// MARKERS\done (the picture is taken), then ends the program and puts the prefix back.
// FORM: before (the dialog as it opens), after (after 実行, with the completion box moved
// beside it), missing (after 実行 with the desktop shortcut already deleted by the user).
#include <cstdio>
#include <string>

#include "UninstallHelpers.h"

using namespace uitest;

namespace {

int Fail(const char* what) {
  std::fprintf(stderr, "hbunshot: %s\n", what);
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return Fail("usage: hbunshot before|after|missing MARKERS");
  std::string form = argv[1], markers = argv[2];
  if (markers.back() != '\\') markers += '\\';

  untest::CRestore restore;
  untest::PlaceInstallerCopy();
  untest::CInstalled app(restore, "打鍵丸");
  app.Setup()["Name"] = "TOVANE Soft";
  app.Folder("words");
  app.File("words\\basic.wds");
  app.Folder("sounds");
  app.File("sounds\\bark.wav");
  app.GroupFile("words\\", "words");
  app.Options(true, true, true);
  app.Write();
  if (form == "missing") ::DeleteFileA(app.DesktopLink().c_str());

  Process p;
  HWND dlg = untest::StartRegisteredCommand(p, app.Key());
  if (!dlg) return Fail("no uninstall dialog");
  if (form != "before") {
    Click(dlg, IDOK);
    MessageBoxInfo box = WaitMessageBox(p.Pid(), 60000);
    if (!box.hwnd) return Fail("no result box");
    // the box opens over the dialog: beside it, both are seen
    RECT r;
    ::GetWindowRect(dlg, &r);
    ::SetWindowPos(box.hwnd, nullptr, r.left + 40, r.bottom + 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::RedrawWindow(dlg, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  }
  WriteFile(markers + "ready", "ready");
  WaitFor([&] { return hbtest::Exists(markers + "done"); }, 60000);
  return 0;  // the Process ends the program, the restore puts the prefix back
}
