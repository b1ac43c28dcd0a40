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
  fdfile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 &
  xvfb=$!
  trap 'kill $xvfb 2>/dev/null; rm -f "$fdfile"' EXIT
  for _ in $(seq 100); do
    [ "$(wc -l <"$fdfile")" -ge 1 ] && break
    sleep 0.1
  done
  export DISPLAY=:$(tr -dc '0-9' <"$fdfile")
fi
"$game" "$@"
