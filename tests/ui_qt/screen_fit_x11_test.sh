#!/usr/bin/env bash
# The real program under a real window manager on a 1366×768 screen whose bottom 40 pixels are taken (a task
# bar: openbox's screen margin), so the work area is 1366×728: the whole window, frame included, lies inside
# it, scaled down. Every wait is bounded.
set -u
program=$1
for tool in Xvfb openbox xdotool xwininfo xprop; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIPPED: $tool is not installed (scripts/install-deps.sh installs it)"
    exit 77
  fi
done

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL $*"; exit 1; }
. "$(dirname "$0")/../support/wait_for.sh"
file_has_text() { [ -s "$1" ]; }

Xvfb -displayfd 3 -screen 0 1366x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
wait_for 10 file_has_text "$work/display" || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=":$(head -n1 "$work/display")"

cat >"$work/rc.xml" <<'XML'
<?xml version="1.0" encoding="UTF-8"?>
<openbox_config xmlns="http://openbox.org/3.4/rc">
  <margins><top>0</top><bottom>40</bottom><left>0</left><right>0</right></margins>
  <desktops><number>1</number></desktops>
</openbox_config>
XML
HOME="$work" openbox --config-file "$work/rc.xml" >"$work/openbox.log" 2>&1 &
pids+=($!)
workarea_ready() { xprop -root _NET_WORKAREA 2>/dev/null | grep -q '0, 0, 1366, 728'; }
wait_for 10 workarea_ready || fail "the work area is not 1366×728: $(xprop -root _NET_WORKAREA 2>&1)"

mkdir -p "$work/data" "$work/runtime"
chmod 700 "$work/runtime"
XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb "$program" >"$work/program.log" 2>&1 &
pids+=($!)
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^ABCD2 评分$' | head -n1)
[ -n "$window" ] || fail "the window did not appear: $(cat "$work/program.log")"

# The frame as the window manager placed it: the client's place and size widened by the extents the window
# manager announces (left, right, top, bottom). Prints left, top, width, height.
frame() {
  local x y w h l r t b
  read -r x y w h <<<"$(xwininfo -id "$window" |
    awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF} /Width/ {w=$NF} /Height/ {h=$NF}
         END {print x, y, w, h}')"
  read -r l r t b <<<"$(xprop -id "$window" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')"
  [ -n "$b" ] || return 1
  echo $((x - l)) $((y - t)) $((w + l + r)) $((h + t + b))
}
client() { xwininfo -id "$window" | awk '/Width/ {w=$NF} /Height/ {h=$NF} END {print w, h}'; }
inside() {
  local x y w h
  read -r x y w h <<<"$(frame)" || return 1
  [ -n "$h" ] || return 1
  [ "$x" -ge 0 ] && [ "$y" -ge 0 ] && [ $((x + w)) -le 1366 ] && [ $((y + h)) -le 728 ]
}
wait_for 10 inside || fail "the frame $(frame) (x y w h) is not inside the work area 1366×728"
read -r cw ch <<<"$(client)"
[ "$ch" -lt 720 ] && [ "$cw" -lt 1020 ] || fail "the window was not scaled: client ${cw}×${ch}"
echo "frame $(frame) (x y w h) inside 1366×728; client ${cw}×${ch}"
