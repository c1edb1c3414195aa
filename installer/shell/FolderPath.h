// Path helpers without OS calls: which folders CreateFolderPath creates, one by one.
#pragma once
#include <string>
#include <vector>

namespace shell {

// The levels CreateFolderPath tries, in order: C:\Apps\Sample\ gives C:\Apps and
// C:\Apps\Sample; \\srv\share\dir gives \\srv\share and \\srv\share\dir; a bare name
// gives itself; C:\ gives C: alone. Backslashes are found on character boundaries.
std::vector<std::string> FolderLevels(const std::string& path);

// `name` in `folder`: a backslash between them unless the folder already ends with one
// (a trail byte 0x5C of its last character is none).
std::string JoinFolderName(const std::string& folder, const std::string& name);

// Byte offset of the first occurrence of `what` in `s` that starts on a character
// boundary (case-sensitive), or npos. An empty `what` is not found.
std::size_t FindText(const std::string& s, const std::string& what);

}  // namespace shell
