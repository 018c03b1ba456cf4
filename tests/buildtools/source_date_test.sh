#!/usr/bin/env bash
# Where the build's one time comes from: the environment, else the last commit (and a new commit reaches the
# build without a manual configure), else the fixed time; a malformed time stops the configure.
#   source_date_test.sh <source_date.cmake>
set -uo pipefail
module=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
export GIT_CONFIG_NOSYSTEM=1 GIT_CEILING_DIRECTORIES=$work HOME=$work
export GIT_AUTHOR_NAME=t GIT_AUTHOR_EMAIL=t@t GIT_COMMITTER_NAME=t GIT_COMMITTER_EMAIL=t@t

# A project of its own that writes out what the module decided.
project_in() {
  mkdir -p "$1"
  cat >"$1/CMakeLists.txt" <<CMAKE
cmake_minimum_required(VERSION 3.25)
project(date LANGUAGES NONE)
include("$module")
file(WRITE \${PROJECT_BINARY_DIR}/date.txt "\${OVRA_SOURCE_DATE_EPOCH} \$ENV{SOURCE_DATE_EPOCH}")
add_custom_target(show ALL COMMAND sh -c "echo \\\$SOURCE_DATE_EPOCH > custom.txt" VERBATIM)
CMAKE
}
commit_at() { git -C "$1" add -A && GIT_COMMITTER_DATE="@$2 +0000" git -C "$1" commit -qm c --allow-empty; }
configure() { cmake -S "$1" -B "$1/build" -G Ninja >"$work/log" 2>&1 && cmake --build "$1/build" >>"$work/log" 2>&1; }

# case | SOURCE_DATE_EPOCH (- for unset) | commit time (- for no git) | expected time (- for a failed configure)
while IFS='|' read -r name env commit expected; do
  dir="$work/$name"
  project_in "$dir"
  if [ "$commit" != - ]; then git init -q "$dir" && commit_at "$dir" "$commit"; fi
  if [ "$env" = - ]; then configure "$dir"; else SOURCE_DATE_EPOCH=$env configure "$dir"; fi
  code=$?
  if [ "$expected" = - ]; then
    [ "$code" -ne 0 ] && echo "ok: $name refused" || fail "$name: configured with SOURCE_DATE_EPOCH=$env"
    continue
  fi
  [ "$code" -eq 0 ] || { fail "$name: configure failed: $(cat "$work/log")"; continue; }
  got="$(cat "$dir/build/date.txt") $(cat "$dir/build/custom.txt")"
  [ "$got" = "$expected $expected $expected" ] && echo "ok: $name gives $expected" || fail "$name: $got, not $expected"
done <<'TABLE'
environment wins over the commit|1600000000|1700000000|1600000000
last commit without the environment|-|1700000000|1700000000
no git: the fixed time|-|-|1767225600
a time that is not a number|17e8|1700000000|-
a negative time|-5|1700000000|-
TABLE

# A later commit: the next build configures again and carries the new time.
dir="$work/last commit without the environment"
commit_at "$dir" 1710000000
cmake --build "$dir/build" >"$work/log" 2>&1 || fail "rebuild after a commit: $(cat "$work/log")"
got=$(cat "$dir/build/date.txt")
[ "$got" = "1710000000 1710000000" ] && echo "ok: a new commit reaches the next build" || fail "after a commit: $got"
exit $((failures > 0))
