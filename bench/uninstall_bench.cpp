// Uninstall benchmark: an installed application of 2,000 files in nested folders, removed
// by the real Hanbell.exe from the Windows folder (its registered command) with a pause
// of 0, timed from 実行 to the result box, against Wine's cmd /c rd /s /q of an identical
// tree in the same run. Run by hand under a display; see bench/README.md. Leaves the
// prefix as it found it.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "BenchTree.h"
#include "resource.h"
#include "uitest.h"

using namespace uitest;

namespace {

const char kAuthor[] = "C:\\hbauthor\\bench\\";
const char kKey[] = "SoftWare\\Microsoft\\Windows\\CurrentVersion\\UnInstall\\file0";

// 20 folders of 9 subfolders with 10 files in each of the 200 folders: 2,000 files of
// 1 KB, and the installed Setup.ini that lists them as authored in kAuthor.
void MakeInstall(const std::string& dir) {
  MakeDirs(dir.substr(0, dir.size() - 1));
  std::vector<std::string> entries = MakeBenchTree(dir, 1024);
  std::string ini = "[Setup]\r\nTitle=Bench\r\nMode=2\r\nSTime=0\r\n[TreeCtrl]\r\nSelect=" + std::string(kAuthor) +
                    "group0\\file0.dat\r\nTopRoot=C:\\hbauthor\\bench\r\n";
  for (std::size_t i = 0; i < entries.size(); ++i) ini += "_f" + std::to_string(i) + "=" + kAuthor + entries[i] + "\r\n";
  ini += "Count=" + std::to_string(entries.size()) + "\r\nFiles=2000\r\n[Option]\r\nStartUp=0\r\nProgram=0\r\nDesktop=0\r\n";
  WriteFile(dir + "Setup.ini", ini);
}

// One removal through the dialog; the time from 実行 to the result box, or -1.
double Uninstall(const std::string& dir) {
  HKEY h = nullptr;
  ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr);
  if (h) ::RegCloseKey(h);
  Process p;
  if (!p.Start(WindowsDir() + "Hanbell.exe", "-d -t" + dir, WindowsDir())) return -1;
  HWND dlg = WaitWindow(p.Pid(), "Hanbell Ver4.00/UnInstaller...", "#32770", 60000);
  if (!dlg) return -1;
  double start = Now();
  Click(dlg, IDOK);
  MessageBoxInfo box = WaitMessageBox(p.Pid(), 600000);
  double took = Now() - start;
  if (!box.hwnd) return -1;
  if (box.text != "☆ｱﾝｲﾝｽﾄｰﾙが完了しました。") std::printf("unexpected box: %s\n%s\n", box.caption.c_str(), box.text.c_str());
  Answer(box, IDOK);
  p.WaitExit(60000);
  return took;
}

double RemoveByCmd(const std::string& dir) {
  return TimeCommand("cmd.exe /c rd /s /q \"" + dir.substr(0, dir.size() - 1) + "\"");
}

// A reference: the same tree deleted in this process by a plain walk.
void DeleteWalk(const std::string& dir) {
  WIN32_FIND_DATAA fd;
  HANDLE h = ::FindFirstFileA((dir + "*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      std::string name = fd.cFileName;
      if (name == "." || name == "..") continue;
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) DeleteWalk(dir + name + "\\");
      else ::DeleteFileA((dir + name).c_str());
    } while (::FindNextFileA(h, &fd));
    ::FindClose(h);
  }
  ::RemoveDirectoryA(dir.c_str());
}

bool Gone(const std::string& dir) { return ::GetFileAttributesA(dir.c_str()) == INVALID_FILE_ATTRIBUTES; }

}  // namespace

int main(int argc, char** argv) {
  int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
  const std::string win = WindowsDir(), copy = win + "Hanbell.exe", kept = win + "Hanbell.bench-kept";
  const bool hadCopy = ::MoveFileA(copy.c_str(), kept.c_str()) != FALSE;
  ::CopyFileA((ModuleDir() + "Hanbell.exe").c_str(), copy.c_str(), FALSE);
  const std::string work = TempDir("hb_uninstall_bench");

  std::vector<double> removals, commands, walks, starts, ratios;
  for (int r = 0; r < rounds; ++r) {
    std::string a = work + "inst" + std::to_string(r) + "\\", b = work + "rd" + std::to_string(r) + "\\";
    MakeInstall(a);
    MakeInstall(b);
    double u = Uninstall(a), c = RemoveByCmd(b);
    std::printf("round %d: uninstall %.0f ms (%s), rd /s /q %.0f ms (%s)\n", r + 1, u, Gone(a) ? "all gone" : "left some",
                c, Gone(b) ? "all gone" : "left some");
    if (u > 0 && c > 0 && Gone(a) && Gone(b)) {
      removals.push_back(u);
      commands.push_back(c);
      ratios.push_back(u / c);
    }
    RemoveTree(a);
    RemoveTree(b);
    MakeInstall(b);
    double w0 = Now();
    DeleteWalk(b);
    walks.push_back(Now() - w0);
    starts.push_back(TimeCommand("cmd.exe /c rem"));
  }

  RemoveTree(work);
  ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, kKey);
  ::DeleteFileA(copy.c_str());
  if (hadCopy) ::MoveFileA(kept.c_str(), copy.c_str());
  if (removals.empty()) {
    std::printf("no complete round\n");
    return 1;
  }
  std::printf("result: uninstall median %.0f ms, cmd /c rd /s /q median %.0f ms; the rounds' ratios' median %.2fx\n",
              Median(removals), Median(commands), Median(ratios));
  std::printf("reference: the same tree by a plain FindFirstFileA/DeleteFileA walk in one process %.0f ms "
              "(uninstall %.2fx), cmd /c rem alone %.0f ms\n",
              Median(walks), Median(removals) / Median(walks), Median(starts));
  PrintRatio("uninstall", Median(ratios), 1.5, "removal through the dialog / cmd /c rd /s /q");
  return 0;
}
