# Sourced by the scripts that drive the Qt program on a private X server of their own.
. "$(dirname "${BASH_SOURCE[0]}")/private_display.sh"

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

# start_xvfb <width>x<height>x<depth>: a private display (private_display.sh), ended with the session.
start_xvfb() {
  private_display "$1" "$work/xvfb.log" || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
  pids+=("$private_display_pid")
}
