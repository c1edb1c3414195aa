#!/usr/bin/env bash
# The Makefile's commands in phases: the packages, the build trees the command needs, the
# Wine prefix, then the command itself.
# Usage: run.sh test|demo|screenshots|bench|build|prefix [ARG...]  (ARGs go to the command)
#
# The first line names the build the command runs; the last line gives each phase's time,
# so that the next slow phase shows itself (after the tests it follows ctest's summary).
# `test` builds the Windows tree this machine executes whole, and of the other one only the
# programs its static checks read. Interrupted (Ctrl-C, SIGTERM, a time limit), it ends
# every process it started, whose scripts end the Wine session they hold, and still says
# how far it came. HB_DEADLINE (seconds since the epoch), when set, is when the tests must
# have ended: ctest starts none after it and closes with its summary (.ci/run sets it).
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cmd="${1:-}"
case "$cmd" in
  test | demo | screenshots | bench | build | prefix) shift ;;
  *) echo "usage: run.sh test|demo|screenshots|bench|build|prefix [ARG...]" >&2; exit 2 ;;
esac
source "$root/scripts/wineenv.sh" || exit 1
hb_say_build
unset MAKEFLAGS MFLAGS MAKELEVEL  # the trees' own make is not a sub-make of ours
jobs="${HB_JOBS:-$(nproc)}"
run=$HB_WIN_RUN
other=$((run == 32 ? 64 : 32))

times=() phase="" phase_start=0 child=""
started=$SECONDS

duration() {
  local s=$1
  if ((s < 60)); then echo "$s s"; else printf '%d min %02d s\n' $((s / 60)) $((s % 60)); fi
}
# The closing line: each phase's time, and the whole.
closing() {
  local line="make $cmd:" sep=" " t
  for t in "${times[@]}"; do
    line+="$sep$t"
    sep=", "
  done
  echo "$line; $(duration $((SECONDS - started))) in all${1:-}"
}

# Every process below this one: the phase's command and all it started.
descendants() {
  ps -e -o pid= -o ppid= | awk -v top=$$ '
    { parent[$1] = $2 }
    END { for (p in parent) { q = parent[p]; while (q in parent && q != top) q = parent[q]; if (q == top) print p } }'
}
stop() {
  local sig=$1 pids
  trap '' INT TERM HUP
  pids=$(descendants)
  [[ -n "$pids" ]] && kill -TERM $pids 2>/dev/null
  # the scripts end their Wine sessions on TERM; give them the time that takes
  for _ in $(seq 1 400); do
    [[ -n "$child" ]] && kill -0 "$child" 2>/dev/null || break
    sleep 0.1
  done
  pids=$(descendants)
  [[ -n "$pids" ]] && kill -KILL $pids 2>/dev/null
  [[ -n "$phase" ]] && times+=("$phase stopped after $(duration $((SECONDS - phase_start)))")
  echo "make $cmd: stopped by SIG$sig" >&2
  closing " (stopped)"
  exit $((128 + $(kill -l "$sig")))
}
trap 'stop INT' INT
trap 'stop TERM' TERM
trap 'stop HUP' HUP

# phase NAME COMMAND...: runs COMMAND as one timed phase; the run stops at the first
# phase that fails. (In the background, so that a signal reaches this script at once.)
phase() {
  local name="$1"
  phase="$1"
  shift
  phase_start=$SECONDS
  "$@" </dev/null &
  child=$!
  local rc=0
  wait "$child" || rc=$?
  child=""
  times+=("$name $(duration $((SECONDS - phase_start)))")
  phase=""
  if ((rc)); then
    closing " ($name failed)"
    exit "$rc"
  fi
}

# build TREE [TARGET...]: configures the tree once (later builds run CMake themselves when
# a CMakeLists.txt changed) and builds TARGETs (all by default). The trees' progress is
# shown, without the "Built target" line of every target that had nothing to do.
build() {
  local tree="$1" dir="$root/build/$1" targets=()
  shift
  local args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
  case "$tree" in
    win32) args+=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake") ;;
    win64) args+=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake") ;;
  esac
  if [[ ! -f "$dir/CMakeCache.txt" || ! -f "$dir/Makefile" ]]; then
    mkdir -p "$dir"
    cmake -S "$root" -B "$dir" "${args[@]}" >"$dir/configure.log" 2>&1 ||
      { cat "$dir/configure.log" >&2; return 1; }
  fi
  (($#)) && targets=(--target "$@")
  cmake --build "$dir" -j"$jobs" "${targets[@]}" -- --no-print-directory | sed -u '/] Built target /d'
}

# The build trees, one at a time, under the worktree's build lock (two commands at once
# would build the same files).
builds() {
  hb_lock "$root/build/.build.lock" "the build trees" || return 1
  case "$cmd" in
    build)
      phase "host build" build host
      phase "win32 build" build win32
      phase "win64 build" build win64 ;;
    test)
      phase "host build" build host
      phase "win$run build" build "win$run"
      # the other Windows tree is only checked statically: its programs as built and shipped
      phase "win$other programs" build "win$other" ship ;;
    *)
      phase "host build" build host
      phase "win$run build" build "win$run" ;;
  esac
  hb_unlock "$root/build/.build.lock"
}

phase packages "$root/scripts/deps.sh"
case "$cmd" in
  prefix) phase prefix "$root/scripts/wineprefix.sh" ;;
  build) builds ;;
  test)
    builds
    phase prefix "$root/scripts/wineprefix.sh"
    phase tests "$root/scripts/run-tests.sh" "$@" ;;
  *)
    builds
    phase prefix "$root/scripts/wineprefix.sh"
    phase "$cmd" "$root/scripts/$cmd.sh" "$@" ;;
esac
closing
