#!/bin/sh
# A file system without hard links (exFAT, as on a USB stick) on a loop device: the first save creates the
# log, two processes racing to create it and then to append, and the log reads whole with one header. Skipped, saying so,
# where the machine cannot make or mount one.
#   exfat_save_test.sh <save_once> <csv_log.py>
set -u
driver=$1
helpers=$(dirname "$2")
skip() { echo "SKIPPED: exFAT on a loop device: $*"; exit 77; }
command -v mkfs.exfat >/dev/null || skip "mkfs.exfat is not installed (exfatprogs)"
work=$(mktemp -d)
device=
cleanup() {
  umount "$work/mnt" 2>/dev/null
  [ -z "$device" ] || losetup -d "$device"
  rm -rf "$work"
}
trap cleanup EXIT
truncate -s 16M "$work/image" && mkfs.exfat "$work/image" >/dev/null 2>&1 || skip "mkfs.exfat failed"
mkdir "$work/mnt"
device=$(losetup -f --show "$work/image" 2>/dev/null) || skip "no loop device here"
timeout 30 mount -t exfat "$device" "$work/mnt" 2>/dev/null ||
  timeout 30 mount.exfat-fuse "$device" "$work/mnt" >/dev/null 2>&1 ||
  skip "this machine cannot mount it (no exfat module and no exfat-fuse)"
folder=$work/mnt/records
timeout 120 "$driver" "$folder" 40 >/dev/null &
first=$!
timeout 120 "$driver" "$folder" 40 >/dev/null || { echo "FAIL: a save on exFAT failed"; exit 1; }
wait $first || { echo "FAIL: a save on exFAT failed"; exit 1; }
PYTHONPATH=$helpers python3 - "$folder" <<'PY' || exit 1
import sys, csv_log
rows = csv_log.rows(sys.argv[1] + "/T146.csv")
assert len(rows) == 81 and all(r == rows[1] for r in rows[1:]), f"{len(rows) - 1} rows, not 80 whole ones"
csv_log.only_logs(sys.argv[1])
PY
# A first save on a full stick fails and leaves no file behind, not even an empty log.
full=$work/mnt/full
mkdir "$full"
dd if=/dev/zero of="$work/mnt/filler" bs=4k 2>/dev/null
timeout 60 "$driver" "$full" >/dev/null && { echo "FAIL: a save on a full exFAT was shown saved"; exit 1; }
[ -z "$(ls -A "$full")" ] || { echo "FAIL: a failed first save on exFAT left $(ls -A "$full")"; exit 1; }
echo "exFAT: the log created without hard links, 80 records of two processes whole under one header;" \
  "a first save on a full stick leaves nothing"
