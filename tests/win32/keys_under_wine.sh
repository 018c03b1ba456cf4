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
app=
cleanup() {
  end_watch
  [ -n "$app" ] && kill "$app" 2>/dev/null
  WineSessionEnd
}
trap cleanup EXIT

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
  wait_for 10 marks_are "$2" "$3" && ok "$1: focus mark pixels around the first field $field, on Save $save" ||
    fail "$1: focus mark pixels around the first field $field, on Save $save"
}
# focus_went <ids>: since the last input the focus went through exactly these controls; focus_on <id>: it is there.
focus_went() { [ "$(focus_events_after "$acted")" = "$1" ]; }
focus_on() { [ "$(focus_events_after "$acted" | awk '{print $NF}')" = "$1" ]; }
# focus_back_on <case> <id>: after a message box, the control that had the focus has it again.
focus_back_on() {
  [ "$(last_focus_event)" = "$2" ] && ok "$1: focus back on $2" || fail "$1: focus on $(last_focus_event), not $2"
}

"$WINE" "$program" >/dev/null 2>&1 &
app=$!
main=$(window_named "$title" 60)
[ -n "$main" ] || { fail "the window did not appear"; exit 1; }
watch_window "$probe" || exit 1
wait_for 20 grep -q '^focus 2000 ' "$trace" && ok "the first field has the focus at start" ||
  fail "focus at start: $(grep '^focus' "$trace" | tail -1)"
# A 2 px frame around the 152×27 field, a pixel off it: (158 + 162) × 2 × 2 pixels at least.
focus_marks "the first field focused" 600 0

# The ring: six fields, the report box, the five buttons, and back to the first field; Shift+Tab the reverse.
keys Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab
forward="2001 2002 2003 2004 2005 3000 1001 1002 1003 1004 1005 2000 "
wait_for 20 focus_went "$forward" && ok "Tab runs through every stop and wraps" ||
  fail "Tab order: $(focus_events_after "$acted")"
keys shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab
backward="1005 1004 1003 1002 1001 3000 2005 2004 2003 2002 2001 2000 "
wait_for 20 focus_went "$backward" && ok "Shift+Tab runs back through every stop" ||
  fail "Shift+Tab order: $(focus_events_after "$acted")"

# In the first field: Alt+1 types nothing, F5 calculates, the verdict is announced, the focus stays.
keys End alt+1 F5
calculated=$acted
wait_for 10 came_after "$acted" "name 0 低危，门诊随访" && ok "F5 announced the verdict" || fail "no verdict announced after F5"
# Ctrl+A in the second field selects it whole, so 150 replaces 130: score 4. Copy by Ctrl+Shift+C.
keys Tab ctrl+a 1 5 0 F5 ctrl+shift+c
expected4=$'ABCD2 评分\nABCD2：4 分\n—— 中危，尽快完成血管与心源评估'
copied "$expected4" && ok "Alt+1 typed nothing, Ctrl+A selected, Ctrl+Shift+C copied score 4, its status announced" \
  || fail "clipboard after Ctrl+Shift+C: '$(clipboard)'"
# Neither F5 moved the focus: from the first field it went only to the second, by Tab.
[ "$(focus_events_after "$calculated")" = "2001 " ] && ok "the focus stayed on the field after F5" ||
  fail "focus after F5: $(focus_events_after "$calculated")"
keys ctrl+s
close_notice "已保存" && focus_back_on "Ctrl+S saved" 2001
keys F1
close_notice "关于本工具" && focus_back_on "F1 showed About" 2001

# Each button from the keyboard, Enter and Space alike; the focus stays on the button.
keys Tab Tab Tab Tab Tab Tab
wait_for 10 focus_on 1001 ||
  fail "Tab to the Calculate button: $(focus_events_after "$acted")"
keys shift+Tab shift+Tab ctrl+a 1 Tab Tab space  # diabetes to 1 in the last field, then Space on Calculate
expected5=$'ABCD2 评分\nABCD2：5 分\n—— 中危，尽快完成血管与心源评估'
keys Tab Return  # Enter on Save
close_notice "已保存" && focus_back_on "Enter on Save" 1002
focus_marks "Save focused" 0 300
keys Tab space  # Space on Copy
copied "$expected5" && ok "Space on Calculate, then Space on Copy: score 5" \
  || fail "clipboard after the Copy button: '$(clipboard)'"
keys Tab Return  # Enter on Reset
wait_for 10 came_after "$acted" "name 0 填写左侧参数，点击“计算”" && ok "Enter on Reset announced the start prompt" \
  || fail "Reset not announced"
keys Tab space  # Space on About
close_notice "关于本工具" && focus_back_on "Space on About" 1005

keys alt+F4
wait_for 20 sh -c "! kill -0 $app" && ok "Alt+F4 still closes" || fail "the program did not end after Alt+F4"
app=
exit $((failures > 0))
