// File tree benchmark: a distribution of 10,000 files in 500 folders, listed by
// BuildTree and by a bare FindFirstFileA walk, then saved and loaded. Run by hand under
// a display (the tree is a real, hidden tree view); see bench/README.md.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "BenchClock.h"
#include "FileTreeCtrl.h"
#include "Globals.h"
#include "LoadingDlg.h"
#include "ProfileSection_win.h"

CString g_strSetupDir;
CString g_strTopRoot;
int g_bAuthorMode = 1;
CLoadingDlg* g_pLoadingDlg = nullptr;
void PumpPendingMessage() {
  MSG msg;
  if (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
}

namespace {

void Touch(const std::string& path) {
  HANDLE h = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD put;
  ::WriteFile(h, "x", 1, &put, nullptr);
  ::CloseHandle(h);
}

// 20 folders of 24 subfolders each (500 folders with the 20), 20 files in each (18 in
// the last), and the application with its icon at the top: 10,000 files. Data files of
// ten types; with `ownIcons`, one file in ten is an .exe or .ico, types whose icon the
// shell takes from the file itself.
int MakeDistribution(const std::string& dir, bool ownIcons) {
  static const char* const kExt[] = {".txt", ".dat", ".bmp", ".wav", ".wds", ".ini", ".htm", ".dll", ".csv", ".mid"};
  int files = 0;
  auto fill = [&](const std::string& folder) {
    for (int f = 0; f < 20 && files < 10000; ++f) {
      const char* ext = kExt[f % 10];
      if (ownIcons && f == 9) ext = ".exe";
      if (ownIcons && f == 19) ext = ".ico";
      Touch(folder + "file" + std::to_string(f) + ext);
      ++files;
    }
  };
  Touch(dir + "app.exe");
  Touch(dir + "app.ico");
  files += 2;
  for (int a = 0; a < 20; ++a) {
    std::string top = dir + "group" + std::to_string(a) + "\\";
    ::CreateDirectoryA(top.c_str(), nullptr);
    fill(top);
    for (int b = 0; b < 24; ++b) {
      std::string sub = top + "part" + std::to_string(b) + "\\";
      ::CreateDirectoryA(sub.c_str(), nullptr);
      fill(sub);
    }
  }
  return files;
}

// What a listing alone costs: every folder once, every entry looked at.
int BareWalk(const std::string& folder) {
  int files = 0;
  WIN32_FIND_DATAA fd;
  HANDLE h = ::FindFirstFileA((folder + "*.*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return 0;
  do {
    std::string name = fd.cFileName;
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      if (name != "." && name != "..") files += BareWalk(folder + name + "\\");
    } else {
      ++files;
    }
  } while (::FindNextFileA(h, &fd));
  ::FindClose(h);
  return files;
}

// The plain work of a load: the section read once and the same items inserted into a
// plain tree view, each as the last child of its folder, found through a table of the
// folders inserted. With `look`, each stored path is first looked at on the disk, as a
// load must (an entry no longer there stays out). Returns the number of items.
int PlainLoad(HWND tree, const std::string& ini, std::vector<char>& buf, bool look) {
  ::SendMessageA(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
  DWORD n = ::GetPrivateProfileSectionA("TreeCtrl", buf.data(), static_cast<DWORD>(buf.size()), ini.c_str());
  std::unordered_map<std::string, HTREEITEM> folders;
  int items = 0;
  for (const char* line = buf.data(); line < buf.data() + n && *line; line += std::strlen(line) + 1) {
    if (line[0] != '_' || line[1] != 'f') continue;
    const char* bar = std::strrchr(line, '|');
    const char* eq = std::strchr(line, '=');
    if (!bar || !eq) continue;
    std::string path(eq + 1, bar);
    if (look && ::GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) continue;
    unsigned long attr = std::strtoul(bar + 1, nullptr, 10);
    if (!path.empty() && path.back() == '\\') path.pop_back();
    std::size_t slash = path.rfind('\\');
    auto parent = folders.find(slash == std::string::npos ? std::string() : path.substr(0, slash));
    TVINSERTSTRUCTA is = {};
    is.hParent = items == 0 ? TVI_ROOT : parent == folders.end() ? nullptr : parent->second;
    if (!is.hParent) continue;
    is.hInsertAfter = TVI_LAST;
    is.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
    std::string label = items == 0 ? path : path.substr(slash + 1);
    is.item.pszText = &label[0];
    HTREEITEM h = reinterpret_cast<HTREEITEM>(::SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&is)));
    ++items;
    if (attr & FILE_ATTRIBUTE_DIRECTORY) folders.emplace(path, h);
  }
  return items;
}

void RemoveAll(const std::string& folder) {
  WIN32_FIND_DATAA fd;
  HANDLE h = ::FindFirstFileA((folder + "*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      std::string name = fd.cFileName;
      if (name == "." || name == "..") continue;
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveAll(folder + name + "\\");
      else ::DeleteFileA((folder + name).c_str());
    } while (::FindNextFileA(h, &fd));
    ::FindClose(h);
  }
  ::RemoveDirectoryA(folder.substr(0, folder.size() - 1).c_str());
}

}  // namespace

int main(int argc, char** argv) {
  const bool ownIcons = argc > 1 && std::string(argv[1]) == "--own-icons";
  INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_TREEVIEW_CLASSES};
  ::InitCommonControlsEx(&icc);
  char tmp[MAX_PATH];
  ::GetTempPathA(MAX_PATH, tmp);
  const std::string dir = std::string(tmp) + "hbtree_bench_" + std::to_string(::GetCurrentProcessId()) + "\\";
  ::CreateDirectoryA(dir.c_str(), nullptr);
  double t0 = Now();
  int made = MakeDistribution(dir, ownIcons);
  std::printf("distribution: %d files in 500 folders%s, made in %.0f ms\n", made,
              ownIcons ? " (1000 of them .exe or .ico)" : "", Now() - t0);

  HWND host = ::CreateWindowExA(0, "STATIC", "bench", WS_POPUP, 0, 0, 300, 400, nullptr, nullptr, nullptr, nullptr);
  HWND hTree = ::CreateWindowExA(0, WC_TREEVIEWA, "", WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES | TVS_SHOWSELALWAYS,
                                 0, 0, 300, 400, host, nullptr, nullptr, nullptr);
  CFileTreeCtrl tree;
  tree.SubclassWindow(hTree);
  HWND hPlain = ::CreateWindowExA(0, WC_TREEVIEWA, "", WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES | TVS_SHOWSELALWAYS,
                                  0, 0, 300, 400, host, nullptr, nullptr, nullptr);
  SHFILEINFOA icons;
  ::SendMessageA(hPlain, TVM_SETIMAGELIST, TVSIL_NORMAL,
                 ::SHGetFileInfoA("x.txt", FILE_ATTRIBUTE_NORMAL, &icons, sizeof icons,
                                  SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES));
  g_strSetupDir = dir;
  g_strTopRoot = dir;

  const int kRounds = BenchUnderProfiler() ? 1 : 7;
  const std::string ini = dir + "Setup.ini";
  std::vector<char> sectionBuf(8u << 20);
  std::vector<double> bare, build, saveFresh, save, saveSame, load, plain, plainLoad, plainLook;
  // each round's own ratios: the machine's load moves between rounds
  std::vector<double> buildRatio, saveRatio, loadRatio, lookRatio;
  int bareFiles = 0, builtFiles = 0, loaded = 0, plainItems = 0;
  // one step timed (and, under callgrind, profiled)
  auto timed = [](const char* what, std::vector<double>& into, const std::function<void()>& step) {
    BenchStepBegin();
    double a = Now();
    step();
    into.push_back(Now() - a);
    BenchStepEnd(what);
  };
  for (int r = 0; r < kRounds; ++r) {
    timed("bare walk", bare, [&] { bareFiles = BareWalk(dir); });
    tree.ClearTree();
    timed("BuildTree", build, [&] { builtFiles = tree.BuildTree(dir + "group3\\part7\\file4.wds"); });

    ::DeleteFileA(ini.c_str());
    timed("SaveTree, new file", saveFresh, [&] { tree.SaveTree(); });
    ::WritePrivateProfileStringA("TreeCtrl", "Files", "-1", ini.c_str());
    timed("SaveTree, one change", save, [&] { tree.SaveTree(); });
    timed("SaveTree, no change", saveSame, [&] { tree.SaveTree(); });

    tree.ClearTree();
    timed("LoadTree", load, [&] { loaded = tree.LoadTree(); });

    // the plain platform work of a save: the section read and written back whole
    timed("plain save", plain, [&] {
      ::GetPrivateProfileSectionA("TreeCtrl", sectionBuf.data(), static_cast<DWORD>(sectionBuf.size()), ini.c_str());
      ::WritePrivateProfileSectionA("TreeCtrl", sectionBuf.data(), ini.c_str());
    });
    timed("plain load", plainLoad, [&] { plainItems = PlainLoad(hPlain, ini, sectionBuf, false); });
    timed("plain load, paths looked at", plainLook, [&] { PlainLoad(hPlain, ini, sectionBuf, true); });

    buildRatio.push_back(build.back() / bare.back());
    saveRatio.push_back(saveFresh.back() / plain.back());
    loadRatio.push_back(load.back() / plainLoad.back());
    lookRatio.push_back(load.back() / plainLook.back());
  }
  double ratio = Median(buildRatio);
  std::printf("bare FindFirstFileA walk: %d files, median %.1f ms (min %.1f)\n", bareFiles, Median(bare),
              *std::min_element(bare.begin(), bare.end()));
  std::printf("BuildTree:                %d files, %u items, median %.1f ms (min %.1f)  = %.2fx the bare walk\n",
              builtFiles, tree.GetCount(), Median(build), *std::min_element(build.begin(), build.end()), ratio);
  std::printf("SaveTree, new file:       median %.1f ms (Setup.ini %lu bytes)\n", Median(saveFresh),
              static_cast<unsigned long>(::GetCompressedFileSizeA(ini.c_str(), nullptr)));
  std::printf("SaveTree, one change:     median %.1f ms\n", Median(save));
  std::printf("SaveTree, no change:      median %.1f ms\n", Median(saveSame));
  std::printf("LoadTree:                 Count %d, median %.1f ms\n", loaded, Median(load));
  std::printf("section read + write back, plain: median %.1f ms  (SaveTree of a new file = %.2fx)\n", Median(plain),
              Median(saveRatio));
  std::printf("section read + the same inserts into a plain tree view: %d items, median %.1f ms  (LoadTree = %.2fx)\n",
              plainItems, Median(plainLoad), Median(loadRatio));
  std::printf("  the same, each stored path looked at first: median %.1f ms  (LoadTree = %.2fx)\n", Median(plainLook),
              Median(lookRatio));
  std::printf("(ratios: the median of the rounds' own ratios)\n");

  // What the two shortcuts save, measured on samples.
  std::vector<std::string> sample;
  for (int b = 0; b < 10; ++b)
    for (int f = 0; f < 20; ++f) sample.push_back(dir + "group1\\part" + std::to_string(b) + "\\file" + std::to_string(f) + ".txt");
  SHFILEINFOA sfi;
  double a = Now();
  for (const std::string& p : sample) ::SHGetFileInfoA(p.c_str(), 0, &sfi, sizeof sfi, SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
  double perPath = (Now() - a) / static_cast<double>(sample.size());
  std::printf("SHGetFileInfoA per path:  %.3f ms a call (x %d items = %.0f ms if asked per item)\n", perPath,
              tree.GetCount(), perPath * tree.GetCount());
  const std::string keyIni = dir + "keys.ini";
  a = Now();
  for (int i = 0; i < 500; ++i)
    ::WritePrivateProfileStringA("TreeCtrl", ("_f" + std::to_string(i)).c_str(), (dir + "x|32").c_str(), keyIni.c_str());
  std::printf("WritePrivateProfileStringA, 500 keys one by one: %.0f ms\n", Now() - a);

  tree.ClearTree();
  tree.UnsubclassWindow();
  ::DestroyWindow(host);
  RemoveAll(dir);
  PrintRatio("tree_build", ratio, 1.4, "BuildTree / bare FindFirstFileA walk");
  PrintRatio("tree_save", Median(saveRatio), 1.1, "SaveTree of a new file / section read + write back");
  // a load must look at each stored path: the plain load that does is the aimed one
  PrintRatio("tree_load_looked", Median(lookRatio), 1.3, "LoadTree / section read + the same inserts, each path looked at");
  PrintRatio("tree_load", Median(loadRatio), 0, "LoadTree / section read + the same inserts, no path looked at");
  return 0;
}
