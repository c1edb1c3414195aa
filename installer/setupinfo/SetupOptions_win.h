// A setup's options read from its Setup.ini through the profile functions.
#pragma once
#include "AfxWin.h"
#include "SetupOptions.h"

namespace setupinfo {

// [Setup] Name, the company the install form shows: the default name when it is
// absent or empty.
CString ReadCompany(const CString& iniPath);

// The largest stored Files of the three advanced lists (0 when none is above 0).
int LargestListCount(const CString& iniPath);

// The options of `iniPath`, with list entries, and the read-me, rebased from topRoot
// to setupDir. Each list holds ClampListCount(its Files, nListCapacity) entries.
SetupOptions ReadSetupOptions(const CString& iniPath, const CString& topRoot, const CString& setupDir,
                              int nListCapacity);

}  // namespace setupinfo
