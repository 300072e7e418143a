#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# What a screen reader finds in the real program, over a real AT-SPI bus: a private session
# bus and accessibility bus beside the private X server, the program with its accessibility
# on, and the checks of a11y.py (names, the board's tiles, the focus through keyboard play,
# the name changes of a move, the quiet hidden clock, the options dialog, the help window).
set -uo pipefail
here=$(dirname "$0")
. "$here/lib.sh"
DESK_SHOTS=${2:-$PWD/shots}

launcher=/usr/libexec/at-spi-bus-launcher
if [ ! -x "$launcher" ] || ! command -v dbus-daemon >/dev/null || ! /usr/bin/python3 -c 'import pyatspi' 2>/dev/null; then
    echo "SKIP: at-spi2-core, dbus and python3-pyatspi are needed (tools/deps.sh installs them)"
    exit 77
fi

desk_setup "$1"
A11Y_BUS_PID=""
A11Y_LAUNCHER_PID=""
a11y_cleanup() {
    [ -n "${DESK_PID:-}" ] && kill "$DESK_PID" 2>/dev/null && wait "$DESK_PID" 2>/dev/null
    DESK_PID=""
    # The launcher ends the accessibility bus it started, and the registry ends with that bus.
    [ -n "$A11Y_LAUNCHER_PID" ] && kill "$A11Y_LAUNCHER_PID" 2>/dev/null && wait "$A11Y_LAUNCHER_PID" 2>/dev/null
    [ -n "$A11Y_BUS_PID" ] && kill "$A11Y_BUS_PID" 2>/dev/null
    desk_cleanup
}
trap a11y_cleanup EXIT

# A 5 x 4 board of stems.
reg="$XDG_CONFIG_HOME/Orbilo/registry.reg"
mkdir -p "$(dirname "$reg")"
printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Brimwell\\TESRIK\\Sys]\r\n"CBH"="2"\r\n"CBW"="0"\r\n"CG1"="1"\r\n\r\n' > "$reg"

# A session bus of our own, and the accessibility bus on it.
bus=$(dbus-daemon --session --fork --print-address=1 --print-pid=3 3>"$DESK_WORK/bus.pid") ||
    desk_fail "no session bus"
A11Y_BUS_PID=$(cat "$DESK_WORK/bus.pid")
export DBUS_SESSION_BUS_ADDRESS=$bus
"$launcher" --launch-immediately >"$DESK_WORK/launcher.log" 2>&1 &
A11Y_LAUNCHER_PID=$!
for _ in $(seq 100); do
    dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress >/dev/null 2>&1 && break
    sleep 0.1
done
dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress >/dev/null 2>&1 ||
    desk_fail "the accessibility bus did not start: $(cat "$DESK_WORK/launcher.log")"

export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
desk_launch
win=$(desk_window '^OrbiloVer1\.10$')
timeout 90 /usr/bin/python3 "$here/a11y.py" "$win" || desk_fail "the accessibility checks failed"
