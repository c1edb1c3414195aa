#!/usr/bin/env bash
# Checks that a program is a Windows GUI executable of the given machine (i386, the
# default, or x86-64) importing only DLLs that Windows loads from its own folder whatever
# lies beside the program: its known DLLs, and common controls only through a manifest
# that names them (any other DLL is loaded by delay from the system folder, not
# imported). With --shipped, also that it is fit to ship: under 1.5 MB without
# debug information, with its version information and a manifest that asks for
# the version 6 common controls and declares DPI awareness.
# Usage: check-pe.sh [--shipped] [--machine i386|x86-64] PROGRAM.exe...
set -uo pipefail
export LC_ALL=C  # objdump speaks the locale's language otherwise
shipped=0 machine=i386
[[ "${1:-}" == --shipped ]] && { shipped=1; shift; }
[[ "${1:-}" == --machine ]] && { machine="$2"; shift 2; }
case "$machine" in
  i386) objdump=i686-w64-mingw32-objdump kind=PE32 ;;
  x86-64) objdump=x86_64-w64-mingw32-objdump kind=PE32+ ;;
  *) echo "check-pe: no such machine: $machine" >&2; exit 2 ;;
esac
# on Windows' list of known DLLs (winmm, version, uxtheme are not)
known='^(kernel32|user32|gdi32|advapi32|shell32|ole32|oleaut32|comdlg32|msvcrt)\.dll$'
rc=0
for exe in "$@"; do
  head=$($objdump -h -f "$exe") || { echo "cannot read $exe"; rc=1; continue; }
  priv=$($objdump -p "$exe")
  fail=0
  grep -q "file format pei-$machine\$" <<<"$head" || { echo "not $kind $machine: $exe"; fail=1; }
  grep -q 'Subsystem.*(Windows GUI)' <<<"$priv" || { echo "not the GUI subsystem: $exe"; fail=1; }
  manifest=$(strings -n 8 "$exe" | tr -s ' \n' ' ')
  while read -r dll; do
    low=$(tr 'A-Z' 'a-z' <<<"$dll")
    if [[ $low == comctl32.dll ]]; then
      grep -q 'name="Microsoft.Windows.Common-Controls"' <<<"$manifest" ||
        { echo "imports $dll without a manifest that names it: $exe"; fail=1; }
    elif ! grep -Eq "$known" <<<"$low"; then
      echo "imports $dll, which Windows may take from the program's folder: $exe"; fail=1
    fi
  done < <(grep 'DLL Name:' <<<"$priv" | awk '{print $3}')
  # what it loads later comes from the system folder alone (framework/DllSearch.cpp)
  grep -q 'SetDefaultDllDirectories' <<<"$manifest" || { echo "does not narrow its DLL search: $exe"; fail=1; }
  if ((shipped)); then
    size=$(stat -c %s "$exe")
    ((size < 1536 * 1024)) || { echo "$size bytes, not under 1.5 MB: $exe"; fail=1; }
    grep -q '\.debug_' <<<"$head" && { echo "carries debug information: $exe"; fail=1; }
    # resource types in the root table: 16 is the version, 24 the manifest
    types=$(awk '/The .rsrc Resource Directory/{on=1} on && /^[0-9a-f]+   Entry: ID:/{sub(",", "", $4); print $4}' <<<"$priv")
    grep -qi '^0x0*10$' <<<"$types" || { echo "no version information: $exe"; fail=1; }
    grep -qi '^0x0*18$' <<<"$types" || { echo "no manifest: $exe"; fail=1; }
    text=$(strings -n 8 "$exe")
    grep -q 'name="Microsoft.Windows.Common-Controls" version="6.0.0.0"' <<<"$manifest" ||
      { echo "the manifest does not ask for the version 6 common controls: $exe"; fail=1; }
    grep -q '<dpiAware[^>]*>true' <<<"$text" || { echo "the manifest declares no DPI awareness: $exe"; fail=1; }
  fi
  if ((fail)); then rc=1; else
    echo "ok: $(basename "$exe") is $kind $machine, GUI, known DLLs only$( ((shipped)) && echo ", $(stat -c %s "$exe") bytes, version and manifest")"
  fi
done
exit $rc
