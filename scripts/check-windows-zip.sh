#!/usr/bin/env bash
# The Windows zip of a built windows tree (target package-windows): it holds every tool's "<title>.exe", the
# read-me and the third-party notices, nothing else; the read-me is UTF-8 with a byte-order mark and CRLF lines; every program unpacked
# from it passes its self-test under Wine. Usage: scripts/check-windows-zip.sh BUILD_DIR
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/tests/win32/wine_prefix.sh" "$1"
. "$root/tests/support/expected_selftest.sh"
zip=("$ovra_build_dir"/OvraMed-*-windows-x64.zip)
work=$(mktemp -d "$ovra_build_dir/zipcheck.XXXXXX")
trap 'rm -rf "$work"; WineSessionEnd' EXIT
failures=0
fail() { echo "FAIL $*"; failures=$((failures + 1)); }
ok() { echo "ok   $*"; }
readme=使用说明.txt
notices=THIRD-PARTY-NOTICES.txt

# Rows "id|title" of the family, as the build read them from its table.
rows=$(cut -d'|' -f1,3 "$ovra_build_dir/tool_family.txt")
expected=$( (cut -d'|' -f2 <<<"$rows" | sed 's/$/.exe/'; echo "$readme"; echo "$notices") | sort)
listed=$(unzip -Z1 "${zip[0]}" | sort)
[ "$listed" = "$expected" ] && ok "the zip lists the $(wc -l <<<"$rows") programs, the read-me and the notices" ||
  fail "the zip lists: $listed"

unzip -q "${zip[0]}" -d "$work" || fail "the zip does not unpack"
text="$work/$readme"
before=$failures
[ "$(head -c3 "$text" | od -An -tx1 | tr -d ' ')" = efbbbf ] || fail "the read-me has no byte-order mark"
bare=$(tr -d '\r' <"$text" | wc -l)
crlf=$(grep -c $'\r$' "$text")
[ "$bare" -eq "$crlf" ] || fail "the read-me has $((bare - crlf)) lines without CR LF"
grep -qF -- '--selftest' "$text" && grep -qF '%LOCALAPPDATA%\OvraMedSuite\records\' "$text" ||
  fail "the read-me does not name the self-test switch and the log's folder"
[ "$failures" -eq "$before" ] && ok "read-me: byte-order mark, CR LF lines, the self-test switch, the log's folder"

# The notices: UTF-8 with a byte-order mark, CR LF, and for every archive member that any program's linker map
# names, the package that supplied the archive, its version and its copyright file.
text="$work/$notices"
before=$failures
[ "$(head -c3 "$text" | od -An -tx1 | tr -d ' ')" = efbbbf ] || fail "the notices have no byte-order mark"
[ "$(tr -d '\r' <"$text" | wc -l)" -eq "$(grep -c $'\r$' "$text")" ] || fail "the notices have lines without CR LF"
archives=$(for map in "$ovra_build_dir"/entry/*.map; do
  sed -n '/^Archive member included/,/^Discarded input sections/s|^\(/[^(]*\.a\)(.*|\1|p' "$map"
done | sort -u)
[ -n "$archives" ] || fail "the linker maps name no archive"
notices_text=$(tr -d '\r' <"$text")
while read -r archive; do
  package=$(dpkg -S "$(realpath "$archive")" 2>/dev/null | cut -d: -f1)
  [ -n "$package" ] || continue
  version=$(dpkg-query -W -f='${Version}' "$package")
  first=$(grep -m1 . "/usr/share/doc/$package/copyright")
  grep -qF "Debian package $package $version" <<<"$notices_text" && grep -qF "$first" <<<"$notices_text" ||
    fail "the notices lack $package $version (for $(basename "$archive"))"
done <<<"$archives"
[ "$failures" -eq "$before" ] &&
  ok "notices: byte-order mark, CR LF, the package, version and copyright of each of $(wc -l <<<"$archives") archives"

python3 "$root/tests/packaging/check_spdx.py" "${zip[0]}.spdx.json" || fail "the zip's SPDX document"

# Nothing in the programs leads back to this machine's trees.
grep -lF "$root" "$work"/*.exe && fail "a program names the source or build tree"

expected_abcd2_report "$work/abcd2.expected"
cd "$work"
while IFS='|' read -r id title; do
  rm -f selftest.txt
  timeout 60 "$WINE" "$title.exe" --selftest </dev/null >/dev/null 2>&1
  code=$?
  report=$(tr -d '\r' <selftest.txt 2>/dev/null)
  if [ "$code" -ne 0 ]; then fail "$title.exe --selftest exited $code"
  elif [[ $report != "TOOL|$id|$title|"* || $report != *$'\nERRORS|0' ]]; then fail "$title.exe: report $report"
  elif [ "$id" = 146 ] && ! cmp -s selftest.txt abcd2.expected; then fail "$title.exe: not the exact report"
  else ok "$title.exe --selftest from the zip"
  fi
done <<<"$rows"
exit $((failures > 0))
