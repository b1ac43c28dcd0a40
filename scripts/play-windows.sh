#!/usr/bin/env bash
# Starts the Windows game from dist/win64 under Wine on the current display.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
if [ ! -f dist/win64/torv.exe ]; then
  echo "play: the game executable is not built yet (dist/win64/torv.exe is missing)" >&2
  exit 1
fi
source scripts/wine-env.sh
wine_env_locale
wine_env_prefix
if [ -z "${DISPLAY:-}" ]; then
  echo "play: no DISPLAY; starting a private Xvfb (nothing will be visible)" >&2
  wine_env_start 640x480
  trap wine_env_stop EXIT
fi
cd dist/win64
wine torv.exe
