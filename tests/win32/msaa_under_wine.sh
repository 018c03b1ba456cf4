#!/usr/bin/env bash
# The window as assistive technology reads it through MSAA, from another process (window_probe.exe): each
# field named by its label as written (the broken one too, without its line break) and described by its unit
# and what it accepts, the report box "计算结果", the buttons by their captions, the verdict and status lines
# by their current text; the buttons' tooltips.
#   msaa_under_wine.sh <build-dir> <program.exe> <window_probe.exe>
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
program=$2
probe=$3
. "$here/window_checks.sh" "$1"
app=
trap '[ -n "$app" ] && kill "$app" 2>/dev/null; WineSessionEnd' EXIT
"$WINE" "$program" >/dev/null 2>&1 &
app=$!
[ -n "$(window_named "$title" 60)" ] || { fail "no window"; exit 1; }
names=$(timeout 60 "$WINE" "$probe" names "$title" 2>/dev/null | tr -d '\r')

# <control id> <class> <name> <description>, as the probe prints them (id 0: a static control without one).
while IFS='|' read -r id class name description; do
  grep -qF -- "$id $class name=$name|description=$description|" <<<"$names" && ok "$id $class: $name ($description)" ||
    fail "$id $class not \"$name\" ($description): $(grep "^$id $class" <<<"$names" | head -3 | tr '\n' ' ')"
done <<'EOF_NAMES'
2000|Edit|年龄|岁；0 至 130 之间的数
2001|Edit|收缩压|mmHg；40 至 300 之间的数
2002|Edit|舒张压|mmHg；20 至 200 之间的数
2003|Edit|症状(2单侧无力/1言语/0其他)|0、1 或 2
2004|Edit|持续时间(0<10min/1 10-59/2≥60)|0、1 或 2
2005|Edit|糖尿病(1/0)|0 或 1
3000|Edit|计算结果|
1001|Button|计算 (F5)|
1002|Button|保存记录|
1003|Button|复制结果|
1004|Button|清空重填|
1005|Button|关于|
0|Static|填写左侧参数，点击“计算”|
0|Static|就绪：填写参数后按 F5 或点击“计算”|
EOF_NAMES
grep -q '^2000 Edit .*value=60$' <<<"$names" && ok "the age field's value is its text" || fail "age field: no value 60"
# Four buttons name their key in a tooltip; Reset has none. The probe waits for the tooltips, made after the
# first paint.
tips=$(timeout 30 "$WINE" "$probe" tips "$title" 2>/dev/null | tr -d '\r')
[ "$tips" = "tips 4" ] && ok "four buttons have a tooltip" || fail "tooltips: $tips"
exit $((failures > 0))
