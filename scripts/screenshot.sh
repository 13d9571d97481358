#!/usr/bin/env bash
# Regenerates every picture of the README from the current programs, with no
# display (Qt's offscreen platform): the window in the middle of a one-day
# match between the sample sides (docs/screenshot.png, with its menus in
# docs/screenshot-menus.txt, which a test compares with the window's), the
# Game Options dialog, the team editor and the charts window of that moment,
# and the worm chart of the whole match (docs/worm.png). Takes another folder
# than docs/ as argument.
#   BUILD_DIR   build folder (default build); configured and built if needed
#   BALLS       balls to play before the window's picture (default 80)
set -euo pipefail
cd "$(dirname "$0")/.."

BUILD_DIR=${BUILD_DIR:-build}
DOCS=${1:-docs}
BALLS=${BALLS:-80}
MATCH=(/r=7 /t1=samples/northshire.xi /t2=samples/southmoor.xi)

if [ ! -f "$BUILD_DIR/build.ninja" ]; then
    cmake -S . -B "$BUILD_DIR" -G Ninja >/dev/null
fi
cmake --build "$BUILD_DIR" --target pelmora pelmora-cli -j2

mkdir -p "$DOCS"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

rm -f "$DOCS/screenshot.png"
QT_QPA_PLATFORM=offscreen PELMORA_SCREENSHOT="$DOCS/screenshot.png" PELMORA_SCREENSHOT_AFTER="$BALLS" \
    PELMORA_SCREENSHOT_DIALOGS=1 \
    "$BUILD_DIR/pelmora" /a /nta /d=0 "${MATCH[@]}" "/s=$scratch/report.txt"
if [ ! -s "$DOCS/screenshot.png" ]; then
    echo "screenshot.sh: no picture of the window was taken" >&2
    exit 1
fi
echo "Wrote $DOCS/screenshot.png, screenshot-menus.txt, options.png, team-editor.png and charts.png"

QT_QPA_PLATFORM=offscreen "$BUILD_DIR/pelmora-cli" "${MATCH[@]}" "--charts=$scratch" >/dev/null
cp "$scratch/worm.png" "$DOCS/worm.png"
echo "Wrote $DOCS/worm.png"
