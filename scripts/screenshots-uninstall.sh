#!/usr/bin/env bash
# Screenshots of the uninstall dialog under Xvfb: as it opens, after a complete removal,
# and after one with a shortcut the user had already deleted.
# Usage: screenshots-uninstall.sh [BIN_DIR [OUT_DIR]]   (defaults: the bin folder of the Windows
# build this machine runs, build/screenshots)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
source "$root/scripts/wineenv.sh"
hb_hold_prefix "$0" "$@"
bin="$(cd "${1:-$HB_BIN}" && pwd)"
out="${2:-$root/build/screenshots}"
mkdir -p "$out"
out="$(cd "$out" && pwd)"
source "$root/scripts/shot-lib.sh"
for f in Hanbell.exe hbunshot.exe; do
  [[ -f "$bin/$f" ]] || { echo "screenshots-uninstall: $bin/$f is missing (build first)" >&2; exit 1; }
done
work="$(mktemp -d "$root/build/hb-unshots.XXXXXX")"
trap 'rm -rf "$work"' EXIT

failed=0
for form in before after missing; do
  markers="$work/markers-$form"
  mkdir -p "$markers"
  if run_shot hbunshot "$out/hanbell-uninstall-$form.png" "$markers" "$bin/hbunshot.exe" "$form" "$markers"; then
    echo "screenshots-uninstall: $out/hanbell-uninstall-$form.png"
  else
    echo "screenshots-uninstall: $form did not come up" >&2
    failed=1
  fi
done
exit $failed
