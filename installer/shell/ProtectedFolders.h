// Folders that must never be an install folder. The uninstall deletes the names its
// Setup.ini lists below the install folder, so that folder bounds what a tampered file
// can reach: never a drive, Windows' own folders or a folder of the user's that holds
// other programs' files. Portable: the caller gathers this system's folders and asks
// the file system through IFolderLookup.
#pragma once
#include <string>
#include <vector>

namespace shell {

// A full path ("C:\..." or "\\server\share\...") as the file system reads it, for
// comparing: "/" as "\", "." and ".." resolved, a "." or " " at the end of a name
// dropped (a name of dots alone reads as "."), ASCII letters in lower case, no final
// "\" but a root's. "" when it cannot be read as a full path.
std::string ComparableFolder(const std::string& path);

// Whether `folder` may not be an install folder by its spelling alone: a path that
// cannot be read, a drive or share root, one of `protectedFolders` or a folder that
// holds one of them. Protected folders that are "" (not known here) are passed over.
bool IsProtectedFolder(const std::string& folder, const std::vector<std::string>& protectedFolders);

// What the file system tells of an existing folder, whatever name reached it.
struct FolderIdentity {
  unsigned long nVolume = 0;      // the volume's serial number
  unsigned long long nIndex = 0;  // the file index on that volume; 0 when none is given
  std::string strFinal;           // the full path of the opened folder, links resolved; "" when not given
  bool bVolumeRoot = false;       // the root of a volume, wherever it is mounted
};

// One folder by either sign: the same volume and file index, or the same final path.
// Either alone is sound: a file index names one file of its volume, and a final path
// has no link left in it. Both are asked because some systems give one of them per
// name (Wine gives each drive letter a serial of its own, while the final path of a
// folder is the same whichever drive reached it; a share gives the server's index
// under a final path of the share's).
bool IsSameFolder(const FolderIdentity& a, const FolderIdentity& b);

enum class Lookup { Found, Missing, Unreadable };

class IFolderLookup {
 public:
  virtual ~IFolderLookup() = default;
  // Opens the full path `path` (links followed). Missing: nothing is there (or a level
  // above it is missing); Unreadable: something is there that cannot be told.
  virtual Lookup Identify(const std::string& path, FolderIdentity& id) = 0;
};

struct ProtectedFolder {
  std::string strPath;     // as the system gave it; "" when it could not be found
  bool bRequired = false;  // a folder every such system has: not knowing it refuses everything
};

// Whether `folder` (a full path) may not be an install folder, by what the file system
// says it is: the spelling rule above, on the folder as typed and as its existing part
// resolves; then the folder, when it exists, against each protected folder and each
// folder above one, by identity. Fails closed: a required folder not known, or a
// protected folder or a level of `folder` that is there but cannot be read, refuses.
bool IsProtectedFolder(const std::string& folder, const std::vector<ProtectedFolder>& protectedFolders,
                       IFolderLookup& fs);

}  // namespace shell
