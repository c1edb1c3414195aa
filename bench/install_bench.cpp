// Install benchmark: a distribution (laid out by scripts/bench-peers.sh) installed through
// the wizard of the real Setup.exe with a pause of 0, timed from 登録 to the report box,
// against an NSIS installer of the same files run silently (/S, its whole process) and
// Wine's xcopy /e /i of the folder, in turns whose order rotates from round to round.
// Each round installs into fresh folders, then removes them again (untimed) and waits
// for the disk to settle (Settle). Run under a display; see bench/README.md. Leaves the
// prefix as it found it. Usage: install_bench.exe DIST NSIS NAME [rounds [settle seconds]]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "resource.h"
#include "uitest.h"

using namespace uitest;

namespace {

std::string g_dist, g_nsis, g_key;

// One install through the wizard; the time from 登録 to the report box, or -1.
double Window(const std::string& target) {
  Process p;
  if (!p.Start(g_dist + "Setup.exe", "", g_dist)) return -1;
  HWND w = WaitWindow(p.Pid(), "Hanbell Ver4.00/System Install Wizard.", "#32770", 60000);
  if (!w) return -1;
  SetText(w, IDC_INSTALLDIR, target);
  double start = Now();
  Click(w, IDOK);
  MessageBoxInfo box = WaitMessageBox(p.Pid(), 600000);
  double took = Now() - start;
  if (!box.hwnd) return -1;
  if (box.caption != "ｲﾝｽﾄｰﾙ作業の終了") {
    std::printf("  unexpected box: %s\n%s\n", box.caption.c_str(), box.text.c_str());
    took = -1;
  }
  Answer(box, IDOK);
  p.WaitExit(60000);
  return took;
}

double Nsis(const std::string& target) { return Run("\"" + g_nsis + "\" /S /D=" + NoSlash(target)); }

double Xcopy(const std::string& target) {
  return Run("xcopy.exe /e /i /q \"" + NoSlash(g_dist) + "\" \"" + NoSlash(target) + "\"");
}

// Each install's own removal, untimed.
void Remove(int peer, const std::string& target) {
  if (peer == 0) {
    char command[1024] = "";
    DWORD size = sizeof command;
    if (::RegGetValueA(HKEY_LOCAL_MACHINE, g_key.c_str(), "QuietUninstallString", RRF_RT_REG_SZ, nullptr, command,
                       &size) == ERROR_SUCCESS)
      Run(command);
  } else if (peer == 1) {
    Run("\"" + target + "uninst.exe\" /S _?=" + NoSlash(target));
  }
  RemoveTree(target);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::printf("usage: install_bench DIST NSIS NAME [rounds]\n");
    return 2;
  }
  g_dist = argv[1];
  if (g_dist.back() != '\\') g_dist += '\\';
  g_nsis = argv[2];
  const std::string name = argv[3];
  const int rounds = argc > 4 ? std::max(1, std::atoi(argv[4])) : 5;
  const int settle = argc > 5 ? std::atoi(argv[5]) : 32;
  char select[MAX_PATH] = "";
  ::GetPrivateProfileStringA("TreeCtrl", "Select", "", select, sizeof select, (g_dist + "Setup.ini").c_str());
  std::string title = std::string(select).substr(std::string(select).find_last_of('\\') + 1);
  g_key = "SoftWare\\Microsoft\\Windows\\CurrentVersion\\UnInstall\\" + title.substr(0, title.find('.'));
  const std::string win = WindowsDir();
  const bool hadCopy = ::GetFileAttributesA((win + "Hanbell.exe").c_str()) != INVALID_FILE_ATTRIBUTES;
  const bool hadRecord = ::GetFileAttributesA((win + "Hanbell.ini").c_str()) != INVALID_FILE_ATTRIBUTES;
  const int nFiles = CountFiles(g_dist) - 2;  // the tree's, without Setup.exe and Setup.ini
  const std::string work = TempDir("hb_install_bench");
  const char* names[] = {"wizard", "nsis", "xcopy"};
  const int nExtra[] = {1, 1, 2};  // Setup.ini; the uninstaller; Setup.exe and Setup.ini

  std::vector<double> t[3], overNsis, overCopy;
  for (int r = 0; r < rounds; ++r) {
    double took[3];
    Settle(settle);
    for (int k = 0; k < 3; ++k) {
      const int p = (k + r) % 3;
      const std::string target = work + names[p] + std::to_string(r) + "\\";
      took[p] = p == 0 ? Window(target) : p == 1 ? Nsis(target) : Xcopy(target);
      const int got = CountFiles(target);
      if (got != nFiles + nExtra[p]) {
        std::printf("  %s installed %d files, not %d\n", names[p], got, nFiles + nExtra[p]);
        took[p] = -1;
      }
    }
    for (int p = 0; p < 3; ++p) Remove(p, work + names[p] + std::to_string(r) + "\\");
    std::printf("%s round %d: through the wizard %.0f ms, NSIS /S %.0f ms, xcopy %.0f ms\n", name.c_str(), r + 1,
                took[0], took[1], took[2]);
    std::fflush(stdout);
    if (took[0] <= 0 || took[1] <= 0 || took[2] <= 0) continue;
    for (int p = 0; p < 3; ++p) t[p].push_back(took[p]);
    overNsis.push_back(took[0] / took[1]);  // each round's own: the machine's load moves between rounds
    overCopy.push_back(took[0] / took[2]);
  }

  RemoveTree(work);
  ::WritePrivateProfileStringA("SetupDirectory", std::string(select).substr(g_dist.size()).c_str(), nullptr,
                               "Hanbell.ini");
  if (!hadCopy) ::DeleteFileA((win + "Hanbell.exe").c_str());
  if (!hadRecord) ::DeleteFileA((win + "Hanbell.ini").c_str());
  if (overNsis.empty()) {
    std::printf("%s: no complete round\n", name.c_str());
    return 1;
  }
  std::printf("%s result (medians): through the wizard %.0f ms, NSIS /S %.0f ms, xcopy /e /i %.0f ms\n", name.c_str(),
              Median(t[0]), Median(t[1]), Median(t[2]));
  PrintRatio(("nsis_window_" + name).c_str(), Median(overNsis), 1.0,
             ("install through the wizard, STime 0, its OK button to the report box / NSIS /S, " + name + " tree").c_str());
  PrintRatio(("copy_window_" + name).c_str(), Median(overCopy), 0,
             ("the same / xcopy /e /i, " + name + " tree").c_str());
  return 0;
}
