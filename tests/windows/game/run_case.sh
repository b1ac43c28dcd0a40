#!/usr/bin/env bash
# One end-to-end case of torv.exe: run_case.sh CASE BIN_DIR SOURCE_DIR
# The real executable, modules and archives are copied into a temporary folder; the
# game runs under wine64 on a private Xvfb of the size the case needs, with a Wine
# prefix of its own (build/win64/wineprefix-game). Exit 0 pass, 1 fail, 77 skipped
# (a module or archive that the case needs is not built yet).
set -uo pipefail
case_name=$1
bin=$(cd "$2" && pwd)
src=$(cd "$3" && pwd)
data=${TORV_DATA:-$src/build/data}
tfa_tool=${TORV_TFA:-$src/build/native/bin/tfa}

work=""
game_pid=""
fail() { echo "FAIL [$case_name]: $*"; exit 1; }
# shellcheck source=game_harness.sh
source "$src/tests/windows/game/game_harness.sh"
game_harness_lock 150
skip() { echo "SKIP [$case_name]: $*"; exit 77; }
note() { echo "[$case_name] $*"; }

cleanup() {
  [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null
  wine_env_stop
  [ -n "$work" ] && rm -rf "$work"
}
trap cleanup EXIT

modules=(tamDraw.dll tamDIBDraw.dll tamSound.dll tamArc.dll tamDIJoy.dll)
need_modules() {
  for f in torv.exe test_torv_probe.exe "${modules[@]}"; do
    [ -f "$bin/$f" ] || skip "$f is not built yet"
  done
}
need_archives() {
  for a in dat.tfa sdat.tfa; do [ -f "$data/$a" ] || skip "$data/$a is not built yet"; done
}

# Waits up to $1 seconds for the last started game to end; prints its exit code.
wait_exit() {
  local tenths=$(($1 * 10))
  for _ in $(seq "$tenths"); do
    if [ -f "$last_exit_file" ]; then cat "$last_exit_file"; return 0; fi
    sleep 0.1
  done
  return 1
}

setting() { # key: the value in Setting.ini, empty when absent
  [ -f "$work/Setting.ini" ] || return 0
  tr -d '\r' <"$work/Setting.ini" | sed -n "s/^$1=//p" | tail -n 1
}

expect_box() { # expected "caption|text"
  local got
  got=$(probe box 20) || fail "no message box appeared (wanted '$1')"
  [ "$got" = "$1" ] || fail "message box '$got', wanted '$1'"
  note "box: $got"
}

game_xid() { xdotool search --name '^TORV$' 2>/dev/null | head -n 1; }

press() { # hold each key given for a few frames, one after another
  local w
  w=$(game_xid)
  [ -n "$w" ] || fail "no X window of the game to send keys to"
  xdotool windowfocus --sync "$w" 2>/dev/null || true
  for k in "$@"; do
    xdotool keydown "$k"
    sleep 0.15
    xdotool keyup "$k"
    sleep 0.25
  done
}

# Screenshot of the game's client area: $1 output file.
client_shot() {
  local info x y
  info=$(probe window) || fail "no game window to photograph"
  read -r _ x y _ _ _ _ _ _ <<<"$info"
  sleep 0.3
  import -window root "$work/screen.png" || fail "screenshot failed"
  convert "$work/screen.png" -crop "640x480+$x+$y" +repage "$1"
}

# Number of pixels of colour $2 (e.g. "#FF0000") in the rectangle WxH+X+Y ($3) of image $1.
count_colour() {
  convert "$1" -crop "$3" +repage -fill black +opaque "$2" -fill white -opaque "$2" \
    -format '%[fx:round(mean*w*h)]' info:
}

item_area() { echo "150x24+50+$((50 + 24 * $1))"; }
red_items() { # the items that hold red text in image $1
  local out="" i
  for i in 0 1 2 3; do [ "$(count_colour "$1" '#FF0000' "$(item_area $i)")" -gt 20 ] && out+="$i"; done
  echo "$out"
}
wait_title() { # $1: screenshot file; waits until the title shows its first item selected
  local _
  for _ in $(seq 30); do
    client_shot "$1"
    [ "$(red_items "$1")" = 0 ] && return 0
    sleep 0.5
  done
  fail "the title menu did not appear within 15 s"
}

close_game_timed() {
  local start end code
  probe close || fail "no game window to close"
  start=$(date +%s%N)
  code=$(wait_exit 5) || fail "the game did not end within 5 s of WM_CLOSE"
  end=$(date +%s%N)
  local ms=$(((end - start) / 1000000))
  note "ended ${ms} ms after WM_CLOSE with exit code $code"
  [ "$code" = 0 ] || fail "exit code $code, wanted 0"
  # The game itself needs about a tenth of a second (one frame, then the modules'
  # shutdown); the bound leaves room for a busy shared machine without letting a
  # stuck wait (a slice of seconds) pass.
  [ "$ms" -le 2000 ] || fail "took ${ms} ms to end, wanted at most 2000"
  game_pid=""
}

case $case_name in
start_without_settings)
  need_modules; need_archives; prepare; start_display 1024x768
  [ ! -f "$work/Setting.ini" ] || fail "stale Setting.ini"
  start_game; wait_window
  if box=$(probe box 2); then fail "unexpected message box '$box'"; fi
  draw=$(setting Draw)
  note "Setting.ini Draw=$draw FullScreen=$(setting FullScreen)"
  case $draw in
    2) [ -f "$work/tamDx3DDraw.dll" ] || fail "Draw=2 without the Direct3D back-end" ;;
    1) [ -f "$work/tamDDDraw.dll" ] || fail "Draw=1 without the DirectDraw back-end" ;;
    0) ;;
    *) fail "Draw='$draw' after a start without settings" ;;
  esac
  [ -z "$(setting FullScreen)" ] || fail "FullScreen written without a display switch"
  read -r _ _ _ w h _ caption _ visible <<<"$(probe window)"
  [ "$w $h $caption $visible" = "640 480 1 1" ] || fail "window client ${w}x$h caption $caption visible $visible"
  close_game_timed
  ;;
second_instance)
  need_modules; need_archives; prepare; start_display 1024x768
  start_game; wait_window
  first=$last_exit_file
  start_game
  expect_box "TORV|既に起動しています"
  code=$(wait_exit 10) || fail "the second instance did not end"
  [ "$code" = 0 ] || fail "second instance exit code $code"
  [ ! -f "$first" ] || fail "the first instance ended too"
  probe exists >/dev/null || fail "the first instance lost its window"
  last_exit_file=$first
  close_game_timed
  ;;
missing_joystick_module)
  need_modules; prepare; start_display 1024x768
  rm -f "$work/tamDIJoy.dll"
  start_game
  expect_box "TORV|ゲームクラスの作成に失敗しました"
  code=$(wait_exit 10) || fail "the game did not end after the box"
  [ "$code" = 0 ] || fail "exit code $code"
  ;;
sound_module_without_setvolume)
  need_modules; [ -f "$bin/test_fake_tamSound.dll" ] || skip "test_fake_tamSound.dll not built"
  prepare; start_display 1024x768
  cp "$bin/test_fake_tamSound.dll" "$work/tamSound.dll"
  start_game
  expect_box "TORV|DLLがロード出来ませんでした"
  expect_box "TORV|ゲームクラスの作成に失敗しました"
  code=$(wait_exit 10) || fail "the game did not end after the boxes"
  [ "$code" = 0 ] || fail "exit code $code"
  [ ! -f "$work/Setting.ini" ] || fail "Setting.ini written although start-up stopped before the drawing mode"
  ;;
archive_without_timep)
  need_modules; need_archives; [ -x "$tfa_tool" ] || skip "the native tfa tool is not built"
  prepare; start_display 1024x768
  members=$work/members
  mkdir -p "$members"
  "$tfa_tool" unpack "$work/dat.tfa" "$members" >/dev/null || fail "cannot unpack dat.tfa"
  [ -f "$members/timep.ogg" ] || fail "dat.tfa has no timep.ogg to remove"
  mapfile -t order < <("$tfa_tool" list "$work/dat.tfa" | awk '{print $NF}')
  files=()
  for m in "${order[@]}"; do [ "$m" != timep.ogg ] && files+=("$members/$m"); done
  rm -f "$work/dat.tfa"
  "$tfa_tool" pack "$work/dat.tfa" "${files[@]}" >/dev/null || fail "cannot repack dat.tfa"
  start_game
  expect_box "|初期化NG"
  expect_box "TORV|ゲームクラスの作成に失敗しました"
  code=$(wait_exit 10) || fail "the game did not end after the boxes"
  [ "$code" = 0 ] || fail "exit code $code"
  ;;
title_screen | title_keys | key_configuration)
  need_modules; need_archives; [ -x "$tfa_tool" ] || skip "the native tfa tool is not built"
  prepare; start_display 1024x768
  "$tfa_tool" extract "$work/dat.tfa" menu.PNG "$work/menu.png" >/dev/null || fail "no menu.PNG in dat.tfa"
  convert "$work/menu.png" -crop 640x480+0+0 +repage "$work/menu_full.png"
  check_title() { # $1 screenshot of the title with the first item selected, $2 the drawing mode
    # The menu picture fills the screen wherever no item is written: exact in the
    # software modes; Direct3D samples the picture as a texture, so there pixels on
    # sharp edges may differ (at most 10 % of them).
    local diff allowed=0
    diff=$(compare -metric AE "$work/menu_full.png[340x200+300+280]" "$1[340x200+300+280]" null: 2>&1)
    [ "$2" -ge 2 ] && allowed=6800
    note "mode $2: $diff background pixels differ from menu.PNG (at most $allowed allowed)"
    [ "$diff" -le "$allowed" ] 2>/dev/null || fail "$diff pixels of the background differ from menu.PNG in mode $2"
    [ "$(red_items "$1")" = 0 ] || fail "selected items '$(red_items "$1")', wanted 0"
    local i
    for i in 0 1 2 3; do
      [ "$i" = 0 ] || [ "$(count_colour "$1" '#FFFFFF' "$(item_area $i)")" -gt 20 ] || fail "item $i has no white text"
      [ "$(count_colour "$1" '#000000' "151x25+50+$((51 + 24 * i))")" -gt 20 ] || fail "item $i has no black shadow"
    done
  }
  if [ "$case_name" = title_screen ]; then
    # Each drawing mode in turn, as "Draw" in the settings names it.
    for draw in 0 1 2; do
      printf '[Init]\r\nDraw=%s\r\n' "$draw" >"$work/Setting.ini"
      start_game; wait_window; wait_title "$work/title$draw.png"
      started=$(setting Draw)
      [ "$started" = "$draw" ] || note "Draw=$draw did not start; mode $started did"
      check_title "$work/title$draw.png" "$started"
      if [ -n "${TORV_TITLE_SHOT:-}" ] && [ "$started" = 0 ]; then cp "$work/title0.png" "$TORV_TITLE_SHOT"; fi
      close_game_timed
    done
    echo "PASS [$case_name]"
    exit 0
  fi
  start_game; wait_window; wait_title "$work/title.png"
  if [ "$case_name" = title_keys ]; then
    press Down; client_shot "$work/s1.png"
    [ "$(red_items "$work/s1.png")" = 1 ] || fail "after Down: '$(red_items "$work/s1.png")'"
    press Up Up; client_shot "$work/s2.png"
    [ "$(red_items "$work/s2.png")" = 3 ] || fail "after Up Up: '$(red_items "$work/s2.png")'"
    press Down; client_shot "$work/s3.png"
    [ "$(red_items "$work/s3.png")" = 0 ] || fail "after Down from exit: '$(red_items "$work/s3.png")'"
    # The exit item ends the program through the window thread.
    press Up z
    code=$(wait_exit 5) || fail "the exit item did not end the game"
    [ "$code" = 0 ] || fail "exit code $code"
    game_pid=""
  fi
  if [ "$case_name" = key_configuration ]; then
    [ ! -f "$work/save.dat" ] || fail "stale save.dat"
    exit_area="60x24+200+220"
    [ "$(count_colour "$work/title.png" '#FFFFFF' "$exit_area")" -lt 5 ] || fail "the title shows text at Exit's place"
    press Down Down z
    client_shot "$work/k1.png"
    [ "$(count_colour "$work/k1.png" '#FFFFFF' "$exit_area")" -gt 20 ] || fail "the key configuration screen did not open"
    # No pad here: the pad column is not drawn.
    [ "$(count_colour "$work/k1.png" '#FFFFFF' "120x144+350+76")" -lt 5 ] || fail "a pad column is drawn without a pad"
    # Jump row, A; then up twice to "Exit" and decide with Z, still the decide key.
    press Down a Up Up z
    sleep 0.5
    [ -f "$work/save.dat" ] || fail "Exit wrote no save.dat"
    size=$(stat -c %s "$work/save.dat")
    keys=$(od -An -tu1 -j16 -N10 "$work/save.dat" | xargs)
    note "save.dat: $size bytes, keys $keys"
    [ "$size" = 386 ] || fail "save.dat is $size bytes"
    [ "$keys" = "16 65 88 67 27 0 1 2 3 4" ] || fail "keys '$keys'"
    client_shot "$work/k2.png"
    [ "$(red_items "$work/k2.png")" = 0 ] || fail "not back on the title's first item"
    # A now decides: down to the key configuration and A opens it.
    press Down Down a
    client_shot "$work/k3.png"
    [ "$(count_colour "$work/k3.png" '#FFFFFF' "$exit_area")" -gt 20 ] || fail "A did not decide"
    close_game_timed
  fi
  [ -z "$game_pid" ] || close_game_timed
  ;;
started_elsewhere)
  # Started from another folder under a name whose Shift-JIS form holds the byte of
  # a backslash ("表" is 95 5C): the game must still make its own folder current,
  # or it finds neither its archives nor its settings.
  need_modules; need_archives; prepare; start_display 1024x768
  [ "${LANG:-}" = ja_JP.UTF-8 ] || skip "no Japanese locale: the code page is not 932"
  mv "$work/torv.exe" "$work/表.exe"
  start_game /tmp "表.exe"; wait_window
  if box=$(probe box 3); then fail "unexpected message box '$box'"; fi
  [ -n "$(setting Draw)" ] || fail "no Setting.ini in the program's folder"
  close_game_timed
  ;;
close_during_play)
  need_modules; need_archives; prepare; start_display 1024x768
  start_game; wait_window; wait_title "$work/title.png"
  press z
  sleep 1
  client_shot "$work/play.png"
  diff=$(compare -metric AE "$work/title.png" "$work/play.png" null: 2>&1)
  note "$diff pixels changed from the title to the first stage"
  [ "${diff%% *}" -gt 100000 ] 2>/dev/null || fail "the start item did not leave the title ($diff pixels changed)"
  close_game_timed
  ;;
fullscreen_refused)
  need_modules; need_archives; prepare; start_display 1024x768
  start_game; wait_window; wait_title "$work/title.png"
  before=$(probe window)
  w=$(game_xid); xdotool windowfocus --sync "$w" 2>/dev/null || true
  xdotool keydown alt keydown Return; sleep 3; xdotool keyup Return keyup alt; sleep 1
  after=$(probe window)
  note "window before '$before', after '$after'"
  [ "$before" = "$after" ] || fail "the window changed although the display change was refused"
  [ -z "$(setting FullScreen)" ] || fail "FullScreen=$(setting FullScreen) written"
  close_game_timed
  ;;
fullscreen_switch)
  need_modules; need_archives; prepare; start_display 640x480
  start_game; wait_window; wait_title "$work/title.png"
  w=$(game_xid); xdotool windowfocus --sync "$w" 2>/dev/null || true
  xdotool keydown alt keydown Return; sleep 3; xdotool keyup Return keyup alt; sleep 1
  info=$(probe window)
  note "after Alt+Enter: $info; FullScreen=$(setting FullScreen)"
  [ "$info" = "client 0 0 640 480 caption 0 visible 1" ] || fail "not full screen: $info"
  [ "$(setting FullScreen)" = 1 ] || fail "FullScreen='$(setting FullScreen)'"
  close_game_timed
  start_game; wait_window; sleep 1
  info=$(probe window)
  note "next start: $info"
  [ "$info" = "client 0 0 640 480 caption 0 visible 1" ] || fail "the next start is not full screen: $info"
  close_game_timed
  ;;
*)
  fail "unknown case"
  ;;
esac
echo "PASS [$case_name]"
