#!/usr/bin/env bash
# torv.exe on the DirectDraw renderer: game_mode2.sh BIN_DIR SOURCE_DIR [SHOTS_DIR]
# "Draw" = "1" in "Setting.ini" starts the game on "tamDDDraw.dll" (the setting
# stays "1"; without the DLL the game falls back and writes "0"), and the title and
# a play frame look as with "Draw" = "0" (the DIB renderer): the title pixel for
# pixel, the play frame but for what moves between two runs (enemies, the clock).
# Exit 0 pass, 1 fail, 77 skipped (the game, a module or the archives not built).
set -uo pipefail
bin=$(cd "$1" && pwd)
src=$(cd "$2" && pwd)
shots=${3:-}
data=${TORV_DATA:-$src/build/data}

# The DirectDraw tests' own prefix, so no other game instance runs in its wineserver.
# shellcheck source=ddraw_test_env.sh
source "$src/tests/windows/draw_ddraw/ddraw_test_env.sh"

fail() { echo "FAIL [game mode 2]: $*"; exit 1; }
skip() { echo "SKIP [game mode 2]: $*"; exit 77; }
note() { echo "[game mode 2] $*"; }

# The game tests' helper that finds, measures and closes the game window.
probe_exe=test_torv_probe.exe
[ -f "$bin/$probe_exe" ] || probe_exe=torv_probe.exe
for f in torv.exe "$probe_exe" tamDraw.dll tamDDDraw.dll tamDIBDraw.dll tamSound.dll tamArc.dll tamDIJoy.dll; do
  [ -f "$bin/$f" ] || skip "$f is not built yet"
done
for a in dat.tfa sdat.tfa; do [ -f "$data/$a" ] || skip "$data/$a is not built yet"; done

work=$(mktemp -d /tmp/torv_ddraw_game.XXXXXX)
game_pid=""
cleanup() {
  [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null
  wine_env_stop
  rm -rf "$work"
}
trap cleanup EXIT
ddraw_env_start "$bin" "$src" 1024x768 || exit 1

cp "$bin/torv.exe" "$bin/$probe_exe" "$bin"/tam*.dll "$data"/*.tfa "$work/"

probe() { (cd "$work" && wine "$probe_exe" "$@" </dev/null 2>/dev/null | tr -d '\r'); }
setting() { tr -d '\r' <"$work/Setting.ini" | sed -n "s/^$1=//p" | tail -n 1; }

start_game() { # Draw value
  rm -f "$work/save.dat"
  printf '[Init]\r\nDraw=%s\r\nFullScreen=0\r\n' "$1" >"$work/Setting.ini"
  (cd "$work" && wine torv.exe </dev/null >/dev/null 2>&1) &
  game_pid=$!
  for _ in $(seq 200); do
    probe exists >/dev/null && return 0
    kill -0 "$game_pid" 2>/dev/null || fail "the game ended before its window appeared (Draw=$1)"
    sleep 0.1
  done
  fail "no game window after 20 s (Draw=$1)"
}

stop_game() {
  probe close >/dev/null || fail "no game window to close"
  for _ in $(seq 50); do kill -0 "$game_pid" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$game_pid" 2>/dev/null && fail "the game did not end after WM_CLOSE"
  game_pid=""
}

shot() { # output file: the game's client area
  local info x y
  info=$(probe window) || fail "no game window to photograph"
  read -r _ x y _ _ _ _ _ _ <<<"$info"
  import -window root "$work/screen.png" || fail "screenshot failed"
  convert "$work/screen.png" -crop "640x480+$x+$y" +repage "$1"
}

press() { # hold a key for a few frames
  local w
  w=$(xdotool search --name '^TORV$' 2>/dev/null | head -n 1)
  [ -n "$w" ] || fail "no X window of the game to send keys to"
  xdotool windowfocus --sync "$w" 2>/dev/null || true
  xdotool keydown "$1"
  sleep 0.15
  xdotool keyup "$1"
}

differing() { compare -metric AE "$1" "$2" null: 2>&1; }
colours() { convert "$1" -format '%k' info:; }

# One run: title after 2 s, play frame 2 s after "スタート".
run() { # Draw value, name
  start_game "$1"
  sleep 2
  shot "$work/$2-title.png"
  press z
  sleep 2
  shot "$work/$2-play.png"
  draw_after=$(setting Draw)
  stop_game
}

run 0 dib
[ "$draw_after" = 0 ] || fail "Draw=0 became '$draw_after'"
run 1 ddraw
[ "$draw_after" = 1 ] || fail "Draw=1 became '$draw_after': the DirectDraw renderer did not start"

# The same setting without the DirectDraw renderer falls back, so "1" above means it ran.
mv "$work/tamDDDraw.dll" "$work/tamDDDraw.dll.off"
start_game 1
sleep 1
draw_after=$(setting Draw)
stop_game
[ "$draw_after" = 0 ] || fail "without tamDDDraw.dll Draw=1 became '$draw_after', wanted the fallback's 0"

[ -n "$shots" ] && cp "$work"/{dib,ddraw}-{title,play}.png "$shots/"

title_colours=$(colours "$work/ddraw-title.png")
title_diff=$(differing "$work/ddraw-title.png" "$work/dib-title.png")
note "title: $title_colours colours, $title_diff pixels differ from Draw=0"
[ "$title_colours" -gt 16 ] || fail "the title shows only $title_colours colours"
[ "$title_diff" = 0 ] || fail "the title differs from Draw=0 in $title_diff pixels"

play_colours=$(colours "$work/ddraw-play.png")
play_diff=$(differing "$work/ddraw-play.png" "$work/dib-play.png")
note "play frame: $play_colours colours, $play_diff pixels differ from Draw=0"
[ "$play_colours" -gt 16 ] || fail "the play frame shows only $play_colours colours"
compare -metric AE "$work/ddraw-play.png" "$work/ddraw-title.png" null: >/dev/null 2>&1 &&
  fail "the play frame is the title: the game did not start"
# Two runs are not frame-locked: enemies and the clock may have moved, nothing more.
[ "$play_diff" -lt 3000 ] || fail "the play frame differs from Draw=0 in $play_diff pixels"
echo "PASS [game mode 2]"
