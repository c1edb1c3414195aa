#!/usr/bin/env bash
# Installs what the build and the tests need, as root on Debian 12. Idempotent:
# it only calls apt-get when a package is missing, and only makes the locale once.
# Both Windows trees are built everywhere; the i386 Wine loader (and with it the i386
# architecture) only where the kernel executes i386 code, since it cannot start elsewhere.
set -euo pipefail

source "$(dirname "$0")/i386-probe.sh"

pkgs=(g++-mingw-w64-i686 g++-mingw-w64-x86-64 cmake make g++ googletest wine wine64 xvfb xauth
      locales fonts-wine fonts-ipafont-gothic fonts-ipafont-mincho imagemagick procps)
i386=0
if hb_kernel_runs_i386; then
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
