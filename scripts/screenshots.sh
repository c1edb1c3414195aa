#!/usr/bin/env bash
# Pictures of every window of both programs, under build/screenshots.
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
source "$root/scripts/wineenv.sh" || exit 1
hb_say_build
hb_wine_runs || exit 1
hb_hold_prefix "$0" "$@"
"$root/scripts/wineprefix.sh" || exit 1  # (made anew when its script changed)
trap hb_wine_stop EXIT  # nothing of the prefix is left running, however the pictures end
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP
rc=0
"$root/scripts/screenshots-hanbell.sh" || rc=1
"$root/scripts/screenshots-uninstall.sh" || rc=1
"$root/scripts/screenshots-keyrally.sh" || rc=1
exit $rc
