# Sourced by the scripts that drive a window: they wait on conditions, never for a fixed time.
# wait_for <seconds> <command...>: runs the command until it succeeds; fails once the seconds have passed.
wait_for() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@" >/dev/null 2>&1; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.05
  done
}
# window_named <name> [<seconds>]: the id of the first visible X window of that name, once there is one; empty
# after the seconds (30 by default). Each look is a new xdotool: one ends at once when a window it reads
# vanishes (an X error), as windows do while a program starts.
window_named() {
  local found=
  first_named() { found=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1); [ -n "$found" ]; }
  wait_for "${2:-30}" first_named "$1"
  echo "$found"
}
