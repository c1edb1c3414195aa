#!/usr/bin/env bash
# Runs the benchmarks (never part of the tests); see bench/README.md.
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bin="$root/build/win32/bin"
cmake --build "$root/build/win32" --target tree_bench wds_bench install_bench uninstall_bench game_bench -j"$(nproc)" >/dev/null || exit 1
xvfb-run -a -s "-screen 0 1024x768x24" "$root/scripts/wine-run.sh" "$bin/tree_bench.exe"
"$root/scripts/wine-run.sh" "$bin/wds_bench.exe"
xvfb-run -a -s "-screen 0 1024x768x24" "$root/scripts/wine-run.sh" "$bin/install_bench.exe"
xvfb-run -a -s "-screen 0 1024x768x24" "$root/scripts/wine-run.sh" "$bin/uninstall_bench.exe"
xvfb-run -a -s "-screen 0 1024x768x24" "$root/scripts/wine-run.sh" "$bin/game_bench.exe"
