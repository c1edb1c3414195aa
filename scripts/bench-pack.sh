#!/usr/bin/env bash
# The package bench (part of make bench): a distribution of about 10 MB (the sample
# distribution and data files of text, program code and noise) is packed by
# `Setup.exe -q -p`, installed quietly from the package and from the folder in turns
# (bench/pack_bench.cpp), and the package's payload is weighed against an NSIS
# installer of the same files (scripts/nsis.sh). Prints the closing table's RATIO lines.
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
source "$root/scripts/wineenv.sh" || exit 1
source "$root/scripts/nsis.sh"
cmake --build "$HB_TREE" --target pack_bench ship -j"$(nproc)" >/dev/null || exit 1

work="$HB_TREE/bench-pack"
rm -rf "$work"
mkdir -p "$work/empty"
trap 'rm -rf "$work"' EXIT
"$root/scripts/make-dist.sh" "$work/dist" "$HB_TREE" >/dev/null || exit 1
# the same files on every run: a seeded mix of what distributions carry
python3 - "$work/dist/data" "$root/demo/words-english.txt" "$HB_BIN" <<'PY'
import os, random, sys
out, words_file, bin_dir = sys.argv[1], sys.argv[2], sys.argv[3]
os.makedirs(out, exist_ok=True)
rnd = random.Random(25)
words = open(words_file, encoding="utf-8").read().split()
code = b"".join(open(os.path.join(bin_dir, f), "rb").read() for f in sorted(os.listdir(bin_dir)) if f.endswith(".exe"))
for i in range(36):
    size = 250 * 1024
    kind = i % 4
    if kind == 0:    # noise: pictures, sounds, archives
        data = rnd.randbytes(size)
    elif kind == 1:  # text
        lines = (" ".join(rnd.choice(words) for _ in range(12)) + "\r\n" for _ in range(size // 40))
        data = "".join(lines).encode()[:size]
    else:            # program code
        at = rnd.randrange(0, max(1, len(code) - size))
        data = code[at:at + size]
    with open(os.path.join(out, "file%02d.%s" % (i, ("bin", "txt", "dll", "dll")[kind])), "wb") as f:
        f.write(data)
PY
echo "pack bench: $(du -sb "$work/dist" | cut -f1) bytes in $(find "$work/dist" -type f | wc -l) files"

xvfb-run -a -s "-screen 0 1024x768x24" "$root/scripts/wine-run.sh" "$HB_WIN_RUN" "$HB_BIN/pack_bench.exe" \
  "$(winepath -w "$work/dist" 2>/dev/null)" "$(winepath -w "$work/KeyRally-setup.exe" 2>/dev/null)" || exit 1
[[ -f "$work/KeyRally-setup.exe" ]] || { echo "pack bench: no package"; exit 1; }

# NSIS of the files the package holds: the listed files and Setup.ini (the package's
# installer part is Setup.exe itself, NSIS's its stub)
nsis_build "$work/dist" "$work/nsis.exe" Setup.exe || exit 1
nsis_build "$work/empty" "$work/nsis-empty.exe" || exit 1
size() { stat -c %s "$1"; }
ours=$(($(size "$work/KeyRally-setup.exe") - $(size "$work/dist/Setup.exe")))
theirs=$(($(size "$work/nsis.exe") - $(size "$work/nsis-empty.exe")))
echo "package $(size "$work/KeyRally-setup.exe") bytes: installer $(size "$work/dist/Setup.exe"), payload $ours;" \
  "NSIS ($(nsis_target), zlib) $(size "$work/nsis.exe") bytes: stub $(size "$work/nsis-empty.exe"), payload $theirs"
awk -v a="$ours" -v b="$theirs" 'BEGIN { printf "RATIO pack_size %.2f 1.10 package payload (MSZIP cabinet, index, digest) / NSIS zlib payload of the same files\n", a / b }'
