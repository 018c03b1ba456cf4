#!/usr/bin/env bash
# Every program opens its window offscreen and settles in its event loop: each must come to rest (asleep, and
# no CPU time used between two looks) with the shared window module loaded, having painted its first frame on
# the way, and is then ended. The programs have no switch for this, so nothing in them serves the test.
set -u
limit=${OVRA_WINDOW_SECONDS:-30}
data=$(mktemp -d)
trap 'rm -rf "$data"' EXIT

programs=("$@")
pids=()
errs=()
for program in "${programs[@]}"; do
  err=$(mktemp -p "$data")
  QT_QPA_PLATFORM=offscreen XDG_DATA_HOME=$data "$program" >/dev/null 2>"$err" &
  pids+=($!)
  errs+=("$err")
done

# Prints the state letter and the CPU ticks of a process; fails once it has ended.
sample() {
  local stat
  stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 1
  set -- ${stat##*) }
  echo "$1 $((${12} + ${13}))"
}

declare -a last outcome
rounds=$((limit * 4))
for ((round = 0; round < rounds; ++round)); do
  sleep 0.25
  waiting=0
  for k in "${!pids[@]}"; do
    [ -n "${outcome[$k]:-}" ] && continue
    if ! now=$(sample "${pids[$k]}"); then
      outcome[$k]=ended
      continue
    fi
    if [[ $now == S* && $now == "${last[$k]:-}" ]] && grep -q '/ovra_window\.so$' "/proc/${pids[$k]}/maps"; then
      outcome[$k]=settled
    else
      waiting=1
    fi
    last[$k]=$now
  done
  [ "$waiting" -eq 0 ] && break
done

failures=0
for k in "${!pids[@]}"; do
  program=${programs[$k]}
  case "${outcome[$k]:-}" in
    settled) echo "ok   $program: window open and idle" ;;
    ended)
      wait "${pids[$k]}"
      echo "FAIL $program ended with exit $?:"; cat "${errs[$k]}"
      failures=$((failures + 1)) ;;
    *)
      echo "FAIL $program did not settle within ${limit}s (last sample: ${last[$k]:-none})"
      failures=$((failures + 1)) ;;
  esac
  kill "${pids[$k]}" 2>/dev/null
  wait "${pids[$k]}" 2>/dev/null
done
exit "$failures"
