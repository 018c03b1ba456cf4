#!/bin/sh
# The self-test writes the file named or nothing: a path past 519 units, or one a double quote makes
# ambiguous, is refused with exit code 3 and touches no file, not even the one its first 519 units name.
set -u
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
fail() { echo "FAIL: $*"; exit 1; }

a=$(printf '%200s' | tr ' ' a)
b=$(printf '%200s' | tr ' ' b)
c=$(printf '%117s' | tr ' ' c)
mkdir -p "$a/$b"
exact="$a/$b/$c"  # 519 characters
[ ${#exact} -eq 519 ] || fail "setup: ${#exact}"
echo keep >"$exact"

"$program" --selftest "${exact}x"
[ $? -eq 3 ] || fail "a 520-character path was not refused"
[ "$(cat "$exact")" = keep ] || fail "the file named by the first 519 characters was overwritten"
[ ! -e "${exact}x" ] || fail "the long path was written"

"$program" --selftest "$exact"
[ $? -eq 0 ] || fail "a 519-character path was refused"
[ "$(wc -c <"$exact")" -eq 123 ] || fail "the 519-character path does not hold the report"

mkdir quotes && cd quotes || exit 1
for path in 'a"b' 'q" x' '"r"'; do
  "$program" --selftest "$path"
  [ $? -eq 3 ] || fail "path with a quote ($path) not refused"
done
[ -z "$(ls -A)" ] || fail "a path with a quote wrote $(ls -A)"
echo "report paths: refused or written whole"
