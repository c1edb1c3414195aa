# Sourced by the Wine scripts: the project's own prefix and the Japanese locale.
_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export WINEPREFIX="${HB_WINEPREFIX:-$_root/build/wineprefix}"
export WINEARCH=win32
export LANG=ja_JP.UTF-8
export LC_ALL=ja_JP.UTF-8
export WINEDEBUG=-all
# no Mono/Gecko installers, no menu builder (shortcuts stay .lnk files inside the prefix)
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
unset _root
