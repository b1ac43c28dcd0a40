#!/usr/bin/env bash
# The DirectDraw renderer's Windows tests: run_ddraw_tests.sh BIN_DIR SOURCE_DIR
# Runs test_ddraw_dll.exe, then drawcheck.exe in modes 2 and 3 and compares the two
# frames pixel for pixel (the scene draws nothing whose result the two renderers
# define differently). Own Wine prefix (build/win64/wineprefix-ddraw) and own
# 640x480 display, so the checks neither see nor disturb other tests' windows.
set -uo pipefail
bin=$(cd "$1" && pwd)
src=$(cd "$2" && pwd)
export WINEPREFIX=$(cd "$bin/.." && pwd)/wineprefix-ddraw
# shellcheck source=../../../scripts/wine-env.sh
source "$src/scripts/wine-env.sh"

out=$(mktemp -d /tmp/torv_ddraw.XXXXXX)
cleanup() {
  wine_env_stop
  rm -rf "$out"
}
wine_env_start 640x480
trap cleanup EXIT

status=0
(cd "$bin" && timeout 300 wine test_ddraw_dll.exe </dev/null) || status=1

for mode in 2 3; do
  if ! (cd "$bin" && timeout 120 wine drawcheck.exe "$mode" "Z:$out/mode$mode.png" </dev/null); then
    echo "FAIL: drawcheck.exe $mode"
    status=1
  fi
done
if [ -f "$out/mode2.png" ] && [ -f "$out/mode3.png" ]; then
  differ=$(compare -metric AE "$out/mode2.png" "$out/mode3.png" null: 2>&1)
  echo "drawcheck: mode 2 and mode 3 frames differ in ${differ} pixels"
  [ "$differ" = 0 ] || status=1
else
  status=1
fi
exit $status
