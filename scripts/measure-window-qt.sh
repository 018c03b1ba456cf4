#!/usr/bin/env bash
# Start to first paint and peak memory of the calculator's window beside a bare Qt window with twenty CJK
# labels (repeating five characters, and "varied": a phrase each), runs interleaved, on the offscreen platform and under Xvfb; the time of one Calculate; the start-up
# cost of the self-test. Needs xvfb. Usage: scripts/measure-window-qt.sh [runs, default 20]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-20}
for tool in Xvfb bc /usr/bin/time; do
  command -v "$tool" >/dev/null || { echo "measure-window-qt: needs $tool (apt-get install xvfb bc time)" >&2; exit 1; }
done
cmake --preset release >/dev/null
cmake --build --preset release --target bare_window window_start abcd2 >/dev/null
bin=build/release
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"; [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null || true' EXIT

median() { sort -n | awk '{v[NR]=$1} END {print (NR%2 ? v[(NR+1)/2] : (v[NR/2]+v[NR/2+1])/2)}'; }

# One run: prints "<ms to first paint> <peak KB>".
run_once() {
  /usr/bin/time -f '%M' -o "$scratch/mem" "$@" "$(date +%s%N)" >"$scratch/out" 2>/dev/null
  echo "$(awk '/first_paint_ms/ {print $2}' "$scratch/out") $(cat "$scratch/mem")"
}

measure() {  # platform label, then the environment assignments
  local label=$1; shift
  : >"$scratch/bare"; : >"$scratch/varied"; : >"$scratch/calc"
  for _ in $(seq "$runs"); do
    for kind in "bare:$bin/bench/qt/bare_window" "varied:$bin/bench/qt/bare_window --varied" \
                "calc:$bin/bench/qt/window_start"; do
      env "$@" bash -c "$(declare -f run_once); scratch=$scratch; run_once ${kind#*:}" >>"$scratch/${kind%%:*}"
    done
  done
  local ct cm
  ct=$(cut -d' ' -f1 "$scratch/calc" | median); cm=$(cut -d' ' -f2 "$scratch/calc" | median)
  for kind in bare varied; do
    local bt bm
    bt=$(cut -d' ' -f1 "$scratch/$kind" | median); bm=$(cut -d' ' -f2 "$scratch/$kind" | median)
    printf '%-9s vs %-6s first paint %6.1f ms, calculator %6.1f ms (%.2fx)   peak memory %5.1f MB, calculator %5.1f MB (%.2fx)\n' \
      "$label" "$kind" "$bt" "$ct" "$(echo "$ct / $bt" | bc -l)" "$(echo "$bm / 1024" | bc -l)" \
      "$(echo "$cm / 1024" | bc -l)" "$(echo "$cm / $bm" | bc -l)"
  done
}

echo "median of $runs interleaved runs each"
measure offscreen QT_QPA_PLATFORM=offscreen
# A display of its own: others may run an X server on any fixed number.
. tests/support/private_display.sh
private_display 1280x800x24 /dev/null || { echo "measure-window-qt: Xvfb did not start" >&2; exit 1; }
xvfb=$private_display_pid
measure Xvfb DISPLAY="$DISPLAY" QT_QPA_PLATFORM=xcb

QT_QPA_PLATFORM=offscreen "$bin/bench/qt/window_start" --calculate 1000

empty_ns() {  # average nanoseconds of one start of the given command, over 200 starts
  local start end
  start=$(date +%s%N)
  for _ in $(seq 200); do "$@" >/dev/null 2>&1 || true; done
  end=$(date +%s%N)
  echo $(( (end - start) / 200 ))
}
printf 'self-test start: %.2f ms; an empty program (/bin/true): %.2f ms\n' \
  "$(echo "$(empty_ns "$bin/entry/abcd2" --selftest "$scratch/selftest.txt") / 1000000" | bc -l)" \
  "$(echo "$(empty_ns /bin/true) / 1000000" | bc -l)"
