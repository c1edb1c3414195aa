// Setup.ini through the platform's profile functions: each call opens, reads or
// changes, and closes the file, so every read sees the latest write.
#pragma once
#include <vector>

#include "AfxWin.h"
#include "SetupInfo.h"

namespace setupinfo {

inline CString IniPath(const CString& dir) { return dir + kFileName; }

// The value cut to size - 1 bytes, or def when the key or the file is absent.
CString GetString(const CString& path, const char* section, const char* key, const char* def, int size = kBufPath);
int GetInt(const CString& path, const char* section, const char* key, int def);
BOOL PutString(const CString& path, const char* section, const char* key, const CString& value);
BOOL PutInt(const CString& path, const char* section, const char* key, int value);

}  // namespace setupinfo
