// waitwin CAPTION [TIMEOUT_MS]: waits until a visible top-level window with this
// caption exists (any process), for the demo and screenshot scripts. Exit 0 when
// found, 1 after the time-out.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "uitest.h"

namespace {
struct Ctx {
  std::string caption;
  HWND found;
};
BOOL CALLBACK Find(HWND h, LPARAM l);
// A program may run on a desktop of its own (a named virtual desktop): look at all.
BOOL CALLBACK Desktop(LPSTR name, LPARAM l) {
  HDESK d = ::OpenDesktopA(name, 0, FALSE, DESKTOP_READOBJECTS | DESKTOP_ENUMERATE);
  if (!d) return TRUE;
  ::EnumDesktopWindows(d, Find, l);
  ::CloseDesktop(d);
  return reinterpret_cast<Ctx*>(l)->found == nullptr;
}
BOOL CALLBACK Find(HWND h, LPARAM l) {
  auto* c = reinterpret_cast<Ctx*>(l);
  if (::IsWindowVisible(h) && uitest::GetText(h) == c->caption) {
    c->found = h;
    return FALSE;
  }
  return TRUE;
}
}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: waitwin CAPTION [TIMEOUT_MS]\n");
    return 2;
  }
  Ctx ctx{argv[1], nullptr};
  DWORD timeout = argc > 2 ? static_cast<DWORD>(std::strtoul(argv[2], nullptr, 10)) : 30000;
  bool ok = uitest::WaitFor(
      [&] {
        ::EnumDesktopsA(::GetProcessWindowStation(), Desktop, reinterpret_cast<LPARAM>(&ctx));
        return ctx.found != nullptr;
      },
      timeout);
  if (!ok) std::fprintf(stderr, "waitwin: no window \"%s\" within %lu ms\n", argv[1], static_cast<unsigned long>(timeout));
  return ok ? 0 : 1;
}
