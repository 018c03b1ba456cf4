# Sourced by whatever drives a window on an X server of its own: the tests, the package check, the measurements.
. "$(dirname "${BASH_SOURCE[0]}")/wait_for.sh"

# private_display <width>x<height>x<depth> <log>: Xvfb on a display number it picks itself (-displayfd), so
# servers started at once never collide, holding none of the caller's pipes; exports DISPLAY and sets
# private_display_pid. Fails, with no server left, when none answered. -noreset: by default the server resets
# whenever its last client leaves, and a client connecting during that reset (a window manager after a short
# xprop) is refused.
private_display() {
  local number
  number=$(mktemp)
  Xvfb -displayfd 3 -screen 0 "$1" -nolisten tcp -noreset 3>"$number" </dev/null >/dev/null 2>"$2" &
  private_display_pid=$!
  # Until it names its display or ends (a bad screen, say), for 30 s at most.
  wait_for 30 sh -c "[ -s '$number' ] || ! kill -0 $private_display_pid 2>/dev/null"
  if [ ! -s "$number" ]; then
    kill "$private_display_pid" 2>/dev/null
    rm -f "$number"
    return 1
  fi
  export DISPLAY=":$(head -n1 "$number")"
  rm -f "$number"
}
