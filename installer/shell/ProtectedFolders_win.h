// The folders of this system that must never be an install folder.
#pragma once
#include "AfxWin.h"

// Whether `folder` may not be an install folder (shell::IsProtectedFolder) here: a drive
// root, the Windows and system folders, the program files folder, the user's profile,
// the start-up, desktop and program-menu folders (the user's and everyone's), or a
// folder holding one of them, however `folder` is spelt (letter case, short names,
// "." and "..", a trailing dot).
BOOL IsProtectedInstallFolder(const CString& folder);
