// The record of install folders: Hanbell.ini in the Windows folder, one key per
// application (its executable's path below the distribution root), the installed
// executable's full path as value.
#pragma once
#include "AfxWin.h"

// Records `installedExe` (install folder + relativeExe) under `relativeExe`. FALSE
// when either is empty or relativeExe does not occur in installedExe.
BOOL WriteSetupDirectory(CString installedExe, CString relativeExe);

// The install folder recorded for `relativeExe` (the value up to the first occurrence
// of relativeExe), or "" when there is none.
CString ReadSetupDirectory(CString relativeExe);

namespace shell {

constexpr const char* kSetupDirIni = "Hanbell.ini";
constexpr const char* kSetupDirSection = "SetupDirectory";

// The same operations on an explicit file: `profileName` is what the profile calls get
// (a bare name lands in the Windows folder), `filePath` the same file's full path,
// whose attributes are reset before writing. Tests use a folder of their own.
BOOL WriteSetupDirectoryTo(const CString& profileName, const CString& filePath, const CString& installedExe,
                           const CString& relativeExe);
CString ReadSetupDirectoryFrom(const CString& profileName, const CString& relativeExe);

}  // namespace shell
