#!/usr/bin/env bash
# Builds the program and runs it: the window where a display exists, otherwise the self-test.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
cmake --preset dev >/dev/null
cmake --build --preset dev --target abcd2
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec build/dev/entry/abcd2 "$@"
fi
echo "No display: running the self-test."
status=0
build/dev/entry/abcd2 --selftest build/selftest.txt || status=$?
cat build/selftest.txt
echo "exit code $status"
exit "$status"
