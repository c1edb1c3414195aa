// Shortcut files (".lnk") through the shell-link object.
#pragma once
#include "AfxWin.h"

// Saves linkPath + ".lnk" pointing at `target`, replacing a shortcut of that name. When
// the save fails, the link's own folder (one level) is created and the save tried once
// more. FALSE when it was not saved, or when the file name does not fit 260 wide
// characters with its terminator.
BOOL CreateShortcut(CString linkPath, CString description, CString target);
