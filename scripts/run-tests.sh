#!/usr/bin/env bash
# Runs all test labels of both trees as one ctest run. GUI tests get a virtual
# screen of 1024x768 unless HB_USE_DISPLAY=1 asks for the user's display.
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
source "$root/scripts/wineenv.sh"
cd "$root/build"
# one ctest run over both trees
cat > CTestTestfile.cmake <<'CT'
subdirs("host")
subdirs("win32")
CT
# a wineserver that outlives single test programs: faster, and its end is ours to wait for
wineserver -p 600 </dev/null >/dev/null 2>&1 || true
if [[ -n "${DISPLAY:-}" && "${HB_USE_DISPLAY:-0}" == 1 ]]; then
  ctest --test-dir "$root/build" --output-on-failure "$@"
else
  xvfb-run -a -s "-screen 0 1024x768x24" ctest --test-dir "$root/build" --output-on-failure "$@"
fi
rc=$?
wineserver -k >/dev/null 2>&1 || true
exit $rc
