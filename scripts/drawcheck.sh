#!/usr/bin/env bash
# Renders the drawing test scene with every renderer that is built: runs
# build/win64/bin/drawcheck.exe under wine64 in a private 640x480 Xvfb display for
# each mode whose back-end DLL exists and writes build/drawcheck/mode<N>.png (and
# mode<N>-shake.png, a frame shown during a screen shake). Exit 0 only if all passed.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bin=$root/build/win64/bin
out=$root/build/drawcheck
# shellcheck source=wine-env.sh
source "$root/scripts/wine-env.sh"

if [ ! -f "$bin/drawcheck.exe" ]; then
  echo "drawcheck: $bin/drawcheck.exe is not built (make win64)" >&2
  exit 1
fi
mkdir -p "$out"

wine_env_start 640x480
trap wine_env_stop EXIT

status=0
ran=0
for entry in 1:tamDx3DDraw.dll 2:tamDDDraw.dll 3:tamDIBDraw.dll; do
  mode=${entry%%:*}
  dll=${entry#*:}
  if [ ! -f "$bin/$dll" ]; then
    echo "drawcheck: mode $mode skipped ($dll is not built)"
    continue
  fi
  ran=$((ran + 1))
  rm -f "$out/mode$mode.png" "$out/mode$mode-shake.png" "$out/mode$mode-bad.png"
  if (cd "$bin" && timeout 120 wine drawcheck.exe "$mode" "Z:$out/mode$mode.png" </dev/null); then
    echo "drawcheck: mode $mode passed: $out/mode$mode.png"
  else
    echo "drawcheck: mode $mode FAILED" >&2
    status=1
  fi
done
[ $ran -gt 0 ] || { echo "drawcheck: no renderer is built" >&2; status=1; }
exit $status
