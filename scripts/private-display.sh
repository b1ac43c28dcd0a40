# shellcheck shell=bash
# Sourced by the scripts that show the native game on a display of their own: a
# private Xvfb, at a free display number Xvfb picks itself (-displayfd), so scripts
# starting at once never share one.
# Usage: source scripts/private-display.sh; private_display_start [WIDTHxHEIGHT] || ...;
#        ...; private_display_stop

private_display_pid=""

# Starts Xvfb (default 1920x1080) and exports DISPLAY; status 1 when it does not start.
private_display_start() {
  local size=${1:-1920x1080} fdfile n=""
  fdfile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 &
  private_display_pid=$!
  for _ in $(seq 100); do
    # The number is complete once its line ends.
    if [ "$(wc -l <"$fdfile")" -ge 1 ]; then
      n=$(tr -dc '0-9' <"$fdfile")
      break
    fi
    sleep 0.1
  done
  rm -f "$fdfile"
  if [ -z "$n" ]; then
    private_display_stop
    return 1
  fi
  export DISPLAY=:$n
}

private_display_stop() {
  [ -n "$private_display_pid" ] && kill "$private_display_pid" 2>/dev/null
  private_display_pid=""
}
