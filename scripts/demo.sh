#!/usr/bin/env bash
# make demo: the typing game's whole journey through the installer, on real files.
# The sample distribution is laid out in build/demo/dist, authored by driving the wizard
# and its advanced options, and packed into one file beside it, build/demo/KeyRally-setup.exe.
# Then, with a display, that package starts for a person to install, play and uninstall;
# without one, the journey runs by itself under Xvfb (the same driver as the e2e_journey
# test) and leaves a picture of every step in build/demo/shots. Either way it runs in a
# throwaway copy of the project's Wine prefix, in which build/demo is drive D: (the
# distribution D:\dist, the package D:\KeyRally-setup.exe), and that copy is removed at
# the end.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
demo="$root/build/demo"
if [[ "${1:-}" != --author && "${1:-}" != --journey ]]; then
  # the throwaway copy of the build's prefix that the steps below run in; one demo at a time
  source "$root/scripts/wineenv.sh"
  hb_say_build
  hb_hold "$root/build/demo.lock" "the demo's folder $demo" "$0" "$@"
  base_prefix="$WINEPREFIX"
  export HB_WINEPREFIX="$demo/prefix"
fi
source "$root/scripts/wineenv.sh"
bin="$HB_BIN"
source "$root/scripts/shot-lib.sh"
xvfb=(xvfb-run -a -s "-screen 0 1024x768x24")
key='HKLM\SoftWare\Microsoft\Windows\CurrentVersion\UnInstall\KeyRally'

# The journey driver on the current display; its report converted for the terminal.
# HB_JOURNEY_* in the environment say how far it goes and where pictures are asked for.
run_journey() {
  local rc=0
  HB_JOURNEY_DIST='D:\dist\' wine "$bin/e2e_journey.exe" --gtest_brief=1 >"$demo/journey.out" 2>>"$demo/wine.log" || rc=$?
  iconv -f CP932 -t UTF-8 -c "$demo/journey.out" | grep -v '^Running main()' || true
  return $rc
}

case "${1:-}" in
  --author)  # under Xvfb: the distribution authored, nothing else
    rc=0
    HB_JOURNEY_ONLY=author run_journey >/dev/null || rc=$?
    hb_wine_stop
    exit $rc ;;
  --journey)  # under Xvfb: the whole journey, a picture of every step
    req="$demo/requests"
    mkdir -p "$req"
    shot_server "$req" "$demo/shots" &
    server=$!
    # the picture server and the session end with the virtual screen, however it ends
    trap 'touch "$req/stop"; kill "$server" 2>/dev/null || true; hb_wine_stop' EXIT
    trap 'exit 130' INT
    trap 'exit 143' TERM
    trap 'exit 129' HUP
    rc=0
    HB_JOURNEY_SHOTS="$(winepath -w "$req")" run_journey || rc=$?
    touch "$req/stop"
    wait "$server" || true
    exit $rc ;;
esac

[[ -d "$WINEPREFIX" ]] && hb_wine_stop  # a demo's session an interrupted run left
rm -rf "$demo"
mkdir -p "$demo"
"$root/scripts/make-dist.sh" "$demo/dist" "$HB_TREE" >/dev/null
cleanup() {
  hb_wine_stop
  rm -rf "$WINEPREFIX" "$demo/requests"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP
# the build's prefix is copied while no test or bench changes it
hb_lock "$base_prefix.lock" "the Wine prefix $base_prefix"
cp -a "$base_prefix" "$WINEPREFIX"
hb_unlock "$base_prefix.lock"
ln -sfn "$demo" "$WINEPREFIX/dosdevices/d:"

if [[ -n "${DISPLAY:-}" ]]; then
  echo "demo: authoring and packing the sample distribution (the wizard driven on a virtual screen)"
  "${xvfb[@]}" "$0" --author || { echo "demo: authoring failed (see $demo/journey.out)" >&2; exit 1; }
  hb_wineserver_wait || true
  cat <<EOF
demo: the distribution is D:\dist of a Wine session of its own, packed into the one file
D:\KeyRally-setup.exe ($demo/KeyRally-setup.exe), which starts now.
  1. Install: check the folder and the shortcut options, press 登録, then OK.
  2. Play: the game starts with the read-me beside it. ﾌｧｲﾙ > 開く: words\\english.wds
     (or romaji.wds) in the install folder; ｹﾞｰﾑ > 開始 (Ctrl+A); type each word, Enter.
  3. Uninstall: close the game; in Wine's program list (it opens after the install) pick
     打鍵丸 and remove it, then press 実行 in Hanbell's dialog.
  4. Close every window: the demo then ends by itself and removes its Wine session
     (after an hour it ends it all the same).
EOF
  wine 'D:\KeyRally-setup.exe' 2>>"$demo/wine.log" || true
  if wine reg query "$key" >/dev/null 2>&1; then
    wine uninstaller 2>>"$demo/wine.log" &
  fi
  hb_wineserver_wait 3600 || true
  if wine reg query "$key" >/dev/null 2>&1; then
    echo "demo: the game was left installed; its session is removed all the same"
  else
    echo "demo: done"
  fi
  exit 0
fi

echo "demo: no display; the whole journey runs by itself on a virtual screen"
rc=0
"${xvfb[@]}" "$0" --journey || rc=$?
if ((rc)); then
  echo "demo: the journey failed (details above; Wine's messages in $demo/wine.log)" >&2
else
  echo "demo: a picture of every step is in $demo/shots (half-size copies in shots/small)"
fi
exit $rc
