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
