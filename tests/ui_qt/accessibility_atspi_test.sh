#!/usr/bin/env bash
# The real program on a private X server and a private D-Bus session, read through AT-SPI as a screen reader
# reads it (atspi_probe.py). Every wait is bounded.
set -u
program=$1
probe="$(dirname "$0")/atspi_probe.py"
for tool in Xvfb xdotool dbus-run-session /usr/libexec/at-spi-bus-launcher; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIPPED: $tool is not installed (scripts/install-deps.sh installs it)"
    exit 77
  fi
done
if ! /usr/bin/python3 -c 'import pyatspi' 2>/dev/null; then
  echo "SKIPPED: python3-pyatspi is not installed (scripts/install-deps.sh installs it)"
  exit 77
fi

work=$(mktemp -d)
xvfb=
cleanup() {
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
. "$(dirname "$0")/../support/wait_for.sh"
file_has_text() { [ -s "$1" ]; }

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
wait_for 10 file_has_text "$work/display" || { echo "FAIL Xvfb did not start: $(cat "$work/xvfb.log")"; exit 1; }
mkdir -p "$work/data" "$work/runtime"
chmod 700 "$work/runtime"

# Inside its own session bus: the program, then the probe; the session ends both.
DISPLAY=":$(head -n1 "$work/display")" XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work/runtime" \
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
