#!/usr/bin/env bash
# The drawing test scene from the 32-bit drawcheck.exe against the 64-bit one:
# drawcheck_against_win64.sh MODE BIN32 BIN64 SOURCE_DIR OUT_DIR
# Both run the same renderer on the same display; the frames must be equal pixel for
# pixel (the shake is the 64-bit suite's check, and too quick for an emulated program), and the 32-bit program must end with exit code 0; under the known emulation
# fault (known_emulation_fault.sh) a crash at its exit is reported and accepted. Exit 0
# pass, 1 fail, 77 skipped (a program or renderer not built).
set -uo pipefail
mode=$1
bin32=$(cd "$2" && pwd)
bin64=$(cd "$3" 2>/dev/null && pwd) || { echo "SKIP: $3 does not exist (the x86_64 tree is not built)"; exit 77; }
src=$(cd "$4" && pwd)
out=$5
case $mode in
1) dll=tamDx3DDraw.dll ;;
2) dll=tamDDDraw.dll ;;
3) dll=tamDIBDraw.dll ;;
*) echo "FAIL: no drawing mode $mode"; exit 1 ;;
esac
[ -f "$bin32/teb_after_exception.exe" ] || { echo "SKIP: teb_after_exception.exe is not built"; exit 77; }
for bin in "$bin32" "$bin64"; do
  for f in drawcheck.exe tamDraw.dll "$dll"; do
    [ -f "$bin/$f" ] || { echo "SKIP: $bin/$f is not built"; exit 77; }
  done
done
command -v compare >/dev/null || { echo "SKIP: ImageMagick is missing"; exit 77; }
mkdir -p "$out"

# shellcheck source=../../../scripts/wine-env.sh
source "$src/scripts/wine-env.sh"
# shellcheck source=known_emulation_fault.sh
source "$src/tests/windows/i686/known_emulation_fault.sh"
wine_env_own_display 640x480 || { echo "FAIL: no display"; exit 1; }

for bits in 64 32; do
  bin=$bin64
  [ $bits = 32 ] && bin=$bin32
  frame=$out/mode$mode-$bits.png
  rm -f "$frame"
  start=$SECONDS
  (cd "$bin" && timeout 300 wine drawcheck.exe "$mode" "Z:$frame" --scene-only </dev/null 2>&1 | tr -d '\r')
  rc=${PIPESTATUS[0]}
  echo "$bits-bit drawcheck.exe $mode: exit code $rc after $((SECONDS - start)) s"
  if [ "$rc" != 0 ]; then
    # The emulator's crash at exit once a thread has run: SIGSEGV, 128 + 11.
    if [ $bits = 32 ] && [ "$rc" = 139 ] && known_emulation_fault "$bin32"; then
      echo "KNOWN EMULATION FAULT: the 32-bit drawcheck.exe crashed at its exit (exit code 139)"
    else
      echo "FAIL: the $bits-bit drawcheck.exe $mode ended with exit code $rc"
      exit 1
    fi
  fi
  [ -f "$frame" ] || { echo "FAIL: the $bits-bit drawcheck.exe $mode wrote no frame"; exit 1; }
done

differ=$(compare -metric AE "$out/mode$mode-32.png" "$out/mode$mode-64.png" null: 2>&1)
echo "mode $mode: $differ of 307200 pixels differ between the 32-bit and the 64-bit frame"
[ "$differ" = 0 ] || { echo "FAIL: the frames differ"; exit 1; }
echo "PASS"
