#!/usr/bin/env bash
# Builds the sample distribution and starts Setup.exe in it: on the user's display
# when there is one, otherwise under Xvfb, saving screenshots under build/screenshots.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
source "$root/scripts/wineenv.sh"
dist="$root/build/demo/dist"
shots="$root/build/screenshots"
"$root/scripts/make-dist.sh" "$dist" >/dev/null
mkdir -p "$shots"
echo "demo: distribution folder: $dist"

if [[ -n "${DISPLAY:-}" ]]; then
  echo "demo: starting Setup.exe on $DISPLAY (close the wizard to end)"
  cd "$dist" && wine ./Setup.exe
  exit 0
fi

echo "demo: no display; running under Xvfb"
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  set -u
  cd "$1"
  wine ./Setup.exe &
  wine "$3/waitwin.exe" "Hanbell Ver4.00/System Install Wizard." 60000 || echo "demo: the wizard did not appear" >&2
  sleep 1  # let it paint
  /usr/bin/import -window root "$2/demo-setup.png"
  # closing the virtual screen ends the programs on it
' _ "$dist" "$shots" "$root/build/win32/bin"
echo "demo: screenshot saved: $shots/demo-setup.png"
# and pictures of every other window of both programs
"$root/scripts/screenshots.sh" || echo "demo: some screenshots failed" >&2
echo "demo: all screenshots are in $shots"
