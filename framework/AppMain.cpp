// Compiled into each program (the linker would not pull WinMain out of a library).
#include "AfxWin.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrev, LPSTR lpCmdLine, int nCmdShow) {
  AfxHardenDllSearch();  // before anything can load a DLL
  return AfxWinMain(hInstance, hPrev, lpCmdLine, nCmdShow);
}
