#!/usr/bin/env bash
# Screenshots of Hanbell's windows under Xvfb: the loading window while a large tree
# is filled, the wizard's authoring form, the install form over the blue backdrop, the
# advanced options, their open-after-install file dialog and their folder browser.
# Usage: screenshots-hanbell.sh [BIN_DIR [OUT_DIR]]   (defaults: the bin folder of the Windows
# build this machine runs, build/screenshots)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
source "$root/scripts/wineenv.sh"
hb_hold_prefix "$0" "$@"
bin="$(cd "${1:-$HB_BIN}" && pwd)"
out="${2:-$root/build/screenshots}"
mkdir -p "$out"
out="$(cd "$out" && pwd)"
source "$root/scripts/shot-lib.sh"
for f in Hanbell.exe hbshot.exe; do
  [[ -f "$bin/$f" ]] || { echo "screenshots-hanbell: $bin/$f is missing (build first)" >&2; exit 1; }
done

work="$(mktemp -d "$root/build/hb-shots.XXXXXX")"
trap 'rm -rf "$work"' EXIT

cp932() { iconv -f UTF-8 -t CP932; }

# A small distribution: the application, its words and documents.
dist="$work/dist"
mkdir -p "$dist/words" "$dist/doc/画像" "$dist/sounds"
cp "$bin/Hanbell.exe" "$dist/Setup.exe"
cp "$bin/Hanbell.exe" "$dist/KeyRally.exe"
for f in words/basic.wds words/上級.wds doc/readme.txt doc/画像/title.bmp sounds/bark.wav sounds/Openin.wav; do
  printf x > "$dist/$f"  # Unix names stay UTF-8; Wine shows them as Japanese
done
printf '%s\r\n' '[Setup]' 'Title=打鍵丸' 'Version=Ver 1.20' 'Name=TOVANE Soft' 'Mode=1' 'STime=100' \
  '[Commentary]' 'Count=3' '_t0=<<打鍵丸 インストール>>' '_t1=タイピング練習ゲームをインストールします。' \
  '_t2=ｲﾝｽﾄｰﾙ先を確かめて「登録」を押して下さい。' \
  '[TreeCtrl]' "Select=$(winepath -w "$dist")\\KeyRally.exe" | cp932 > "$dist/Setup.ini"

# The same distribution with its files listed, for the install run (a pause that lets
# the bar be seen moving).
inst="$work/inst"
cp -r "$dist" "$inst"
w="$(winepath -w "$inst")"
{
  printf '%s\r\n' '[Setup]' 'Title=打鍵丸' 'Version=Ver 1.20' 'Name=TOVANE Soft' 'Mode=1' 'STime=400' \
    '[Commentary]' 'Count=1' '_t0=ｲﾝｽﾄｰﾙ先を確かめて「登録」を押して下さい。' '[Option]' 'BlueBack=1' '[TreeCtrl]' \
    "Select=$w\\KeyRally.exe" "TopRoot=$w\\"
  i=0
  for e in "|16" "KeyRally.exe|32" "words\\|16" "words\\basic.wds|32" "words\\上級.wds|32" "doc\\|16" \
      "doc\\readme.txt|32" "doc\\画像\\|16" "doc\\画像\\title.bmp|32" "sounds\\|16" "sounds\\bark.wav|32" \
      "sounds\\Openin.wav|32"; do
    printf '_f%d=%s\\%s\r\n' "$i" "$w" "$e"
    i=$((i + 1))
  done
  printf 'Count=%d\r\nFiles=7\r\n' "$i"
} | cp932 > "$inst/Setup.ini"

# A large distribution, so that the loading window stays up long enough to be seen.
big="$work/big"
mkdir -p "$big"
cp "$bin/Hanbell.exe" "$big/Setup.exe"
for d in $(seq -w 1 40); do
  mkdir -p "$big/folder$d"
  for f in $(seq -w 1 60); do : > "$big/folder$d/file$f.dat"; done
done

# shot NAME FORM DIR: the driver starts Setup.exe on a virtual screen of its own and
# brings it into FORM; the screen is saved, then the driver ends what it started.
shot() {
  local name="$1" form="$2" dir="$3" markers="$work/markers-$2"
  mkdir -p "$markers"
  if ! run_shot hbshot "$out/$name" "$markers" "$bin/hbshot.exe" "$form" "$dir" "$markers"; then
    echo "screenshots-hanbell: $form did not come up" >&2
    failed=1
    return 0
  fi
  echo "screenshots-hanbell: $out/$name"
}

failed=0
[[ -n "${HB_SKIP_LOADING:-}" ]] || shot hanbell-loading.png loading "$big"
shot hanbell-authoring.png authoring "$dist"
shot hanbell-install.png install "$dist"
shot hanbell-installing.png installing "$inst"
shot hanbell-installed.png installed "$inst"
shot hanbell-overwrite.png overwrite "$inst"
shot hanbell-advanced.png advanced "$dist"
shot hanbell-afterinstall.png afterinstall "$dist"
shot hanbell-folderbrowser.png browser "$dist"
exit $failed
