// Special folders of the running Windows, and creating a folder with every missing
// folder above it. Stateless: any caller may use them without a window.
#pragma once
#include "AfxWin.h"

// Each returns the folder from the registry with a backslash appended, or "" when
// the key or value cannot be read (a missing folder for the caller).
CString GetProgramFilesFolder();
CString GetStartupFolder();
CString GetDesktopFolder();
CString GetProgramsFolder();

// Creates every level of a folder path below its drive (or UNC share). Levels that
// already exist and names the file system calls invalid are passed over; TRUE unless
// a level could not be created for another reason.
BOOL CreateFolderPath(CString strPath);

namespace shell {

// The lower layer of the four folders: value `valueName` of `subKey` under `hRoot`
// read through a 260-byte buffer, plus "\", or "" when it cannot be read.
CString ReadFolderValue(HKEY hRoot, const char* subKey, const char* valueName);

}  // namespace shell
