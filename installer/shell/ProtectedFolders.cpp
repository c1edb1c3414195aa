#include "ProtectedFolders.h"

#include <map>

#include "FolderPath.h"
#include "FolderRules.h"
#include "InstallNames.h"
#include "Mbcs.h"

namespace shell {

namespace {

// The path resolved as ComparableFolder reads it; false when it cannot be.
bool Resolve(const std::string& path, setupinfo::ResolvedPath& out) {
  const std::string s = mbcs::ReplaceAll(path, "/", "\\");
  std::string spelt;
  for (std::size_t start = 0;;) {
    std::size_t end = mbcs::FindFirstChar(s, '\\', start);
    std::string name = s.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (name != "." && name != "..") {
      // a name of dots and blanks only is gone as a whole: it stands for the folder itself
      std::string kept = setupinfo::KeptName(name);
      name = kept.empty() && !name.empty() ? "." : kept;
    }
    spelt += name;
    if (end == std::string::npos) break;
    spelt += "\\";
    start = end + 1;
  }
  return setupinfo::ResolvePath(spelt, out);
}

}  // namespace

std::string ComparableFolder(const std::string& path) {
  setupinfo::ResolvedPath r;
  return Resolve(path, r) ? mbcs::ToLower(r.Text()) : std::string();
}

bool IsProtectedFolder(const std::string& folder, const std::vector<std::string>& protectedFolders) {
  setupinfo::ResolvedPath r;
  if (!Resolve(folder, r) || r.parts.empty()) return true;
  const std::string f = mbcs::ToLower(r.Text());
  for (const std::string& p : protectedFolders) {
    const std::string q = ComparableFolder(p);
    if (q.empty()) continue;
    // the same folder, or one below `folder` (equal bytes up to there are equal characters)
    if (q == f || (q.size() > f.size() && q.compare(0, f.size(), f) == 0 && q[f.size()] == '\\')) return true;
  }
  return false;
}

bool IsSameFolder(const FolderIdentity& a, const FolderIdentity& b) {
  if (a.nIndex != 0 && a.nIndex == b.nIndex && a.nVolume == b.nVolume) return true;
  const std::string fa = ComparableFolder(a.strFinal);
  return !fa.empty() && fa == ComparableFolder(b.strFinal);
}

namespace {

// Each path looked up once per judgement: the protected folders share their parents.
class CCachedLookup {
 public:
  explicit CCachedLookup(IFolderLookup& fs) : m_fs(fs) {}
  Lookup Identify(const std::string& path, FolderIdentity& id) {
    const std::string key = mbcs::ToLower(path);
    auto it = m_known.find(key);
    if (it == m_known.end()) {
      FolderIdentity got;
      Lookup l = m_fs.Identify(path, got);
      it = m_known.emplace(key, std::make_pair(l, got)).first;
    }
    id = it->second.second;
    return it->second.first;
  }

 private:
  IFolderLookup& m_fs;
  std::map<std::string, std::pair<Lookup, FolderIdentity>> m_known;
};

}  // namespace

bool IsProtectedFolder(const std::string& folder, const std::vector<ProtectedFolder>& protectedFolders,
                       IFolderLookup& lookup) {
  std::vector<std::string> spelt;
  for (const ProtectedFolder& p : protectedFolders) {
    if (p.strPath.empty() && p.bRequired) return true;
    spelt.push_back(p.strPath);
  }
  if (IsProtectedFolder(folder, spelt)) return true;
  setupinfo::ResolvedPath r;
  if (!Resolve(folder, r)) return true;
  CCachedLookup fs(lookup);

  // The deepest level that exists: what the folder is, or where it will be made.
  FolderIdentity id;
  std::size_t k = r.parts.size();
  for (;; --k) {
    setupinfo::ResolvedPath level = r;
    level.parts.resize(k);
    const Lookup l = fs.Identify(level.Text(), id);
    if (l == Lookup::Unreadable) return true;
    if (l == Lookup::Found) break;
    if (k == 0) return true;  // no drive or share there
  }
  const bool exists = k == r.parts.size();
  if (exists && id.bVolumeRoot) return true;
  // its spelling once the links on its way are resolved: a drive letter or link for a
  // root, or a way into a protected folder that is not there yet
  if (!id.strFinal.empty()) {
    std::string real = id.strFinal;
    for (std::size_t i = k; i < r.parts.size(); ++i) real = JoinFolderName(real, r.parts[i]);
    if (IsProtectedFolder(real, spelt)) return true;
  }
  if (!exists) return false;  // a folder still to be made holds nothing

  for (const ProtectedFolder& p : protectedFolders) {
    if (p.strPath.empty()) continue;
    FolderIdentity pid;
    const Lookup l = fs.Identify(p.strPath, pid);
    if (l == Lookup::Unreadable) return true;
    if (l == Lookup::Missing) continue;  // the spelling rule judged it
    if (IsSameFolder(id, pid)) return true;
    // the folders above it, as they really are: those of its final path
    setupinfo::ResolvedPath above;
    if (!Resolve(pid.strFinal.empty() ? p.strPath : pid.strFinal, above)) return true;
    while (!above.parts.empty()) {
      above.parts.pop_back();
      FolderIdentity aid;
      const Lookup la = fs.Identify(above.Text(), aid);
      if (la == Lookup::Unreadable) return true;
      if (la == Lookup::Found && IsSameFolder(id, aid)) return true;
    }
  }
  return false;
}

}  // namespace shell
