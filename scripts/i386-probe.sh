# Sourced by wineenv.sh and deps.sh.
# Whether this kernel executes i386 programs: a 93-byte static i386 program that exits
# with 7 (a kernel without 32-bit emulation refuses it with "Exec format error"). It is
# kept under build/: a temporary folder may be mounted noexec.
hb_kernel_runs_i386() {
  local build tmp rc=0
  build="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build"
  local probe="$build/.i386-probe"
  if [[ ! -x "$probe" ]]; then
    mkdir -p "$build"
    tmp="$(mktemp "$probe.XXXXXX")" || return 1
    {
      printf '\x7fELF\x01\x01\x01\0\0\0\0\0\0\0\0\0\x02\0\x03\0\x01\0\0\0\x54\x80\x04\x08\x34\0\0\0\0\0\0\0\0\0\0\0\x34\0\x20\0\x01\0\0\0\0\0\0\0'
      printf '\x01\0\0\0\0\0\0\0\0\x80\x04\x08\0\x80\x04\x08\x5d\0\0\0\x5d\0\0\0\x05\0\0\0\0\x10\0\0'
      printf '\x31\xdb\xb3\x07\x31\xc0\x40\xcd\x80'  # xor ebx,ebx; mov bl,7; exit
    } >"$tmp"
    chmod +x "$tmp"
    mv -f "$tmp" "$probe"  # whole or not at all, should two runs start at once
  fi
  "$probe" 2>/dev/null || rc=$?
  ((rc == 7))
}
