#!/bin/bash
# Plays a captained match in the window through the accessibility interface
# on a private X server and D-Bus session, and compares its report with the
# console runner's for the same answers.
# Usage: tests/atspi/run.sh PELMORA PELMORA_CLI [SEED]
# Exits 77 (skipped) when the X server or the accessibility tools are missing.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
samples=$(cd "$here/../../samples" && pwd)
if [ -z "${PELMORA_ATSPI_SESSION:-}" ]; then
    for tool in Xvfb dbus-run-session /usr/libexec/at-spi-bus-launcher; do
        command -v "$tool" >/dev/null || { echo "run.sh: $tool is missing (apt install xvfb dbus at-spi2-core)"; exit 77; }
    done
    /usr/bin/python3 -c "import pyatspi" 2>/dev/null || { echo "run.sh: python3-pyatspi is missing"; exit 77; }
    export PELMORA_ATSPI_SESSION=1
    exec dbus-run-session -- "$0" "$@" 2> >(grep -v "Failed to set fd limit" >&2)
fi
window=$1 cli=$2 seed=${3:-5}
work=$(mktemp -d)
chmod 700 "$work"
server=0 bus=0
trap 'kill $bus $server 2>/dev/null || true; [ -n "${PELMORA_ATSPI_KEEP:-}" ] || rm -rf "$work"' EXIT

# An X server of its own: it picks a free display and names it once it takes
# connections, so runs side by side never share or race for one.
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
server=$!
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    kill -0 $server 2>/dev/null || { echo "run.sh: Xvfb stopped:"; cat "$work/xvfb.log"; exit 1; }
    sleep 0.1
done
[ -s "$work/display" ] || { echo "run.sh: Xvfb named no display within 10 s"; cat "$work/xvfb.log"; exit 1; }
export DISPLAY=":$(head -n 1 "$work/display")"

export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 XDG_RUNTIME_DIR="$work"
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
bus=$!
sleep 1
/usr/bin/python3 "$here/captained_match.py" "$window" "$cli" "$samples/northshire.xi" "$samples/southmoor.xi" \
    "$seed" "$work"
