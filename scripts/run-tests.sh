#!/usr/bin/env bash
# Runs every test label as one ctest run: the native tree, the Windows tree this machine
# executes, and the checks of the other Windows tree's files that run nothing. GUI tests
# get a virtual screen of 1024x768 unless HB_USE_DISPLAY=1 asks for the user's display.
# Extra arguments go to ctest (-R NAME, -L LABEL, ...).
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
source "$root/scripts/wineenv.sh" || exit 1

if [[ "${1:-}" != --inner ]]; then
  hb_say_build
  hb_wine_runs || exit 1
  other=$((HB_WIN_RUN == 32 ? 64 : 32))
  printf 'subdirs("host")\nsubdirs("win%s")\nsubdirs("win%s/tests/static")\n' "$HB_WIN_RUN" "$other" \
    > "$root/build/CTestTestfile.cmake"
  if [[ -n "${DISPLAY:-}" && "${HB_USE_DISPLAY:-0}" == 1 ]]; then
    exec "$0" --inner "$@"
  fi
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" --inner "$@"
fi
shift

# A Wine session left from elsewhere (a demo on another display) would own the desktop.
wineserver -k >/dev/null 2>&1
# Wine starts its session processes (services, the desktop) with the first program and
# they inherit that program's descriptors: start them here, away from ctest's pipes, or
# ctest would wait for them after the last test.
wineserver -p 600 </dev/null >/dev/null 2>&1
wine "$HB_BIN/waitwin.exe" "warm-up" 1 </dev/null >/dev/null 2>&1
ctest --test-dir "$root/build" --output-on-failure --timeout 900 "$@"
rc=$?
wineserver -k >/dev/null 2>&1
exit $rc
