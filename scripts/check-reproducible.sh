#!/usr/bin/env bash
# Builds ABCD2 a second time from the same source in another folder, with the presets' settings but only that
# tool, and compares its .deb, its Windows program and its MSI byte for byte with those of the main builds
# (build/dev after scripts/check-deb-packages.sh, and build/windows).
# Usage: scripts/check-reproducible.sh
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL $*"; failures=$((failures + 1)); }
ok() { echo "ok   $*"; }
second_build() {  # preset, targets...: configures and builds the preset's ABCD2 in $work/<preset>
  local preset=$1
  shift
  cmake --preset "$preset" -B "$work/$preset" -DOVRA_ALL_TOOLS=OFF -DOVRA_TESTS=OFF -DOVRA_BENCH=OFF \
    >"$work/$preset.log" 2>&1 && timeout 900 cmake --build "$work/$preset" -j2 "$@" >>"$work/$preset.log" 2>&1 ||
    { cat "$work/$preset.log"; fail "second $preset build"; return 1; }
}

if second_build dev && (cd "$work/dev" && timeout 300 cpack -G DEB >>"$work/dev.log" 2>&1); then
  first=(build/dev/packages/abcd2_*.deb)
  second=("$work"/dev/packages/abcd2_*.deb)
  cmp -s "${first[0]}.spdx.json" "${second[0]}.spdx.json" &&
    ok "abcd2's .deb SPDX document is the same bytes from another folder" || fail "abcd2's .deb SPDX document differs"
  if cmp -s "${first[0]}" "${second[0]}"; then ok "abcd2's .deb is the same bytes from another folder"
  else
    fail "abcd2's .deb differs between $root/build/dev and another folder; members or contents that differ:"
    diff <(dpkg-deb -c "${first[0]}"; dpkg-deb -I "${first[0]}" md5sums) \
      <(dpkg-deb -c "${second[0]}"; dpkg-deb -I "${second[0]}" md5sums) | head -20
  fi
fi

program="ABCD2 评分.exe"
if second_build windows --target abcd2 package-msi; then
  cmp -s "build/windows/entry/$program" "$work/windows/entry/$program" &&
    ok "$program is the same bytes from another folder" ||
    fail "$program differs between $root/build/windows and another folder"
  msi=msi/abcd2-1.0.0-x64.msi
  cmp -s "build/windows/$msi" "$work/windows/$msi" && cmp -s "build/windows/$msi.spdx.json" "$work/windows/$msi.spdx.json" &&
    ok "abcd2's MSI and its SPDX document are the same bytes from another folder" ||
    fail "abcd2's MSI or its SPDX document differs between $root/build/windows and another folder"
fi
exit $((failures > 0))
