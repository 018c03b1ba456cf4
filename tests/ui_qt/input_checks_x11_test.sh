#!/usr/bin/env bash
# The real program on a real X server, driven by synthetic keys and clicks: checked inputs refuse bad codes and
# ranges with the input-error box, a refusal leaves the report and the copied result as they were, and a code
# written as 2.0 is taken. Every wait is for a condition, bounded by a deadline; each input is sent once.
set -u
program=$1
. "$(dirname "$0")/../support/x_session.sh"
skip_without "(scripts/install-deps.sh installs it)" Xvfb xdotool xclip

x_session_begin
start_xvfb 1280x1024x24

mkdir -p "$work/data" "$work/runtime"
chmod 700 "$work/runtime"
XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb "$program" >"$work/program.log" 2>&1 &
pids+=($!)
window=$(window_named "ABCD2 评分" 20)
[ -n "$window" ] || fail "the window did not appear: $(cat "$work/program.log")"

click() { xdotool mousemove --window "$window" "$1" "$2" click 1; }
has_keyboard() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]; }
# keys <xdotool key arguments...>: sent once the window has the keyboard, as after a box it may not yet.
keys() { wait_for 10 has_keyboard "$window" || fail "the window does not get the keyboard"; xdotool key "$@"; }
clipboard_is() { [ "$(xclip -o -selection clipboard 2>/dev/null)" = "$1" ]; }
# Another text on the clipboard first, so that only a new copy can give what is expected.
clear_clipboard() { printf 'stale' | xclip -selection clipboard -i && wait_for 10 clipboard_is stale; }
box() { xdotool search --onlyvisible --name '^输入有误$' 2>/dev/null | head -n1; }
box_gone() { [ -z "$(box)" ]; }
# report_is <text>: the report box's whole text, selected and copied once, is the text.
report_is() {
  clear_clipboard
  click 700 300
  keys ctrl+a ctrl+c
  wait_for 10 clipboard_is "$1"
}
# copied_result_is <text>: Copy, clicked once, gives the text.
copied_result_is() {
  clear_clipboard
  click 394 688
  wait_for 10 clipboard_is "$1"
}
# Replaces the text of input field i (0-based) and presses F5 in it.
enter() {
  click 292 $((150 + 34 * $1 + 9))
  keys ctrl+a BackSpace
  [ -z "$2" ] || xdotool type -- "$2"
  xdotool key F5
}

click 96 688  # Calculate with the defaults
report_is 'ABCD2：3 分' || fail "no result for the defaults"
result=$'ABCD2 评分\r\nABCD2：3 分\r\n—— 低危，门诊随访'
copied_result_is "$result" || fail "Copy did not give the result"

refused() {  # field, text
  local shown
  enter "$1" "$2"
  wait_for 10 sh -c "xdotool search --onlyvisible --name '^输入有误\$' >/dev/null" || fail "field $1 '$2': no input-error box"
  shown=$(box)
  wait_for 10 has_keyboard "$shown" || fail "field $1 '$2': the box does not get the keyboard"
  xdotool key Return
  wait_for 10 box_gone || fail "field $1 '$2': the box did not close"
  report_is 'ABCD2：3 分' || fail "field $1 '$2': the report changed"
  copied_result_is "$result" || fail "field $1 '$2': the copied result changed"
  echo "ok   field $1 '$2' refused, the result kept"
}
for code in 1.5 5 -1 ''; do refused 3 "$code"; done
enter 3 1
refused 0 131
enter 0 60
refused 1 30

enter 1 130
enter 4 2.0
report_is 'ABCD2：4 分' || fail "a duration of 2.0 was not taken"
box_gone || fail "a duration of 2.0 was refused"
echo "ok   a code written 2.0 is taken"
