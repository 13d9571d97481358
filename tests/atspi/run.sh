#!/bin/bash
# Plays a captained match in the window through the accessibility interface
# on a private X server and D-Bus session, and compares its report with the
# console runner's for the same answers.
# Usage: tests/atspi/run.sh BUILD_DIR [SEED]
set -euo pipefail
build=$(cd "$1" && pwd)
seed=${2:-5}
here=$(cd "$(dirname "$0")" && pwd)
samples="$here/../../samples"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if [ -z "${PELMORA_ATSPI_SESSION:-}" ]; then
    export PELMORA_ATSPI_SESSION=1
    exec dbus-run-session -- xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$@"
fi
export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 NO_AT_BRIDGE=0
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
bus=$!
trap 'kill $bus 2>/dev/null; [ -n "${PELMORA_ATSPI_KEEP:-}" ] || rm -rf "$work"' EXIT
sleep 1
/usr/bin/python3 "$here/captained_match.py" "$build/pelmora" "$build/pelmora-cli" \
    "$samples/northshire.xi" "$samples/southmoor.xi" "$seed" "$work"
