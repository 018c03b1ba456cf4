# Sourced by the scripts that drive the program's window under Wine:
#   . "$here/window_checks.sh" <build-dir>
# joins or starts the Wine session (wine_prefix.sh) and gives the checks' counters and window helpers.
. "$(dirname "${BASH_SOURCE[0]}")/wine_prefix.sh" "$1"
. "$(dirname "${BASH_SOURCE[0]}")/../support/wait_for.sh"

# A failed check is counted and the run goes on, so one run reports every failure; the script ends with
# exit $((failures > 0)).
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
ok() { echo "ok: $*"; }

window_named() { timeout "${2:-30}" xdotool search --sync --onlyvisible --name "^$1\$" 2>/dev/null | head -1; }
clipboard() { timeout 5 xclip -o -selection clipboard 2>/dev/null | tr -d '\r'; }
clipboard_is() { [ "$(clipboard)" = "$1" ]; }
# close_notice <caption>: waits for the message box and closes it with Enter.
close_notice() {
  local box
  box=$(window_named "$1" 20)
  if [ -z "$box" ]; then fail "no message box \"$1\""; return 1; fi
  xdotool windowfocus --sync "$box" 2>/dev/null
  xdotool key Return
  wait_for 10 sh -c "! xdotool search --onlyvisible --name '^$1\$'"
}
