#!/usr/bin/env bash
# Copy under Wine, driven by keys as a person would: a field too long to read whole is refused; the longest
# report of the family (40 nurses over 31 days) stands whole in the report box and reaches the clipboard whole;
# with the clipboard held open by another Windows process, Copy warns, the status line says the result was not
# copied and the clipboard keeps what it held; once released, Copy works again.
#   copy_under_wine.sh <build-dir> <roster program.exe> <window_probe.exe> <copy_peer.exe>
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
program=$2
probe=$3
peer=$4
. "$here/window_checks.sh" "$1"
work=$(mktemp -d "$ovra_build_dir/copy.XXXXXX")
app=
holder=
owner=
cleanup() {
  exec 8>&- 2>/dev/null
  for pid in $holder $owner $app; do kill "$pid" 2>/dev/null; done
  rm -rf "$work"
  WineSessionEnd
}
trap cleanup EXIT
title="护士排班表"

keys() { xdotool windowfocus --sync "$main" 2>/dev/null; xdotool key --delay 30 "$@"; }
type_text() { xdotool windowfocus --sync "$main" 2>/dev/null; xdotool type --delay 20 "$1"; }
status_is() { timeout 60 "$WINE" "$probe" names "$title" 2>/dev/null | tr -d '\r' | grep -qF "0 Static name=$1|"; }
# After a message box: keys go on only once the window is active again with the focus in it.
back_in_window() { wait_for 20 sh -c "timeout 60 '$WINE' '$peer' focus '$title' 2>/dev/null | grep -q '^[0-9]'"; }
report_length_is() { [ "$(timeout 60 "$WINE" "$peer" length "$title" 3000 2>/dev/null | tr -d '\r')" = "$1" ]; }
# The title, a line end and the report's 6,390 units, each CR LF read back as LF: 86 lines, 6,311 characters.
roster_copied() {
  clipboard | python3 -c '
import sys
text = sys.stdin.buffer.read().decode()
lines = text.split("\n")
sys.exit(not (len(text) == 6311 and len(lines) == 87 and lines[0] == "护士排班表"
              and lines[2] == "人员：40 人；周期：31 天" and lines[82] == "护士40："
              and lines[83].endswith(" 30日N 31日D ")
              and lines[85] == "提示：连续夜班不超过 2 个，夜班后应安排休息；请按科室实际人数与能级调整。"))'
}

# sentinel: another program owns the clipboard, until Copy takes it.
take_clipboard() {
  printf 'sentinel' | xclip -quiet -i -selection clipboard >/dev/null 2>&1 &
  owner=$!
  wait_for 10 clipboard_is sentinel || fail "xclip did not take the clipboard"
}

# The window of an earlier run may still be closing; keys must reach this run's.
wait_for 30 sh -c "! xdotool search --onlyvisible --name '^$title\$'" || fail "a window of an earlier run stays"
take_clipboard
"$WINE" "$program" >/dev/null 2>&1 &
app=$!
main=$(window_named "$title" 60)
[ -n "$main" ] || { fail "the window did not appear"; exit 1; }

# The first field has the focus. 127 spaces and a 7 are 128 units: refused, not read as blank; one space less
# is read whole.
keys ctrl+a
type_text "$(printf '%127s' '')7"
keys F5
close_notice "输入有误" && ok "a 128-unit field is refused"
back_in_window || fail "the window did not get the focus back"
keys Home Delete F5
wait_for 30 status_is "计算完成  $title" && ok "a 127-unit field is read" || fail "the 127-unit field was not read"

keys ctrl+a
type_text 40
keys Tab
type_text 31
keys F5
wait_for 30 report_length_is 6390 && ok "the report box holds all 6390 units" ||
  fail "report box: $(timeout 60 "$WINE" "$peer" length "$title" 3000 2>&1)"
keys ctrl+shift+c
wait_for 30 roster_copied && ok "the whole roster is copied" || fail "clipboard: $(clipboard | head -c 300)"
wait_for 30 status_is "结果已复制到剪贴板" && ok "the status says copied" || fail "no copied status"

# Another Windows program holds the clipboard open.
take_clipboard
mkfifo "$work/release"
timeout 120 "$WINE" "$peer" hold <"$work/release" >"$work/held" 2>&1 &
holder=$!
exec 8>"$work/release"
wait_for 30 grep -q HELD "$work/held" || fail "the peer did not take the clipboard: $(cat "$work/held")"
keys ctrl+shift+c
close_notice "复制失败" && ok "a failed copy warns"
back_in_window || fail "the window did not get the focus back"
status_is "复制失败：结果未复制到剪贴板" && ok "the status says not copied" || fail "no failed-copy status"
clipboard_is sentinel && ok "the clipboard kept what it held" || fail "clipboard after a failed copy: '$(clipboard)'"

exec 8>&-
wait "$holder"
holder=
keys ctrl+shift+c
wait_for 30 roster_copied && ok "copied again once the clipboard is free" || fail "clipboard: $(clipboard | head -c 300)"
wait_for 30 status_is "结果已复制到剪贴板" && ok "the status says copied again" || fail "no copied status after release"
# Closed, the program ends, so no window of this run is left for the next.
keys alt+F4
wait_for 30 sh -c "! kill -0 $app" || fail "the program did not end after Alt+F4"
app=
exit $((failures > 0))
