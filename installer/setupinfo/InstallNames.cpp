#include "InstallNames.h"

#include "FolderRules.h"
#include "Mbcs.h"

namespace setupinfo {

std::string ShortcutName(const std::string& prgShortCut, const std::string& exeTitle) {
  return prgShortCut.empty() ? exeTitle + "へのｼｮｰﾄｶｯﾄ" : MadeLinkName(prgShortCut);
}

std::string GroupFolderName(const std::string& prgGroup, const std::string& exeTitle) {
  return MadeName(prgGroup.empty() ? exeTitle : prgGroup);
}

std::string MadeLinkName(const std::string& name) {
  std::string made, part;
  for (std::size_t i = 0; i < name.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(name[i]);
    if (mbcs::IsLeadByte(c) && i + 1 < name.size()) {
      part.append(name, i++, 2);
    } else if (c == '\\' || c == '/') {
      // "." and ".." climb: left as they are, for the checks that refuse them
      made += part.find_first_not_of(". ") == std::string::npos ? part : KeptName(part);
      made += static_cast<char>(c);
      part.clear();
    } else {
      part += static_cast<char>(c);
    }
  }
  return made + part;
}

std::string KeptName(const std::string& name) {
  // "." and " " lie below the trail bytes, so a byte-wise trim never cuts a character
  std::size_t keep = name.find_last_not_of(". ");
  return keep == std::string::npos ? std::string() : name.substr(0, keep + 1);
}

std::string MadeName(const std::string& name) {
  std::string made, part;
  auto endPart = [&]() {
    std::string kept = KeptName(part);
    bool vanishes = !part.empty() && kept.empty();
    made += kept;
    part.clear();
    return !vanishes;
  };
  for (std::size_t i = 0; i < name.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(name[i]);
    if (mbcs::IsLeadByte(c) && i + 1 < name.size()) {
      part.append(name, i++, 2);
    } else if (c == '\\' || c == '/') {
      if (!endPart()) return std::string();
      made += static_cast<char>(c);
    } else {
      part += static_cast<char>(c);
    }
  }
  return endPart() ? made : std::string();
}

std::string GroupLinkName(const std::string& givenName, const std::string& groupFile) {
  if (!givenName.empty()) return MadeLinkName(givenName);
  std::string path = groupFile;
  if (EndsWithBackslash(path)) path.pop_back();
  return ExeTitle(path);
}

std::string UninstallKey(const std::string& exeTitle) { return std::string(kUninstallKeyBase) + exeTitle; }

std::string UninstallCommand(const std::string& windowsDir, const std::string& installDir) {
  return windowsDir + kInstallerCopy + " -d -t" + installDir;
}

std::string QuietUninstallCommand(const std::string& windowsDir, const std::string& installDir) {
  return windowsDir + kInstallerCopy + " -q -d -t" + installDir;
}

}  // namespace setupinfo
