#!/usr/bin/env bash
# Takes a picture of the window in the middle of a match between the sample
# sides into docs/screenshot.png (or the file given). Needs no display: the
# window runs on Qt's offscreen platform and grabs itself after N balls.
#   BUILD_DIR   build folder (default build); configured and built if needed
#   BALLS       balls to play before the picture (default 80)
set -euo pipefail
cd "$(dirname "$0")/.."

BUILD_DIR=${BUILD_DIR:-build}
OUT=${1:-docs/screenshot.png}
BALLS=${BALLS:-80}

if [ ! -f "$BUILD_DIR/build.ninja" ]; then
    cmake -S . -B "$BUILD_DIR" -G Ninja >/dev/null
fi
cmake --build "$BUILD_DIR" --target pelmora -j2

mkdir -p "$(dirname "$OUT")"
report=$(mktemp)
trap 'rm -f "$report"' EXIT
rm -f "$OUT"
QT_QPA_PLATFORM=offscreen PELMORA_SCREENSHOT="$OUT" PELMORA_SCREENSHOT_AFTER="$BALLS" \
    "$BUILD_DIR/pelmora" /a /nta /r=7 /d=0 /t1=samples/northshire.xi /t2=samples/southmoor.xi "/s=$report"
if [ ! -s "$OUT" ]; then
    echo "screenshot.sh: no picture was taken" >&2
    exit 1
fi
echo "Wrote $OUT"
