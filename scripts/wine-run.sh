#!/usr/bin/env bash
# Runs a Windows program in the project's prefix; ctest's emulator for the Windows trees.
# Usage: wine-run.sh 32|64 PROGRAM ARG...   (the bitness of the tree the program is from)
#
# The programs share one Wine session (its desktop, its Windows folder): one at a time
# holds it, so that ctest may run the native tests beside them. A program whose
# environment says HB_WINE_SESSION=own (a test that waits out a long clock) runs instead
# in a session of its own, beside the others: a second prefix beside the project's, with
# its own server and virtual screen, all ended with the program.
if [[ "${1:-}" == --own ]]; then  # on the own session's virtual screen
  shift
  source "$(dirname "$0")/wineenv.sh" || exit 1
  trap hb_wine_stop EXIT
  # the session's processes start away from ctest's pipes (see run-tests.sh)
  wineserver -p600 </dev/null >/dev/null 2>&1
  timeout 120 "$WINELOADER" "$HB_BIN/waitwin.exe" "warm-up" 1 </dev/null >/dev/null 2>&1
  "$WINELOADER" "$@"
  exit
fi
export HB_WIN_RUN="$1" HB_WIN_WHY="its tree's programs are $1-bit"
shift
source "$(dirname "$0")/wineenv.sh" || exit 1
base="${WINEPREFIX%-own}"
# made once; made anew when its script changed
HB_WINEPREFIX="$base" "$(dirname "$0")/wineprefix.sh" >&2 || exit 1
if [[ "${HB_WINE_SESSION:-}" == own ]]; then
  export HB_WINEPREFIX="$base-own" WINEPREFIX="$base-own"
  hb_hold_prefix "$0" "$HB_WIN_RUN" "$@"
  # a copy of the project's prefix, made again when that one was
  if [[ "$(cat "$WINEPREFIX/.hb-ready" 2>/dev/null)" != "$(cat "$base/.hb-ready")" ]]; then
    hb_wine_stop
    rm -rf "$WINEPREFIX"
    cp -a "$base" "$WINEPREFIX.new" && mv "$WINEPREFIX.new" "$WINEPREFIX" || exit 1
  fi
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" --own "$@"
fi
exec flock -o -w 900 "$WINEPREFIX.session.lock" "$WINELOADER" "$@"
