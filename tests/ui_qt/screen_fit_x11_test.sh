#!/usr/bin/env bash
# The real program under a real window manager on screens whose bottom is taken by a task bar (openbox's
# screen margin): 1366×768 with 40 pixels taken (a work area of 1366×728) and 1920×1080 at 150 % with 48
# taken. The whole window, frame included, lies inside the work area, scaled down. Every wait is bounded.
set -u
program=$1
. "$(dirname "$0")/../support/x_session.sh"
skip_without "(scripts/install-deps.sh installs it)" Xvfb openbox xdotool xwininfo xprop

x_session_begin

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
inside() {  # work area width, height
  local x y w h
  read -r x y w h <<<"$(frame)" || return 1
  [ -n "$h" ] && [ "$x" -ge 0 ] && [ "$y" -ge 0 ] && [ $((x + w)) -le "$1" ] && [ $((y + h)) -le "$2" ]
}

# screen width, height, task bar height, Qt's scale; the client at full size in device pixels.
check() {
  local width=$1 height=$2 bar=$3 scale=$4 full_width=$5 full_height=$6
  local area_height=$((height - bar))
  start_xvfb "${width}x${height}x24"
  cat >"$work/rc.xml" <<XML
<?xml version="1.0" encoding="UTF-8"?>
<openbox_config xmlns="http://openbox.org/3.4/rc">
  <margins><top>0</top><bottom>$bar</bottom><left>0</left><right>0</right></margins>
  <desktops><number>1</number></desktops>
</openbox_config>
XML
  HOME="$work" openbox --config-file "$work/rc.xml" >"$work/openbox.log" 2>&1 &
  pids+=($!)
  workarea_ready() { xprop -root _NET_WORKAREA 2>/dev/null | grep -q "0, 0, $width, $area_height"; }
  wait_for 10 workarea_ready || fail "the work area is not ${width}×${area_height}: $(xprop -root _NET_WORKAREA 2>&1)"
  mkdir -p "$work/data" "$work/runtime"
  chmod 700 "$work/runtime"
  XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR="$scale" \
    "$program" >"$work/program.log" 2>&1 &
  pids+=($!)
  window=$(window_named "ABCD2 评分" 20)
  [ -n "$window" ] || fail "the window did not appear: $(cat "$work/program.log")"
  wait_for 10 inside "$width" "$area_height" ||
    fail "the frame $(frame) (x y w h) is not inside the work area ${width}×${area_height} at $scale"
  local cw ch
  read -r cw ch <<<"$(xwininfo -id "$window" | awk '/Width/ {w=$NF} /Height/ {h=$NF} END {print w, h}')"
  [ "$ch" -lt "$full_height" ] && [ "$cw" -lt "$full_width" ] ||
    fail "the window was not scaled: client ${cw}×${ch} at $scale"
  echo "frame $(frame) (x y w h) inside ${width}×${area_height} at $scale; client ${cw}×${ch}"
  stop_all
}

check 1366 768 40 1 1020 720
check 1920 1080 48 1.5 1530 1080
