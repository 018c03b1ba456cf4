#!/usr/bin/env bash
# The screen reader itself, on a private X server, window manager and D-Bus session: Orca names the first
# field by its label and description when the window opens, and says the verdict after F5. What Orca would
# say is read from its debug log (no sound device is needed). Every wait is for what Orca said, bounded.
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

# Orca writes its debug log through a buffer, unless the log is a terminal: it writes to one here, which
# script(1) copies to the log as it comes, so each line is there as soon as Orca has said it.
timeout 100 dbus-run-session -- bash -c '
  . "$3"
  log=$2/orca.log
  orca_on_bus() {
    /usr/bin/python3 -c "import pyatspi, sys; sys.exit(0 if any(a is not None and a.name == \"orca\" for a in pyatspi.Registry.getDesktop(0)) else 1)"
  }
  said() { grep -q "SPEECH OUTPUT: .$1" "$log"; }
  gsettings set org.gnome.desktop.a11y.applications screen-reader-enabled true >/dev/null 2>&1
  openbox >/dev/null 2>&1 &
  wm=$!
  script -qfec "orca -u \"$2/orca-prefs\" --debug-file /dev/tty -d braille" "$log" >/dev/null 2>&1 </dev/null &
  orca=$!
  wait_for 30 orca_on_bus || { echo "FAIL Orca did not start"; kill $orca $wm; exit 1; }
  "$1" >"$2/program.log" 2>&1 &
  program=$!
  window_named "ABCD2 评分" 20 >/dev/null
  # F5 once Orca has presented the window and its first field, and the end once it has said the verdict.
  wait_for 30 said "岁；0 至 130 之间的数" && xdotool key F5
  wait_for 30 said "notification 低危，门诊随访"
  # Orca itself, not script(1), so that script reaps it: an orphan may stay a zombie for seconds here, and
  # the next Orca would take it for a screen reader already running.
  pkill -TERM -P $orca -x orca
  wait_for 15 sh -c "! kill -0 $orca" || { pkill -KILL -P $orca -x orca; kill -KILL $orca; }
  kill $program $wm 2>/dev/null
  status=0
  for phrase in "ABCD2 评分 frame" "年龄 text" "岁；0 至 130 之间的数" "notification 低危，门诊随访"; do
    said "$phrase" || { echo "FAIL Orca did not say \"$phrase\""; status=1; }
  done
  grep "SPEECH OUTPUT" "$log" | tr -d "\r" | sed "s/^[0-9:.]* - //; s/{.*//"
  exit $status
' session "$program" "$work" "$(dirname "$0")/../support/wait_for.sh" 2>"$work/session.log"
