// Package benchmark: a distribution folder (laid out by scripts/bench-pack.sh, about
// 10 MB) is packed by `Setup.exe -q -p`, then installed quietly from the package and
// from the folder in turns, each timed from the start of its process to its end, and
// removed again by the registered quiet command. Leaves the prefix as it found it.
// Usage: pack_bench.exe DIST PACKAGE [rounds]
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "uitest.h"

using namespace uitest;

namespace {

const char kKey[] = "SoftWare\\Microsoft\\Windows\\CurrentVersion\\UnInstall\\KeyRally";

// Every file below `dir`, as the authoring tree would list it ("path|attributes").
void ListFiles(const std::string& dir, std::vector<std::string>& entries) {
  WIN32_FIND_DATAA fd;
  HANDLE h = ::FindFirstFileA((dir + "*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return;
  do {
    std::string name = fd.cFileName;
    if (name == "." || name == ".." || name == "Setup.exe" || name == "Setup.ini") continue;
    entries.push_back(dir + name + (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY ? "\\|16" : "|32"));
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ListFiles(dir + name + "\\", entries);
  } while (::FindNextFileA(h, &fd));
  ::FindClose(h);
}

std::string AuthoredIni(const std::string& dist) {
  std::vector<std::string> entries = {dist + "|16"};
  ListFiles(dist, entries);
  std::string ini = "[Setup]\r\nTitle=Bench\r\nMode=1\r\nSTime=0\r\n[Option]\r\nBlueBack=0\r\nStartUp=0\r\nProgram=0\r\n"
                    "Desktop=0\r\n[TreeCtrl]\r\nSelect=" + dist + "KeyRally.exe\r\nTopRoot=" + dist + "\r\n";
  for (std::size_t i = 0; i < entries.size(); ++i) ini += "_f" + std::to_string(i) + "=" + entries[i] + "\r\n";
  return ini + "Count=" + std::to_string(entries.size()) + "\r\n";
}

// Runs a command line and waits for its end: the milliseconds from the start, or -1;
// its exit code in *code.
double Run(std::string cmd, DWORD* code) {
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  double start = Now();
  if (!::CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return -1;
  ::WaitForSingleObject(pi.hProcess, INFINITE);
  double took = Now() - start;
  *code = 255;
  ::GetExitCodeProcess(pi.hProcess, code);
  ::CloseHandle(pi.hProcess);
  ::CloseHandle(pi.hThread);
  return took;
}

// The quiet install into `target`, timed; then its removal by the registered command.
double InstallAndRemove(const std::string& program, const std::string& target) {
  DWORD code = 0;
  double took = Run("\"" + program + "\" -q -t" + target, &code);
  if (code != 0) {
    std::printf("%s ended with %lu\n", program.c_str(), static_cast<unsigned long>(code));
    took = -1;
  }
  char command[1024] = "";
  DWORD size = sizeof command;
  if (::RegGetValueA(HKEY_LOCAL_MACHINE, kKey, "QuietUninstallString", RRF_RT_REG_SZ, nullptr, command, &size) ==
      ERROR_SUCCESS) {
    Run(command, &code);
    if (code != 0) std::printf("the removal ended with %lu\n", static_cast<unsigned long>(code));
  }
  RemoveTree(target);
  return took;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::printf("usage: pack_bench DIST PACKAGE [rounds]\n");
    return 2;
  }
  std::string dist = argv[1];
  if (dist.back() != '\\') dist += '\\';
  const std::string package = argv[2];
  const int rounds = argc > 3 ? std::max(1, std::atoi(argv[3])) : 5;
  const std::string win = WindowsDir();
  const bool hadCopy = ::GetFileAttributesA((win + "Hanbell.exe").c_str()) != INVALID_FILE_ATTRIBUTES;
  const bool hadRecord = ::GetFileAttributesA((win + "Hanbell.ini").c_str()) != INVALID_FILE_ATTRIBUTES;
  // the shipped installer the folder holds, or the build's own
  ::CopyFileA((ModuleDir() + "Hanbell.exe").c_str(), (dist + "Setup.exe").c_str(), TRUE);
  WriteFile(dist + "Setup.ini", AuthoredIni(dist));

  DWORD code = 0;
  double pack = Run("\"" + dist + "Setup.exe\" -q -p" + package, &code);
  std::printf("pack: Setup.exe -q -p took %.0f ms, exit code %lu\n", pack, static_cast<unsigned long>(code));
  if (code != 0) return 1;

  const std::string work = TempDir("hb_pack_bench");
  std::vector<double> fromPackage, fromFolder, ratios;
  for (int r = 0; r < rounds; ++r) {
    // in turns, so that neither always runs on a cache the other warmed
    double p = -1, f = -1;
    if (r % 2 == 0) {
      p = InstallAndRemove(package, work + "p\\");
      f = InstallAndRemove(dist + "Setup.exe", work + "f\\");
    } else {
      f = InstallAndRemove(dist + "Setup.exe", work + "f\\");
      p = InstallAndRemove(package, work + "p\\");
    }
    std::printf("round %d: from the package %.0f ms, from the folder %.0f ms\n", r + 1, p, f);
    if (p > 0 && f > 0) {
      fromPackage.push_back(p);
      fromFolder.push_back(f);
      ratios.push_back(p / f);
    }
  }
  RemoveTree(work);
  ::WritePrivateProfileStringA("SetupDirectory", "KeyRally.exe", nullptr, "Hanbell.ini");
  if (!hadCopy) ::DeleteFileA((win + "Hanbell.exe").c_str());
  if (!hadRecord) ::DeleteFileA((win + "Hanbell.ini").c_str());
  if (ratios.empty()) {
    std::printf("no complete round\n");
    return 1;
  }
  std::printf("result: quiet install from the package median %.0f ms, from the folder %.0f ms; the rounds' "
              "ratios' median %.2fx\n",
              Median(fromPackage), Median(fromFolder), Median(ratios));
  PrintRatio("pack_install", Median(ratios), 1.3, "quiet install from the package / from the folder, start to end");
  return 0;
}
