# Sourced by the scripts that drive a window: they wait on conditions, never for a fixed time.
# wait_for <seconds> <command...>: runs the command until it succeeds; fails once the seconds have passed.
wait_for() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@" >/dev/null 2>&1; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.05
  done
}
