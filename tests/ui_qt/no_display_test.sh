#!/usr/bin/env bash
# Where no display can be opened the program says so in one line on standard error and exits with 1, never
# aborting, whether no display is named at all or the named one does not answer.
set -u
program=$1
failures=0
check() {  # description, then env arguments
  local description=$1; shift
  local err out code
  err=$(mktemp)
  out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$@" "$program" 2>"$err")
  code=$?
  local lines
  lines=$(wc -l <"$err")
  if [ "$code" -ne 1 ] || [ "$lines" -ne 1 ] || [ -n "$out" ]; then
    echo "FAIL $description: exit $code, $lines stderr lines, stdout '$out'"; cat "$err"; failures=$((failures + 1))
  else
    echo "ok   $description: $(cat "$err")"
  fi
  rm -f "$err"
}
check "no display named"
check "an X display that does not answer" DISPLAY=:4711
check "the X platform asked for without a display" QT_QPA_PLATFORM=xcb
exit "$failures"
