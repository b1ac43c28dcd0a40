#!/usr/bin/env bash
# The drawing test scene through the Direct3D back-end (mode 1) against the DIB
# back-end (mode 3): compare_drawcheck.sh BIN_DIR SOURCE_DIR OUT_DIR
#
# Tolerance: every pixel within 10 levels in each channel, except at most 1000
# pixels, all in the band of sprites (x 0-419, y 70-139). There the back-ends differ
# by design: Direct3D blends the plain and the keyed copies by texel alpha (the DIB
# copies them, transparent texels black), and it samples a scaled image at the
# nearest texel where the DIB steps through it in 8.8 fixed point. The same
# stepping makes the stretched backdrop's columns differ by one texel in places
# (a few levels: its texels step by 4 and 5).
set -uo pipefail
bin=$(cd "$1" && pwd)
src=$(cd "$2" && pwd)
out=$3
readonly kLevels=10 kMostOutside=0 kMostInBand=1000 kBand='rectangle 0,70 419,139'

for f in drawcheck.exe tamDraw.dll tamDx3DDraw.dll tamDIBDraw.dll; do
  [ -f "$bin/$f" ] || { echo "SKIP: $f is not built"; exit 77; }
done
command -v compare >/dev/null || { echo "SKIP: ImageMagick is missing"; exit 77; }
mkdir -p "$out"

# shellcheck source=../../../scripts/wine-env.sh
source "$src/scripts/wine-env.sh"
wine_env_own_display 640x480 || { echo "FAIL: no display"; exit 1; }

for mode in 1 3; do
  rm -f "$out/mode$mode.png"
  if ! (cd "$bin" && timeout 120 wine drawcheck.exe "$mode" "Z:$out/mode$mode.png" </dev/null 2>&1 | tr -d '\r'); then
    echo "FAIL: drawcheck.exe $mode"
    exit 1
  fi
  [ -f "$out/mode$mode.png" ] || { echo "FAIL: mode $mode wrote no picture"; exit 1; }
done

# Largest channel difference per pixel, and the pixels past the tolerance.
diff_max=(convert "$out/mode1.png" "$out/mode3.png" -compose difference -composite -depth 8 -separate
  -evaluate-sequence max)
over="-fx u>$kLevels.5/255"
total=$("${diff_max[@]}" $over -format '%[fx:round(mean*w*h)]' info:)
outside=$("${diff_max[@]}" $over -fill black -draw "$kBand" -format '%[fx:round(mean*w*h)]' info:)
largest=$("${diff_max[@]}" -format '%[fx:round(maxima*255)]' info:)
identical=$("${diff_max[@]}" -fx 'u>0' -format '%[fx:round((1-mean)*w*h)]' info:)
echo "mode 1 against mode 3: $identical of 307200 pixels identical; $total differ by more than $kLevels levels" \
  "($outside outside the sprite band); largest difference $largest"
[ "$outside" -le $kMostOutside ] || { echo "FAIL: $outside pixels outside the sprite band differ by more than $kLevels"; exit 1; }
[ "$total" -le $kMostInBand ] || { echo "FAIL: $total pixels differ by more than $kLevels"; exit 1; }
echo "PASS"
