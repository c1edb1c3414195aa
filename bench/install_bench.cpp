// Install benchmark: a distribution of 2,000 files (about 200 MB, nested folders) installed
// by the real Setup.exe with a pause of 0, timed from 登録 to the report box, against
// Wine's xcopy /e /i of the same tree in the same run. Run by hand under a display; see
// bench/README.md. Leaves the prefix as it found it.
#include <algorithm>
#include <cstdlib>
#include <cstdio>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "BenchTree.h"
#include "resource.h"
#include "uitest.h"

using namespace uitest;

namespace {

// 20 folders of 9 subfolders with 10 files in each of the 200 folders: 2,000 files of
// 100 KB. Returns the Setup.ini text that lists them, authored in `dir`.
std::string MakeDistribution(const std::string& dir) {
  std::vector<std::string> entries = MakeBenchTree(dir, 100 * 1024);
  std::string ini = "[Setup]\r\nTitle=Bench\r\nMode=1\r\nSTime=0\r\n[Option]\r\nBlueBack=0\r\nStartUp=0\r\nProgram=0\r\n"
                    "Desktop=0\r\n[TreeCtrl]\r\nSelect=" + dir + "group0\\file0.dat\r\nTopRoot=" + dir + "\r\n";
  for (std::size_t i = 0; i < entries.size(); ++i)
    ini += "_f" + std::to_string(i) + "=" + (i == 0 ? dir : dir + entries[i].substr(0, entries[i].find('|'))) + "|" +
           entries[i].substr(entries[i].find('|') + 1) + "\r\n";
  return ini + "Count=" + std::to_string(entries.size()) + "\r\nFiles=2000\r\n";
}

// One install through the wizard; the time from 登録 to the report box, or -1.
double Install(const std::string& dist, const std::string& target) {
  Process p;
  if (!p.Start(dist + "Setup.exe", "", dist)) return -1;
  HWND w = WaitWindow(p.Pid(), "Hanbell Ver4.00/System Install Wizard.", "#32770", 60000);
  if (!w) return -1;
  SetText(w, IDC_INSTALLDIR, target);
  double start = Now();
  Click(w, IDOK);
  MessageBoxInfo box = WaitMessageBox(p.Pid(), 600000);
  double took = Now() - start;
  if (!box.hwnd) return -1;
  if (box.caption != "ｲﾝｽﾄｰﾙ作業の終了") std::printf("unexpected box: %s\n%s\n", box.caption.c_str(), box.text.c_str());
  Answer(box, IDOK);
  p.WaitExit(60000);
  return took;
}

double Xcopy(const std::string& dist, const std::string& target) {
  std::string cmd = "xcopy.exe /e /i /q \"" + dist.substr(0, dist.size() - 1) + "\" \"" +
                    target.substr(0, target.size() - 1) + "\"";
  return TimeCommand(cmd);
}

int CountFiles(const std::string& folder) {
  int n = 0;
  WIN32_FIND_DATAA fd;
  HANDLE h = ::FindFirstFileA((folder + "*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return 0;
  do {
    std::string name = fd.cFileName;
    if (name == "." || name == "..") continue;
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      n += CountFiles(folder + name + "\\");
    else
      ++n;
  } while (::FindNextFileA(h, &fd));
  ::FindClose(h);
  return n;
}

}  // namespace

int main(int argc, char** argv) {
  int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
  const std::string win = WindowsDir();
  const bool hadCopy = ::GetFileAttributesA((win + "Hanbell.exe").c_str()) != INVALID_FILE_ATTRIBUTES;
  const bool hadRecord = ::GetFileAttributesA((win + "Hanbell.ini").c_str()) != INVALID_FILE_ATTRIBUTES;
  const std::string work = TempDir("hb_install_bench");
  const std::string dist = work + "dist\\";
  MakeDirs(dist.substr(0, dist.size() - 1));
  ::CopyFileA((ModuleDir() + "Hanbell.exe").c_str(), (dist + "Setup.exe").c_str(), FALSE);
  WriteFile(dist + "Setup.ini", MakeDistribution(dist));

  std::vector<double> installs, copies, ratios;
  for (int r = 0; r < rounds; ++r) {
    std::string a = work + "inst" + std::to_string(r) + "\\", b = work + "xcopy" + std::to_string(r) + "\\";
    double i = Install(dist, a), x = Xcopy(dist, b);
    std::printf("round %d: install %.0f ms (%d files), xcopy %.0f ms (%d files)\n", r + 1, i, CountFiles(a), x,
                CountFiles(b));
    if (i > 0 && x > 0) {
      installs.push_back(i);
      copies.push_back(x);
      ratios.push_back(i / x);  // each round's own: the machine's load moves between rounds
    }
    RemoveTree(a);
    RemoveTree(b);
  }

  RemoveTree(work);
  ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, "SoftWare\\Microsoft\\Windows\\CurrentVersion\\UnInstall\\file0");
  ::WritePrivateProfileStringA("SetupDirectory", "group0\\file0.dat", nullptr, "Hanbell.ini");
  if (!hadCopy) ::DeleteFileA((win + "Hanbell.exe").c_str());
  if (!hadRecord) ::DeleteFileA((win + "Hanbell.ini").c_str());
  if (installs.empty()) {
    std::printf("no complete round\n");
    return 1;
  }
  std::printf("result: install median %.0f ms, xcopy /e /i median %.0f ms; the rounds' ratios' median %.2fx\n",
              Median(installs), Median(copies), Median(ratios));
  PrintRatio("install", Median(ratios), 1.15, "install through Setup.exe, STime 0 / xcopy /e /i");
  return 0;
}
