// Packing an authored distribution into one file: the files an install of the folder
// copies and Setup.ini, behind the plain installer.
#pragma once
#include "AfxWin.h"
#include "PackRun.h"
#include "Package_win.h"

// Packs the distribution in `setupDir` with the plain installer `installer` into the
// package `outputText` names (see OutputPath).
packrun::Result PackDistribution(const CString& setupDir, const CString& installer, const CString& outputText,
                                 const package::Progress& progress = nullptr);
// The full path PackDistribution would write for `outputText`.
CString PackOutputPath(const CString& setupDir, const CString& outputText);
