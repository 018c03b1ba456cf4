#!/usr/bin/env bash
# The program as Windows 7 SP1 runs it: Wine set to Windows 7 in a prefix of its own, with Microsoft YaHei
# but no Microsoft YaHei UI (Windows 8 brought it), and the test build in which GetProcAddress finds none of
# the newer functions the program and its runtime look up (windows7_imports.py --looked-up). Wine's DLLs
# have those functions whatever the version says, and a DLL override swaps whole DLLs, so they are hidden
# inside the program. The self-test writes the exact report; the window opens with its 1020×720 client area,
# looks as it does in the shared session (Microsoft YaHei UI there: so the same face was found), and closes
# with exit code 0; each of the program's own newer functions was asked for and not found.
#   windows7_under_wine.sh <build-dir> <test build.exe> <window_probe.exe>
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$1
program=$2
probe=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
. "$here/../support/expected_selftest.sh"
title="ABCD2 评分"

# shoot <name>: the window's left column (labels) and right part (results, advice, buttons) as
# <name>-left.png and <name>-right.png, without the fields, where the caret blinks.
shoot() {
  import -window "$main" "$work/$1.png" 2>/dev/null &&
    convert "$work/$1.png" -crop 206x720+0+0 +repage "$work/$1-left.png" &&
    convert "$work/$1.png" -crop 640x720+380+0 +repage "$work/$1-right.png"
}
# differing <name> <other>: how many pixels of the two shots differ.
differing() {
  echo $(($(compare -metric AE "$work/$1-left.png" "$work/$2-left.png" null: 2>&1 || echo 1000000) +
    $(compare -metric AE "$work/$1-right.png" "$work/$2-right.png" null: 2>&1 || echo 1000000)))
}
# Painted: two shots in a row alike. Looking as the reference does: a shot alike to it.
steady() { shoot reference && shoot again && [ "$(differing reference again)" = 0 ]; }
like_reference() { shoot windows7 && [ "$(differing windows7 reference)" = 0 ]; }

# look <name> <painted check> [<environment...>]: starts the program, waits for its window and its first paint
# (after which its tooltips are made), prints the probe's "client" line, then "looks alike" once the check
# holds (or "looks different"), closes the window with Alt+F4 and prints "exit <code>". Standard error goes
# to <name>.err.
look() {
  local name=$1 painted=$2 app code
  shift 2
  env "$@" "$WINE" "$program" >/dev/null 2>"$work/$name.err" &
  app=$!
  main=$(timeout 60 xdotool search --sync --onlyvisible --name "^$title\$" 2>/dev/null | head -1)
  [ -n "$main" ] || { echo "no window"; kill "$app" 2>/dev/null; return; }
  timeout 60 "$WINE" "$probe" tips "$title" >/dev/null 2>&1
  timeout 60 "$WINE" "$probe" place "$title" 2>/dev/null | tr -d '\r' | grep '^client'
  wait_for 30 "$painted" && echo "looks alike" || echo "looks different"
  xdotool windowfocus --sync "$main" 2>/dev/null
  xdotool key alt+F4
  if wait_for 20 sh -c "! kill -0 $app"; then wait "$app"; code=$?; else code=none; kill "$app"; fi
  echo "exit $code"
}

. "$here/../support/wait_for.sh"
reference=$(. "$here/wine_prefix.sh" "$build"; trap WineSessionEnd EXIT; look reference steady)
grep -qx 'looks alike' <<<"$reference" && grep -qx 'exit 0' <<<"$reference" ||
  { echo "FAIL: the shared session's window: $reference"; exit 1; }

(
  unset OVRA_WINE_DISPLAY OVRA_WINE_OWNER
  export OVRA_WINE_PREFIX_NAME=wineprefix-win7
  . "$here/wine_prefix.sh" "$build"
  trap WineSessionEnd EXIT
  failures=0
  fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
  ok() { echo "ok: $*"; }
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

  shown=$(look windows7 like_reference OVRA_HIDDEN_ENTRY_POINTS="$hidden")
  grep -qx 'client 1020 720' <<<"$shown" && ok "window shown, client area 1020×720" || fail "window: $shown"
  grep -qx 'looks alike' <<<"$shown" && ok "it looks as in the shared session" ||
    fail "it differs from the shared session's in $(differing windows7 reference) pixels"
  grep -qx 'exit 0' <<<"$shown" && ok "closed with exit code 0" || fail "closing: $(tail -1 <<<"$shown")"
  # The runtime asks for its newer clock only for timed waits, which neither run has.
  for name in ${hidden/GetSystemTimePreciseAsFileTime/}; do
    grep -qx "hidden $name" "$work/selftest.err" "$work/windows7.err" && ok "$name asked for, not found" ||
      fail "$name never asked for"
  done
  exit $((failures > 0))
)
