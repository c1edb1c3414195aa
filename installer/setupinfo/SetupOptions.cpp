#include "SetupOptions.h"

namespace setupinfo {

int ClampListCount(int nStored, int capacity) {
  if (nStored <= 0 || capacity <= 1) return 0;
  return nStored < capacity ? nStored : capacity - 1;
}

}  // namespace setupinfo
