// Peers benchmark: one distribution (laid out by scripts/bench-peers.sh) installed and
// removed without a person by Hanbell (Setup.exe -q, then the registered
// QuietUninstallString), by Hanbell's one-file package of it (-q, then the same
// removal), by an NSIS installer of the same files (/S, then its
// uninstaller /S), by an MSI of them (msiexec /qn /i, then /x) and by a plain copy
// (xcopy /e /i, then rd /s /q), in turns whose order rotates from round to round: each
// round installs with each of them into a fresh folder, then removes every install, then
// waits for the disk to settle (Settle). Each is timed as a whole process, from its start
// to its end. Leaves the prefix as it found it.
// Usage: peers_bench.exe DIST NSIS MSI PACKAGE NAME [rounds [settle seconds]]
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "uitest.h"

using namespace uitest;

namespace {

std::string RegString(const char* key, const char* value) {
  char buf[1024] = "";
  DWORD size = sizeof buf;
  if (::RegGetValueA(HKEY_LOCAL_MACHINE, key, value, RRF_RT_REG_SZ, nullptr, buf, &size) != ERROR_SUCCESS) return "";
  return buf;
}

struct Peer {
  const char* name;
  std::string (*install)(const std::string& target);
  std::string (*remove)(const std::string& target);
  int nExtra;      // files it installs beside the tree's: Setup.ini, the uninstaller, the installer's two
  int nFilesLeft;  // what its removal leaves by design (NSIS's uninstaller, running while it removes)
};

std::string g_dist, g_nsis, g_msi, g_package, g_key, g_packageKey;

const Peer kPeers[] = {
    {"hanbell", [](const std::string& t) { return "\"" + g_dist + "Setup.exe\" -q -t" + t; },
     [](const std::string&) { return RegString(g_key.c_str(), "QuietUninstallString"); }, 1, 0},
    // /D= comes last and unquoted; _?= runs the uninstaller where it lies, so that its
    // process is the whole removal (without it, it copies itself away and returns)
    {"nsis", [](const std::string& t) { return "\"" + g_nsis + "\" /S /D=" + NoSlash(t); },
     [](const std::string& t) { return "\"" + t + "uninst.exe\" /S _?=" + NoSlash(t); }, 1, 1},
    {"msi", [](const std::string& t) { return "msiexec.exe /qn /i \"" + g_msi + "\" INSTALLDIR=\"" + t + "\""; },
     [](const std::string& t) { return "msiexec.exe /qn /x \"" + g_msi + "\" INSTALLDIR=\"" + t + "\""; }, 0, 0},
    {"copy", [](const std::string& t) { return "xcopy.exe /e /i /q \"" + NoSlash(g_dist) + "\" \"" + NoSlash(t) + "\""; },
     [](const std::string& t) { return "cmd.exe /c rd /s /q \"" + NoSlash(t) + "\""; }, 2, 0},
    {"package", [](const std::string& t) { return "\"" + g_package + "\" -q -t" + t; },
     [](const std::string&) { return RegString(g_packageKey.c_str(), "QuietUninstallString"); }, 1, 0},
};
constexpr int kNsis = 1, kPackage = 4;
constexpr int kNumPeers = sizeof kPeers / sizeof kPeers[0];

struct Times {
  std::vector<double> install, remove;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 6) {
    std::printf("usage: peers_bench DIST NSIS MSI PACKAGE NAME [rounds]\n");
    return 2;
  }
  g_dist = argv[1];
  if (g_dist.back() != '\\') g_dist += '\\';
  g_nsis = argv[2];
  g_msi = argv[3];
  g_package = argv[4];
  const std::string name = argv[5];
  const int rounds = argc > 6 ? std::max(1, std::atoi(argv[6])) : 5;
  const int settle = argc > 7 ? std::atoi(argv[7]) : 32;
  // the uninstall key is named after the executable's title
  char select[MAX_PATH] = "";
  ::GetPrivateProfileStringA("TreeCtrl", "Select", "", select, sizeof select, (g_dist + "Setup.ini").c_str());
  std::string title = select;
  title = title.substr(title.find_last_of('\\') + 1);
  title = title.substr(0, title.find('.'));
  g_key = "SoftWare\\Microsoft\\Windows\\CurrentVersion\\UnInstall\\" + title;
  // the package was made with the next file as its executable: a key of its own, so
  // that both installs may stand side by side
  g_packageKey = g_key.substr(0, g_key.size() - 1) + "1";
  const std::string win = WindowsDir();
  const bool hadCopy = ::GetFileAttributesA((win + "Hanbell.exe").c_str()) != INVALID_FILE_ATTRIBUTES;
  const bool hadRecord = ::GetFileAttributesA((win + "Hanbell.ini").c_str()) != INVALID_FILE_ATTRIBUTES;
  // the tree's files, without the installer's own two
  const int nFiles = CountFiles(g_dist) - 2;
  const std::string work = TempDir("hb_peers_bench");

  Times t[kNumPeers];
  std::vector<double> ratio[kNumPeers][2];  // Hanbell's over each peer's, per round
  std::vector<double> packageRatio;         // the package's install over NSIS's, per round
  for (int r = 0; r < rounds; ++r) {
    double ins[kNumPeers], rem[kNumPeers];
    std::string target[kNumPeers], removal[kNumPeers];
    bool whole = true;
    std::string line;
    // every install into a fresh folder, then every removal, each in turns that start
    // with the next peer from round to round: none always runs on a cache another
    // warmed, and no install follows a removal but after the disk settled
    Settle(settle);
    for (int k = 0; k < kNumPeers; ++k) {
      const int p = (k + r) % kNumPeers;
      target[p] = work + kPeers[p].name + std::to_string(r) + "\\";
      ins[p] = Run(kPeers[p].install(target[p]));
      const int got = CountFiles(target[p]), want = nFiles + kPeers[p].nExtra;
      if (got != want) {
        std::printf("  %s installed %d files, not %d\n", kPeers[p].name, got, want);
        ins[p] = -1;
      }
      removal[p] = kPeers[p].remove(target[p]);
    }
    for (int k = 0; k < kNumPeers; ++k) {
      const int p = (k + r) % kNumPeers;
      rem[p] = removal[p].empty() ? -1 : Run(removal[p]);
      const int left = CountFiles(target[p]);
      if (left > kPeers[p].nFilesLeft) {
        std::printf("  %s left %d files\n", kPeers[p].name, left);
        rem[p] = -1;
      }
      RemoveTree(target[p]);
    }
    for (int p = 0; p < kNumPeers; ++p) {
      char buf[96];
      std::snprintf(buf, sizeof buf, " %s %.0f/%.0f", kPeers[p].name, ins[p], rem[p]);
      line += buf;
      whole = whole && ins[p] > 0 && rem[p] > 0;
    }
    std::printf("%s round %d (install/removal ms):%s\n", name.c_str(), r + 1, line.c_str());
    std::fflush(stdout);
    if (!whole) continue;
    for (int p = 0; p < kNumPeers; ++p) {
      t[p].install.push_back(ins[p]);
      t[p].remove.push_back(rem[p]);
      ratio[p][0].push_back(ins[0] / ins[p]);
      ratio[p][1].push_back(rem[0] / rem[p]);
    }
    packageRatio.push_back(ins[kPackage] / ins[kNsis]);
  }

  RemoveTree(work);
  std::string relative = std::string(select).substr(g_dist.size());
  ::WritePrivateProfileStringA("SetupDirectory", relative.c_str(), nullptr, "Hanbell.ini");
  relative.replace(relative.rfind("0."), 1, "1");  // the package's executable
  ::WritePrivateProfileStringA("SetupDirectory", relative.c_str(), nullptr, "Hanbell.ini");
  if (!hadCopy) ::DeleteFileA((win + "Hanbell.exe").c_str());
  if (!hadRecord) ::DeleteFileA((win + "Hanbell.ini").c_str());
  if (t[0].install.empty()) {
    std::printf("%s: no complete round\n", name.c_str());
    return 1;
  }
  std::printf("%s result (medians, ms):", name.c_str());
  for (int p = 0; p < kNumPeers; ++p)
    std::printf(" %s %.0f/%.0f", kPeers[p].name, Median(t[p].install), Median(t[p].remove));
  std::printf("\n");
  struct Row {
    int peer;
    const char* what;
    double aim;
  };
  PrintRatio(("nsis_package_" + name).c_str(), Median(packageRatio), 1.0,
             ("Hanbell's package -q / NSIS /S, " + name + " tree, whole processes").c_str());
  const Row rows[] = {{1, "NSIS", 1.0}, {2, "MSI", 0}, {3, "plain copy", 0}};
  for (const Row& row : rows) {
    const std::string prefix = row.peer == 1 ? "nsis" : row.peer == 2 ? "msi" : "copy";
    const std::string peerInstall = row.peer == 1 ? "NSIS /S" : row.peer == 2 ? "msiexec /qn /i" : "xcopy /e /i";
    const std::string peerRemove = row.peer == 1 ? "its uninstaller /S" : row.peer == 2 ? "msiexec /qn /x" : "rd /s /q";
    PrintRatio((prefix + "_install_" + name).c_str(), Median(ratio[row.peer][0]), row.aim,
               ("Hanbell -q / " + peerInstall + ", " + name + " tree, whole processes").c_str());
    PrintRatio((prefix + "_remove_" + name).c_str(), Median(ratio[row.peer][1]), row.aim,
               ("QuietUninstallString / " + peerRemove + ", " + name + " tree").c_str());
  }
  return 0;
}
