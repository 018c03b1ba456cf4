# Sourced by the scripts that drive the Qt program on a private X server of their own.
. "$(dirname "${BASH_SOURCE[0]}")/wait_for.sh"

# skip_without <hint> <tool...>: ctest's skip (exit 77) when a tool is missing; the hint, if not empty,
# ends the message.
skip_without() {
  local hint=${1:+ $1} tool
  shift
  for tool in "$@"; do
    if ! command -v "$tool" >/dev/null; then
      echo "SKIPPED: $tool is not installed$hint"
      exit 77
    fi
  done
}
# skip_without_pyatspi <hint>: the same for the AT-SPI Python bindings.
skip_without_pyatspi() {
  if ! /usr/bin/python3 -c 'import pyatspi' 2>/dev/null; then
    echo "SKIPPED: python3-pyatspi is not installed${1:+ $1}"
    exit 77
  fi
}

fail() { echo "FAIL $*"; exit 1; }
file_has_text() { [ -s "$1" ]; }

# A scratch folder $work and the background processes in $pids, both gone at exit.
x_session_begin() {
  work=$(mktemp -d)
  pids=()
  trap 'stop_all; rm -rf "$work"' EXIT
}
stop_all() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  wait 2>/dev/null
  pids=()
}

# start_xvfb <width>x<height>x<depth>: an X server on a display number it picks itself (-displayfd), so
# tests running at once never collide; exports DISPLAY. -noreset: by default the server resets whenever its
# last client leaves, and a client connecting during that reset (a window manager after a short xprop) is
# refused.
start_xvfb() {
  rm -f "$work/display"
  Xvfb -displayfd 3 -screen 0 "$1" -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
  pids+=($!)
  wait_for 10 file_has_text "$work/display" || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
  export DISPLAY=":$(head -n1 "$work/display")"
}
