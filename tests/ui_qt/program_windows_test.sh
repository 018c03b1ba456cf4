#!/usr/bin/env bash
# Every program opens its window offscreen and keeps it open: after a few seconds each is still running and has
# loaded the shared window module; then each is ended. The programs have no switch for this, so nothing in
# them serves the test.
set -u
seconds=${OVRA_WINDOW_SECONDS:-4}
data=$(mktemp -d)
trap 'rm -rf "$data"' EXIT
pids=()
errs=()
for program in "$@"; do
  err=$(mktemp)
  QT_QPA_PLATFORM=offscreen XDG_DATA_HOME=$data "$program" >/dev/null 2>"$err" &
  pids+=($!)
  errs+=("$err")
done
sleep "$seconds"
failures=0
for k in "${!pids[@]}"; do
  pid=${pids[$k]}
  program=$1; shift
  if ! kill -0 "$pid" 2>/dev/null; then
    wait "$pid"; code=$?
    echo "FAIL $program ended within ${seconds}s with exit $code:"; cat "${errs[$k]}"
    failures=$((failures + 1))
  elif ! grep -q '/ovra_window\.so$' "/proc/$pid/maps"; then
    echo "FAIL $program is running without the window module"
    failures=$((failures + 1))
  else
    echo "ok   $program: window open after ${seconds}s"
  fi
  kill "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  rm -f "${errs[$k]}"
done
exit "$failures"
