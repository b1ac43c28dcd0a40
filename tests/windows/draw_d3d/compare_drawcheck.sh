#!/usr/bin/env bash
# The drawing test scene through the Direct3D back-end (mode 1) against a reference:
#   compare_drawcheck.sh BIN_DIR SOURCE_DIR OUT_DIR          mode 1 against the DIB back-end (mode 3)
#   compare_drawcheck.sh BIN_DIR SOURCE_DIR OUT_DIR CAP      mode 1 with its textures capped to CAP
#                                                            (e.g. "256,square,aspect=1") against
#                                                            mode 1 with the device's own limits
#
# Tolerance: every pixel within 10 levels in each channel, except at most 1000
# pixels, all in the band of sprites (x 0-419, y 70-139). There the back-ends differ
# by design: Direct3D blends the plain and the keyed copies by texel alpha (the DIB
# copies them, transparent texels black), and it samples a scaled image at the
# nearest texel where the DIB steps through it in 8.8 fixed point. The same
# stepping makes the stretched backdrop's columns differ by one texel in places
# (a few levels: its texels step by 4 and 5). A device with small textures draws
# the images in tiles, and must stay within the same tolerance of a large one.
set -uo pipefail
bin=$(cd "$1" && pwd)
src=$(cd "$2" && pwd)
out=$3
cap=${4:-}
readonly kLevels=10 kMostOutside=0 kMostInBand=1000 kBand='rectangle 0,70 419,139'
readonly kCapVariable=TORV_D3D_TEXTURE_LIMITS  # CDx3DDraw::kTextureCapVariable

for f in drawcheck.exe tamDraw.dll tamDx3DDraw.dll tamDIBDraw.dll; do
  [ -f "$bin/$f" ] || { echo "SKIP: $f is not built"; exit 77; }
done
command -v compare >/dev/null || { echo "SKIP: ImageMagick is missing"; exit 77; }
mkdir -p "$out"

# shellcheck source=../../../scripts/wine-env.sh
source "$src/scripts/wine-env.sh"
wine_env_own_display 640x480 || { echo "FAIL: no display"; exit 1; }

# drawcheck NAME MODE [CAP]: the scene in MODE, with the Direct3D textures capped
# to CAP when given, into OUT_DIR/NAME.png. The comparison of a capped device draws
# only the scene: the shake checked next is the front-end's, and the comparison with
# mode 3 checks it.
drawcheck() {
  local name=$1 mode=$2 limits=${3:-}
  rm -f "$out/$name.png"
  if ! (cd "$bin" && env ${limits:+$kCapVariable=$limits} \
        timeout 120 wine drawcheck.exe "$mode" "Z:$out/$name.png" ${cap:+--scene-only} </dev/null 2>&1 |
        tr -d '\r'); then
    echo "FAIL: drawcheck.exe $mode ${limits:+with textures capped to $limits}"
    exit 1
  fi
  [ -f "$out/$name.png" ] || { echo "FAIL: $name wrote no picture"; exit 1; }
}

if [ -z "$cap" ]; then
  drawcheck mode1 1
  drawcheck mode3 3
  shown=mode1 reference=mode3 label="mode 1 against mode 3"
else
  # The cap reaches the renderer: with textures of at most 1 x 1 no image loads.
  refused=$(cd "$bin" && env "$kCapVariable=1" timeout 120 wine drawcheck.exe 1 "Z:$out/none.png" --scene-only \
    </dev/null 2>&1 | tr -d '\r')
  if ! grep -q 'image backdrop did not load' <<<"$refused"; then
    echo "FAIL: drawcheck.exe 1 with textures of 1 x 1 did not refuse its first image: $refused"
    exit 1
  fi
  drawcheck mode1 1
  drawcheck mode1-capped 1 "$cap"
  shown=mode1-capped reference=mode1 label="mode 1 with textures capped to $cap against mode 1"
fi

# Largest channel difference per pixel, and the pixels past the tolerance.
diff_max=(convert "$out/$shown.png" "$out/$reference.png" -compose difference -composite -depth 8 -separate
  -evaluate-sequence max)
over="-fx u>$kLevels.5/255"
total=$("${diff_max[@]}" $over -format '%[fx:round(mean*w*h)]' info:)
outside=$("${diff_max[@]}" $over -fill black -draw "$kBand" -format '%[fx:round(mean*w*h)]' info:)
largest=$("${diff_max[@]}" -format '%[fx:round(maxima*255)]' info:)
identical=$("${diff_max[@]}" -fx 'u>0' -format '%[fx:round((1-mean)*w*h)]' info:)
echo "$label: $identical of 307200 pixels identical; $total differ by more than $kLevels levels" \
  "($outside outside the sprite band); largest difference $largest"
[ "$outside" -le $kMostOutside ] || { echo "FAIL: $outside pixels outside the sprite band differ by more than $kLevels"; exit 1; }
[ "$total" -le $kMostInBand ] || { echo "FAIL: $total pixels differ by more than $kLevels"; exit 1; }
echo "PASS"
