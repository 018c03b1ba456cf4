#!/usr/bin/env bash
# The real program on a private X server and a private D-Bus session, read through AT-SPI as a screen reader
# reads it (atspi_probe.py). Every wait is bounded.
set -u
program=$1
probe="$(dirname "$0")/atspi_probe.py"
. "$(dirname "$0")/../support/x_session.sh"
skip_without "(scripts/install-deps.sh installs it)" Xvfb xdotool dbus-run-session /usr/libexec/at-spi-bus-launcher
skip_without_pyatspi "(scripts/install-deps.sh installs it)"

x_session_begin
start_xvfb 1280x1024x24
mkdir -p "$work/data" "$work/runtime"
chmod 700 "$work/runtime"

# Inside its own session bus: the program, then the probe; the session ends both.
XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work/runtime" \
  QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 NO_AT_BRIDGE=0 \
  timeout 90 dbus-run-session -- bash -c '
    "$1" >"$2/program.log" 2>&1 &
    program=$!
    timeout 60 /usr/bin/python3 "$3"
    status=$?
    kill $program 2>/dev/null
    [ $status -eq 124 ] && echo "FAIL the probe did not finish within 60 s: a text query hangs?"
    exit $status
  ' session "$program" "$work" "$probe"
status=$?
[ $status -ne 0 ] && cat "$work/program.log"
exit $status
