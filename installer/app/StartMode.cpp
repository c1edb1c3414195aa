#include "StartMode.h"

#include <algorithm>

#include "FolderRules.h"
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

// Where a folder begins (after the first "-t" or "/t"), and where a package's path
// begins (after the first "-p" or "/p"); npos when there is none.
static std::size_t FolderSplit(const std::string& lower) { return std::min(lower.find("-t"), lower.find("/t")); }
static std::size_t PackSplit(const std::string& lower) { return std::min(lower.find("-p"), lower.find("/p")); }

bool IsQuiet(const std::string& cmdLine) {
  std::string lower = NormaliseCommandLine(cmdLine);
  return Has(lower.substr(0, std::min(FolderSplit(lower), PackSplit(lower))), "-q", "/q");
}

std::string FolderText(const std::string& text) {
  std::string folder;
  for (char c : text)
    if (c != '"') folder += c;
  std::size_t first = folder.find_first_not_of(" \t"), last = folder.find_last_not_of(" \t");
  return first == std::string::npos ? std::string() : folder.substr(first, last - first + 1);
}

// Outside the Windows folder: authoring, install or packing, with the folder's Mode.
static Plan DecideOutside(const std::string& cmd, const std::string& cmdLine, bool bQuiet, int mode) {
  Plan plan;
  plan.bQuiet = bQuiet;
  const std::size_t pack = PackSplit(cmd);
  const std::size_t split = std::min(pack, bQuiet ? FolderSplit(cmd) : std::string::npos);
  const std::string options = cmd.substr(0, split);
  if (Has(options, "-s", "/s"))
    plan.action = plan.bQuiet ? Action::ErrQuietAuthoring : Action::Authoring;
  else if (Has(options, "-d", "/d"))
    plan.action = Action::ErrMisuseD;
  else if (split != std::string::npos && split == pack)
    plan.action = Action::Pack;
  else if (mode == 1)
    plan.action = Action::Install;
  else
    plan.action = plan.bQuiet ? Action::ErrQuietNoSetupInfo : Action::Authoring;
  // lower-casing keeps every byte in its place, so a path is cut from the line as given
  if ((plan.action == Action::Install || plan.action == Action::Pack) && split != std::string::npos)
    plan.strFolder = FolderText(cmdLine.substr(split + 2));
  return plan;
}

Plan Decide(const std::string& cmdLine, const std::string& setupDir, const std::string& windowsDir,
            const std::function<int(const std::string&)>& readMode,
            const std::function<std::string(const std::string&)>& fullFolder) {
  const std::string cmd = NormaliseCommandLine(cmdLine);
  if (!IsWindowsFolder(setupDir, windowsDir))
    return DecideOutside(cmd, cmdLine, IsQuiet(cmdLine), readMode(setupDir + "Setup.ini"));
  Plan plan;
  plan.bQuiet = IsQuiet(cmdLine);
  const std::size_t split = plan.bQuiet ? FolderSplit(cmd) : std::string::npos;
  // the part of the line options are looked for in
  const std::string options = plan.bQuiet ? cmd.substr(0, split) : cmd;
  if (!Has(options, "-d", "/d")) {
    plan.action = Action::ErrNoOption;
    return plan;
  }
  std::size_t t = split;
  if (!plan.bQuiet) {
    t = cmd.find("-t");
    if (t == std::string::npos) t = cmd.find("/t");
  }
  if (t == std::string::npos) {
    plan.action = Action::ErrNoTarget;
    return plan;
  }
  // the folder as the install read it: whatever does not name one folder in full is
  // refused before anything is read from it
  std::string text = FolderText(cmd.substr(t + 2));
  plan.strFolder = fullFolder ? fullFolder(text) : setupinfo::WithBackslash(text);
  setupinfo::ResolvedPath resolved;
  if (text.empty() || !setupinfo::ResolvePath(plan.strFolder, resolved) ||
      readMode(plan.strFolder + "Setup.ini") != 2) {
    plan.action = Action::ErrNoSetupInfo;
    return plan;
  }
  plan.action = Action::Uninstall;
  return plan;
}

Plan DecidePackage(const std::string& cmdLine) {
  Plan plan = DecideOutside(NormaliseCommandLine(cmdLine), cmdLine, IsQuiet(cmdLine), 1);
  if (plan.action != Action::Install) plan.action = Action::ErrPackageOption;
  return plan;
}

}  // namespace startmode
