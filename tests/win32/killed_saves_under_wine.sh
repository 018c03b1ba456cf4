#!/usr/bin/env bash
# Windows processes saving into one log under Wine are killed at random moments for a bounded time; after one
# more save the log reads as RFC 4180 with every record whole, and the folder holds only the log. Then saves
# stopped by the file-size limit at points through a record (Wine turns the limit into a failed write, not a
# kill): each is shown failed and leaves the log as it was.
#   killed_saves_under_wine.sh <build-dir> <save_once.exe> <csv_log.py>
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine_prefix.sh" "$1"
saver=$2
helpers=$(dirname "$3")
work=$(mktemp -d "$ovra_build_dir/killed.XXXXXX")
pids=()
trap 'for p in "${pids[@]}"; do kill -9 "$p" 2>/dev/null; done; rm -rf "$work"; WineSessionEnd' EXIT
folder=$(WindowsPath "$work/records")
RANDOM=1209
for i in 0 1; do "$WINE" "$saver" "$folder" 1000000 </dev/null >/dev/null 2>&1 & pids[$i]=$!; done
kills=0
end=$((SECONDS + 15))
while [ $SECONDS -lt $end ]; do
  sleep "0.$((RANDOM % 9 + 1))"
  i=$((RANDOM % 2))
  kill -9 "${pids[$i]}" 2>/dev/null
  wait "${pids[$i]}" 2>/dev/null
  kills=$((kills + 1))
  "$WINE" "$saver" "$folder" 1000000 </dev/null >/dev/null 2>&1 &
  pids[$i]=$!
done
for p in "${pids[@]}"; do kill -9 "$p" 2>/dev/null; wait "$p" 2>/dev/null; done
pids=()
timeout 120 "$WINE" "$saver" "$folder" </dev/null >"$work/out" 2>&1 || { echo "FAIL: the save after the kills: $(cat "$work/out")"; exit 1; }
log=$work/records/T146.csv
cp "$log" "$work/before"
for part in 0 1 60 120 183; do
  prlimit --fsize=$(($(wc -c <"$work/before") + part)) timeout 120 "$WINE" "$saver" "$folder" </dev/null >"$work/out" 2>&1 &&
    { echo "FAIL: a save past the file-size limit was shown saved"; exit 1; }
  cmp -s "$log" "$work/before" || { echo "FAIL: a save stopped $part bytes into its record changed the log"; exit 1; }
done
echo "saves stopped at 5 points of a record: each shown failed, the log as it was"
PYTHONPATH=$helpers python3 - "$work/records" "$kills" <<'PY'
import sys, csv_log
rows = csv_log.rows(sys.argv[1] + "/T146.csv")
torn = [r for r in rows[1:] if r != rows[-1]]
assert not torn, f"{len(torn)} rows not whole, the first: {torn[0]}"
csv_log.only_logs(sys.argv[1])
print(f"{sys.argv[2]} kills under Wine: {len(rows) - 1} whole records, nothing else in the folder")
PY
