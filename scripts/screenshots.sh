#!/usr/bin/env bash
# Pictures of every window of both programs, under build/screenshots.
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
rc=0
"$root/scripts/screenshots-hanbell.sh" || rc=1
"$root/scripts/screenshots-uninstall.sh" || rc=1
"$root/scripts/screenshots-keyrally.sh" || rc=1
exit $rc
