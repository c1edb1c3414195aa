# Sourced by the screenshot scripts (after wineenv.sh).
# run_shot DESKTOP PNG MARKERS EXE ARG...: starts EXE (a driver that brings a program
# into the wanted state) with ARG... on a virtual screen of its own; every ARG that is
# an absolute Unix path is given as a Windows path. The driver touches
# MARKERS/ready when the window is up and ends what it started once MARKERS/done
# appears. Saves the screen to PNG; fails when the driver never got ready (within
# SHOT_READY_SECONDS, 60 by default).
run_shot() {
  xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    set -u
    desktop="$1" png="$2" markers="$3" ready_s="$4"
    shift 4
    args=()
    for a in "$@"; do
      if [[ "$a" == /* ]]; then args+=("$(winepath -w "$a")"); else args+=("$a"); fi
    done
    wine explorer /desktop="$desktop",1024x768 "${args[@]}" &
    pid=$!
    for _ in $(seq 1 $((ready_s * 10))); do [[ -f "$markers/ready" ]] && break; sleep 0.1; done
    ok=1
    if [[ -f "$markers/ready" ]]; then
      sleep 1  # let it paint
      /usr/bin/import -window root "$png" && ok=0
    fi
    touch "$markers/done"
    wait "$pid" 2>/dev/null || true
    exit $ok
  ' _ "$1" "$2" "$3" "${SHOT_READY_SECONDS:-60}" "${@:4}"
}

# shot_server REQUESTS OUT: answers the pictures a driver asks for with
# uitest::RequestShot until REQUESTS/stop appears. For each REQUESTS/NAME.txt (its
# caption, in code page 932) the screen is saved as OUT/NAME.png with the caption in a
# strip below it, a half-size copy of few colours goes to OUT/small/NAME.png, and REQUESTS/NAME.done
# tells the driver to go on. Run it in the background on the driver's display; it also
# stops once the script that started it is gone.
shot_server() {
  local req="$1" out="$2" font=/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf t name caption
  mkdir -p "$out/small"
  while [[ ! -f "$req/stop" ]] && kill -0 $$ 2>/dev/null; do
    for t in "$req"/*.txt; do
      [[ -f "$t" ]] || continue
      name="$(basename "$t" .txt)"
      caption="$(iconv -f CP932 -t UTF-8 "$t" 2>/dev/null || cat "$t")"
      if /usr/bin/import -window root "$out/$name.png"; then
        /usr/bin/convert "$out/$name.png" \( -size 1024x34 -background '#203040' -fill white -font "$font" \
          -pointsize 17 -gravity center label:"$caption" \) -append -strip "$out/$name.png" &&
          /usr/bin/convert "$out/$name.png" -strip -resize 50% -colors 128 +dither "PNG8:$out/small/$name.png"
      fi
      rm -f "$t"
      touch "$req/$name.done"
    done
    sleep 0.1
  done
}
