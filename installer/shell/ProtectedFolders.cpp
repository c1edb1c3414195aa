#include "ProtectedFolders.h"

#include "InstallNames.h"
#include "Mbcs.h"
#include "Removal.h"

namespace shell {

namespace {

// The path resolved as ComparableFolder reads it; false when it cannot be.
bool Resolve(const std::string& path, uninstall::ResolvedPath& out) {
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
  return uninstall::ResolvePath(spelt, out);
}

}  // namespace

std::string ComparableFolder(const std::string& path) {
  uninstall::ResolvedPath r;
  return Resolve(path, r) ? mbcs::ToLower(r.Text()) : std::string();
}

bool IsProtectedFolder(const std::string& folder, const std::vector<std::string>& protectedFolders) {
  uninstall::ResolvedPath r;
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

}  // namespace shell
