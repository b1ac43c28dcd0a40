#!/usr/bin/env bash
# torv.exe in the Direct3D modes, end to end: game_modes.sh CASE BIN_DIR SOURCE_DIR
#   default  no "Setting.ini": the game starts with Direct3D and writes "Draw"=2
#   draw2    "Draw"=2: Direct3D with 32-bit textures, the title picture exact
#   draw3    "Draw"=3: Direct3D with 16-bit textures ("Draw" stays 3), every
#            channel of the title picture cut to its high 4 bits
# Runs like the game's own end-to-end cases (tests/windows/game): a player's folder
# in a temporary directory, that harness's Wine prefix and lock, a private Xvfb.
# Exit 0 pass, 1 fail, 77 skipped (the game, a module or the archives not built).
set -uo pipefail
case_name=$1
bin=$(cd "$2" && pwd)
src=$(cd "$3" && pwd)
data=${TORV_DATA:-$src/build/data}
tfa_tool=${TORV_TFA:-$src/build/native/bin/tfa}
say() { echo "[$case_name] $*"; }
fail() { echo "FAIL [$case_name]: $*"; exit 1; }

for f in torv.exe test_torv_probe.exe tamDraw.dll tamDx3DDraw.dll tamDIBDraw.dll tamSound.dll tamArc.dll tamDIJoy.dll; do
  [ -f "$bin/$f" ] || { echo "SKIP [$case_name]: $f is not built"; exit 77; }
done
for f in "$data/dat.tfa" "$data/sdat.tfa" "$tfa_tool"; do
  [ -f "$f" ] || { echo "SKIP [$case_name]: $f is not built"; exit 77; }
done

# shellcheck source=../game/game_harness.sh
source "$src/tests/windows/game/game_harness.sh"
game_harness_lock 150

prepare /tmp/torv_d3d.XXXXXX
finish() {
  [ -f "${last_exit_file:-}" ] || probe close >/dev/null 2>&1
  wine_env_stop
  rm -rf "$work"
}
case $case_name in
default) ;;
draw2) printf '[Init]\r\nDraw=2\r\n' >"$work/Setting.ini" ;;
draw3) printf '[Init]\r\nDraw=3\r\n' >"$work/Setting.ini" ;;
*) fail "unknown case" ;;
esac
"$tfa_tool" extract "$work/dat.tfa" menu.PNG "$work/menu.png" >/dev/null || fail "no menu.PNG in dat.tfa"

trap finish EXIT
start_display 1024x768
start_game
wait_window
read -r _ x y _ _ _ _ _ _ <<<"$(probe window)"

# The title's background where no menu item is written: the picture itself, or
# with 16-bit textures each channel's high 4 bits widened again (v >> 4) * 17.
area=340x200+300+280
convert "$work/menu.png" -crop "$area" +repage "$work/expected.png"
if [ "$case_name" = draw3 ]; then
  convert "$work/expected.png" -fx 'floor(u*255/16)*17/255' "$work/expected.png"
fi
# The window shows before its first title frame, and a busy machine may take seconds
# to draw it: look until the picture is there, or give up after a minute.
differ=""
for _ in $(seq 60); do
  import -window root "$work/screen.png" || fail "no screenshot"
  convert "$work/screen.png" -crop "640x480+$x+$y" +repage -crop "$area" +repage "$work/shown.png"
  differ=$(compare -metric AE "$work/shown.png" "$work/expected.png" null: 2>&1)
  [ "$differ" = 0 ] && break
  sleep 1
done
draw=$(tr -d '\r' <"$work/Setting.ini" | sed -n 's/^Draw=//p' | tail -n 1)
say "Setting.ini Draw=$draw; client area at ($x, $y)"
want_draw=2
[ "$case_name" = draw3 ] && want_draw=3
[ "$draw" = "$want_draw" ] || fail "Draw=$draw after the start, wanted $want_draw (another drawing mode started)"
say "$differ of 68000 background pixels differ from the expected picture"
[ "$differ" = 0 ] || fail "the title's background is not the expected picture"

probe close >/dev/null || fail "no game window to close"
for _ in $(seq 50); do [ -f "$last_exit_file" ] && break; sleep 0.1; done
[ "$(cat "$last_exit_file" 2>/dev/null)" = 0 ] || fail "the game did not end with exit code 0 after WM_CLOSE"
echo "PASS [$case_name]"
