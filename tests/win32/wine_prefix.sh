# Sourced by the Wine tests and measurements: a private prefix below the build tree, one wineserver kept
# alive for the run, and the window's font faces mapped to installed ones so text shows as it would.
#   . wine_prefix.sh <build-dir>
ovra_build_dir=$(cd "$1" && pwd)
export WINEPREFIX="$ovra_build_dir/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="  # no offer to install Mono or Gecko into the prefix
WINE=${WINE:-/usr/lib/wine/wine64}
WINESERVER=${WINESERVER:-/usr/lib/wine/wineserver}
[ -x "$WINE" ] || WINE=$(command -v wine64 || command -v wine)
[ -x "$WINESERVER" ] || WINESERVER=$(command -v wineserver)

if [ ! -f "$WINEPREFIX/.ovra-ready" ]; then
  rm -rf "$WINEPREFIX"
  timeout 300 "$WINE" wineboot -i >/dev/null 2>&1
  substitutes='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes'
  timeout 60 "$WINE" reg add "$substitutes" /v "Microsoft YaHei UI" /t REG_SZ /d "Noto Sans CJK SC" /f >/dev/null 2>&1
  timeout 60 "$WINE" reg add "$substitutes" /v "Consolas" /t REG_SZ /d "Noto Sans Mono CJK SC" /f >/dev/null 2>&1
  timeout 60 "$WINESERVER" -w
  touch "$WINEPREFIX/.ovra-ready"
fi
"$WINESERVER" -p
# The Windows path of a file of this machine, as the program sees it.
WindowsPath() { printf 'Z:%s' "$(realpath -m "$1" | sed 's|/|\\|g')"; }
