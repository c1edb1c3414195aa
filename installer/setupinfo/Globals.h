// The installer's process-wide state, set up at start (the start-up defines it).
#pragma once
#include "AfxWin.h"

extern CString g_strSetupDir;      // folder whose Setup.ini is used, with a final backslash
extern CString g_strTopRoot;       // recorded top folder of the file tree, for rebasing
extern int g_bAuthorMode;          // 1 = authoring form, 0 = install form

// Dispatches one waiting window message, if any; never waits.
void PumpPendingMessage();

// Full path of the running program, and its single-instance name (base name).
CString GetModulePath();
CString GetInstanceName();

// The short beep that marks the installer's boxes and long steps.
inline void HbBeep() { ::Beep(500, 10); }
