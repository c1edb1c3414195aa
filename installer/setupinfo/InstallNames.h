// Names an install creates and an uninstall later looks for: shortcut and group
// names, the uninstall key and command, and the shared-file count key. One place,
// so that the removal finds exactly what the install made. Portable.
#pragma once
#include <string>

namespace setupinfo {

// The installer's own copy in the Windows folder, and the name it is staged under.
constexpr const char* kInstallerCopy = "Hanbell.exe";
constexpr const char* kInstallerStaging = "HbDummy.exe";
constexpr const char* kInstallerSource = "Setup.exe";
constexpr const char* kSetupDirectoryFile = "Hanbell.ini";

// Under HKEY_LOCAL_MACHINE; the uninstall entry's key is this + the executable title.
constexpr const char* kUninstallKeyBase = "SoftWare\\Microsoft\\Windows\\CurrentVersion\\UnInstall\\";
// Under HKEY_LOCAL_MACHINE: Windows' use counts of shared files (value name: the file's
// full path, value: a REG_DWORD count).
constexpr const char* kSharedDllsKey = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

// The executable's shortcut name (no ".lnk"): PrgShortCut, else title + "へのｼｮｰﾄｶｯﾄ",
// its folder part as the file system makes it (MadeLinkName).
std::string ShortcutName(const std::string& prgShortCut, const std::string& exeTitle);

// The program group's folder name: PrgGroup, else the executable title, as the file
// system makes the folder (see MadeName); "" when such a folder cannot be made.
std::string GroupFolderName(const std::string& prgGroup, const std::string& exeTitle);

// A folder name as the file system makes it: Windows drops a "." or " " at the end of
// each name ("ABC Inc." becomes "ABC Inc"), so the install makes and the removal looks
// for the name without them. "" when a name would vanish by that ("...", ". ").
std::string MadeName(const std::string& name);
// One name as the file system keeps it: without the "." and " " at its end ("" when
// nothing else is left).
std::string KeptName(const std::string& name);

// A shortcut name (no ".lnk") as the file system makes it: the folders it names as
// the file system makes them ("Tools.\App" is made as "Tools\App"; "." and ".." stay,
// for the checks that refuse them), its own name as it is, since ".lnk" follows it.
std::string MadeLinkName(const std::string& name);

// The shortcut name of a group file (no ".lnk"): its own name (MadeLinkName) when one is given,
// else the file's name without folder and extension, one trailing "\" dropped first,
// so that a folder entry is named after the folder.
std::string GroupLinkName(const std::string& givenName, const std::string& groupFile);

// HKLM subkey of the uninstall entry.
std::string UninstallKey(const std::string& exeTitle);

// The registered command: Windows folder (with its backslash) + "Hanbell.exe -d -t"
// + the install folder exactly as given, unquoted.
std::string UninstallCommand(const std::string& windowsDir, const std::string& installDir);
// The same command for a removal without a person: "Hanbell.exe -q -d -t" + the folder.
std::string QuietUninstallCommand(const std::string& windowsDir, const std::string& installDir);

}  // namespace setupinfo
