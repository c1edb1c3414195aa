#include "StartMode.h"

#include "Mbcs.h"

namespace startmode {

std::string NormaliseCommandLine(const std::string& cmdLine) { return mbcs::ToLower(cmdLine); }

std::string FolderOf(const std::string& modulePath) {
  std::size_t slash = mbcs::FindLastChar(modulePath, '\\');
  std::size_t alt = mbcs::FindLastChar(modulePath, '/');
  if (alt != std::string::npos && (slash == std::string::npos || alt > slash)) slash = alt;
  if (slash != std::string::npos) return modulePath.substr(0, slash + 1);
  std::size_t colon = mbcs::FindFirstChar(modulePath, ':');
  return colon == std::string::npos ? std::string() : modulePath.substr(0, colon + 1);
}

std::string InstanceName(const std::string& modulePath) {
  std::string name = modulePath.substr(FolderOf(modulePath).size());
  std::size_t dot = mbcs::FindLastChar(name, '.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

bool IsWindowsFolder(const std::string& setupDir, const std::string& windowsDir) {
  return mbcs::IEquals(setupDir, windowsDir + "\\");
}

static bool Has(const std::string& s, const char* a, const char* b) {
  return s.find(a) != std::string::npos || s.find(b) != std::string::npos;
}

Plan Decide(const std::string& cmd, const std::string& setupDir, const std::string& windowsDir,
            const std::function<int(const std::string&)>& readMode) {
  Plan plan;
  if (IsWindowsFolder(setupDir, windowsDir)) {
    if (!Has(cmd, "-d", "/d")) {
      plan.action = Action::ErrNoOption;
      return plan;
    }
    std::size_t t = cmd.find("-t");
    if (t == std::string::npos) t = cmd.find("/t");
    if (t == std::string::npos) {
      plan.action = Action::ErrNoTarget;
      return plan;
    }
    plan.strFolder = cmd.substr(t + 2);
    // The registered command gives the folder with its backslash; the file name is
    // joined with one more, which the file system accepts.
    if (readMode(plan.strFolder + "\\Setup.ini") != 2) {
      plan.action = Action::ErrNoSetupInfo;
      return plan;
    }
    plan.action = Action::Uninstall;
    return plan;
  }
  int mode = readMode(setupDir + "Setup.ini");
  if (Has(cmd, "-s", "/s"))
    plan.action = Action::Authoring;
  else if (Has(cmd, "-d", "/d"))
    plan.action = Action::ErrMisuseD;
  else
    plan.action = mode == 1 ? Action::Install : Action::Authoring;
  return plan;
}

}  // namespace startmode
