// The distribution tree the install and removal benchmarks work on: 20 folders of 9
// subfolders with 10 files in each of the 200 folders, 2,000 files of `fileBytes` each.
#pragma once
#include <string>
#include <vector>

#include "uitest.h"

// Makes the tree in `dir` (with its final backslash) and returns its [TreeCtrl] entries
// relative to `dir`, in the order the file tree saves them: "|16" for the top folder,
// then "name|attributes".
inline std::vector<std::string> MakeBenchTree(const std::string& dir, std::size_t fileBytes) {
  const std::string block(fileBytes, 'd');
  std::vector<std::string> entries = {"|16"};
  auto folder = [&](const std::string& rel) {
    uitest::MakeDirs(dir + rel.substr(0, rel.size() - 1));
    entries.push_back(rel + "|16");
    for (int f = 0; f < 10; ++f) {
      std::string name = rel + "file" + std::to_string(f) + ".dat";
      uitest::WriteFile(dir + name, block);
      entries.push_back(name + "|32");
    }
  };
  for (int a = 0; a < 20; ++a) {
    std::string top = "group" + std::to_string(a) + "\\";
    folder(top);
    for (int b = 0; b < 9; ++b) folder(top + "part" + std::to_string(b) + "\\");
  }
  return entries;
}
