#!/usr/bin/env bash
# Screenshots of KeyRally under Xvfb: the main window with a word list open, its File
# menu, and the about box. The program's settings key is kept aside and put back.
# Usage: screenshots-keyrally.sh [BIN_DIR [OUT_DIR]]   (defaults: build/win32/bin, build/screenshots)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bin="$(cd "${1:-$root/build/win32/bin}" && pwd)"
out="${2:-$root/build/screenshots}"
mkdir -p "$out"
out="$(cd "$out" && pwd)"
source "$root/scripts/wineenv.sh"
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
  xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    set -u
    wine explorer /desktop=krshot,1024x768 "$(winepath -w "$3/krshot.exe")" "$1" "$(winepath -w "$5")" \
      "$(winepath -w "$4")" &
    pid=$!
    for _ in $(seq 1 600); do [[ -f "$4/ready" ]] && break; sleep 0.1; done
    ok=1
    if [[ -f "$4/ready" ]]; then
      sleep 1  # let it paint
      /usr/bin/import -window root "$2" && ok=0
    else
      echo "screenshots-keyrally: $1 did not come up" >&2
    fi
    touch "$4/done"
    wait "$pid" 2>/dev/null || true
    exit $ok
  ' _ "$form" "$out/$name" "$bin" "$markers" "$dir" || { failed=1; return 0; }
  echo "screenshots-keyrally: $out/$name"
}

failed=0
shot keyrally-main.png main
shot keyrally-menu.png menu
shot keyrally-about.png about
exit $failed
