#!/usr/bin/env bash
# Play end to end: play_case.sh BIN_DIR SOURCE_DIR
# The real torv.exe, modules and archives in a temporary folder, under wine64 on a
# private Xvfb, driven with key presses from outside (xdotool) and photographed with
# ImageMagick. Exit 0 pass, 1 fail, 77 skipped (something it needs is not built).
# TORV_PLAY_SHOT=<file>: also keep the screenshot of the first stage there.
set -uo pipefail
bin=$(cd "$1" && pwd)
src=$(cd "$2" && pwd)
data=${TORV_DATA:-$src/build/data}

work=""
fail() { echo "FAIL: $*"; exit 1; }
# The game tests' harness: their prefix and lock, folder, display, probe, start.
# shellcheck source=../game/game_harness.sh
source "$src/tests/windows/game/game_harness.sh"
game_harness_lock 200
skip() { echo "SKIP: $*"; exit 77; }
note() { echo "[play] $*"; }
cleanup() {
  wine_env_stop
  [ -n "$work" ] && rm -rf "$work"
}

for f in torv.exe test_torv_probe.exe tamDraw.dll tamDIBDraw.dll tamSound.dll tamArc.dll tamDIJoy.dll; do
  [ -f "$bin/$f" ] || skip "$f is not built yet"
done
for a in dat.tfa sdat.tfa; do [ -f "$data/$a" ] || skip "$data/$a is not built yet"; done

prepare /tmp/torv_play.XXXXXX
# The software renderer, so that the pictures are exact.
printf '[Init]\r\nDraw=0\r\n' >"$work/Setting.ini"
trap cleanup EXIT
start_display 1024x768
press() { # each key held for about nine frames, then released
  local w
  w=$(xdotool search --name '^TORV$' 2>/dev/null | head -n 1)
  [ -n "$w" ] || fail "no X window of the game"
  xdotool windowfocus --sync "$w" 2>/dev/null || true
  for k in "$@"; do
    xdotool keydown "$k"; sleep 0.15; xdotool keyup "$k"; sleep 0.25
  done
}
shot() { # the client area into $1
  local x y
  read -r _ x y _ _ _ _ _ _ <<<"$(probe window)" || fail "no game window to photograph"
  sleep 0.3
  import -window root "$work/screen.png" || fail "screenshot failed"
  convert "$work/screen.png" -crop "640x480+$x+$y" +repage "$1"
}
count() { # pixels of colour $2 in rectangle $3 (WxH+X+Y) of image $1
  convert "$1" -crop "$3" +repage -fill black +opaque "$2" -fill white -opaque "$2" \
    -format '%[fx:round(mean*w*h)]' info:
}
differ() { # pixels that differ between rectangle $3 of images $1 and $2
  compare -metric AE "$1[$3]" "$2[$3]" null: 2>&1 | cut -d' ' -f1
}
on_title() { # the title with its first item selected: red text in the item's place
  [ "$(count "$1" '#FF0000' 150x24+50+50)" -gt 20 ]
}
wait_title() {
  for _ in $(seq 40); do
    shot "$1"
    on_title "$1" && return 0
    sleep 0.5
  done
  fail "the title did not appear ($2)"
}
# The complemented text at offset $2 of file $1: its length, then its bytes.
text_at() {
  local n
  n=$(od -An -tu4 -j"$2" -N4 "$1" | xargs)
  [ "$n" -gt 0 ] 2>/dev/null || { echo ""; return; }
  od -An -tu1 -j$(($2 + 4)) -N"$n" "$1" | xargs -n1 | while read -r b; do printf "\\$(printf %o $((255 - b)))"; done
}
int_at() { od -An -td4 -j"$2" -N4 "$1" | xargs; }

start_game
wait_window
wait_title "$work/title.png" "first start"

# Start: the first stage with its status bar.
press z
sleep 1.5
shot "$work/stage.png"
changed=$(differ "$work/title.png" "$work/stage.png" 640x432+0+0)
note "$changed pixels of the play area differ from the title"
[ "$changed" -gt 100000 ] 2>/dev/null || fail "the start item did not start the stage"
bar_text=$(count "$work/stage.png" '#FFFFFF' 640x40+0+440)
note "status bar: $bar_text white text pixels"
[ "$bar_text" -gt 150 ] || fail "the status bar shows no text"
[ -n "${TORV_PLAY_SHOT:-}" ] && cp "$work/stage.png" "$TORV_PLAY_SHOT"

# The pause menu over the frozen stage: " - PAUSE - " in white near y 200.
press Escape
shot "$work/pause.png"
pause_text=$(count "$work/pause.png" '#FFFFFF' 200x80+220+196)
note "pause menu: $pause_text white text pixels"
[ "$pause_text" -gt 100 ] || fail "the pause key did not open the pause menu"
[ ! -f "$work/save.dat" ] || fail "a save.dat exists before saving"

# Save to file 3: down to the save item, right twice, decide; the confirmation waits
# for the decide key again.
press Down Right Right z
shot "$work/saved.png"
press z
sleep 0.5
[ -f "$work/save.dat" ] || fail "saving wrote no save.dat"
size=$(stat -c %s "$work/save.dat")
# Slots of 40 bytes when empty; file 3 is slot 2, after the 16-byte tag, 10 key bytes
# and two empty slots.
slot3=$((16 + 10 + 40 + 40))
file=$(text_at "$work/save.dat" $slot3)
note "save.dat: $size bytes, file 3 holds stage file '$file'"
[ "$file" = 0001.afb ] || fail "file 3 holds '$file', wanted 0001.afb"
archive_at=$((slot3 + 4 + 8))
[ "$(text_at "$work/save.dat" $archive_at)" = sdat.tfa ] || fail "file 3's archive is not sdat.tfa"
title_len=$(int_at "$work/save.dat" $((archive_at + 4 + 8)))
numbers=$((archive_at + 4 + 8 + 4 + title_len + 4 + 8))
values="$(int_at "$work/save.dat" $numbers) $(int_at "$work/save.dat" $((numbers + 4))) $(int_at "$work/save.dat" $((numbers + 12))) $(int_at "$work/save.dat" $((numbers + 20)))"
note "file 3: fire, ice, lives, stage number = $values"
[ "$values" = "15 15 5 1" ] || fail "file 3 holds '$values', wanted '15 15 5 1'"
[ "$size" = $((386 + 8 + 8 + title_len + 8)) ] || fail "save.dat is $size bytes"

# Back to the title from the pause menu (its selection is back on the first item).
press Down Down z
wait_title "$work/title2.png" "after the pause menu's return to the title"

# Continue from file 3: the same stage again.
press Down Right Right z
sleep 1.5
shot "$work/continued.png"
same=$(differ "$work/stage.png" "$work/continued.png" 640x432+0+0)
note "continued stage: $same pixels of the play area differ from the first start"
[ "$same" -lt 20000 ] 2>/dev/null || fail "continuing from file 3 did not show the stage again ($same pixels differ)"

# Closing the window mid-stage ends the process cleanly.
probe close || fail "no game window to close"
for _ in $(seq 50); do [ -f "$last_exit_file" ] && break; sleep 0.1; done
[ -f "$last_exit_file" ] || fail "the game did not end within 5 s of closing its window"
code=$(cat "$last_exit_file")
[ "$code" = 0 ] || fail "exit code $code"
echo "PASS: play, pause, save to file 3, continue, close"
