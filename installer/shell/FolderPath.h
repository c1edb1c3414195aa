// Path helpers without OS calls: which folders CreateFolderPath creates, one by one.
#pragma once
#include <string>
#include <vector>

namespace shell {

// The levels CreateFolderPath tries, in order: C:\Apps\Sample\ gives C:\Apps and
// C:\Apps\Sample; \\srv\share\dir gives \\srv\share and \\srv\share\dir; a bare name
// gives itself; C:\ gives C: alone. Backslashes are found on character boundaries.
std::vector<std::string> FolderLevels(const std::string& path);

// Byte offset of the first occurrence of `what` in `s` that starts on a character
// boundary (case-sensitive), or npos. An empty `what` is not found.
std::size_t FindText(const std::string& s, const std::string& what);

}  // namespace shell
