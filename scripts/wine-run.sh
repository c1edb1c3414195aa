#!/usr/bin/env bash
# Runs a Windows program in the project's prefix; ctest's emulator for the win32 tree.
source "$(dirname "$0")/wineenv.sh"
[[ -f "$WINEPREFIX/system.reg" ]] || "$(dirname "$0")/wineprefix.sh" >&2
exec wine "$@"
