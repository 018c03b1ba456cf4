#!/usr/bin/env bash
# Builds every tool's .deb from a configured build tree, checks each with the system's validators, then
# installs the ABCD2 package on this machine, runs it from its installed place and removes it again.
# Usage: scripts/check-deb-packages.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
expected_selftest=${2:-}
failures=0
fail() { echo "FAIL $*"; failures=$((failures + 1)); }
ok() { echo "ok   $*"; }

rm -rf "$build/packages"
(cd "$build" && cpack -G DEB >/dev/null)
shopt -s nullglob
debs=("$build"/packages/*.deb)
[ ${#debs[@]} -gt 0 ] || { fail "no package was built"; exit 1; }

for deb in "${debs[@]}"; do
  name=$(dpkg-deb -f "$deb" Package)
  listing=$(dpkg-deb -c "$deb")
  for want in "./usr/bin/$name" ./usr/share/applications/ ./usr/share/metainfo/ "./usr/share/doc/$name/copyright"; do
    grep -qF " $want" <<<"$listing" || fail "$name: $want missing"
  done
  for size in 16 24 32 48 64 128 256; do
    grep -qE " \./usr/share/icons/hicolor/${size}x${size}/apps/[^ ]+\.png$" <<<"$listing" || fail "$name: icon ${size}px missing"
  done
  [ "$(dpkg-deb -f "$deb" Version)" = 1.0.0 ] || fail "$name: version $(dpkg-deb -f "$deb" Version)"
  dpkg-deb -f "$deb" Depends | grep -q libqt6widgets6 || fail "$name: Depends lacks the Qt widgets library"
  if lintian --fail-on error --suppress-tags no-manual-page "$deb" 2>/dev/null; then ok "$name: lintian"; else fail "$name: lintian"; fi
  scratch=$(mktemp -d)
  dpkg-deb -x "$deb" "$scratch"
  for desktop in "$scratch"/usr/share/applications/*.desktop; do
    desktop-file-validate "$desktop" && ok "$name: desktop entry" || fail "$name: desktop entry"
  done
  for meta in "$scratch"/usr/share/metainfo/*.xml; do
    appstreamcli validate --no-net --explain "$meta" >/dev/null && ok "$name: metainfo" || fail "$name: metainfo"
  done
  rm -rf "$scratch"
done

if [ "$(id -u)" -ne 0 ]; then
  echo "SKIP installing the ABCD2 package: needs root"
  exit "$failures"
fi
deb=$(ls "$build"/packages/abcd2_*.deb)
dpkg -i "$deb" >/dev/null
files=$(dpkg -L abcd2 | while read -r f; do [ -f "$f" ] && echo "$f"; done)
desktop=$(grep '/applications/' <<<"$files")
exec_line=$(sed -n 's/^Exec=//p' "$desktop")
program=$(command -v "$exec_line")
[ "$program" = /usr/bin/abcd2 ] && ok "Exec line names /usr/bin/abcd2" || fail "Exec line '$exec_line' resolves to '$program'"

work=$(mktemp -d)
(cd "$work" && "$exec_line" --selftest >/dev/null) && ok "installed self-test exit 0" || fail "installed self-test exit $?"
if [ -n "$expected_selftest" ]; then
  cmp -s "$work/selftest.txt" "$expected_selftest" && ok "installed self-test report matches" || fail "installed self-test report differs"
fi
grep -q "$build" "$program" && fail "the installed program names the build tree"

# The window from the installed place, under a real X server: it must map a window with the tool's title.
if command -v Xvfb >/dev/null && command -v xdotool >/dev/null; then
  display=:$((90 + RANDOM % 100))
  Xvfb "$display" -screen 0 1280x1024x24 >/dev/null 2>&1 &
  xvfb=$!
  for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.05; done
  title=$(sed -n 's/^Name=//p' "$desktop")
  HOME="$work" DISPLAY="$display" "$exec_line" >/dev/null 2>&1 &
  window=$!
  if DISPLAY="$display" timeout 30 xdotool search --sync --name "$title" >/dev/null; then ok "installed window opened: $title"
  else fail "installed window did not open"; fi
  kill -0 "$window" 2>/dev/null && kill "$window"
  wait "$window" 2>/dev/null || true
  kill "$xvfb"; wait "$xvfb" 2>/dev/null || true
else
  echo "SKIP the installed window: Xvfb or xdotool missing"
fi
rm -rf "$work"

dpkg -r abcd2 >/dev/null
dpkg-query -W abcd2 2>/dev/null | grep -q . && dpkg -s abcd2 2>/dev/null | grep -q 'Status: install' && fail "abcd2 still installed"
left=$(while read -r f; do [ -e "$f" ] && echo "$f"; done <<<"$files")
[ -z "$left" ] && ok "removed without leftovers" || fail "left behind: $left"
exit "$failures"
