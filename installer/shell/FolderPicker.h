// The shell's folder browser: a title, a preselected folder, and the chosen folder
// back in the installer's convention (with a final backslash).
#pragma once
#include "AfxWin.h"

// The chosen folder ending with "\", or "" when the user cancelled or chose an item
// without a file-system path.
CString BrowseForFolder(CString initialFolder, CString title, HWND owner);

// Preselects the initial folder (the application data) when the browser opens.
int CALLBACK BrowseCallbackProc(HWND hWnd, UINT uMsg, LPARAM lParam, LPARAM lpData);
