#!/bin/sh
# "已保存" only after the record is on the device: in a trace of one save, the log (and for a new log its
# folder) is synced before the notice is written out.
set -u
driver=$1
command -v strace >/dev/null || { echo "SKIP: strace is not installed"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; cat "$work/trace"; exit 1; }

# Prints the line numbers of the first call matching $2 and of the notice in trace $1.
order() { awk -v call="$2" '$0 ~ call && !c { c = NR } /write\(1, "NOTICE/ && !n { n = NR } END { print c + 0, n + 0 }' "$1"; }

for save in new existing; do
  strace -f -e trace=fdatasync,fsync,link,linkat,write -o "$work/trace" "$driver" "$work/records" >/dev/null ||
    fail "$save save failed"
  grep -q 'write(1, "NOTICE \\345\\267\\262' "$work/trace" || fail "no 已保存 notice in the trace"
  set -- $(order "$work/trace" "^[0-9]+ +fdatasync\\(")
  [ "$1" -gt 0 ] && [ "$1" -lt "$2" ] || fail "$save save: the record is not synced before the notice"
  if [ $save = new ]; then
    set -- $(order "$work/trace" "^[0-9]+ +fsync\\(")
    link=$(grep -nE ' link(at)?\(' "$work/trace" | head -1 | cut -d: -f1)
    [ -n "$link" ] && [ "$1" -gt "$link" ] && [ "$1" -lt "$2" ] ||
      fail "new save: the folder entry is not synced before the notice"
  fi
done
[ "$(grep -c '^2026' "$work/records/T146.csv")" -eq 2 ] || fail "two saves, not two records"
echo "sync before notice: yes"
