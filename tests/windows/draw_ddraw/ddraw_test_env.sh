# Sourced by the DirectDraw renderer's test scripts: the prefix they share
# (wineprefix-ddraw beside the bin directory; a ctest resource lock keeps them apart)
# and a display of their own. Usage: ddraw_env_start BIN_DIR SOURCE_DIR SIZE
ddraw_env_start() {
  export WINEPREFIX
  WINEPREFIX=$(cd "$1/.." && pwd)/wineprefix-ddraw
  # shellcheck source=../../../scripts/wine-env.sh
  source "$2/scripts/wine-env.sh"
  # Two scripts starting at once may pick the same free display number; the loser's
  # Xvfb exits at once, and its programs would draw on the other's display, which
  # goes away with that script. Start again on another number then.
  local attempt
  for attempt in 1 2 3 4 5; do
    wine_env_start "$3"
    sleep 0.3
    kill -0 "$wine_env_xvfb_pid" 2>/dev/null && return 0
    echo "display $DISPLAY was taken (attempt $attempt); starting another"
    wine_env_stop
  done
  echo "no display of our own could be started" >&2
  return 1
}
