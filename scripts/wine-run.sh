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
  touch "$WINEPREFIX/.hb-in-use"  # (see run-tests.sh)
  # the session's processes start away from ctest's pipes (see run-tests.sh)
  wineserver -p600 </dev/null >/dev/null 2>&1
  timeout 120 "$WINELOADER" "$HB_BIN/waitwin.exe" "warm-up" 1 </dev/null >/dev/null 2>&1
  stopped=0  # (a Wine program stopped by a signal may still end with an ordinary code)
  trap 'stopped=1' INT TERM HUP
  "$WINELOADER" "$@"
  rc=$?
  ((stopped || rc >= 128)) || rm -f "$WINEPREFIX/.hb-in-use"
  exit $rc
fi
export HB_WIN_RUN="$1" HB_WIN_WHY="its tree's programs are $1-bit"
shift
source "$(dirname "$0")/wineenv.sh" || exit 1
base="${WINEPREFIX%-own}"
# made once, and anew when its script changed (a run that holds the prefix saw to that)
if [[ ":${HB_HELD:-}:" != *":$base.lock:"* ]]; then
  HB_WINEPREFIX="$base" "$(dirname "$0")/wineprefix.sh" >&2 || exit 1
fi
if [[ "${HB_WINE_SESSION:-}" == own ]]; then
  export HB_WINEPREFIX="$base-own" WINEPREFIX="$base-own"
  hb_hold_prefix "$0" "$HB_WIN_RUN" "$@"
  # a copy of the project's prefix, made again whenever that one was
  # (and when a run was interrupted in it)
  if ! cmp -s "$WINEPREFIX/.hb-ready" "$base/.hb-ready" || [[ -e "$WINEPREFIX/.hb-in-use" ]]; then
    hb_wine_stop
    rm -rf "$WINEPREFIX" "$WINEPREFIX.new"
    # copied while no program runs in the shared session, which would write and remove
    # its temporary files under the copy; once more if the server's registry save got in
    for try in 1 2; do
      rm -rf "$WINEPREFIX.new"
      flock -w 900 "$base.session.lock" cp -a "$base" "$WINEPREFIX.new" && break
      ((try == 2)) && exit 1
    done
    rm -f "$WINEPREFIX.new/.hb-in-use" && mv "$WINEPREFIX.new" "$WINEPREFIX" || exit 1
  fi
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" --own "$@"
fi
exec flock -o -w 900 "$WINEPREFIX.session.lock" "$WINELOADER" "$@"
