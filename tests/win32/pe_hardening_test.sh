#!/usr/bin/env bash
# Every Windows program as a security review reads it: the loader's mitigations in the PE header, the stack
# protector and fortified functions (their run-time messages, shown against two builds of one control program,
# with the flags and without) and the guard's seeding, the DLL search limited at run time, the manifest's
# rights and Windows versions, and the source date as the PE time stamp.
#   pe_hardening_test.sh <source date> <hardened control.exe> <unhardened control.exe> <program.exe>...
set -uo pipefail
epoch=$1 hardened=$2 unhardened=$3
shift 3
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# text in the file | what it is evidence of
evidence='*** stack smashing detected ***|stack protector
*** buffer overflow detected ***|fortified functions'
# The same text in the manifest of every program.
manifest='<requestedExecutionLevel level="asInvoker" uiAccess="false"/>
<supportedOS Id="{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"/>
<supportedOS Id="{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}"/>
<supportedOS Id="{1f676c76-80e1-4239-95bb-83d0f6d0da78}"/>
<supportedOS Id="{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"/>'
characteristics='HIGH_ENTROPY_VA DYNAMIC_BASE NX_COMPAT TERMINAL_SERVICE_AWARE'
stamp=$(TZ=UTC date -d "@$epoch" '+%a %b %e %H:%M:%S %Y')

while IFS='|' read -r text what; do
  if grep -qaF -- "$text" "$hardened" && ! grep -qaF -- "$text" "$unhardened"; then echo "ok: control: $what"
  else fail "control: the $what evidence does not tell the two builds apart"
  fi
done <<<"$evidence"

for program in "$@"; do
  problems=""
  headers=$(TZ=UTC x86_64-w64-mingw32-objdump -p "$program")
  for flag in $characteristics; do grep -qw "$flag" <<<"$headers" || problems+=" not $flag;"; done
  grep -qP "^Time/Date\s+$stamp$" <<<"$headers" ||
    problems+=" time stamp $(sed -n 's/^Time\/Date\s*//p' <<<"$headers");"
  while IFS='|' read -r text what; do grep -qaF -- "$text" "$program" || problems+=" no $what;"; done <<<"$evidence"
  while read -r line; do grep -qaF -- "$line" "$program" || problems+=" manifest lacks $line;"; done <<<"$manifest"
  # Named for GetProcAddress (never imported: windows7_imports.py), so the DLL search is limited where it can be.
  grep -qaF SetDefaultDllDirectories "$program" || problems+=" SetDefaultDllDirectories not referenced;"
  # The guard seeded from RtlGenRandom at start, not from libssp's cryptographic provider.
  grep -qE '^\s+[0-9a-f]+\s+[0-9]+\s+SystemFunction036$' <<<"$headers" || problems+=" stack guard not seeded;"
  [ -z "$problems" ] && echo "ok: $(basename "$program")" || fail "$(basename "$program"):$problems"
done
exit $((failures > 0))
