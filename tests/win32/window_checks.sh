# Sourced by the scripts that drive the program's window under Wine:
#   . "$here/window_checks.sh" <build-dir>
# joins or starts the Wine session (wine_prefix.sh) and gives the checks' counters and window helpers. Every
# wait is for a state (a window, a focus event, an announcement, a clipboard text, a file), bounded, and input
# that changes the program's state is sent once: the next input waits until the program is ready for it.
. "$(dirname "${BASH_SOURCE[0]}")/wine_prefix.sh" "$1"
. "$(dirname "${BASH_SOURCE[0]}")/../support/wait_for.sh"

# A failed check is counted and the run goes on, so one run reports every failure; the script ends with
# exit $((failures > 0)).
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
ok() { echo "ok: $*"; }

title="ABCD2 评分"
clipboard() { timeout 5 xclip -o -selection clipboard 2>/dev/null | tr -d '\r'; }
clipboard_is() { [ "$(clipboard)" = "$1" ]; }

# The window as another process sees it (window_probe.exe watch): "focus <id>" each time the focus is seen
# elsewhere, and each event in the order it came: "focused <id> <class> in <window title>", "name <id> <text>"
# (a static control's id is 0), "value <id> <text>".
trace=/dev/null
watcher=
acted=0
# watch_window <probe.exe>: starts the probe on the window "$title" and waits until it watches.
watch_window() {
  trace=$(mktemp)
  "$WINE" "$1" watch "$title" 600 >"$trace" 2>/dev/null &
  watcher=$!
  wait_for 60 grep -q '^watching$' "$trace" || { fail "the probe saw no events: $(head -1 "$trace")"; return 1; }
}
end_watch() {
  [ -n "$watcher" ] && kill "$watcher" 2>/dev/null
  [ "$trace" != /dev/null ] && rm -f "$trace"
}
trace_length() { wc -l <"$trace"; }
# came_after <line count> <text>: a line holding the text came after the first <line count> lines.
came_after() { tail -n +"$(($1 + 1))" "$trace" | grep -qF -- "$2"; }
# The controls of the window that got the focus after the first <line count> lines, each once in a row.
focus_events_after() { tail -n +"$(($1 + 1))" "$trace" | sed -n "s/^focused \(-\?[0-9]*\) .* in $title\$/\1/p" | uniq | tr '\n' ' '; }
last_focus_event() { focus_events_after 0 | awk '{print $NF}'; }

# Input to the main window "$main". Each notes first how long the trace is, so that a wait sees what came after.
key_delay=30
keys() { acted=$(trace_length); xdotool windowfocus --sync "$main" 2>/dev/null; xdotool key --delay "$key_delay" "$@"; }
type_text() { acted=$(trace_length); xdotool windowfocus --sync "$main" 2>/dev/null; xdotool type --delay "$key_delay" "$1"; }
click() { acted=$(trace_length); xdotool mousemove --window "$main" "$1" "$2" click 1; }

# close_notice <caption>: waits for the message box the last input opened, closes it with Enter and waits until
# it is gone. Where the probe watches, the box has the focus before Enter and the window has it back after.
close_notice() {
  local box pressed watched
  box=$(window_named "$1" 20)
  if [ -z "$box" ]; then fail "no message box \"$1\""; return 1; fi
  [ "$trace" != /dev/null ] && watched=1 || watched=
  if [ -n "$watched" ] && ! wait_for 20 came_after "$acted" " in $1"; then
    fail "the message box \"$1\" never had the focus"; return 1
  fi
  pressed=$(trace_length)
  xdotool windowfocus --sync "$box" 2>/dev/null
  xdotool key Return
  wait_for 20 sh -c "! xdotool search --onlyvisible --name '^$1\$'" || { fail "\"$1\" did not close"; return 1; }
  if [ -n "$watched" ] && ! wait_for 20 came_after "$pressed" " in $title"; then
    fail "the focus did not come back from \"$1\""; return 1
  fi
}

# set_clipboard <text>: put there by a Windows process, so that Wine takes no text from X later while the
# program copies.
set_clipboard() {
  timeout 30 "$WINE" "$probe" clip "$1" >/dev/null 2>&1 && wait_for 10 clipboard_is "$1"
}
# copied <text>: the copy the last input started is done (its status announced) and the clipboard holds the
# text. The clipboard is read only then: a read makes Wine open the clipboard, and the program's copy would
# find it open.
copied() {
  wait_for 20 came_after "$acted" "name 0 结果已复制到剪贴板" && wait_for 10 clipboard_is "$1"
}
