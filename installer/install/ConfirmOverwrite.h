// Whether to copy over a file that is already at the destination: a newer one stays,
// or the user is asked. Returns 1 copy, 0 keep, -1 copy this and every later file.
#pragma once
#include "AfxWin.h"

int ConfirmOverwrite(HWND owner, CString newFile, CString existingFile, int ask);
