#!/usr/bin/env bash
# The screen reader itself, on a private X server, window manager and D-Bus session: Orca names the first
# field by its label and description when the window opens, and says the verdict after F5. What Orca would
# say is read from its debug log (no sound device is needed). Every wait is bounded.
set -u
program=$1
. "$(dirname "$0")/../support/x_session.sh"
skip_without "" Xvfb openbox xdotool dbus-run-session orca gsettings
skip_without_pyatspi ""

x_session_begin
start_xvfb 1280x1024x24
mkdir -p "$work/home" "$work/runtime"
chmod 700 "$work/runtime"
export HOME="$work/home" XDG_RUNTIME_DIR="$work/runtime" \
  XDG_DATA_HOME="$work/home" QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 \
  GTK_A11Y=none

# Orca writes its log through a buffer of some kilobytes that it may not flush when stopped: the pauses give
# it time to present what happened, and a walk along the buttons afterwards (a few kilobytes of log each)
# pushes what it said after F5 out to the file.
timeout 100 dbus-run-session -- bash -c '
  . "$3"
  log=$2/orca.log
  orca_on_bus() {
    /usr/bin/python3 -c "import pyatspi, sys; sys.exit(0 if any(a is not None and a.name == \"orca\" for a in pyatspi.Registry.getDesktop(0)) else 1)"
  }
  orca_ended() { ! kill -0 $orca 2>/dev/null; }
  gsettings set org.gnome.desktop.a11y.applications screen-reader-enabled true >/dev/null 2>&1
  openbox >/dev/null 2>&1 &
  wm=$!
  orca -u "$2/orca-prefs" --debug-file "$log" -d braille >/dev/null 2>&1 &
  orca=$!
  wait_for 30 orca_on_bus || { echo "FAIL Orca did not start"; kill $orca $wm; exit 1; }
  "$1" >"$2/program.log" 2>&1 &
  program=$!
  timeout 20 xdotool search --sync --onlyvisible --name "^ABCD2 评分$" >/dev/null
  sleep 3
  xdotool key F5
  sleep 2
  for _ in 1 2 3 4 5 6 7 8; do xdotool key Tab; sleep 0.3; done
  sleep 2
  kill -TERM $orca
  wait_for 15 orca_ended || kill -KILL $orca
  kill $program $wm 2>/dev/null
  status=0
  for phrase in "ABCD2 评分 frame" "年龄 text" "岁；0 至 130 之间的数" "notification 低危，门诊随访"; do
    grep -q "SPEECH OUTPUT: .$phrase" "$log" || { echo "FAIL Orca did not say \"$phrase\""; status=1; }
  done
  grep "SPEECH OUTPUT" "$log" | sed "s/^[0-9:.]* - //; s/{.*//"
  exit $status
' session "$program" "$work" "$(dirname "$0")/../support/wait_for.sh" 2>"$work/session.log"
