#!/usr/bin/env bash
# Two Windows processes append to one new log at the same moment under Wine: the log must hold one mark, one
# header and every record whole, as a spreadsheet reads it.
#   concurrent_saves_under_wine.sh <build-dir> <save_once.exe>
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine_prefix.sh" "$1"
saver=$2
saves=150
work=$(mktemp -d "$ovra_build_dir/saves.XXXXXX")
trap 'rm -rf "$work"; WineSessionEnd' EXIT
folder=$(WindowsPath "$work/records")

timeout 300 "$WINE" "$saver" "$folder" $saves </dev/null >"$work/first" 2>&1 &
first=$!
timeout 300 "$WINE" "$saver" "$folder" $saves </dev/null >"$work/second" 2>&1 &
second=$!
failures=0
wait $first || { echo "FAIL: the first process: $(cat "$work/first")"; failures=$((failures + 1)); }
wait $second || { echo "FAIL: the second process: $(cat "$work/second")"; failures=$((failures + 1)); }
if python3 "$here/check_record_log.py" "$work/records/T146.csv" $((2 * saves)) 60 130 80 1 1 0 3; then
  echo "ok: $((2 * saves)) records from two processes, one header"
else
  failures=$((failures + 1))
fi
exit $failures
