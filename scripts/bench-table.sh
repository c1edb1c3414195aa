#!/usr/bin/env bash
# Passes the benches' output through and ends it with one table of their ratio lines
# ("RATIO name value aim what", the aim an upper bound or "-" for none).
# Usage: <benches> | scripts/bench-table.sh
set -uo pipefail
ratios=()
while IFS= read -r line; do
  printf '%s\n' "$line"
  [[ "$line" == RATIO\ * ]] && ratios+=("$line")
done
printf '\n%-18s %7s %7s  %-7s %s\n' "ratio" "value" "aim" "" "what (medians of this run, against the plain work)"
missed=0
for line in "${ratios[@]}"; do
  read -r _ name value aim what <<<"$line"
  verdict=""
  if [[ "$aim" != "-" ]]; then
    if awk -v v="$value" -v a="$aim" 'BEGIN { exit !(v <= a) }'; then verdict="met"; else verdict="MISSED"; missed=$((missed + 1)); fi
    aim="${aim}x"
  fi
  printf '%-18s %6sx %7s  %-7s %s\n' "$name" "$value" "$aim" "$verdict" "$what"
done
[[ ${#ratios[@]} -eq 0 ]] && echo "(no ratios: every bench failed)"
printf '%d ratios, %d aims missed\n' "${#ratios[@]}" "$missed"
