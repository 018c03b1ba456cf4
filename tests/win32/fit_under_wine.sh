#!/usr/bin/env bash
# The window inside the work area: exactly 1020×720 where it fits (the shared session's 1280×1024 screen);
# scaled down to fit the work area of 1366×768 with a 40 px taskbar, and at 144 DPI on 1920×1080. The last two
# each in a session of their own, in a second prefix, as they need another screen and DPI. Wine on a bare X
# server has no taskbar (it reads no work area without a window manager), so a 1366×728 screen stands for
# that work area.
#   fit_under_wine.sh <build-dir> <program.exe> <window_probe.exe>
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$1
program=$2
probe=$3
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
ok() { echo "ok: $*"; }
. "$here/../support/wait_for.sh"
title="ABCD2 评分"

# place: starts the program, prints the probe's "window", "work" and "client" lines, ends the program.
place() {
  local app
  "$WINE" "$program" >/dev/null 2>&1 &
  app=$!
  window_named "$title" 60 >/dev/null
  timeout 60 "$WINE" "$probe" place "$title" 2>/dev/null | tr -d '\r'
  kill "$app" 2>/dev/null
  wait "$app" 2>/dev/null
}

# check <case> <want: exact|scaled> <probe lines>
check() {
  local name=$1 want=$2 wl wt wr wb al at ar ab cw ch
  read -r _ wl wt wr wb <<<"$(grep '^window' <<<"$3")"
  read -r _ al at ar ab <<<"$(grep '^work' <<<"$3")"
  read -r _ cw ch <<<"$(grep '^client' <<<"$3")"
  if [ -z "${wl:-}" ] || [ -z "${al:-}" ] || [ -z "${cw:-}" ]; then fail "$name: no placement read"; return; fi
  if [ "$wl" -ge "$al" ] && [ "$wt" -ge "$at" ] && [ "$wr" -le "$ar" ] && [ "$wb" -le "$ab" ]; then
    ok "$name: window $wl,$wt-$wr,$wb inside the work area $al,$at-$ar,$ab"
  else
    fail "$name: window $wl,$wt-$wr,$wb outside the work area $al,$at-$ar,$ab"
  fi
  # Centred: the margins left and right, above and below, differ by a pixel at most.
  local dx=$(((wl - al) - (ar - wr))) dy=$(((wt - at) - (ab - wb)))
  [ "${dx#-}" -le 1 ] && [ "${dy#-}" -le 1 ] && ok "$name: centred" || fail "$name: not centred ($dx, $dy)"
  case $want in
    exact) [ "$cw $ch" = "1020 720" ] && ok "$name: client area 1020×720" || fail "$name: client area ${cw}×$ch" ;;
    scaled)
      # Scaled by one factor: the client keeps the 1020:720 proportions within rounding.
      [ $((cw * 720 - ch * 1020)) -le 2040 ] && [ $((ch * 1020 - cw * 720)) -le 2040 ] \
        && ok "$name: client ${cw}×$ch, in proportion" || fail "$name: client ${cw}×$ch out of proportion" ;;
  esac
}

(
  . "$here/wine_prefix.sh" "$build"
  trap WineSessionEnd EXIT
  check "1280×1024 at 96 DPI" exact "$(place)"
)

# on_screen <case> <screen> <dpi>: the placement in a session of its own.
on_screen() {
  (
    unset OVRA_WINE_DISPLAY OVRA_WINE_OWNER
    export OVRA_WINE_PREFIX_NAME=wineprefix-fit OVRA_WINE_SCREEN=$2
    . "$here/wine_prefix.sh" "$build"
    trap WineSessionEnd EXIT
    timeout 60 "$WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$3" /f >/dev/null 2>&1
    place
  )
}
lines=$(on_screen small 1366x728x24 96)
check "1366×768 with a taskbar" scaled "$lines"
read -r _ cw ch <<<"$(grep '^client' <<<"$lines")"
[ "${ch:-720}" -lt 720 ] && ok "1366×728: scaled below 1020×720" || fail "1366×728: client ${cw:-?}×${ch:-?}"
lines=$(on_screen hidpi 1920x1080x24 144)
check "1920×1080 at 144 DPI" scaled "$lines"
read -r _ cw ch <<<"$(grep '^client' <<<"$lines")"
[ "${ch:-1080}" -lt 1080 ] && ok "144 DPI: scaled below 1530×1080" || fail "144 DPI: client ${cw:-?}×${ch:-?}"
exit $((failures > 0))
