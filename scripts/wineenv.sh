# Sourced by the Wine scripts: which Windows build this machine runs, its prefix, its
# Wine loader and the Japanese locale.
#
# Where i386 code executes, the shipped 32-bit programs run in a 32-bit prefix. Where it
# cannot (a kernel without 32-bit emulation), Debian's i386 loader may be installed and
# still fail with "Exec format error"; there the 64-bit build runs in a 64-bit prefix of
# its own, under the 64-bit loader called directly. HB_WIN=32 or HB_WIN=64 forces the
# choice. The answer is found once and handed to child scripts in HB_WIN_RUN.
_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
HB_WINE32="${HB_WINE32:-/usr/lib/wine/wine}"
HB_WINE64="${HB_WINE64:-/usr/lib/wine/wine64}"

# Whether this machine executes the i386 Wine loader.
hb_runs_i386() { "$HB_WINE32" --version >/dev/null 2>&1; }

if [[ -z "${HB_WIN_RUN:-}" ]]; then
  case "${HB_WIN:-}" in
    32)
      if ! hb_runs_i386; then
        echo "HB_WIN=32, but this machine cannot execute 32-bit code ($HB_WINE32 does not run); use HB_WIN=64" >&2
        return 1 2>/dev/null || exit 1
      fi
      HB_WIN_RUN=32 HB_WIN_WHY="HB_WIN=32 asks for it" ;;
    64) HB_WIN_RUN=64 HB_WIN_WHY="HB_WIN=64 asks for it" ;;
    "")
      if hb_runs_i386; then
        HB_WIN_RUN=32 HB_WIN_WHY="this machine executes 32-bit code"
      else
        HB_WIN_RUN=64 HB_WIN_WHY="this machine cannot execute 32-bit code"
      fi ;;
    *)
      echo "HB_WIN must be 32 or 64, not '$HB_WIN'" >&2
      return 1 2>/dev/null || exit 1 ;;
  esac
  export HB_WIN_RUN HB_WIN_WHY
fi

# The tree whose programs run here, and where they lie.
export HB_TREE="$_root/build/win$HB_WIN_RUN"
export HB_BIN="$HB_TREE/bin"
if [[ $HB_WIN_RUN == 32 ]]; then
  export WINEPREFIX="${HB_WINEPREFIX:-$_root/build/wineprefix}"
  export WINEARCH=win32
  export WINELOADER="$HB_WINE32"
else
  export WINEPREFIX="${HB_WINEPREFIX:-$_root/build/wineprefix64}"
  export WINEARCH=win64
  export WINELOADER="$HB_WINE64"
fi
export LANG=ja_JP.UTF-8
export LC_ALL=ja_JP.UTF-8
export WINEDEBUG=-all
# no Mono/Gecko installers, no menu builder (shortcuts stay .lnk files inside the prefix)
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

# Wine's commands through the chosen loader: Debian's wrappers would pick the i386 one
# whenever it is installed. Exported, so that scripts run by `bash -c` have them too.
wine() { "$WINELOADER" "$@"; }
winepath() { "$WINELOADER" winepath.exe "$@"; }
wineboot() { "$WINELOADER" wineboot.exe "$@"; }
export -f wine winepath wineboot

# The line each entry point says first.
hb_say_build() { echo "running the $HB_WIN_RUN-bit build: $HB_WIN_WHY"; }
unset _root
