#!/usr/bin/env bash
# The native game played as a player would, on a private Xvfb display with xdotool:
# the title appears, start, fire once (one shot less), pause, save to file 3, back to
# the title, continue from file 3 (the shot is still missing), back to the title,
# exit. Each step waits for the picture torvsim --title draws for the same keys
# (the window is read and scaled back to the game's size). Afterwards "save.dat" is
# read with the game's reader, and kept in OUT_DIR for the Windows reader's test.
# Usage: xvfb_player.sh TORV TORVSIM SAVE_CHECK DATA_DIR OUT_DIR
set -uo pipefail
torv=$1 torvsim=$2 save_check=$3 data=$4 out=$5
work=$(mktemp -d)
game=""
# shellcheck source=SCRIPTDIR/../../../../scripts/private-display.sh
source "$(dirname "$0")/../../../../scripts/private-display.sh"
cleanup() {
  [ -n "$game" ] && kill "$game" 2>/dev/null
  private_display_stop
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*"
  [ -f "$work/shot.png" ] && cp "$work/shot.png" "$out/last-shot.png" && echo "(last window picture: $out/last-shot.png)"
  exit 1
}
mkdir -p "$out" "$work/refs"
export XDG_DATA_HOME=$work/home

# --- the pictures to expect, drawn by torvsim from the same keys ---------------
# ref NAME [--save FILE] KEYS...: the last picture of a run from the title with
# these keys, each pressed for one frame and released for one.
ref() {
  local name=$1
  shift
  local save=()
  if [ "${1:-}" = --save ]; then
    save=(--save "$2")
    shift 2
  fi
  {
    echo "1 -"
    for k in "$@"; do
      case $k in
        wait) echo "90 -" ;;
        *) printf '1 %s\n1 -\n' "$k" ;;
      esac
    done
  } >"$work/$name.txt"
  rm -rf "$work/png"
  "$torvsim" --data "$data" --title --script "$work/$name.txt" "${save[@]}" --png "$work/png" >/dev/null ||
    fail "torvsim could not draw '$name'"
  cp "$(ls "$work"/png/frame_*.png | tail -n 1)" "$work/refs/$name.png"
}
ref title
ref play J wait A wait
ref pause J wait A wait P
ref pause_file3 J wait A wait P D R R
ref saved J wait A wait P D R R J
ref pause_to_title J wait A wait P D D
ref title_exit U

# --- the display and the game --------------------------------------------------
private_display_start 1920x1080 || fail "Xvfb did not start"

# The X11, GL and D-Bus client libraries keep a few allocations to the end of the
# process; the game's own memory is checked by the headless test (dummy drivers).
ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0 SDL_AUDIODRIVER=dummy \
  "$torv" --data "$data" >"$work/torv.log" 2>&1 &
game=$!
window=$(timeout 30 xdotool search --sync --onlyvisible --name '^TORV$' 2>/dev/null | head -n 1)
[ -n "$window" ] || fail "no window titled TORV appeared"
read -r width height < <(xdotool getwindowgeometry "$window" | sed -n 's/.*Geometry: \([0-9]*\)x\([0-9]*\).*/\1 \2/p')
scale=$((width / 640))
echo "window ${width}x${height} (picture x$scale)"
[ "$width" -eq $((640 * scale)) ] && [ "$height" -eq $((480 * scale)) ] || fail "window ${width}x${height} is no whole multiple"
[ "$scale" -eq 2 ] || fail "a 1920x1080 desktop should start the picture at twice its size"
xdotool windowfocus --sync "$window"

# A key released before the game's next frame has taken its events is never seen
# (as on Windows), and a busy machine can hold a frame back for a few hundred ms;
# every key the test presses acts once per press however long it is held.
press() {
  for k in "$@"; do
    xdotool keydown "$k"
    sleep 0.5
    xdotool keyup "$k"
    sleep 0.15
  done
}
# differing PICTURE_A PICTURE_B [CROP]: how many pixels differ (in CROP when given)
differing() {
  local a=$1 b=$2
  if [ -n "${3:-}" ]; then
    convert "$a" -crop "$3" +repage "$work/a.png"
    convert "$b" -crop "$3" +repage "$work/b.png"
    a=$work/a.png b=$work/b.png
  fi
  compare -metric AE "$a" "$b" null: 2>&1 | cut -d' ' -f1
}
# see NAME [CROP...]: waits until the window shows reference NAME (within each crop)
see() {
  local name=$1 n
  shift
  local crops=("$@")
  [ ${#crops[@]} -gt 0 ] || crops=("")
  local until=$((SECONDS + 40))
  while [ $SECONDS -lt $until ]; do
    import -window "$window" "$work/full.png" 2>/dev/null &&
      convert "$work/full.png" -sample "$((100 / scale))%" "$work/shot.png" || { sleep 0.2; continue; }
    local all=0
    for crop in "${crops[@]}"; do
      n=$(differing "$work/refs/$name.png" "$work/shot.png" "$crop")
      [ "$n" = 0 ] || all=1
    done
    if [ $all = 0 ]; then
      echo "seen: $name"
      return 0
    fi
    sleep 0.2
  done
  fail "the window never showed '$name' ($n pixels differ)"
}
stage=640x432+0+0    # the stage, without the status bar (its clock runs)
ammo=72x14+375+442   # "炎 X 015": the attack mode and its shots

see title
press z
sleep 1.5
press x
see play "$stage" "$ammo"
press Escape
see pause "$stage" "$ammo"
press Down Right Right
see pause_file3 "$stage"
press z
see saved "$stage"
# The confirmation stays until the decide key is pressed again; the file is written then.
press z
see pause "$stage"
[ -f "$XDG_DATA_HOME/torv/save.dat" ] || fail "no save.dat in \$XDG_DATA_HOME/torv"
press Down Down
see pause_to_title "$stage"
press z
see title

cp "$XDG_DATA_HOME/torv/save.dat" "$work/saved.dat"
ref continue3 --save "$work/saved.dat" D R R
ref continue3_play --save "$work/saved.dat" D R R J wait
press Down Right Right
see continue3
press z
see continue3_play "$stage" "$ammo"
# The continued game has the shot fired before saving still missing.
[ "$(differing "$work/refs/continue3_play.png" "$work/refs/play.png" "$ammo")" = 0 ] ||
  fail "the references disagree about the shots"
press Escape Down Down z
see title
press Up
see title_exit
press z
for _ in $(seq 100); do
  kill -0 "$game" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$game" 2>/dev/null && fail "the game did not end after its exit item"
wait "$game"
status=$?
game=""
[ "$status" = 0 ] || fail "the game ended with status $status: $(cat "$work/torv.log")"
echo "the game ended with status 0"

# --- the save file --------------------------------------------------------------
cp "$XDG_DATA_HOME/torv/save.dat" "$out/save.dat"
"$save_check" "$out/save.dat" >"$work/check.txt" || fail "the game's reader refuses save.dat: $(cat "$work/check.txt")"
cat "$work/check.txt"
cp "$work/check.txt" "$out/save_check.txt"
grep -q '^keys 16 90 88 67 27 pads 0 1 2 3 4$' "$work/check.txt" || fail "the keys are not the defaults"
grep -q '^file 3: stage=0001.afb archive=sdat.tfa .* next=0002.afb fire=14 ice=15 score=0 lives=5 water=0 number=1$' \
  "$work/check.txt" || fail "file 3 does not hold the game as it was saved"
[ "$(grep -c ': empty$' "$work/check.txt")" = 8 ] || fail "files other than 3 are not empty"
echo "PASS: played, saved to file 3, continued from it; save.dat read back (kept in $out)"
