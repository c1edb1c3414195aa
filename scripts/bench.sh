#!/usr/bin/env bash
# Runs the benchmarks (never part of the tests) on the Windows build this machine
# executes; see bench/README.md.
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
source "$root/scripts/wineenv.sh" || exit 1
hb_say_build
hb_wine_runs || exit 1
hb_hold_prefix "$0" "$@"
"$root/scripts/wineprefix.sh" || exit 1  # (made anew when its script changed)
trap hb_wine_stop EXIT  # nothing of the prefix is left running, however the benches end
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP
bin="$HB_BIN"
benches=(tree_bench wds_bench uninstall_bench game_bench records_bench)
cmake --build "$HB_TREE" --target "${benches[@]}" -j"$(nproc)" >/dev/null || exit 1

xvfb=(xvfb-run -a -s "-screen 0 1024x768x24")
# every bench under a display: a Wine session begun without one would keep the later
# benches' windows from being made
{
  for bench in "${benches[@]}"; do
    "${xvfb[@]}" "$root/scripts/wine-run.sh" "$HB_WIN_RUN" "$bin/$bench.exe"
  done
  "$root/scripts/bench-peers.sh"  # installs and removals against NSIS, an MSI and a plain copy
  "$root/scripts/bench-pack.sh"  # the package against the folder and against NSIS
} | "$root/scripts/bench-table.sh"  # ends with one table of the benches' ratios
