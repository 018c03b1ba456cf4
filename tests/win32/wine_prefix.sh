# Sourced by the Wine tests and measurements: a private prefix below the build tree, one wineserver and one
# private X display (Xvfb) for the whole run, and the window's font faces mapped to installed ones so text
# shows as it would. The first shell that sources it owns the session and ends it with WineSessionEnd; shells
# started below it (ctest and its tests) find the session in the environment and join it.
#   . wine_prefix.sh <build-dir>
# A test that needs another screen starts its own session, in a subshell without OVRA_WINE_DISPLAY, with
# OVRA_WINE_PREFIX_NAME (a second prefix beside the first, with its own server) and OVRA_WINE_SCREEN (Xvfb's
# WxHxDepth).
ovra_build_dir=$(cd "$1" && pwd)
export WINEPREFIX="$ovra_build_dir/${OVRA_WINE_PREFIX_NAME:-wineprefix}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="  # no offer to install Mono or Gecko into the prefix
WINE=${WINE:-/usr/lib/wine/wine64}
WINESERVER=${WINESERVER:-/usr/lib/wine/wineserver}
[ -x "$WINE" ] || WINE=$(command -v wine64 || command -v wine)
[ -x "$WINESERVER" ] || WINESERVER=$(command -v wineserver)

if [ ! -f "$WINEPREFIX/.ovra-ready" ]; then
  "$WINESERVER" -k 2>/dev/null || true
  rm -rf "$WINEPREFIX"
  timeout 300 "$WINE" wineboot -i </dev/null >/dev/null 2>&1
  substitutes='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes'
  timeout 60 "$WINE" reg add "$substitutes" /v "Microsoft YaHei UI" /t REG_SZ /d "Noto Sans CJK SC" /f >/dev/null 2>&1
  timeout 60 "$WINE" reg add "$substitutes" /v "Consolas" /t REG_SZ /d "Noto Sans Mono CJK SC" /f >/dev/null 2>&1
  timeout 60 "$WINESERVER" -w
  touch "$WINEPREFIX/.ovra-ready"
fi

if [ -z "${OVRA_WINE_DISPLAY:-}" ]; then
  . "$(dirname "${BASH_SOURCE[0]}")/../support/private_display.sh"
  private_display "${OVRA_WINE_SCREEN:-1280x1024x24}" /dev/null || {
    echo "FAIL: Xvfb gave no display within 30 s" >&2
    DISPLAY=:
  }
  OVRA_WINE_XVFB=$private_display_pid
  export OVRA_WINE_DISPLAY=$DISPLAY
  OVRA_WINE_OWNER=$$
  # Wine's own background processes start with the first program and live as long as the server: started
  # here on the private display and with nothing open, they hold no caller's pipe open after it ended.
  "$WINESERVER" -k 2>/dev/null || true
  "$WINESERVER" -p </dev/null >/dev/null 2>&1
  DISPLAY=$OVRA_WINE_DISPLAY timeout 120 "$WINE" wineboot </dev/null >/dev/null 2>&1 || true
fi
export DISPLAY=$OVRA_WINE_DISPLAY

# Ends the server and the display, when this shell started them.
WineSessionEnd() {
  [ "${OVRA_WINE_OWNER:-}" = "$$" ] || return 0
  "$WINESERVER" -k 2>/dev/null || true
  kill "$OVRA_WINE_XVFB" 2>/dev/null || true
  unset OVRA_WINE_DISPLAY OVRA_WINE_OWNER
}

# The Windows path of a file of this machine, as the program sees it.
WindowsPath() { printf 'Z:%s' "$(realpath -m "$1" | sed 's|/|\\|g')"; }
