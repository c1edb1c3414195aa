#!/usr/bin/env bash
# Runs every test label as one ctest run: the native tree, the Windows tree this machine
# executes, and the checks of the other Windows tree's files that run nothing. GUI tests
# get a virtual screen of 1024x768 unless HB_USE_DISPLAY=1 asks for the user's display.
# Extra arguments go to ctest (-R NAME, -L LABEL, ...). Holds the prefix while it runs,
# and leaves no process of it behind, whether the tests pass, fail or are interrupted.
# HB_DEADLINE (seconds since the epoch): no test starts after it, and ctest closes with
# its summary all the same.
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
source "$root/scripts/wineenv.sh" || exit 1

if [[ "${1:-}" != --inner ]]; then
  hb_say_build
  other=$((HB_WIN_RUN == 32 ? 64 : 32))
  dirs=("$root/build/host" "$HB_TREE" "$root/build/win$other/tests/static")
  for d in "${dirs[@]}"; do
    if [[ ! -f "$d/CTestTestfile.cmake" ]]; then
      echo "run-tests: ${d#"$root/"} is not built yet: make test builds it and runs the tests" >&2
      exit 1
    fi
  done
  hb_wine_runs || exit 1
  hb_hold_prefix "$0" "$@"
  "$root/scripts/wineprefix.sh" || exit 1  # (made anew when its script changed)
  # One ctest file per build that runs, so that a 32-bit and a 64-bit run keep theirs.
  suite="$root/build/tests-win$HB_WIN_RUN"
  mkdir -p "$suite"
  printf 'subdirs("%s")\n' "${dirs[@]}" >"$suite/CTestTestfile.new"
  if cmp -s "$suite/CTestTestfile.new" "$suite/CTestTestfile.cmake"; then
    rm -f "$suite/CTestTestfile.new"
  else
    mv -f "$suite/CTestTestfile.new" "$suite/CTestTestfile.cmake"
  fi
  if [[ -n "${DISPLAY:-}" && "${HB_USE_DISPLAY:-0}" == 1 ]]; then
    exec "$0" --inner "$suite" "$@"
  fi
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" --inner "$suite" "$@"
fi
suite="$2"
shift 2

# The prefix's session, and the one a test runs on its own (wine-run.sh).
stop_sessions() {
  hb_wine_stop
  [[ -d "$WINEPREFIX-own" ]] && (export WINEPREFIX="$WINEPREFIX-own"; hb_wine_stop)
  return 0
}
ctest_pid="" ended=0
cleanup() {
  trap '' INT TERM HUP
  [[ -n "$ctest_pid" ]] && kill -TERM "$ctest_pid" 2>/dev/null
  stop_sessions
  # a run stopped in the middle of its tests may leave what they install in the prefix:
  # the mark stays, and the next run makes the prefix anew
  ((ended)) && rm -f "$WINEPREFIX/.hb-in-use"
}
trap cleanup EXIT
trap 'echo "run-tests: interrupted" >&2; exit 130' INT
trap 'echo "run-tests: stopped" >&2; exit 143' TERM
trap 'exit 129' HUP

# A Wine session left from elsewhere (an interrupted run) would own the desktop.
stop_sessions
touch "$WINEPREFIX/.hb-in-use"
# Wine starts its session processes (services, the desktop) with the first program and
# they inherit that program's descriptors: start them here, away from ctest's pipes, or
# ctest would wait for them after the last test. The server stays while the tests come
# and go, and is ended with the session at the end.
wineserver -p600 </dev/null >/dev/null 2>&1
timeout 120 "$WINELOADER" "$HB_BIN/waitwin.exe" "warm-up" 1 </dev/null >/dev/null 2>&1
# Two at a time: the native tests and a test in a Wine session of its own run beside the
# others, which take turns in the shared session (wine-run.sh).
args=(--test-dir "$suite" --output-on-failure --timeout 900 --no-tests=error -j2)
[[ -n "${HB_DEADLINE:-}" ]] && args+=(--stop-time "$(date -d "@$HB_DEADLINE" +%H:%M:%S)")
# in the background, so that a signal is taken at once (and the session ended)
ctest "${args[@]}" "$@" &
ctest_pid=$!
wait "$ctest_pid"
rc=$?
ctest_pid=""
((rc < 128)) && ended=1
exit $rc
