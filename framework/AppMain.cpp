// Compiled into each program (the linker would not pull WinMain out of a library).
#include "AfxWin.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrev, LPSTR lpCmdLine, int nCmdShow) {
  return AfxWinMain(hInstance, hPrev, lpCmdLine, nCmdShow);
}
