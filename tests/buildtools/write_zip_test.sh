#!/usr/bin/env bash
# The zip step: the same members give the same bytes whatever their times on disk and the order they are named
# in; members sorted, each with the given time (clamped to the zip's earliest) and its mode.
#   write_zip_test.sh <write_zip.py>
set -uo pipefail
script=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
program="ABCD2 评分.exe" readme=使用说明.txt
for copy in a b; do
  mkdir "$work/$copy"
  printf 'MZ program' >"$work/$copy/$program"
  chmod 755 "$work/$copy/$program"
  printf 'read me\r\n' >"$work/$copy/$readme"
  chmod 644 "$work/$copy/$readme"
done
touch -d '2001-02-03 04:05:06' "$work"/a/*
touch -d '2024-06-07 08:09:10' "$work"/b/*

# seconds | the members' time as zipinfo -T shows it
while IFS='|' read -r seconds stamp; do
  python3 "$script" "$work/a.zip" "$seconds" "$work/a" "$readme" "$program" || fail "$seconds: no zip"
  python3 "$script" "$work/b.zip" "$seconds" "$work/b" "$program" "$readme" || fail "$seconds: no zip"
  cmp -s "$work/a.zip" "$work/b.zip" && echo "ok: $seconds: the same bytes" || fail "$seconds: the zips differ"
  listing=$(TZ=UTC unzip -Z -T "$work/a.zip" | grep -v -e '^Archive:' -e '^Zip file size' -e 'files,')
  expected="-rwxr-xr-x unx $stamp $program
-rw-r--r-- unx $stamp $readme"
  got=$(awk '{print $1, $3, $7, substr($0, index($0, $8))}' <<<"$listing")
  [ "$got" = "$expected" ] && echo "ok: $seconds: sorted, stamped $stamp, modes kept" || fail "$seconds: $listing"
done <<'TABLE'
1700000000|20231114.221320
0|19800101.000000
TABLE
unzip -tq "$work/a.zip" >/dev/null || fail "the zip does not test whole"
exit $((failures > 0))
