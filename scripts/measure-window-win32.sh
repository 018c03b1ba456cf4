#!/usr/bin/env bash
# The Windows program under Wine beside yardsticks measured in the same run, interleaved: window start to
# first complete paint vs a bare Win32 window with as many child controls; the self-test's whole process vs
# an empty Windows program; the size of the program file. Needs the windows build's tools (see README).
# Usage: scripts/measure-window-win32.sh [runs, default 20]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-20}
cmake --preset windows -DOVRA_BENCH=ON >/dev/null
cmake --build --preset windows --target abcd2 window_start bare_window empty_program >/dev/null
bin=build/windows
program="$bin/entry/ABCD2 评分.exe"
scratch=$(mktemp -d)
. tests/win32/wine_prefix.sh "$bin"
trap 'WineSessionEnd; rm -rf "$scratch"' EXIT

median() { sort -n | awk '{v[NR]=$1} END {print (NR%2 ? v[(NR+1)/2] : (v[NR/2]+v[NR/2+1])/2)}'; }
fastest() { sort -n | head -1; }
paint_ms() {  # program: milliseconds from process creation to the first complete paint, and its processor time
  rm -f "$scratch/paint"
  "$WINE" "$1" "$(WindowsPath "$scratch/paint")" >/dev/null 2>&1
  [ -s "$scratch/paint" ] || { echo "measure-window-win32: $1 reported no paint" >&2; exit 1; }
  tr -d "\r" <"$scratch/paint"
}
launch_ms() {  # command...: wall milliseconds of the whole process, as a caller waits for it
  local start end
  start=$(date +%s%N)
  "$WINE" "$@" >/dev/null 2>&1 || true
  end=$(date +%s%N)
  echo "scale=2; ($end - $start) / 1000000" | bc
}

paint_ms "$bin/bench/win32/window_start.exe" >/dev/null  # warm the caches once
: >"$scratch/calc_both"; : >"$scratch/bare_both"; : >"$scratch/selftest"; : >"$scratch/empty"
cd "$scratch"
for _ in $(seq "$runs"); do
  paint_ms "$OLDPWD/$bin/bench/win32/window_start.exe" >>calc_both
  paint_ms "$OLDPWD/$bin/bench/win32/bare_window.exe" >>bare_both
  launch_ms "$OLDPWD/$program" --selftest report.txt >>selftest
  launch_ms "$OLDPWD/$bin/bench/win32/empty_program.exe" >>empty
done
cd "$OLDPWD"
for kind in calc bare; do
  cut -d' ' -f1 "$scratch/${kind}_both" >"$scratch/$kind"
  cut -d' ' -f2 "$scratch/${kind}_both" >"$scratch/${kind}_cpu"
done
# ratio <label> <ours> <yardstick> <what>: median and fastest run of each, as the machine may be shared.
ratio() {
  local mo my fo fy
  mo=$(median <"$scratch/$2"); my=$(median <"$scratch/$3"); fo=$(fastest <"$scratch/$2"); fy=$(fastest <"$scratch/$3")
  printf '%s: median %.1f ms vs %s %.1f ms (%.2fx); fastest %.1f vs %.1f ms (%.2fx)\n' "$1" "$mo" "$4" "$my" \
    "$(echo "$mo / $my" | bc -l)" "$fo" "$fy" "$(echo "$fo / $fy" | bc -l)"
}
echo "$runs interleaved runs under Wine ($("$WINE" --version))"
ratio "window start to first paint" calc bare "a bare window with 24 children"
ratio "  processor time until then" calc_cpu bare_cpu "the bare window"
ratio "self-test process" selftest empty "an empty Windows program"
printf 'program file: %d bytes (%.2f MB)\n' "$(stat -c %s "$program")" "$(echo "$(stat -c %s "$program") / 1048576" | bc -l)"
