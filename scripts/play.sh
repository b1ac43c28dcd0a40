#!/usr/bin/env bash
# Starts the native game (build/linux/bin/torv) on the current display. Without one,
# it runs in a private Xvfb when Xvfb is installed (nothing will be visible).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
game=$root/build/linux/bin/torv
if [ ! -x "$game" ]; then
  echo "play: the game is not built yet ($game is missing)" >&2
  exit 1
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && command -v Xvfb >/dev/null; then
  echo "play: no display; starting a private Xvfb (nothing will be visible)" >&2
  # shellcheck source=SCRIPTDIR/private-display.sh
  source "$root/scripts/private-display.sh"
  trap private_display_stop EXIT
  private_display_start 1280x1024 || { echo "play: Xvfb did not start" >&2; exit 1; }
fi
"$game" "$@"
