#!/usr/bin/env bash
# Another Windows process holds the log under Wine: a spreadsheet that shares nothing fails the save at once, a
# LockFileEx over every byte fails it after the bounded wait; both with the reason on a second line, the log
# unchanged; once released, a save works. Times are read against a plain save timed in the same run.
#   locked_log_under_wine.sh <build-dir> <save_once.exe> <hold_log.exe>
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine_prefix.sh" "$1"
saver=$2
holder=$3
work=$(mktemp -d "$ovra_build_dir/locked.XXXXXX")
trap 'exec 8>&- 2>/dev/null; rm -rf "$work"; WineSessionEnd' EXIT
folder=$(WindowsPath "$work/records")
log=$work/records/T146.csv
line="记录文件正被其他程序占用，请关闭该程序后重试。"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
now() { date +%s%N; }

start=$(now)
timeout 120 "$WINE" "$saver" "$folder" </dev/null >"$work/out" 2>&1 || { echo "FAIL: a plain save: $(cat "$work/out")"; exit 1; }
plain=$((($(now) - start) / 1000000))

# mode, least and most milliseconds beyond a plain save
for row in "share0 -1000 2500" "lock 2500 6000"; do
  set -- $row
  mode=$1
  cp "$log" "$work/before"
  mkfifo "$work/release"
  timeout 120 "$WINE" "$holder" "$(WindowsPath "$log")" "$mode" <"$work/release" >"$work/held" 2>&1 &
  held=$!
  exec 8>"$work/release"
  for _ in $(seq 300); do grep -q HELD "$work/held" && break; sleep 0.1; done
  grep -q HELD "$work/held" || fail "$mode: the holder did not take the file"
  start=$(now)
  timeout 120 "$WINE" "$saver" "$folder" </dev/null >"$work/out" 2>&1 && fail "$mode: a save into a held log was shown saved"
  took=$((($(now) - start) / 1000000 - plain))
  grep -q "NOTICE 保存失败" "$work/out" && grep -q "^$line" "$work/out" || fail "$mode: notice without the reason: $(cat "$work/out")"
  [ "$took" -ge "$2" ] && [ "$took" -le "$3" ] || fail "$mode: took ${took} ms beyond a plain save, expected $2 to $3"
  cmp -s "$log" "$work/before" || fail "$mode: the held log changed"
  exec 8>&-
  wait $held
  rm -f "$work/release"
  timeout 120 "$WINE" "$saver" "$folder" </dev/null >"$work/out" 2>&1 || fail "$mode: the save after release failed"
  [ "$(wc -c <"$log")" -gt "$(wc -c <"$work/before")" ] || fail "$mode: no record after release"
  echo "$mode: refused in ${took} ms beyond a plain save (${plain} ms), with the reason; saved once released"
done
python3 "$here/check_record_log.py" "$log" 3 60 130 80 1 1 0 3 || fail "the log does not read as three whole records"
exit $((failures > 0))
