#!/usr/bin/env bash
# The Windows program as a file: its name, under 2 MB, and its resources (the icon at seven sizes, the version
# record, the per-monitor DPI manifest). What it imports: windows7_imports.py.
#   program_file_test.sh <program.exe> <program.ico> <check_icon_files.py>
set -uo pipefail
program=$1
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
[ "$(basename "$program")" = "ABCD2 评分.exe" ] || fail "file name $(basename "$program")"
size=$(stat -c %s "$program")
[ "$size" -lt 2097152 ] && echo "ok: $size bytes" || fail "$size bytes, not under 2 MB"

resources=$(mktemp)
trap 'rm -f "$resources"' EXIT
x86_64-w64-mingw32-windres -i "$program" -O rc -o "$resources" || fail "no resources readable"
expect() { grep -qF -- "$1" "$resources" && echo "ok: $2" || fail "$2 missing"; }
expect 'VALUE "ProductName", L"ABCD2 \x8bc4\x5206"' 'product name ABCD2 评分'
expect 'VALUE "FileDescription", L"ABCD2 \x8bc4\x5206 V1.0"' 'file description ABCD2 评分 V1.0'
expect 'VALUE "FileVersion", "1.0.0.0"' 'file version 1.0.0.0'
expect 'VALUE "ProductVersion", "1.0.0.0"' 'product version 1.0.0.0'
expect 'FILEVERSION 1, 0, 0, 0' 'numeric file version'
expect '>PerMonitorV2, PerMonitor</dpiAwareness>' 'per-monitor DPI awareness in the manifest'
[ "$(grep -c '1, 32, .*Element no' "$resources")" -eq 7 ] && echo "ok: icon group of seven 32-bit images" \
  || fail "icon group is not seven 32-bit images"
python3 "$3" "$2" && echo "ok: the icon decodes at every size" || fail "icon files"
exit $((failures > 0))
