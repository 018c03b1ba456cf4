#!/usr/bin/env bash
# The check of tool/catalogue against cmake/tool_table.cmake, on a copy of the folder changed one way per row.
# Usage: record_files_test.sh CMAKE SOURCE_DIR
set -u
cmake=$1 source=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
records="$work/catalogue"
failures=0
# change | what the check must say, or nothing when it must pass
while IFS='|' read -r change expected; do
  rm -rf "$records" && cp -r "$source/tool/catalogue" "$records"
  eval "$change"
  said=$("$cmake" -DOVRA_RECORDS="$records" -P "$source/cmake/tool_table.cmake" 2>&1)
  code=$?
  said=$(tr -s ' \n' '  ' <<<"$said")
  if [ -z "$expected" ] && [ $code -ne 0 ]; then
    echo "FAIL $change: refused: $said"; failures=$((failures + 1))
  elif [ -n "$expected" ] && { [ $code -eq 0 ] || [[ $said != *"$expected"* ]]; }; then
    echo "FAIL $change: exit $code, said: $said"; failures=$((failures + 1))
  else
    echo "ok   $change"
  fi
done <<'ROWS'
true|
touch "$records/stray_tool.cpp" "$records/stray_too.cpp"|holds stray_too.cpp, stray_tool.cpp, which no row of cmake/tool_table.cmake names
rm "$records/nurse_roster.cpp"|names nurse_roster.cpp, which
ROWS
exit $((failures > 0))
