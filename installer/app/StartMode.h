// The start-up decision: which branch, which mode, which wrong-use box.
// Portable: the caller reads the folders, the command line and Setup.ini.
#pragma once
#include <functional>
#include <string>

namespace startmode {

enum class Action {
  Authoring,         // wizard in authoring form
  Install,           // backdrop or wizard in install form
  Uninstall,         // uninstall dialog on strFolder
  ErrNoOption,       // Windows folder without -d
  ErrNoTarget,       // Windows folder, -d without -t
  ErrNoSetupInfo,    // Windows folder, Setup.ini of the folder is not Mode 2
  ErrMisuseD,        // elsewhere, -d without -s
};

struct Plan {
  Action action = Action::Authoring;
  std::string strFolder;  // uninstall: the folder text after -t, as typed (lower case)
};

// The command line as the program sees it: lower-cased, double-byte aware.
std::string NormaliseCommandLine(const std::string& cmdLine);

// Drive and folder of a module path, with the final backslash.
std::string FolderOf(const std::string& modulePath);

// Base name without folder and extension: the single-instance name.
std::string InstanceName(const std::string& modulePath);

// True when setupDir is the Windows folder (compared without case, with its backslash).
bool IsWindowsFolder(const std::string& setupDir, const std::string& windowsDir);

// readMode(path to Setup.ini) returns [Setup] Mode of that file, 0 when absent.
Plan Decide(const std::string& cmdLower, const std::string& setupDir, const std::string& windowsDir,
            const std::function<int(const std::string&)>& readMode);

}  // namespace startmode
