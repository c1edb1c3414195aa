#include "FolderPath.h"

#include "Mbcs.h"

namespace shell {

std::vector<std::string> FolderLevels(const std::string& pathIn) {
  std::string path = pathIn;
  std::size_t colon = mbcs::FindFirstChar(path, ':');
  // One trailing backslash goes; a trail byte that looks like one is a character's half.
  if (!path.empty() && mbcs::FindLastChar(path, '\\') == path.size() - 1) path.erase(path.size() - 1);

  std::size_t start;
  if (colon != std::string::npos) {
    start = colon + 2;  // past "C:\": the drive root itself is never created
  } else {
    std::size_t slash = mbcs::FindFirstChar(path, '\\', 2);  // past "\\" of \\server\share
    start = slash == std::string::npos ? 0 : slash + 1;
  }

  std::vector<std::string> levels;
  for (;;) {
    std::size_t next = start < path.size() ? mbcs::FindFirstChar(path, '\\', start) : std::string::npos;
    if (next == std::string::npos) {
      levels.push_back(path);
      break;
    }
    levels.push_back(path.substr(0, next));
    start = next + 1;
  }
  return levels;
}

std::string JoinFolderName(const std::string& folder, const std::string& name) {
  if (!folder.empty() && mbcs::FindLastChar(folder, '\\') == folder.size() - 1) return folder + name;
  return folder + "\\" + name;
}

std::size_t FindText(const std::string& s, const std::string& what) {
  if (what.empty()) return std::string::npos;
  for (std::size_t i = 0; i + what.size() <= s.size();) {
    if (s.compare(i, what.size(), what) == 0) return i;
    i += (mbcs::IsLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size()) ? 2 : 1;
  }
  return std::string::npos;
}

}  // namespace shell
