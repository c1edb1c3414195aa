// Folders that must never be an install folder. The uninstall deletes the names its
// Setup.ini lists below the install folder, so that folder bounds what a tampered file
// can reach: never a drive, Windows' own folders or a folder of the user's that holds
// other programs' files. Portable: the caller gathers this system's folders.
#pragma once
#include <string>
#include <vector>

namespace shell {

// A full path ("C:\..." or "\\server\share\...") as the file system reads it, for
// comparing: "/" as "\", "." and ".." resolved, a "." or " " at the end of a name
// dropped (a name of dots alone reads as "."), ASCII letters in lower case, no final
// "\" but a root's. "" when it cannot be read as a full path.
std::string ComparableFolder(const std::string& path);

// Whether `folder` may not be an install folder: a path that cannot be read, a drive
// or share root, one of `protectedFolders` or a folder that holds one of them.
// Protected folders that are "" (not known here) are passed over.
bool IsProtectedFolder(const std::string& folder, const std::vector<std::string>& protectedFolders);

}  // namespace shell
