#!/usr/bin/env bash
# Drives the Windows program's real window under Xvfb and Wine as a person would: typing, Tab, F5 and Enter,
# the buttons, the message boxes; reads back the clipboard and the CSV log in the prefix. The focus and the
# announcements are read from another process (window_probe.exe), so each step waits for the one before.
#   window_under_wine.sh <build-dir> <program.exe> <window_probe.exe> [screenshot.png]
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
program=$2
probe=$3
screenshot=${4:-}
. "$here/window_checks.sh" "$1"
app=
cleanup() {
  end_watch
  [ -n "$app" ] && kill "$app" 2>/dev/null
  WineSessionEnd
}
trap cleanup EXIT

# Buttons at y 668 + 20; fields at x 216 + 76, row i at y 150 + 34 i + 9.
click_button() { case $1 in calculate) click 96 688 ;; save) click 250 688 ;; copy) click 394 688 ;; reset) click 538 688 ;; about) click 671 688 ;; esac; }
click_field() { click 292 $((150 + 34 * $1 + 9)); }

log=$(find "$WINEPREFIX/drive_c/users" -path '*/OvraMedSuite/records/T146.csv' 2>/dev/null | head -1)
[ -n "$log" ] && rm -f "$log"

"$WINE" "$program" >/dev/null 2>&1 &
app=$!
main=$(window_named "$title" 60)
[ -n "$main" ] || { fail "the window did not appear"; exit 1; }
watch_window "$probe" || exit 1
wait_for 20 grep -q '^focus 2000 ' "$trace" && ok "window shown, the first field focused" ||
  { fail "focus at start: $(grep '^focus' "$trace" | tail -1)"; exit 1; }

# The first field has the focus: Tab selects the next field whole, typing replaces it; F5 calculates.
keys Tab
type_text 150
keys F5
set_clipboard sentinel || fail "the clipboard did not take the sentinel"
click_button copy
expected4=$'ABCD2 评分\nABCD2：4 分\n—— 中危，尽快完成血管与心源评估'
copied "$expected4" && ok "Tab, typing, F5, Copy: score 4" || fail "clipboard after F5: '$(clipboard)'"

# A click into a field, Shift+Tab to the one before, Enter calculates.
click_field 5
keys shift+Tab
type_text 2
keys Return
click_button copy
expected5=$'ABCD2 评分\nABCD2：5 分\n—— 中危，尽快完成血管与心源评估'
copied "$expected5" && ok "Shift+Tab, Enter, Copy: score 5" || fail "clipboard after Enter: '$(clipboard)'"
[ -n "$screenshot" ] && import -window "$main" "$screenshot" 2>/dev/null

# Two saves: two records below one header, each reported with its box.
click_button save
close_notice "已保存" && ok "first save reported"
click_button save
close_notice "已保存" && ok "second save reported"
log_exists() { log=$(find "$WINEPREFIX/drive_c/users" -path '*/OvraMedSuite/records/T146.csv' | head -1); [ -n "$log" ]; }
if wait_for 10 log_exists && python3 "$here/check_record_log.py" "$log" 2; then ok "log holds the header and two records"
else fail "log ${log:-missing}"; fi

# A field that is not a number is refused; the last result stays.
click_field 4
keys Tab
type_text abc
keys F5
close_notice "输入有误" && ok "a non-number is refused"
set_clipboard sentinel || fail "the clipboard did not take the sentinel"
click_button copy
copied "$expected5" && ok "the refused field left the last result" || fail "clipboard after refusal: '$(clipboard)'"

# After Reset, Copy refuses with its notice and leaves the clipboard alone.
click_button reset
set_clipboard sentinel || fail "the clipboard did not take the sentinel"
click_button copy
close_notice "提示" && ok "Copy after Reset is refused"
clipboard_is sentinel && ok "the clipboard was left alone" || fail "clipboard after refused Copy: '$(clipboard)'"

# About shows its box and changes nothing.
click_button about
close_notice "关于本工具" && ok "About shown"

# Alt+F4 closes the window and the program ends with 0.
keys alt+F4
if wait_for 20 sh -c "! kill -0 $app"; then
  wait "$app"; code=$?
  app=
  [ "$code" -eq 0 ] && ok "closed with exit code 0" || fail "exit code $code after closing"
else
  fail "the program did not end after Alt+F4"
fi
exit $((failures > 0))
