#include "Globals.h"

// Long loops call this between steps so the windows keep painting and answering;
// taking one message at a time keeps the loop's own pace.
void PumpPendingMessage() {
  MSG msg;
  if (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
}
