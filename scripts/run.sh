#!/usr/bin/env bash
# Plays a match between the two sample sides: in the window when there is a
# display, else in the console with pelmora-cli.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
TEAMS=(/t1=samples/northshire.xi /t2=samples/southmoor.xi)
if { [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; } && [ -x build/pelmora ]; then
    exec build/pelmora "${TEAMS[@]}" /s=match-report.txt "$@"
fi
echo "No display: playing the match in the console with pelmora-cli." >&2
exec build/pelmora-cli "${TEAMS[@]}" "$@"
