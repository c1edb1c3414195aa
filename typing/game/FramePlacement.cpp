#include "FramePlacement.h"

FramePlacement MainFramePlacement(int nScreenWidth, int nScreenHeight) {
  FramePlacement r;
  r.cy = nScreenHeight / 2;
  r.cx = nScreenWidth - 200;
  r.y = r.cy / 2;
  r.x = (nScreenWidth - r.cx) / 2;
  return r;
}
