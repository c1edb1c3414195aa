#include "ProtectedFolders.h"

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
      // "." and " " lie below the trail bytes: the trim never cuts a character
      std::size_t keep = name.find_last_not_of(". ");
      name = keep == std::string::npos ? (name.empty() ? name : ".") : name.substr(0, keep + 1);
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
