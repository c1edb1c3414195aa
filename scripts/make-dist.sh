#!/usr/bin/env bash
# Lays out a sample distribution folder: the installer as Setup.exe, a small
# application (the typing game when it is built, with its two sounds) and a few files
# around it.
# Usage: make-dist.sh DIR
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
dir="$1"
bin="$root/build/win32/bin"
rm -rf "$dir"
mkdir -p "$dir/words" "$dir/doc"
cp "$bin/Hanbell.exe" "$dir/Setup.exe"
if [[ -f "$bin/KeyRally.exe" ]]; then
  cp "$bin/KeyRally.exe" "$dir/KeyRally.exe"
  cp "$bin/Openin.wav" "$bin/bark.wav" "$dir/"  # looked up beside the game
else
  cp "$bin/Hanbell.exe" "$dir/KeyRally.exe"  # stands in until the game is built
fi
printf '打鍵丸 — タイピング練習ゲーム\r\n\r\n180 秒のあいだに表示される単語を入力して Enter を押します。\r\n' |
  iconv -f UTF-8 -t CP932 > "$dir/doc/readme.txt"
# a word list in the game's file format: count, then each word with a 1-byte length
python3 - "$dir/words/basic.wds" <<'PY'
import struct, sys
words = ["apple", "keyboard", "たいぴんぐ", "打鍵丸", "window"]
out = struct.pack("<I", len(words))
for w in words:
    b = w.encode("cp932")
    out += bytes([len(b)]) + b
open(sys.argv[1], "wb").write(out)
PY
echo "$dir"
