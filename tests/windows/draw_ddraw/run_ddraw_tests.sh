#!/usr/bin/env bash
# The DirectDraw renderer's Windows tests: run_ddraw_tests.sh BIN_DIR SOURCE_DIR
# Runs test_ddraw_dll.exe, then drawcheck.exe in modes 2 and 3 and compares the two
# frames pixel for pixel (the scene draws nothing whose result the two renderers
# define differently). Own Wine prefix (build/win64/wineprefix-ddraw) and own
# 640x480 display, so the checks neither see nor disturb other tests' windows.
set -uo pipefail
bin=$(cd "$1" && pwd)
src=$(cd "$2" && pwd)
# shellcheck source=ddraw_test_env.sh
source "$src/tests/windows/draw_ddraw/ddraw_test_env.sh"

out=$(mktemp -d /tmp/torv_ddraw.XXXXXX)
cleanup() {
  wine_env_stop
  rm -rf "$out"
}
trap cleanup EXIT
ddraw_env_start "$bin" "$src" 640x480 || exit 1

status=0
(cd "$bin" && timeout 300 wine test_ddraw_dll.exe </dev/null) || status=1

# drawcheck.exe also shakes the picture and checks every frame it reads back during the
# swing against the shake's offsets.
for mode in 2 3; do
  if ! (cd "$bin" && timeout 120 wine drawcheck.exe "$mode" "Z:$out/mode$mode.png" </dev/null 2>"$out/err$mode"); then
    cat "$out/err$mode"
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
