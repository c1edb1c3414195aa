#include "InstallNames.h"

#include "Mbcs.h"
#include "WizardRules.h"

namespace setupinfo {

std::string ShortcutName(const std::string& prgShortCut, const std::string& exeTitle) {
  return prgShortCut.empty() ? exeTitle + "へのｼｮｰﾄｶｯﾄ" : prgShortCut;
}

std::string GroupFolderName(const std::string& prgGroup, const std::string& exeTitle) {
  return prgGroup.empty() ? exeTitle : prgGroup;
}

std::string GroupLinkName(const std::string& givenName, const std::string& groupFile) {
  if (!givenName.empty()) return givenName;
  std::string path = groupFile;
  if (wizardrules::EndsWithBackslash(path)) path.pop_back();
  return wizardrules::ExeTitle(path);
}

std::string UninstallKey(const std::string& exeTitle) { return std::string(kUninstallKeyBase) + exeTitle; }

std::string UninstallCommand(const std::string& windowsDir, const std::string& installDir) {
  return windowsDir + kInstallerCopy + " -d -t" + installDir;
}

std::string QuietUninstallCommand(const std::string& windowsDir, const std::string& installDir) {
  return windowsDir + kInstallerCopy + " -q -d -t" + installDir;
}

}  // namespace setupinfo
