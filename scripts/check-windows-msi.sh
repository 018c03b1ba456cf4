#!/usr/bin/env bash
# The MSIs of a built windows tree (target package-msi). Every tool's package is read with msiinfo/msiextract:
# its properties, codes and tables, and the very program and notices the build made. Then, under Wine, as IT
# would: ABCD2's package installs silently per machine (program, notices, shortcut, uninstall entry; the
# installed program passes its self-test), a second tool shares the folder, a 1.0.1 package of ABCD2 built from
# the same recipe replaces 1.0.0 (one uninstall entry), 1.0.0 is then refused, and removal leaves the other
# tool's files in place until it goes too. Usage: scripts/check-windows-msi.sh BUILD_DIR
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/tests/win32/wine_prefix.sh" "$1"
. "$root/tests/support/expected_selftest.sh"
msis="$ovra_build_dir/msi"
work=$(mktemp -d "$ovra_build_dir/msicheck.XXXXXX")
trap 'rm -rf "$work"; WineSessionEnd' EXIT
# Shortcuts made in the prefix stay there: none is copied to this machine's own menus.
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d"
failures=0
fail() { echo "FAIL $*"; failures=$((failures + 1)); }
ok() { echo "ok   $*"; }
version=$(sed -n 's/^project(ovra .*VERSION \([0-9.]*\)).*/\1/p' "$root/CMakeLists.txt")
rows=$(cat "$ovra_build_dir/tool_family.txt")  # id|program|title
notices=THIRD-PARTY-NOTICES.txt

# One table of an MSI in its text form, read whole (a grep -q that stops early would cut the pipe).
table() { msiinfo export "$1" "$2" | tr -d '\r\0'; }
property() { table "$1" Property | awk -F'\t' -v k="$2" '$1 == k {print $2}'; }

echo "-- every tool's package, read"
before=$failures
codes=""
while IFS='|' read -r id program title; do
  msi="$msis/$program-$version-x64.msi"
  [ -f "$msi" ] || { fail "$program: no $msi"; continue; }
  summary=$(msiinfo suminfo "$msi")
  grep -qx 'Template: x64;2052' <<<"$summary" || fail "$program: not an x64 package: $summary"
  grep -qx 'Author: OvraMed' <<<"$summary" || fail "$program: summary author"
  grep -qP '^936\t_ForceCodepage$' <<<"$(table "$msi" _ForceCodepage)" || fail "$program: strings not in code page 936"
  for pair in "ProductName=$title" "ProductVersion=$version" "Manufacturer=OvraMed" "ALLUSERS=1" \
              "ARPNOMODIFY=1" "ARPNOREPAIR=1" "ARPPRODUCTICON=program.ico" "ProductLanguage=2052"; do
    [ "$(property "$msi" "${pair%%=*}")" = "${pair#*=}" ] || fail "$program: ${pair%%=*} is not ${pair#*=}"
  done
  codes+="$(property "$msi" UpgradeCode) $(property "$msi" ProductCode)"$'\n'
  directories=$(table "$msi" Directory)
  grep -qxP 'INSTALLDIR\tProgramFiles64Folder\tOVRAMED\|OvraMedSuite' <<<"$directories" ||
    fail "$program: not installed into [ProgramFiles64Folder]OvraMedSuite"
  grep -qxP 'ProgramMenuDir\tProgramMenuFolder\tOVRATOOL\|OvraMed 临床工具' <<<"$directories" ||
    fail "$program: no menu folder OvraMed 临床工具"
  grep -qF "|$title"$'\t' <<<"$(table "$msi" Shortcut)" || fail "$program: no shortcut named $title"
  upgrade=$(table "$msi" Upgrade)
  grep -qP "^\\{[0-9A-F-]{36}\\}\t\t$version\t\t1\t\tOVRA_OLDER_FOUND$" <<<"$upgrade" &&
    grep -qP "^\\{[0-9A-F-]{36}\\}\t$version\t\t\t2\t\tOVRA_NEWER_FOUND$" <<<"$upgrade" ||
    fail "$program: upgrade rules $upgrade"
  # Every component is a 64-bit one (attribute 256).
  awk -F'\t' 'NR > 3 && $4 != 256 {bad = 1} END {exit bad}' <<<"$(table "$msi" Component)" ||
    fail "$program: a component is not 64-bit"
  mkdir -p "$work/$program"
  (cd "$work/$program" && msiextract "$msi" >/dev/null 2>&1) || fail "$program: msiextract"
  cmp -s "$work/$program/OvraMedSuite/$title.exe" "$ovra_build_dir/entry/$title.exe" ||
    fail "$program: the package does not hold the built $title.exe"
  cmp -s "$work/$program/OvraMedSuite/$notices" "$ovra_build_dir/packaging/$notices" ||
    fail "$program: the package does not hold the notices"
  sha=$(sha256sum "$work/$program/OvraMedSuite/$title.exe" | cut -c1-64)
  grep -q "\"checksumValue\": \"$sha\"" "$msi.spdx.json" || fail "$program: the SPDX document lacks the program's SHA-256"
done <<<"$rows"
python3 "$root/tests/packaging/check_spdx.py" "$msis"/*.msi.spdx.json || fail "the MSIs' SPDX documents"
tools=$(wc -l <<<"$rows")
[ "$(tr ' ' '\n' <<<"$codes" | grep -c .)" -eq $((2 * tools)) ] &&
  [ "$(tr ' ' '\n' <<<"$codes" | grep . | sort -u | wc -l)" -eq $((2 * tools)) ] ||
  fail "upgrade and product codes are not all present and distinct: $codes"
[ "$failures" -eq "$before" ] && ok "$tools packages: properties, x64, folder, shortcut, upgrade rule, codes, contents"

# The upgrade code is the tool's for ever: a build of the package for another version keeps it.
abcd2="$msis/abcd2-$version-x64.msi"
newer="$work/abcd2-1.0.1-x64.msi"
python3 "$root/packaging/build_msi.py" "$msis/abcd2.recipe.json" --version 1.0.1 --out "$newer" ||
  fail "building a 1.0.1 package"
[ "$(property "$newer" UpgradeCode)" = "$(property "$abcd2" UpgradeCode)" ] &&
  [ "$(property "$newer" ProductCode)" != "$(property "$abcd2" ProductCode)" ] &&
  ok "1.0.1: the same upgrade code, another product code" || fail "1.0.1: codes"
mkdir "$work/again"
python3 "$root/packaging/build_msi.py" "$msis/abcd2.recipe.json" --out "$work/again/abcd2-$version-x64.msi" &&
  cmp -s "$work/again/abcd2-$version-x64.msi" "$abcd2" && ok "built again in another folder: the same bytes" ||
  fail "abcd2-$version-x64.msi built again differs"

echo "-- installed under Wine"
programs="$WINEPREFIX/drive_c/Program Files/OvraMedSuite"
menus=("$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs"
       "$WINEPREFIX"/drive_c/users/*/AppData/Roaming/Microsoft/Windows/Start\ Menu/Programs)
msiexec() {  # /i or /x, a package; the exit code of msiexec
  timeout 180 "$WINE" msiexec "$1" "$(WindowsPath "$2")" /qn </dev/null >/dev/null 2>&1
}
# The uninstall entries of the machine, as "DisplayName|DisplayVersion|Publisher|NoModify|NoRepair" rows.
entries() {
  rm -f "$work/uninstall.reg"
  timeout 60 "$WINE" reg export 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' \
    "$(WindowsPath "$work/uninstall.reg")" /y </dev/null >/dev/null 2>&1
  iconv -f UTF-16 -t UTF-8 "$work/uninstall.reg" 2>/dev/null | tr -d '\r' | awk -F'=' '
    function flush() { if (name != "") print name "|" ver "|" pub "|" nomod "|" norep; name = ver = pub = nomod = norep = "" }
    /^\[/ { flush() }
    $1 == "\"DisplayName\"" { name = substr($0, 15); gsub(/"/, "", name) }
    $1 == "\"DisplayVersion\"" { ver = substr($0, 18); gsub(/"/, "", ver) }
    $1 == "\"Publisher\"" { pub = substr($0, 13); gsub(/"/, "", pub) }
    $1 == "\"NoModify\"" { nomod = $2 }
    $1 == "\"NoRepair\"" { norep = $2 }
    END { flush() }'
}
shortcuts() { find "${menus[@]}" -path "*/OvraMed 临床工具/$1.lnk" 2>/dev/null; }

# A run that was stopped part way may have left its tools installed in the prefix.
for left in "$newer" "$abcd2" "$msis/ovra-t201-$version-x64.msi"; do msiexec /x "$left"; done

# Other tests may have left logs in the prefix: the install must add nothing to them.
local_data() { find "$WINEPREFIX"/drive_c/users/*/AppData/Local -path '*OvraMedSuite*' 2>/dev/null | sort; }
local_before=$(local_data)
msiexec /i "$abcd2"
code=$?
[ "$code" -eq 0 ] && ok "msiexec /i abcd2-$version-x64.msi /qn: exit 0" || fail "msiexec /i exited $code"
cmp -s "$programs/ABCD2 评分.exe" "$ovra_build_dir/entry/ABCD2 评分.exe" &&
  cmp -s "$programs/$notices" "$ovra_build_dir/packaging/$notices" &&
  ok "Program Files\\OvraMedSuite holds ABCD2 评分.exe and $notices" || fail "installed files: $(ls "$programs")"
link=$(shortcuts "ABCD2 评分")
if [ "$(grep -c . <<<"$link")" -eq 1 ]; then
  # A shell link keeps its target and its icon's path as UTF-16 text.
  python3 - "$link" <<'EOF' && ok "the shortcut \"OvraMed 临床工具\\ABCD2 评分\" starts the program with its icon" ||
import sys
data = open(sys.argv[1], "rb").read()
wanted = ["C:\\Program Files\\OvraMedSuite\\", "ABCD2 评分.exe", "\\program.ico"]
sys.exit(any(w.encode("utf-16-le") not in data for w in wanted))
EOF
    fail "the shortcut does not name the program and its icon"
else
  fail "shortcuts found: $link"
fi
entry=$(entries | grep '^ABCD2 评分|')
[ "$entry" = "ABCD2 评分|$version|OvraMed|dword:00000001|dword:00000001" ] &&
  ok "uninstall entry: ABCD2 评分, $version, OvraMed, no Modify, no Repair" || fail "uninstall entry: $entry"
product=$(property "$abcd2" ProductCode)
squashed=$(python3 -c "import sys; g = sys.argv[1].strip('{}').replace('-', ''); \
print(g[7::-1] + g[11:7:-1] + g[15:11:-1] + ''.join(g[i + 1] + g[i] for i in range(16, 32, 2)))" "$product")
timeout 60 "$WINE" reg query "HKLM\\Software\\Classes\\Installer\\Products\\$squashed" /v ProductIcon </dev/null \
  2>/dev/null | grep -q 'program\.ico' && ok "the entry's icon is the program icon" || fail "no product icon"
[ "$(local_data)" = "$local_before" ] && ok "nothing written below %LOCALAPPDATA%" ||
  fail "the install wrote below %LOCALAPPDATA%: $(diff <(echo "$local_before") <(local_data))"

expected_abcd2_report "$work/expected.txt"
mkdir "$work/selftest"
(cd "$work/selftest" && timeout 60 "$WINE" 'C:\Program Files\OvraMedSuite\ABCD2 评分.exe' --selftest </dev/null \
  >/dev/null 2>&1)
code=$?
[ "$code" -eq 0 ] && cmp -s "$work/selftest/selftest.txt" "$work/expected.txt" &&
  ok "the installed program's self-test: exit 0, the expected 123 bytes" || fail "installed self-test: exit $code"

t201=$(sed -n 's/^201|[^|]*|//p' <<<"$rows")
msiexec /i "$msis/ovra-t201-$version-x64.msi" || fail "installing ovra-t201"
msiexec /i "$newer"
code=$?
ours=$(entries | grep '^ABCD2 评分|')
[ "$code" -eq 0 ] && [ "$ours" = "ABCD2 评分|1.0.1|OvraMed|dword:00000001|dword:00000001" ] &&
  ok "1.0.1 replaces 1.0.0: one uninstall entry, version 1.0.1" || fail "upgrade: exit $code, entries: $ours"
msiexec /i "$abcd2"
code=$?
# 1603, the installer's failure, reaches a POSIX shell as 1603 mod 256.
[ "$code" -eq $((1603 % 256)) ] && [ "$(entries | grep -c '^ABCD2 评分|1.0.1|')" -eq 1 ] &&
  ok "1.0.0 over 1.0.1 is refused (exit 1603), 1.0.1 stays" || fail "downgrade: exit $code, $(entries)"

msiexec /x "$newer"
code=$?
[ "$code" -eq 0 ] && [ ! -e "$programs/ABCD2 评分.exe" ] && [ -z "$(shortcuts "ABCD2 评分")" ] &&
  [ -z "$(entries | grep '^ABCD2 评分|')" ] &&
  ok "msiexec /x: the program, its shortcut and its entry are gone" || fail "removal: exit $code"
[ -f "$programs/$t201.exe" ] && [ -f "$programs/$notices" ] && [ -n "$(shortcuts "$t201")" ] &&
  ok "the other tool keeps its program, its shortcut and the shared notices" ||
  fail "removing ABCD2 took the other tool's files: $(ls "$programs" 2>&1)"
msiexec /x "$msis/ovra-t201-$version-x64.msi"
code=$?
[ "$code" -eq 0 ] && [ ! -e "$programs" ] && [ -z "$(find "${menus[@]}" -name 'OvraMed 临床工具' 2>/dev/null)" ] &&
  [ -z "$(entries | grep -F '|OvraMed|')" ] &&
  ok "the last tool removed: no folder, menu folder or entry left" ||
  fail "after the last removal: exit $code; $(find "$programs" "${menus[@]}" -path '*OvraMed*' 2>/dev/null)"
exit $((failures > 0))
