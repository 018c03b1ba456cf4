#!/bin/sh
# The self-test report is written whole or not at all: over an older report (also through a link to it), on a
# file system that is full, and at paths that name no regular file (a FIFO, a device, a folder), which exit 3
# at once; and beside leftovers of killed runs' temporary files, also as pid 1 (as in a container, where
# every run has the same pid).
set -u
program=$1
work=$(mktemp -d)
disk=$work/disk
cleanup() { umount "$disk" 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT
cd "$work" || exit 1
fail() { echo "FAIL: $*"; exit 1; }

# run <expected exit> <path> [command the program runs under]: bounded, since a FIFO opened for writing would
# wait for a reader forever
run() {
  want=$1 path=$2
  shift 2
  timeout 10 "$@" "$program" --selftest "$path" </dev/null >/dev/null 2>&1
  got=$?
  [ "$got" -eq "$want" ] || fail "--selftest $path${1:+ under $*} exited $got, expected $want"
}

printf 'older report\r\n' >report.txt
run 0 report.txt
[ "$(wc -c <report.txt)" -eq 123 ] || fail "the older report was not replaced by the whole new one"

printf 'older report\r\n' >real.txt
ln -s real.txt link.txt
run 0 link.txt
[ -L link.txt ] && [ "$(wc -c <real.txt)" -eq 123 ] || fail "a link to a report was not kept, or its file not replaced"

mkfifo fifo
run 3 fifo
[ -p fifo ] || fail "the FIFO was replaced"
run 3 /dev/null
mkdir folder
run 3 folder
[ -z "$(ls -A folder)" ] || fail "something was written into the folder"
[ "$(ls -A | sort | tr '\n' ' ')" = "fifo folder link.txt real.txt report.txt " ] || fail "files left behind: $(ls -A)"

# Leftovers of the temporary pattern, older (named after the pid) and newer (random): never in the way, never
# touched.
leftovers=".report-1.tmp .report-0123456789abcdef.tmp .report-ffffffffffffffff.tmp"
mkdir leftover
for name in $leftovers; do printf 'leftover\n' >"leftover/$name"; done
left_alone() {
  for name in $leftovers; do
    [ "$(cat "leftover/$name")" = leftover ] || fail "the leftover $name was changed or removed"
  done
  [ "$(ls -A leftover | wc -l)" -eq 4 ] || fail "the self-test left more beside its report: $(ls -A leftover)"
}
run 0 leftover/report.txt
cmp -s report.txt leftover/report.txt || fail "the report beside leftovers is not whole"
left_alone
rm leftover/report.txt
pid_one=
if unshare -pf --mount-proc true 2>/dev/null; then
  run 0 leftover/report.txt unshare -pf --mount-proc
  cmp -s report.txt leftover/report.txt || fail "the report of pid 1 beside .report-1.tmp is not whole"
  left_alone
  pid_one=yes
fi
rm -rf leftover

mkdir "$disk"
if mount -t tmpfs -o size=16k tmpfs "$disk" 2>/dev/null; then
  printf 'older report\r\n' >"$disk/report.txt"
  dd if=/dev/zero of="$disk/filler" bs=4k 2>/dev/null
  run 3 "$disk/report.txt"
  [ "$(cat "$disk/report.txt")" = "$(printf 'older report\r\n')" ] || fail "the older report was changed on a full disk"
  [ "$(ls -A "$disk" | sort | tr '\n' ' ')" = "filler report.txt " ] || fail "full disk left: $(ls -A "$disk")"
  echo "report: whole over an older one and beside leftovers, refused at a FIFO, a device and a folder," \
    "unchanged on a full disk"
else
  echo "report: whole over an older one and beside leftovers, refused at a FIFO, a device and a folder;" \
    "SKIPPED the full disk (cannot mount a tmpfs here, needs root)"
fi
[ -n "$pid_one" ] || { echo "SKIPPED the run as pid 1 beside .report-1.tmp (unshare -pf is not permitted, needs root)"; exit 77; }
