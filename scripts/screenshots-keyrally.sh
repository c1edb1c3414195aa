#!/usr/bin/env bash
# Screenshots of KeyRally under Xvfb: the main window with a word list open, its File
# menu, the about box, a game at two moments, the score box at a game's end (this one
# waits out the game's 180 seconds), the word list editor, the font dialog, and the
# records window over a sample of games (as it opens, and maximised). The program's
# settings key is kept aside and put back; the driver does the same with its records.
# Usage: screenshots-keyrally.sh [BIN_DIR [OUT_DIR]]   (defaults: the bin folder of the Windows
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
for f in KeyRally.exe krshot.exe; do
  [[ -f "$bin/$f" ]] || { echo "screenshots-keyrally: $bin/$f is missing (build first)" >&2; exit 1; }
done

work="$(mktemp -d "$root/build/kr-shots.XXXXXX")"
parent='HKCU\Software\Local AppWizard-Generated Applications'
key="$parent\\打鍵丸"
saved="$work/settings.reg"
wine reg export "$key" "$(winepath -w "$saved")" >/dev/null 2>&1 || rm -f "$saved"
had_parent=0
wine reg query "$parent" >/dev/null 2>&1 && had_parent=1
restore() {
  wine reg delete "$key" /f >/dev/null 2>&1 || true
  if [[ -f "$saved" ]]; then
    wine reg import "$(winepath -w "$saved")" >/dev/null 2>&1
  elif [[ $had_parent == 0 && "$(wine reg query "$parent" 2>/dev/null | grep -c '^HKEY_')" == 1 ]]; then
    wine reg delete "$parent" /f >/dev/null 2>&1 || true  # made by the program, and now empty
  fi
  rm -rf "$work"
}
trap restore EXIT

# shot NAME FORM: the driver starts KeyRally on a virtual screen of its own and brings
# it into FORM; the screen is saved, then the driver ends what it started.
shot() {
  local name="$1" form="$2" markers="$work/markers-$2" dir="$work/words-$2"
  mkdir -p "$markers" "$dir"
  if ! run_shot krshot "$out/$name" "$markers" "$bin/krshot.exe" "$form" "$dir" "$markers"; then
    echo "screenshots-keyrally: $form did not come up" >&2
    failed=1
    return 0
  fi
  echo "screenshots-keyrally: $out/$name"
}

failed=0
shot keyrally-main.png main
shot keyrally-menu.png menu
shot keyrally-about.png about
shot keyrally-game-1.png game1
shot keyrally-game-2.png game2
shot keyrally-editor.png editor
shot keyrally-font.png font
shot keyrally-records.png records
shot keyrally-records-max.png records-max
SHOT_READY_SECONDS=240 shot keyrally-end.png end
exit $failed
