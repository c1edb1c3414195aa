// The shell's small icons for the file tree, asked per file type where the type decides
// and per path only where the file itself does.
#pragma once
#include "AfxWin.h"

namespace filetree {

struct IconInfo {
  HIMAGELIST hImageList = nullptr;  // the system small-icon image list
  int nIcon = 0;
  int nSelectedIcon = 0;            // the open-folder icon for a folder
};

// What SHGetFileInfoA(path, SHGFI_SYSICONINDEX|SHGFI_SMALLICON) (and SHGFI_OPENICON for a
// folder) would give, false where it gives no image list. `listed` says the entry was
// just listed in its folder with these attributes; otherwise the path is looked at.
bool LookUpIcon(const CString& path, DWORD attributes, bool listed, IconInfo& out);

// The per-path calls themselves, for comparison.
bool LookUpIconByPath(const CString& path, DWORD attributes, IconInfo& out);

// Whether files with this extension (".exe", lower case) carry an icon of their own.
bool HasIconPerFile(const CString& extension);

}  // namespace filetree
