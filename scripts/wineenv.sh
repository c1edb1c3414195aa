# Sourced by the scripts: which Windows build this machine runs, its prefix, its Wine
# loader and the Japanese locale, and the helpers that keep a run's Wine session bounded.
#
# Two questions are kept apart. Whether the kernel executes i386 code decides which build
# runs: where it does, the shipped 32-bit programs run in a 32-bit prefix; where it cannot
# (a kernel without 32-bit emulation), the 64-bit build runs in a 64-bit prefix of its own
# under the 64-bit loader called directly. A tiny static program answers that, so the
# answer is the same before the packages are installed as after. Whether the chosen Wine
# loader runs is asked only where Wine is about to be used (hb_wine_runs).
# HB_WIN=32 or HB_WIN=64 forces the choice. The answer is handed to child scripts in
# HB_WIN_RUN; set by hand, HB_WIN_RUN is taken as HB_WIN is.
_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
HB_WINE32="${HB_WINE32:-/usr/lib/wine/wine}"
HB_WINE64="${HB_WINE64:-/usr/lib/wine/wine64}"

source "$_root/scripts/i386-probe.sh"

_hb_choose() {
  local asked="${HB_WIN_RUN:-${HB_WIN:-}}" by="HB_WIN"
  [[ -n "${HB_WIN_RUN:-}" ]] && by="HB_WIN_RUN"
  case "$asked" in
    32)
      if ! hb_kernel_runs_i386; then
        echo "$by=32, but this machine's kernel cannot execute 32-bit (i386) code; HB_WIN=64 runs the 64-bit build" >&2
        return 1
      fi
      HB_WIN_RUN=32 HB_WIN_WHY="${HB_WIN_WHY:-$by=32 asks for it}" ;;
    64) HB_WIN_RUN=64 HB_WIN_WHY="${HB_WIN_WHY:-$by=64 asks for it}" ;;
    "")
      if hb_kernel_runs_i386; then
        HB_WIN_RUN=32 HB_WIN_WHY="this machine executes 32-bit code"
      else
        HB_WIN_RUN=64 HB_WIN_WHY="this machine cannot execute 32-bit (i386) code"
      fi ;;
    *)
      echo "$by must be 32 or 64, not '$asked'" >&2
      return 1 ;;
  esac
  export HB_WIN_RUN HB_WIN_WHY
}
_hb_choose || { unset _root; return 1 2>/dev/null || exit 1; }

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
# Wine's ANSI code page is 932 only in this locale (made by deps.sh; bash warns of it
# until then).
{ export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8; } 2>/dev/null
export WINEDEBUG=-all
# no Mono/Gecko installers, no menu builder (shortcuts stay .lnk files inside the prefix)
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

# Wine's commands through the chosen loader: Debian's wrappers would pick the i386 one
# whenever it is installed. Exported, so that scripts run by `bash -c` have them too.
wine() { "$WINELOADER" "$@"; }
winepath() { "$WINELOADER" winepath.exe "$@"; }
wineboot() { "$WINELOADER" wineboot.exe "$@"; }
export -f wine winepath wineboot

# The line each command says first (once, however many scripts it goes through).
hb_say_build() {
  [[ -n "${HB_BUILD_SAID:-}" ]] && return 0
  echo "running the $HB_WIN_RUN-bit build: $HB_WIN_WHY"
  export HB_BUILD_SAID=1
}

# Whether the chosen Wine loader runs (the packages may not be installed yet).
hb_wine_runs() {
  "$WINELOADER" --version >/dev/null 2>&1 && return 0
  local pkg=wine64
  [[ $HB_WIN_RUN == 32 ]] && pkg=wine32:i386
  echo "the $HB_WIN_RUN-bit Wine program $WINELOADER does not run: make deps installs $pkg" >&2
  return 1
}

# Waits for the prefix's Wine session to end, at most SECONDS (60 by default); a session
# still there then is ended.
hb_wineserver_wait() {
  timeout "${1:-60}" wineserver -w >/dev/null 2>&1 && return 0
  echo "wine: the session in $WINEPREFIX did not end within ${1:-60} s; ending it" >&2
  hb_wine_stop
  return 1
}

# Ends every process of the prefix and its server, and waits (bounded) until they are gone.
hb_wine_stop() {
  command -v wineserver >/dev/null || return 0
  wineserver -k >/dev/null 2>&1 || true  # (fails when none runs)
  timeout 30 wineserver -w >/dev/null 2>&1 || true
  return 0
}

# hb_lock FILE WHAT: holds FILE's lock for this shell and its children until hb_unlock
# FILE (or their end), waiting while another run holds it (at most HB_LOCK_WAIT seconds,
# 1800 by default).
declare -gA HB_LOCKS
hb_lock() {
  local fd
  exec {fd}>>"$1" || return 1
  if ! flock -n "$fd"; then
    echo "waiting for another run to let go of $2 ($1)" >&2
    if ! flock -w "${HB_LOCK_WAIT:-1800}" "$fd"; then
      echo "$2 still in use after ${HB_LOCK_WAIT:-1800} s; giving up" >&2
      exec {fd}>&-
      return 1
    fi
  fi
  HB_LOCKS[$1]=$fd
}
hb_unlock() {
  local fd="${HB_LOCKS[$1]:-}"
  [[ -n "$fd" ]] && exec {fd}>&-
  unset "HB_LOCKS[$1]"
}

# hb_hold LOCK WHAT "$0" "$@": the calling script runs again holding LOCK until it ends,
# waiting while another run holds it (at most HB_LOCK_WAIT seconds, 1800 by default). The
# lock is held by flock alone: the Wine processes the script starts do not inherit it, so
# none left behind can keep it. Children of a holder go on without taking it again.
hb_hold() {
  local lock="$1" what="$2"
  shift 2
  [[ ":${HB_HELD:-}:" == *":$lock:"* ]] && return 0
  mkdir -p "$(dirname "$lock")"
  flock -n "$lock" true 2>/dev/null ||
    echo "waiting for another run to let go of $what ($lock)" >&2
  HB_HELD="${HB_HELD:+$HB_HELD:}$lock" exec flock -o -w "${HB_LOCK_WAIT:-1800}" -E 75 "$lock" "$@"
}

# hb_hold_prefix "$0" "$@": the tests, the benches, the pictures and the prefix's making
# each end every process of the prefix, so no two of them may use it at once. The lock
# lies beside the prefix, which may be remade.
hb_hold_prefix() { hb_hold "$WINEPREFIX.lock" "the Wine prefix $WINEPREFIX" "$@"; }
unset _root
