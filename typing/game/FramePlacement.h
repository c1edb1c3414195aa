// Where the main window opens: half the screen high, 200 pixels narrower than the
// screen, centred across and a quarter of the screen height from the top.
#pragma once

struct FramePlacement {
  int x, y, cx, cy;
};

FramePlacement MainFramePlacement(int nScreenWidth, int nScreenHeight);
