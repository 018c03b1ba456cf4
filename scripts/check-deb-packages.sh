#!/usr/bin/env bash
# Builds every tool's .deb from a built build tree and checks each with the system's validators (hardening-check
# and lintian's information tags included); then, as root, installs the ABCD2 package, runs its self-test and
# its window from the installed place, saves one record and removes the package again.
# Usage: scripts/check-deb-packages.sh BUILD_DIR
set -uo pipefail
build=$(cd "$1" && pwd)
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/tests/support/private_display.sh"
. "$root/tests/support/expected_selftest.sh"
failures=0
fail() { echo "FAIL $*"; failures=$((failures + 1)); }
ok() { echo "ok   $*"; }
check() {  # description, command...
  local what=$1
  shift
  if "$@"; then ok "$what"; else fail "$what"; fi
}
work=$(mktemp -d)
pids=()
installed=0
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  wait 2>/dev/null
  [ "$installed" -eq 0 ] || dpkg -r abcd2 >/dev/null 2>&1
  rm -rf "$work"
}
trap cleanup EXIT

rm -rf "$build/packages"
(cd "$build" && cpack -G DEB >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; echo "FAIL cpack"; exit 1; }
debs=("$build"/packages/*.deb)
expected=$(grep -c . "$build/tool_family.txt")
[ ${#debs[@]} -eq "$expected" ] && ok "${#debs[@]} packages built" || fail "${#debs[@]} packages built, $expected tools"

before=$failures
for deb in "${debs[@]}"; do
  name=$(dpkg-deb -f "$deb" Package)
  listing=$(dpkg-deb -c "$deb" | awk '{print $6}')
  dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' >>"$work/all-files"
  missing=""
  for want in "./usr/bin/$name" "./usr/lib/ovra/$name/ovra_window.so" "./usr/share/doc/$name/copyright" \
              "./usr/share/man/man1/$name.1.gz"; do
    grep -qxF "$want" <<<"$listing" || missing+=" $want"
  done
  [ -z "$missing" ] || fail "$name: missing$missing"
  # Fields read whole first: a grep -q that stops early would cut the pipe under pipefail.
  version=$(dpkg-deb -f "$deb" Version)
  depends=$(dpkg-deb -f "$deb" Depends)
  recommends=$(dpkg-deb -f "$deb" Recommends)
  maintainer=$(dpkg-deb -f "$deb" Maintainer)
  description=$(dpkg-deb -f "$deb" Description)
  [ "$version" = 1.0.0 ] || fail "$name: version $version"
  grep -q 'libqt6widgets6 (>=' <<<"$depends" || fail "$name: Depends lacks the Qt widgets library: $depends"
  [ "$recommends" = qt6-translations-l10n ] || fail "$name: Recommends is not Qt's translations: $recommends"
  grep -qE '(^|, )qt6-qpa-plugins(,|$| )' <<<"$depends" || fail "$name: Depends lacks the X11 platform plugin: $depends"
  grep -q '<.*@.*>' <<<"$maintainer" || fail "$name: no maintainer address"
  grep -qP '^clinical calculator: [ -~]+$' <<<"${description%%$'\n'*}" || fail "$name: no English summary"
  grep -qP '\p{Han}' <<<"$description" || fail "$name: no Chinese description"

  unpacked="$work/$name"
  dpkg-deb -x "$deb" "$unpacked"
  # The copyright is machine-readable (DEP-5) and its licence is the one the package's SPDX document declares;
  # that document names every package of the Depends line.
  copyright="$unpacked/usr/share/doc/$name/copyright"
  licence=$(sed -n 's/^License: //p' "$copyright" | head -n1)
  [ "$(head -n1 "$copyright")" = "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" ] &&
    grep -qx 'Files: \*' "$copyright" && grep -q '^Copyright: ' "$copyright" && [ -n "$licence" ] ||
    fail "$name: the copyright file is not machine-readable"
  sbom=$(cat "$deb.spdx.json" 2>/dev/null)
  grep -qF "\"licenseDeclared\": \"LicenseRef-$licence\"" <<<"$sbom" || fail "$name: SPDX licence is not $licence"
  for dependency in $(tr ',|' '\n\n' <<<"$depends" | sed 's/(.*//; s/ //g'); do
    grep -qF "\"name\": \"$dependency\"" <<<"$sbom" || fail "$name: the SPDX document lacks $dependency"
  done
  desktop=("$unpacked"/usr/share/applications/*.desktop)
  if [ ${#desktop[@]} -eq 1 ] && [ -f "${desktop[0]}" ]; then
    desktop-file-validate "${desktop[0]}" || fail "$name: desktop entry invalid"
    [ "$(sed -n 's/^Exec=//p' "${desktop[0]}")" = "$name" ] || fail "$name: desktop entry does not start $name"
    icon=$(sed -n 's/^Icon=//p' "${desktop[0]}")
    for size in 16 24 32 48 64 128 256; do
      png="$unpacked/usr/share/icons/hicolor/${size}x${size}/apps/$icon.png"
      kind=$(file -b "$png")
      [[ $kind == "PNG image data, $size x $size, 8-bit/color RGBA"* ]] || fail "$name: $icon.png at ${size}px: $kind"
    done
  else
    fail "$name: not exactly one desktop entry"
  fi
  for meta in "$unpacked"/usr/share/metainfo/*.xml; do
    appstreamcli validate --no-net --pedantic "$meta" >"$work/appstream.log" 2>&1 || {
      cat "$work/appstream.log"
      fail "$name: metainfo invalid"
    }
  done
  # Stripped, and nothing of it leads back into this machine's source or build tree.
  if grep -rlF "$root" "$unpacked" >/dev/null; then fail "$name: a file names the source or build tree"; fi
  for elf in "$unpacked/usr/bin/$name" "$unpacked/usr/lib/ovra/$name/ovra_window.so"; do
    [ ! -f "$elf" ] || [[ $(file -b "$elf") == *", stripped" ]] || fail "$name: ${elf#"$unpacked"} is not stripped"
  done
  dynamic=$(readelf -d "$unpacked/usr/bin/$name" "$unpacked/usr/lib/ovra/$name/ovra_window.so" 2>&1)
  grep -qE 'RPATH|RUNPATH' <<<"$dynamic" && fail "$name: a run path is set"
  # Hardened: every check of hardening-check but CET, which Debian 12's C start files cannot carry.
  while read -r elf; do
    report=$(hardening-check --nocfprotection --quiet "$elf") || fail "$name: ${elf#"$unpacked"}: $report"
  done < <(find "$unpacked" -type f -exec file {} + | sed -n 's/^\(.*\): *ELF .*/\1/p')
  exports=$(nm -D --defined-only "$unpacked/usr/lib/ovra/$name/ovra_window.so" | awk '{print $3}')
  [ "$exports" = OvraRunMainWindow ] || fail "$name: the window module exports $(wc -l <<<"$exports") symbols"
done
[ "$failures" -eq "$before" ] &&
  ok "contents, control fields, desktop entries, metainfo, DEP-5 copyright, SPDX dependencies and hardening of every package"
python3 "$root/tests/packaging/check_spdx.py" "${debs[@]/%/.spdx.json}" || fail "the packages' SPDX documents"
dups=$(sort "$work/all-files" | uniq -d)
[ -z "$dups" ] && ok "no two packages own the same file" || fail "files owned twice: $dups"
if lintian -I --fail-on error,warning "${debs[@]}" >"$work/lintian.log" 2>&1; then ok "lintian: no errors or warnings"
else cat "$work/lintian.log"; fail "lintian"; fi
unhardened=$(grep -E ': (hardening-[a-z-]+|binary-has-unneeded-section)( |$)' "$work/lintian.log")
[ -z "$unhardened" ] && ok "lintian -I: no hardening or unneeded-section tags" || fail "lintian -I: $unhardened"
echo "note: CET is not marked: Debian 12's C start files lack the property, so no program can carry it"

if [ "$(id -u)" -ne 0 ]; then
  echo "SKIP installing the ABCD2 package: needs root"
  exit $((failures > 0))
fi

deb=$(ls "$build"/packages/abcd2_*.deb)
dpkg -i "$deb" >/dev/null && installed=1 || { fail "dpkg -i abcd2"; exit 1; }
files=$(dpkg -L abcd2 | while read -r f; do [ -f "$f" ] && echo "$f"; done)
desktop=$(grep '/applications/.*\.desktop$' <<<"$files")
program=$(sed -n 's/^Exec=//p' "$desktop")
check "the desktop entry starts /usr/bin/abcd2" test "$(command -v "$program")" = /usr/bin/abcd2

# The self-test from the installed place, in a folder away from the build tree.
mkdir "$work/selftest"
(cd "$work/selftest" && "$program" --selftest)
check "installed self-test exit 0" test $? -eq 0
expected_abcd2_report "$work/expected.txt"
check "installed self-test report is the expected 123 bytes" cmp "$work/selftest/selftest.txt" "$work/expected.txt"

# The window from the installed place under a real X server; Calculate and Save put the record below the
# user's data folder.
private_display 1280x1024x24 "$work/xvfb.log" || { fail "Xvfb did not start: $(cat "$work/xvfb.log")"; exit 1; }
pids+=("$private_display_pid")
mkdir -p "$work/home" "$work/runtime"
chmod 700 "$work/runtime"
env -u XDG_DATA_HOME HOME="$work/home" XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb "$program" \
  >"$work/window.log" 2>&1 &
window_pid=$!
pids+=("$window_pid")
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^ABCD2 评分$' | head -n1)
if [ -n "$window" ]; then
  ok "installed window opened"
  check "its window module is the package's own copy" grep -q ' /usr/lib/ovra/abcd2/ovra_window\.so$' "/proc/$window_pid/maps"
  log="$work/home/.local/share/OvraMedSuite/records/T146.csv"
  xdotool mousemove --window "$window" 96 688 click 1   # Calculate
  xdotool mousemove --window "$window" 250 688 click 1  # Save
  check "a saved record lands in ~/.local/share/OvraMedSuite/records/T146.csv" \
    wait_for 20 grep -qs 'ABCD2 评分' "$log"
else
  fail "installed window did not open: $(cat "$work/window.log")"
fi
# No window manager here to ask the window to close, so the program is ended; it must still be running.
end_running() { kill "$1" 2>/dev/null; }
check "the installed window ran until it was ended" end_running "$window_pid"
wait "$window_pid" 2>/dev/null

dpkg -r abcd2 >/dev/null && installed=0
check "dpkg -r abcd2" test "$installed" -eq 0
left=$(while read -r f; do [ -e "$f" ] && echo "$f"; done <<<"$files")
[ -d /usr/lib/ovra/abcd2 ] && left+=" /usr/lib/ovra/abcd2/"
[ -z "$left" ] && ok "removed without leftovers" || fail "left behind: $left"
exit $((failures > 0))
