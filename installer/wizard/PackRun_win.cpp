#include "PackRun_win.h"

#include <set>

#include "FolderRules.h"
#include "InstallPlan.h"
#include "Mbcs.h"
#include "Package.h"
#include "ProfileSection_win.h"
#include "SetupInfo_win.h"
#include "ShellFolders.h"

using namespace packrun;
using setupinfo::kBufPath;

namespace {

CString FullPath(const CString& path) {
  char buf[2 * MAX_PATH] = "";
  DWORD n = ::GetFullPathNameA(path.c_str(), sizeof buf, buf, nullptr);
  return n > 0 && n < sizeof buf ? CString(buf, n) : path;
}

// The files an install of this folder copies, as the install's own plan takes them
// from the list, and Setup.ini; false when the list is one no install could go by.
bool ListedFiles(const CString& setupDir, const setupinfo::CProfileSection& tree,
                 std::vector<package::CSourceFile>& files, CString& topRoot) {
  const CString iniPath = setupinfo::IniPath(setupDir);
  installplan::PlanInputs in;
  in.strSetupDir = in.strInstallDir = setupDir;
  in.strTopRoot = setupinfo::WithBackslash(tree.GetString("TopRoot", "", kBufPath));
  if (in.strTopRoot.empty()) in.strTopRoot = setupDir;
  in.strSelect = tree.GetString("Select", "", kBufPath);
  // a Windows-folder file may be refused by its name: the same list as the install's
  setupinfo::CProfileSection system;
  setupinfo::ReadSection(iniPath, setupinfo::kSecSystem, system);
  int nSystem = system.GetInt("Files", 0);
  if (nSystem > installplan::kMaxListEntries) nSystem = installplan::kMaxListEntries;
  for (int i = 0; i < nSystem; ++i)
    in.systemFiles.push_back(
        setupinfo::Rebase(system.GetString(setupinfo::EntryKey("_s", i), "", kBufPath), in.strTopRoot, setupDir));

  const int count = tree.GetInt("Count", 0);
  std::vector<installplan::StoredEntry> stored;
  if (installplan::IsRealListCount(count)) {
    stored.resize(static_cast<std::size_t>(setupinfo::ListEntriesToRead(count, tree.GetKeyCount())));
    for (std::size_t i = 0; i < stored.size(); ++i)
      stored[i].strValue = tree.GetStringCut(setupinfo::EntryKey("_f", static_cast<int>(i)), kBufPath, stored[i].bOverLong);
  }
  const installplan::InstallPlan plan = installplan::MakePlan(in, count, stored);
  if (plan.bSelectMissing || plan.bListDamaged || plan.nMissing > 0) return false;
  topRoot = in.strTopRoot;
  std::set<std::string> names = {mbcs::ToLower(setupinfo::kFileName)};
  for (const installplan::EntryPlan& e : plan.entries) {
    if (e.action == installplan::EntryAction::Refuse) return false;
    if (e.action != installplan::EntryAction::CopyFile) continue;
    if (!package::IsPackableName(e.strRelative) || !names.insert(mbcs::ToLower(e.strRelative)).second) return false;
    files.push_back({e.strSource, e.strRelative});
  }
  return true;
}

// Setup.ini as the package carries it: the listed paths are the author's, so the file
// names the folder they are relative to; a file without that gets it in a copy, and
// the author's own stays as it is. "" when the copy cannot be made.
CString IniToPack(const CString& iniPath, const setupinfo::CProfileSection& tree, const CString& topRoot,
                  CString& copy) {
  if (!tree.GetString("TopRoot", "", kBufPath).empty()) return iniPath;
  char dir[MAX_PATH] = "", path[MAX_PATH] = "";
  DWORD n = ::GetTempPathA(MAX_PATH, dir);
  if (n == 0 || n >= MAX_PATH || !::GetTempFileNameA(dir, "hbi", 0, path)) return CString();
  copy = path;
  if (!::CopyFileA(iniPath.c_str(), path, FALSE) ||
      !setupinfo::PutString(copy, setupinfo::kSecTree, "TopRoot", topRoot))
    return CString();
  ::SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL);
  return copy;
}

}  // namespace

CString PackOutputPath(const CString& setupDir, const CString& outputText) {
  CString select = setupinfo::GetString(setupinfo::IniPath(setupDir), setupinfo::kSecTree, "Select", "");
  return FullPath(OutputPath(outputText, setupDir, setupinfo::ExeTitle(select), GetDesktopFolder()));
}

Result PackDistribution(const CString& setupDir, const CString& installer, const CString& outputText,
                        const package::Progress& progress) {
  Result r;
  const CString iniPath = setupinfo::IniPath(setupDir);
  if (setupinfo::GetInt(iniPath, setupinfo::kSecSetup, "Mode", 0) != 1) return r;
  setupinfo::CProfileSection tree;
  std::vector<package::CSourceFile> files;
  CString topRoot, copy;
  if (!setupinfo::ReadSection(iniPath, setupinfo::kSecTree, tree) || !ListedFiles(setupDir, tree, files, topRoot)) {
    r.outcome = Outcome::Damaged;
    return r;
  }
  r.strOutput = PackOutputPath(setupDir, outputText);
  // first: a package's run begins as soon as it is written, the rest following
  files.insert(files.begin(), {IniToPack(iniPath, tree, topRoot, copy), setupinfo::kFileName});
  CString failed = r.strOutput;
  package::WriteResult written = files.front().strPath.empty()
                                     ? package::WriteResult::Failed
                                     : package::WritePackage(installer, files, r.strOutput, failed, progress);
  if (!copy.empty()) ::DeleteFileA(copy.c_str());
  switch (written) {
    case package::WriteResult::Written:
      r.outcome = Outcome::Written;
      break;
    case package::WriteResult::SourceMissing:
      r.outcome = Outcome::MissingFile;
      // a listed file by the name the list gives it
      r.strPath = failed.compare(0, setupDir.size(), setupDir) == 0 ? failed.substr(setupDir.size()) : failed;
      break;
    case package::WriteResult::Failed:
      r.outcome = Outcome::WriteFailed;
      r.strPath = failed;
      break;
  }
  return r;
}
