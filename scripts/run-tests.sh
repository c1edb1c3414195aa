#!/usr/bin/env bash
# Runs all test labels of both trees as one ctest run. GUI tests get a virtual
# screen of 1024x768 unless HB_USE_DISPLAY=1 asks for the user's display.
# Extra arguments go to ctest (-R NAME, -L LABEL, ...).
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
source "$root/scripts/wineenv.sh"
cd "$root/build"
# one ctest run over both trees
cat > CTestTestfile.cmake <<'CT'
subdirs("host")
subdirs("win32")
CT

run() {
  # Wine starts its session processes (services, the desktop) with the first program
  # and they inherit that program's descriptors; start them here, away from ctest's
  # pipes, or ctest would wait for them after the last test.
  # a Wine session left from elsewhere (a demo on another display) would own the desktop
  wineserver -k >/dev/null 2>&1
  wineserver -p 600 </dev/null >/dev/null 2>&1
  wine "$root/build/win32/bin/waitwin.exe" "warm-up" 1 </dev/null >/dev/null 2>&1
  ctest --test-dir "$root/build" --output-on-failure --timeout 900 "$@"
  local rc=$?
  wineserver -k >/dev/null 2>&1
  return $rc
}
export -f run
export root

if [[ -n "${DISPLAY:-}" && "${HB_USE_DISPLAY:-0}" == 1 ]]; then
  run "$@"
else
  xvfb-run -a -s "-screen 0 1024x768x24" bash -c 'run "$@"' _ "$@"
fi
