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
  ErrQuietAuthoring, // quiet, but -s: authoring needs a person
  ErrQuietNoSetupInfo,  // quiet, and Setup.ini of the folder is not Mode 1
  Pack,              // the distribution packed into one file, strFolder the path after -p
  ErrPackageOption,  // a package started with -s, -d or -p: it can only install
};

struct Plan {
  Action action = Action::Authoring;
  // uninstall: the folder after -t (lower case), read as the install reads its folder:
  // in full, with its final backslash; quiet install: the install folder after -t as
  // typed, "" when none is given; pack: the path after -p as typed, "" when none is given
  std::string strFolder;
  bool bQuiet = false;  // a run without a person: no window, no box, no beep
};

// The command line as the program sees it: lower-cased, double-byte aware.
std::string NormaliseCommandLine(const std::string& cmdLine);

// Drive and folder of a module path, with the final backslash.
std::string FolderOf(const std::string& modulePath);

// Base name without folder and extension: the single-instance name.
std::string InstanceName(const std::string& modulePath);

// True when setupDir is the Windows folder (compared without case, with its backslash).
bool IsWindowsFolder(const std::string& setupDir, const std::string& windowsDir);

// "-q" or "/q" (any case) before the first "-t", "/t", "-p" or "/p": everything after
// that is a path, so no folder name can switch a run to quiet.
bool IsQuiet(const std::string& cmdLine);

// The folder text after -t without the blanks around it and without quotes, which no
// folder name can hold ("-t"C:\x y"" and "-tC:\x y\"" alike).
std::string FolderText(const std::string& text);

// `cmdLine` as given (it is lower-cased here). Outside the Windows folder, everything
// after the first "-p"/"/p" is the package's path; with "-q", everything after the
// first "-t"/"/t" is the folder. Options are looked for only before them.
// readMode(path to Setup.ini) returns [Setup] Mode of that file, 0 when absent.
// fullFolder(text) gives the folder a text names in full ("." and "..", a relative
// name resolved), as the install reads its folder; without it the text is taken as it
// is. An uninstall folder that is not a full folder after that is refused.
Plan Decide(const std::string& cmdLine, const std::string& setupDir, const std::string& windowsDir,
            const std::function<int(const std::string&)>& readMode,
            const std::function<std::string(const std::string&)>& fullFolder = nullptr);

// A package's start: Install (quiet or not, with the folder after -t) for what a
// distribution folder would install with, ErrPackageOption for authoring, uninstall
// and packing, which need a folder.
Plan DecidePackage(const std::string& cmdLine);

}  // namespace startmode
