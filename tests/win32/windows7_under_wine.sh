#!/usr/bin/env bash
# The program as Windows 7 SP1 runs it: Wine set to Windows 7 in a prefix of its own, with Microsoft YaHei
# but no Microsoft YaHei UI (Windows 8 brought it), and the test build in which GetProcAddress finds none of
# the newer functions the program and its runtime look up (windows7_imports.py --looked-up). Wine's DLLs
# have those functions whatever the version says, and a DLL override swaps whole DLLs, so they are hidden
# inside the program. The self-test writes the exact report; the window opens with its 1020×720 client area,
# comes to look as the same program's window in the shared session does (Microsoft YaHei UI there: so the
# same face was found), and closes with exit code 0; each of the program's own newer functions was asked for
# and not found.
#   windows7_under_wine.sh <build-dir> <test build.exe> <window_probe.exe>
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$1
program=$2
probe=$3
work=$(mktemp -d)
. "$here/../support/wait_for.sh"
. "$here/../support/expected_selftest.sh"
title="ABCD2 评分"

# start_window <name> [<environment...>]: starts the program in this shell's session, waits for its window and
# sets <name>_app, <name>_window and <name>_display. Its standard error goes to <name>.err.
start_window() {
  local name=$1 window
  shift
  env "$@" "$WINE" "$program" >/dev/null 2>"$work/$name.err" &
  printf -v "${name}_app" %s $!
  window=$(window_named "$title" 60)
  printf -v "${name}_window" %s "$window"
  printf -v "${name}_display" %s "$DISPLAY"
  [ -n "$window" ]
}
# close_window <name>: Alt+F4 on the window; sets closed to the exit code, or "none" when the program did not end.
close_window() {
  local app=${1}_app window=${1}_window display=${1}_display
  DISPLAY=${!display} xdotool windowfocus --sync "${!window}" 2>/dev/null
  DISPLAY=${!display} xdotool key alt+F4
  if wait_for 20 sh -c "! kill -0 ${!app}"; then wait "${!app}"; closed=$?; else kill "${!app}"; closed=none; fi
  printf -v "$app" %s ""
}
# shoot <name>: the window's left column (labels) and right part (results, advice, buttons), without the
# fields, where the caret blinks, as <name>.png.
shoot() {
  local window=${1}_window display=${1}_display
  DISPLAY=${!display} import -window "${!window}" png:- 2>/dev/null |
    convert - \( -clone 0 -crop 206x720+0+0 \) \( -clone 0 -crop 640x720+380+0 \) -delete 0 +repage +append \
      "$work/$1.png" 2>/dev/null
}
# alike: both windows as they are now, pixel for pixel. Either may still be painting, so this is waited for.
alike() {
  shoot reference && shoot windows7 &&
    [ "$(compare -metric AE "$work/reference.png" "$work/windows7.png" null: 2>&1)" = 0 ]
}

. "$here/wine_prefix.sh" "$build"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
ok() { echo "ok: $*"; }
trap 'kill ${reference_app:-} 2>/dev/null; rm -rf "$work"; WineSessionEnd' EXIT
start_window reference || { fail "no window in the shared session"; exit 1; }

# The Windows 7 session, while the reference window stays open in the shared one.
(
  unset OVRA_WINE_DISPLAY OVRA_WINE_OWNER
  export OVRA_WINE_PREFIX_NAME=wineprefix-win7
  . "$here/wine_prefix.sh" "$build"
  trap 'kill ${windows7_app:-} 2>/dev/null; WineSessionEnd' EXIT
  if [ ! -f "$WINEPREFIX/.ovra-windows7" ]; then
    substitutes='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes'
    timeout 60 "$WINE" reg add 'HKCU\Software\Wine' /v Version /t REG_SZ /d win7 /f >/dev/null 2>&1 &&
      timeout 60 "$WINE" reg delete "$substitutes" /v "Microsoft YaHei UI" /f >/dev/null 2>&1 &&
      timeout 60 "$WINE" reg add "$substitutes" /v "Microsoft YaHei" /t REG_SZ /d "Noto Sans CJK SC" /f >/dev/null 2>&1 &&
      touch "$WINEPREFIX/.ovra-windows7"
  fi
  hidden=$(python3 "$here/windows7_imports.py" --looked-up | tr '\n' ' ')

  expected_abcd2_report "$work/expected"
  (cd "$work" && timeout 60 env OVRA_HIDDEN_ENTRY_POINTS="$hidden" "$WINE" "$program" --selftest report.txt \
    </dev/null >/dev/null 2>selftest.err)
  code=$?
  if [ "$code" -eq 0 ] && [ "$(stat -c %s "$work/expected")" -eq 123 ] && cmp -s "$work/expected" "$work/report.txt"; then
    ok "self-test: exit 0, the exact 123-byte report"
  else
    fail "self-test: exit $code, report $(od -c "$work/report.txt" 2>/dev/null | head -3)"
  fi

  if start_window windows7 OVRA_HIDDEN_ENTRY_POINTS="$hidden"; then
    client=$(timeout 60 "$WINE" "$probe" place "$title" 2>/dev/null | tr -d '\r' | grep '^client')
    [ "$client" = "client 1020 720" ] && ok "window shown, client area 1020×720" || fail "window: ${client:-none}"
    wait_for 30 alike && ok "it looks as the window in the shared session" ||
      fail "it differs from the window in the shared session in $(compare -metric AE "$work/reference.png" \
        "$work/windows7.png" null: 2>&1) pixels"
    close_window windows7
    [ "$closed" = 0 ] && ok "closed with exit code 0" || fail "closing: exit $closed"
  else
    fail "no window"
  fi
  # The runtime asks for its newer clock only for timed waits, which neither run has.
  for name in ${hidden/GetSystemTimePreciseAsFileTime/}; do
    grep -qx "hidden $name" "$work/selftest.err" "$work/windows7.err" && ok "$name asked for, not found" ||
      fail "$name never asked for"
  done
  exit $((failures > 0))
) || failures=$((failures + 1))
close_window reference
[ "$closed" = 0 ] || fail "the window in the shared session: exit $closed"
exit $((failures > 0))
