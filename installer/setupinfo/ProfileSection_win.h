// Whole-section reads and list writes of a profile file (see ProfileSection.h).
#pragma once
#include <vector>

#include "AfxWin.h"
#include "ProfileSection.h"

namespace setupinfo {

// Reads `section` of the file at `path` with one whole-section read. A missing file or
// section leaves `out` empty (every lookup then gives its default). FALSE only when
// the section could not be read whole.
BOOL ReadSection(const CString& path, const char* section, CProfileSection& out);

// Writes the keys of `writes` into `section` of the file at `path`, in order, with the
// result of one WritePrivateProfileStringA per key: through one whole-section read and
// write where that leaves the same, else key by key. FALSE when the file could not be
// written.
BOOL WriteSection(const CString& path, const char* section, const std::vector<ProfileWrite>& writes);

}  // namespace setupinfo
