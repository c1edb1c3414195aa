#!/usr/bin/env bash
# Checks that a program is a 32-bit GUI executable importing only DLLs every
# Windows has. Usage: check-pe.sh PROGRAM.exe
set -uo pipefail
export LC_ALL=C  # objdump speaks the locale's language otherwise
exe="$1"
allowed='^(kernel32|user32|gdi32|advapi32|shell32|ole32|oleaut32|comctl32|comdlg32|winmm|msvcrt|version)\.dll$'
head=$(i686-w64-mingw32-objdump -f "$exe") || { echo "cannot read $exe"; exit 1; }
priv=$(i686-w64-mingw32-objdump -p "$exe")
fail=0
grep -q 'file format pei-i386' <<<"$head" || { echo "not PE32 i386: $exe"; fail=1; }
grep -q 'Subsystem.*(Windows GUI)' <<<"$priv" || { echo "not the GUI subsystem: $exe"; fail=1; }
while read -r dll; do
  low=$(tr 'A-Z' 'a-z' <<<"$dll")
  if ! grep -Eq "$allowed" <<<"$low"; then echo "imports $dll"; fail=1; fi
done < <(grep 'DLL Name:' <<<"$priv" | awk '{print $3}')
[[ $fail == 0 ]] && echo "ok: $(basename "$exe") is PE32 i386, GUI, system DLLs only"
exit $fail
