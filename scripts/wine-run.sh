#!/usr/bin/env bash
# Runs a Windows program in the project's prefix; ctest's emulator for the Windows trees.
# Usage: wine-run.sh 32|64 PROGRAM ARG...   (the bitness of the tree the program is from)
export HB_WIN_RUN="$1" HB_WIN_WHY="its tree's programs are $1-bit"
shift
source "$(dirname "$0")/wineenv.sh"
"$(dirname "$0")/wineprefix.sh" >&2 || exit 1  # made once; made anew when its script changed
exec "$WINELOADER" "$@"
