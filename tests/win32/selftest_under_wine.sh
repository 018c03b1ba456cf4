#!/usr/bin/env bash
# The Windows program's self-test under Wine: the exact report, the command-line rule as Windows hands the
# whole command line over, and exit code 3 when the report cannot be written (a folder or a device refused,
# an older report replaced only by a whole one), and leftovers of killed runs' temporary files never in the way.
#   selftest_under_wine.sh <build-dir> <program.exe>
set -uo pipefail
here=$(dirname "$0")
. "$here/wine_prefix.sh" "$1"
. "$here/../support/expected_selftest.sh"
program=$2
work=$(mktemp -d "$ovra_build_dir/selftest.XXXXXX")
trap 'rm -rf "$work"; WineSessionEnd' EXIT
cd "$work"
expected_abcd2_report expected
failures=0

# run <expected exit> <file that must hold the report, or -> <arguments...>
run() {
  local want=$1 file=$2
  shift 2
  rm -f -- selftest.txt
  timeout 60 "$WINE" "$program" "$@" </dev/null >/dev/null 2>&1
  local got=$?
  if [ "$got" -ne "$want" ]; then
    echo "FAIL: $* exited $got, expected $want"; failures=$((failures + 1)); return
  fi
  if [ "$file" != - ] && ! cmp -s expected "$file"; then
    echo "FAIL: $* did not write the exact report to '$file'"; failures=$((failures + 1)); return
  fi
  echo "ok: $* -> exit $got${file:+ ($file)}"
}

run 0 selftest.txt --selftest
run 0 selftest.txt --selftest ""
run 0 "报告 1.txt" --selftest "报告 1.txt"       # one argument with a space: Windows quotes it
run 0 glued.txt --selftestglued.txt
run 0 first --selftest first second.txt            # unquoted: the path ends at the first space
run 0 "$work/abs.txt" --selftest "$(WindowsPath "$work/abs.txt")"
run 3 - --selftest "$(WindowsPath "$work/missing/dir/r.txt")"
mkdir folder
run 3 - --selftest folder                          # a folder is no report file
run 3 - --selftest NUL                             # nor is a device
printf 'older report\r\n' >older.txt
run 0 older.txt --selftest older.txt               # replaced by the whole new report
# Named after the pid (each one Wine hands out early) or random, as a killed run leaves them: never touched.
mkdir leftover
for pid in $(seq 4 4 4096); do printf 'leftover\r\n' >"leftover/.report-$pid.tmp"; done
printf 'leftover\r\n' >leftover/.report-0123456789abcdef.tmp
run 0 leftover/report.txt --selftest 'leftover\report.txt'
[ "$(ls -A leftover | wc -l)" -eq 1026 ] && [ "$(cat leftover/.report-*.tmp | sort -u)" = "$(printf 'leftover\r')" ] ||
  { echo "FAIL: leftovers changed, or beside them $(ls -A leftover | wc -l) files, not them and the report"
    failures=$((failures + 1)); }
[ -z "$(ls -A folder)" ] && [ -z "$(ls -A | grep -i '\.tmp$')" ] || { echo "FAIL: files left behind: $(ls -A)"; failures=$((failures + 1)); }
exit $((failures > 0))
