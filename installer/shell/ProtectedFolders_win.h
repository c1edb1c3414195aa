// The folders of this system that must never be an install folder.
#pragma once
#include "AfxWin.h"
#include "ProtectedFolders.h"

// Whether `folder` may not be an install folder (shell::IsProtectedFolder) here: a drive
// or volume root, the Windows and system folders (Sysnative too), the program files
// folders (both of a 64-bit Windows), the user's profile, the start-up, desktop and
// program-menu folders (the user's and everyone's), or a folder holding one of them,
// however `folder` reaches it: letter case, short names, "." and "..", a trailing dot,
// another drive letter or share for the same volume, a link on its way.
BOOL IsProtectedInstallFolder(const CString& folder);

// The folder `text` names, in full (relative to the current folder when it is
// relative) with its final backslash; "" when it names none.
CString FullFolderPath(const CString& text);

namespace shell {

// The file system's own answer on a folder, for IsProtectedFolder.
class CFolderLookup : public IFolderLookup {
 public:
  Lookup Identify(const std::string& path, FolderIdentity& id) override;
};

// The final path of an open handle as a plain full path ("C:\..." or "\\server\share\..."),
// "" where the system gives none (before Vista, or a volume without a drive letter).
std::string FinalPathOf(HANDLE h);

}  // namespace shell
