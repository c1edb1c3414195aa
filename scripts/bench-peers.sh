#!/usr/bin/env bash
# The peers bench (part of make bench): two distributions, 2,000 files of 100 KB in 40
# folders ("big") and 10,000 files of 1 KB in 200 folders ("small"), each installed and
# removed without a person by Hanbell (from the folder and from its one-file package),
# an NSIS installer of the same files (stored, with
# the uninstaller NSIS writes), an MSI of them (one component per file, made by Debian's
# wixl) and a plain copy, in turns (bench/peers_bench.cpp); then installed through the
# wizard with a pause of 0 against the NSIS installer and the plain copy
# (bench/install_bench.cpp). Installs nsis and wixl when they are missing. Prints the
# closing table's RATIO lines. Usage: scripts/bench-peers.sh [rounds] [big|small...]
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
source "$root/scripts/wineenv.sh" || exit 1
source "$root/scripts/nsis.sh"
rounds="${1:-3}"
shift || true
kinds=("$@")
((${#kinds[@]})) || kinds=(big small)
cmake --build "$HB_TREE" --target peers_bench install_bench ship -j"$(nproc)" >/dev/null || exit 1

wixl_ensure() {
  command -v wixl >/dev/null 2>&1 && command -v wixl-heat >/dev/null 2>&1 && return 0
  echo "msi: installing Debian's wixl" >&2
  (apt-get install -y wixl >/dev/null 2>&1 || { apt-get update >/dev/null 2>&1 && apt-get install -y wixl >/dev/null 2>&1; }) ||
    { echo "msi: cannot install the package wixl" >&2; return 1; }
}

# An MSI of every file below TREE but the NAMEs, one component per file, into INSTALLDIR.
msi_build() {
  local tree="$1" out="$2"
  shift 2
  wixl_ensure || return 1
  local wxs frag files name
  wxs="$(mktemp --suffix=.wxs)"
  frag="$(mktemp --suffix=.wxs)"
  files="$(cd "$tree" && find . -type f | sed 's|^\./||')"
  for name in "$@"; do files="$(grep -v -x -F "$name" <<<"$files")"; done
  wixl-heat --prefix "" --directory-ref INSTALLDIR --component-group Files --var var.Tree <<<"$files" >"$frag"
  cat >"$wxs" <<WXS
<?xml version="1.0" encoding="utf-8"?>
<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi">
  <Product Id="*" Name="$(basename "$out" .msi)" Language="1033" Version="1.0.0" Manufacturer="bench"
           UpgradeCode="5d2f6c1e-4b0a-4c1e-9d3e-2a7b8c9d0e1f">
    <Package InstallerVersion="200" Compressed="yes" InstallScope="perMachine"/>
    <Media Id="1" Cabinet="files.cab" EmbedCab="yes"/>
    <Directory Id="TARGETDIR" Name="SourceDir">
      <Directory Id="ProgramFiles64Folder">
        <Directory Id="INSTALLDIR" Name="$(basename "$out" .msi)"/>
      </Directory>
    </Directory>
    <Feature Id="All" Level="1"><ComponentGroupRef Id="Files"/></Feature>
  </Product>
</Wix>
WXS
  local rc=0
  (cd "$tree" && wixl -a x64 -D Tree=. -o "$out" "$wxs" "$frag") || rc=$?
  rm -f "$wxs" "$frag"
  return $rc
}

work="$HB_TREE/bench-peers"
rm -rf "$work"
mkdir -p "$work"
trap 'rm -rf "$work"' EXIT
for kind in "${kinds[@]}"; do
  case "$kind" in
    big) groups=4 bytes=102400 ;;    # 4 x (1 + 9) folders of 50 files
    small) groups=20 bytes=1024 ;;   # 20 x (1 + 9) folders of 50 files
    *) echo "peers bench: no tree '$kind'" >&2; exit 2 ;;
  esac
  dist="$work/$kind/dist"
  mkdir -p "$dist"
  windist="$(winepath -w "$dist" 2>/dev/null)\\"
  # the tree and the Setup.ini that lists it as authored there (pause 0, no shortcuts)
  python3 - "$dist" "$windist" "$groups" "$bytes" <<'PY' || exit 1
import os, sys
dist, win, groups, size = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4])
entries = [win + "|16"]
for g in range(groups):
    for sub in [""] + ["part%d\\" % p for p in range(9)]:
        rel = "group%d\\%s" % (g, sub)
        os.makedirs(os.path.join(dist, rel.replace("\\", "/")), exist_ok=True)
        entries.append(win + rel + "|16")
        for f in range(50):
            name = rel + "file%d.dat" % f
            block = (name.encode() * (size // len(name) + 1))[:size]
            with open(os.path.join(dist, name.replace("\\", "/")), "wb") as out:
                out.write(block)
            entries.append(win + name + "|32")
ini = ["[Setup]", "Title=Bench", "Mode=1", "STime=0", "[Option]", "BlueBack=0", "StartUp=0", "Program=0",
       "Desktop=0", "[TreeCtrl]", "Select=" + win + "group0\\file0.dat", "TopRoot=" + win]
ini += ["_f%d=%s" % (i, e) for i, e in enumerate(entries)] + ["Count=%d" % len(entries)]
open(os.path.join(dist, "Setup.ini"), "w", newline="").write("\r\n".join(ini) + "\r\n")
PY
  cp "$HB_TREE/ship/Setup.exe" "$dist/Setup.exe"  # as shipped: stripped, as NSIS's stub is
  echo "peers bench, $kind tree: $(find "$dist" -type f -name '*.dat' | wc -l) files of $bytes bytes in" \
    "$(find "$dist" -mindepth 1 -type d | wc -l) folders"
  # Hanbell's one file of the same distribution, made with the next file as its
  # executable: its install registers under a name of its own beside the folder's
  cp "$dist/Setup.ini" "$work/$kind/Setup.ini"
  sed -i 's/^Select=\(.*\)file0\.dat/Select=\1file1.dat/' "$dist/Setup.ini"
  "$root/scripts/wine-run.sh" "$HB_WIN_RUN" "$dist/Setup.exe" -q "-p$(winepath -w "$work/$kind" 2>/dev/null)\\package-$kind.exe" ||
    { echo "peers bench: the distribution could not be packed" >&2; exit 1; }
  mv "$work/$kind/Setup.ini" "$dist/Setup.ini"
  nsis_build --peer "$dist" "$work/$kind/peer-$kind.exe" Setup.exe Setup.ini || exit 1
  msi_build "$dist" "$work/$kind/peer-$kind.msi" Setup.exe Setup.ini || exit 1
done

# seconds until deleted files stop counting as recently deleted (see Settle in
# bench/BenchClock.h): the kernel's dirty-expire interval, and two more
settle=$(( $(cat /proc/sys/vm/dirty_expire_centisecs 2>/dev/null || echo 3000) / 100 + 2 ))
xvfb=(xvfb-run -a -s "-screen 0 1024x768x24")
w() { winepath -w "$1" 2>/dev/null; }
for kind in "${kinds[@]}"; do
  "${xvfb[@]}" "$root/scripts/wine-run.sh" "$HB_WIN_RUN" "$HB_BIN/peers_bench.exe" \
    "$(w "$work/$kind/dist")" "$(w "$work/$kind/peer-$kind.exe")" "$(w "$work/$kind/peer-$kind.msi")" \
    "$(w "$work/$kind/package-$kind.exe")" "$kind" "$rounds" "$settle"
  "${xvfb[@]}" "$root/scripts/wine-run.sh" "$HB_WIN_RUN" "$HB_BIN/install_bench.exe" \
    "$(w "$work/$kind/dist")" "$(w "$work/$kind/peer-$kind.exe")" "$kind" "$rounds" "$settle"
done
