#!/usr/bin/env bash
# The window from the keyboard alone under Xvfb and Wine, with the focus and the announcements read from
# another process (window_probe.exe): Tab through every stop and back, Enter and Space on each button, Ctrl+S,
# Ctrl+Shift+C, F1, Ctrl+A in a field, Alt+1 typing nothing, the focus after F5 and after each message box;
# the focus mark on a field and on a button, counted in a screenshot.
#   keys_under_wine.sh <build-dir> <program.exe> <window_probe.exe>
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
program=$2
probe=$3
. "$here/window_checks.sh" "$1"
trace=$(mktemp)
app=
watcher=
cleanup() {
  [ -n "$watcher" ] && kill "$watcher" 2>/dev/null
  [ -n "$app" ] && kill "$app" 2>/dev/null
  rm -f "$trace"
  WineSessionEnd
}
trap cleanup EXIT

title="ABCD2 评分"
keys() { xdotool windowfocus --sync "$main" 2>/dev/null; xdotool key --delay 120 "$@"; }
focus_list() { sed -n 's/^focus \(-\?[0-9]*\) .*/\1/p' "$trace" | tr '\n' ' '; }
last_focus() { sed -n 's/^focus \(-\?[0-9]*\) .*/\1/p' "$trace" | tail -1; }
focus_is() { [ "$(last_focus)" = "$1" ]; }
announced() { grep -qF -- "$1" "$trace"; }
# marked <x> <y> <w> <h>: how many pixels of that part of the window have the focus mark's colour.
marked() {
  import -window "$main" png:- 2>/dev/null | convert - -crop "$3x$4+$1+$2" +repage -fill black +opaque '#006C96' \
    -fill white -opaque '#006C96' -format '%[fx:round(mean*w*h)]' info:
}
# marks_are <field frame's pixels at least> <Save button's at least>, 0 meaning none at all.
marks_are() {
  field=$(marked 208 139 168 42)  # around the first field, 216,146 152×27
  save=$(marked 184 668 132 40)   # the Save button
  { [ "$1" -eq 0 ] && [ "$field" -eq 0 ] || [ "$1" -gt 0 ] && [ "$field" -ge "$1" ]; } &&
    { [ "$2" -eq 0 ] && [ "$save" -eq 0 ] || [ "$2" -gt 0 ] && [ "$save" -ge "$2" ]; }
}
# focus_marks <case> <as marks_are>: waits for the repaint, as a busy machine may be slow to it.
focus_marks() {
  local deadline=$((SECONDS + 5))
  until marks_are "$2" "$3"; do
    [ "$SECONDS" -lt "$deadline" ] || { fail "$1: focus mark pixels around the first field $field, on Save $save"; return; }
    sleep 0.2
  done
  ok "$1: focus mark pixels around the first field $field, on Save $save"
}
after_notice_focus_is() {
  wait_for 10 focus_is "$2" && ok "$1: focus back on $2" || fail "$1: focus on $(last_focus), not $2"
}

"$WINE" "$program" >/dev/null 2>&1 &
app=$!
main=$(window_named "$title" 60)
[ -n "$main" ] || { fail "the window did not appear"; exit 1; }
"$WINE" "$probe" watch "$title" 240 >"$trace" 2>/dev/null &
watcher=$!
wait_for 60 grep -q '^watching$' "$trace" || { fail "the probe saw no events: $(head -1 "$trace")"; exit 1; }
wait_for 20 focus_is 2000 && ok "the first field has the focus at start" || fail "focus at start: $(last_focus)"
# A 2 px frame around the 152×27 field, a pixel off it: (158 + 162) × 2 × 2 pixels at least.
focus_marks "the first field focused" 600 0

# The ring: six fields, the report box, the five buttons, and back to the first field; Shift+Tab the reverse.
keys Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab
forward="2000 2001 2002 2003 2004 2005 3000 1001 1002 1003 1004 1005 2000 "
wait_for 15 sh -c "[ \"\$(sed -n 's/^focus \([0-9]*\) .*/\1/p' '$trace' | tr '\n' ' ')\" = '$forward' ]" \
  && ok "Tab runs through every stop and wraps" || fail "Tab order: $(focus_list)"
keys shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab
backward="${forward}1005 1004 1003 1002 1001 3000 2005 2004 2003 2002 2001 2000 "
wait_for 15 sh -c "[ \"\$(sed -n 's/^focus \([0-9]*\) .*/\1/p' '$trace' | tr '\n' ' ')\" = '$backward' ]" \
  && ok "Shift+Tab runs back through every stop" || fail "Shift+Tab order: $(focus_list)"

# In the first field: Alt+1 types nothing, F5 calculates, the verdict is announced, the focus stays.
keys End alt+1 F5
wait_for 10 announced "name 0 低危，门诊随访" && ok "F5 announced the verdict" || fail "no verdict announced after F5"
sleep 0.5
focus_is 2000 && ok "the focus stayed on the field after F5" || fail "focus after F5: $(last_focus)"
# Ctrl+A in the second field selects it whole, so 150 replaces 130: score 4. Copy by Ctrl+Shift+C.
keys Tab ctrl+a 1 5 0 F5 ctrl+shift+c
expected4=$'ABCD2 评分\nABCD2：4 分\n—— 中危，尽快完成血管与心源评估'
wait_for 10 clipboard_is "$expected4" && ok "Alt+1 typed nothing, Ctrl+A selected, Ctrl+Shift+C copied score 4" \
  || fail "clipboard after Ctrl+Shift+C: '$(clipboard)'"
wait_for 5 announced "name 0 结果已复制到剪贴板" && ok "Copy announced the status" || fail "Copy's status not announced"
keys ctrl+s
close_notice "已保存" && after_notice_focus_is "Ctrl+S saved" 2001
keys F1
close_notice "关于本工具" && after_notice_focus_is "F1 showed About" 2001

# Each button from the keyboard, Enter and Space alike; the focus stays on the button.
keys Tab Tab Tab Tab Tab Tab
wait_for 10 focus_is 1001 || fail "Tab to the Calculate button: $(last_focus)"
keys shift+Tab shift+Tab ctrl+a 1 Tab Tab space  # diabetes to 1 in the last field, then Space on Calculate
expected5=$'ABCD2 评分\nABCD2：5 分\n—— 中危，尽快完成血管与心源评估'
keys Tab Return  # Enter on Save
close_notice "已保存" && after_notice_focus_is "Enter on Save" 1002
focus_marks "Save focused" 0 300
keys Tab space  # Space on Copy
wait_for 10 clipboard_is "$expected5" && ok "Space on Calculate, then Space on Copy: score 5" \
  || fail "clipboard after the Copy button: '$(clipboard)'"
keys Tab Return  # Enter on Reset
wait_for 10 announced "name 0 填写左侧参数，点击“计算”" && ok "Enter on Reset announced the start prompt" \
  || fail "Reset not announced"
keys Tab space  # Space on About
close_notice "关于本工具" && after_notice_focus_is "Space on About" 1005

keys alt+F4
wait_for 20 sh -c "! kill -0 $app" && ok "Alt+F4 still closes" || fail "the program did not end after Alt+F4"
app=
exit $((failures > 0))
