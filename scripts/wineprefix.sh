#!/usr/bin/env bash
# Makes the project's Wine prefix once, for the build this machine runs (32-bit, or
# 64-bit where i386 code cannot execute): code page 932 through the locale, IPA fonts
# standing in for the faces the programs ask for. Its ready marker holds this script's
# checksum, so that a prefix an older script made is made anew, and so is one a test run
# was interrupted in (its tests may have left what they install there).
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/wineenv.sh" || exit 1
hb_hold_prefix "$0" "$@"
version="$(sha1sum <"$here/wineprefix.sh" | cut -c1-12) $HB_WIN_RUN-bit"
if [[ "$(head -1 "$WINEPREFIX/.hb-ready" 2>/dev/null)" == "$version" ]]; then
  [[ -e "$WINEPREFIX/.hb-in-use" ]] || exit 0
  echo "wineprefix: a test run was interrupted in $WINEPREFIX; making it anew" >&2
fi
hb_wine_runs || exit 1
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  echo "wineprefix: the ja_JP.UTF-8 locale is missing (make deps makes it)" >&2
  exit 1
fi
# Wine's own symbol fonts (Marlett draws the caption buttons) are not found by this
# Wine build unless they lie in the prefix's font folder.
copy_symbol_fonts() {
  local fonts="$WINEPREFIX/drive_c/windows/Fonts" f
  mkdir -p "$fonts"
  for f in marlett.ttf symbol.ttf webdings.ttf wingding.ttf; do
    [[ -f "/usr/share/wine/fonts/$f" && ! -f "$fonts/$f" ]] && cp "/usr/share/wine/fonts/$f" "$fonts/"
  done
  return 0
}
# Windows opens text files (a read-me) in Notepad; Wine's set-up leaves the extension to
# the menu builder, which is switched off here.
associate_text() {
  grep -q '^\[Software\\\\Classes\\\\.txt\]' "$WINEPREFIX/system.reg" && return 0
  wine reg add 'HKCR\.txt' /ve /d txtfile /f >/dev/null 2>&1
  wine reg add 'HKCR\.txt' /v 'Content Type' /d text/plain /f >/dev/null 2>&1
  hb_wineserver_wait || true
}
# whatever ran in an older prefix goes with it
[[ -d "$WINEPREFIX" ]] && hb_wine_stop
rm -rf "$WINEPREFIX"
reg="$(mktemp --suffix=.reg)"
trap 'hb_wine_stop; rm -rf "$WINEPREFIX" "$reg"' EXIT  # a prefix half made is none
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP
echo "wineprefix: creating $WINEPREFIX" >&2
DISPLAY= timeout 300 "$WINELOADER" wineboot.exe -i >/dev/null 2>&1 || true
hb_wineserver_wait 120 || true
# Wine links the user's desktop, documents and the like to the Unix home folder, which
# every prefix on the machine shares: they become folders of this prefix, so that what a
# test or a person puts there stays in it (and two prefixes' tests cannot meet there).
for link in "$WINEPREFIX"/drive_c/users/*/*; do
  [[ -L "$link" ]] || continue
  rm -f "$link"
  mkdir "$link"
done

{
  printf 'Windows Registry Editor Version 5.00\r\n\r\n'
  printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
  for face in "ＭＳ Ｐゴシック:IPAPGothic" "ＭＳ ゴシック:IPAGothic" "MS PGothic:IPAPGothic" \
              "MS Gothic:IPAGothic" "MS UI Gothic:IPAPGothic" "ＭＳ Ｐ明朝:IPAPMincho" \
              "ＭＳ 明朝:IPAMincho" "MS Shell Dlg:IPAPGothic" "MS Shell Dlg 2:IPAPGothic" \
              "MS Sans Serif:IPAPGothic" "Tahoma:IPAPGothic"; do
    printf '"%s"="%s"\r\n' "${face%%:*}" "${face#*:}"
  done
  printf '\r\n[HKEY_CURRENT_USER\\Software\\Wine\\DllOverrides]\r\n'
  printf '"winemenubuilder.exe"=""\r\n"mscoree"=""\r\n"mshtml"=""\r\n\r\n'
  # Every program runs in one virtual desktop of 1024x768: the same screen on Xvfb and
  # on a user's display, with captions drawn for screenshots.
  printf '[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]\r\n"Desktop"="Default"\r\n\r\n'
  printf '[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]\r\n"Default"="1024x768"\r\n\r\n'
  # no crash dialog: a crashing test program must end, not wait for a click
  printf '[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]\r\n"ShowCrashDialog"=dword:00000000\r\n\r\n'
} | iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } > "$reg"
timeout 120 "$WINELOADER" regedit.exe /S "$reg" >/dev/null 2>&1
hb_wineserver_wait || true
rm -f "$reg"
copy_symbol_fonts
associate_text
[[ -f "$WINEPREFIX/system.reg" ]] || { echo "wineprefix: Wine made no prefix in $WINEPREFIX" >&2; exit 1; }
printf '%s\nmade %s\n' "$version" "$(date +%s.%N)" >"$WINEPREFIX/.hb-ready"
trap - EXIT
echo "wineprefix: ready" >&2
