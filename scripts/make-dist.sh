#!/usr/bin/env bash
# Lays out the sample distribution folder: the installer as Setup.exe, the typing
# game with its sounds, two word lists and a Japanese read-me, as a distribution
# ships them (stripped programs), from the Windows build tree given (build/win32, whose
# programs ship, or build/win64 on a machine that runs only those).
# Usage: make-dist.sh DIR TREE
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
dir="$1"
bin="$2/bin"
ship="$2/ship"
rm -rf "$dir"
mkdir -p "$dir/words"
cp "$ship/Setup.exe" "$ship/KeyRally.exe" "$dir/"
for wav in Openin.wav bark.wav; do
  [[ -f "$bin/$wav" ]] && cp "$bin/$wav" "$dir/"
done
# the read-me in the programs' code page, with Windows line ends
sed 's/$/\r/' "$root/demo/readme.txt" | iconv -f UTF-8 -t CP932 > "$dir/ReadMe.txt"
"$root/build/host/demo/wdsmake" "$root/demo/words-english.txt" "$dir/words/english.wds" >/dev/null
"$root/build/host/demo/wdsmake" "$root/demo/words-romaji.txt" "$dir/words/romaji.wds" >/dev/null
echo "$dir"
