#!/usr/bin/env bash
# Installs what the build and the tests need, as root on Debian 12. Idempotent:
# it only calls apt-get when a package is missing, and only makes the locale once.
# Both Windows trees are built everywhere; the i386 Wine loader (and with it the i386
# architecture) only where the kernel executes i386 code, since it cannot start elsewhere.
set -euo pipefail

# Whether this kernel executes i386 programs: a 93-byte static i386 program that exits
# with 7 (a kernel without 32-bit emulation refuses it with "Exec format error").
runs_i386() {
  local probe rc=0
  probe="$(mktemp)"
  printf '\x7fELF\x01\x01\x01\0\0\0\0\0\0\0\0\0\x02\0\x03\0\x01\0\0\0\x54\x80\x04\x08\x34\0\0\0\0\0\0\0\0\0\0\0\x34\0\x20\0\x01\0\0\0\0\0\0\0' >"$probe"
  printf '\x01\0\0\0\0\0\0\0\0\x80\x04\x08\0\x80\x04\x08\x5d\0\0\0\x5d\0\0\0\x05\0\0\0\0\x10\0\0' >>"$probe"
  printf '\x31\xdb\xb3\x07\x31\xc0\x40\xcd\x80' >>"$probe"  # xor ebx,ebx; mov bl,7; exit
  chmod +x "$probe"
  "$probe" 2>/dev/null || rc=$?
  rm -f "$probe"
  ((rc == 7))
}

pkgs=(g++-mingw-w64-i686 g++-mingw-w64-x86-64 cmake make g++ googletest wine wine64 xvfb xauth
      locales fonts-wine fonts-ipafont-gothic fonts-ipafont-mincho imagemagick)
i386=0
if runs_i386; then
  i386=1
  pkgs+=(wine32:i386)
fi

missing=()
for p in "${pkgs[@]}"; do
  st=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$st" == "install ok installed" ]] || missing+=("$p")
done

if ((${#missing[@]})); then
  if [[ $(id -u) -ne 0 ]]; then
    echo "deps: missing packages (${missing[*]}); run as root to install them" >&2
    exit 1
  fi
  echo "deps: installing ${missing[*]}"
  if ((i386)) && ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Wine's ANSI code page is 932 only when this locale exists.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  if [[ $(id -u) -ne 0 ]]; then
    echo "deps: the ja_JP.UTF-8 locale is missing; run as root to generate it" >&2
    exit 1
  fi
  sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen >/dev/null
fi
