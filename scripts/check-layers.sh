#!/usr/bin/env bash
# The installer's rooms stand in layers, lowest first:
#   res, setupinfo  <  shell  <  install | uninstall  <  wizard  <  app
# A file may include its own room's headers, those of the rooms below it and the
# framework's; install and uninstall stand side by side and include neither each other.
# A room not named here counts as the lowest. Headers are found by their file name (the
# build puts every room on the include path), so two rooms may not hold the same name.
# Prints each include that runs against the order and exits 1 when there is one.
# Usage: check-layers.sh [PROJECT_ROOT]
set -u
root="${1:-$(cd "$(dirname "$0")/.." && pwd)}"
cd "$root/installer" || exit 2

level() {
  case "$1" in
    res | setupinfo) echo 1 ;;
    shell) echo 2 ;;
    install | uninstall) echo 3 ;;
    wizard) echo 4 ;;
    app) echo 5 ;;
    *) echo 0 ;;
  esac
}

declare -A room
bad=0
while IFS= read -r header; do
  name="${header##*/}" in="${header%%/*}"
  if [[ -n "${room[$name]:-}" && "${room[$name]}" != "$in" ]]; then
    echo "installer/$header: $name is also in installer/${room[$name]}/"
    bad=1
  fi
  room[$name]="$in"
done < <(find . -mindepth 2 -name '*.h' -printf '%P\n' | sort)

checked=0
while IFS= read -r file; do
  from="${file%%/*}"
  ((checked++))
  while IFS= read -r included; do
    to="${room[${included##*/}]:-}"
    [[ -z "$to" || "$to" == "$from" ]] && continue
    if (($(level "$to") >= $(level "$from"))); then
      echo "installer/$file includes $included of installer/$to/: $from may not include $to"
      bad=1
    fi
  done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
done < <(find . -mindepth 2 \( -name '*.cpp' -o -name '*.h' -o -name '*.rc' \) -printf '%P\n' | sort)

if ((checked == 0)); then
  echo "no installer sources under $root/installer"
  exit 2
fi
((bad)) && exit 1
echo "installer layers: $checked files, every include runs down"
