#!/usr/bin/env bash
# What a player can meet before the game starts, through the real program (SDL's
# dummy drivers; with no display to show it, the message box's text goes to stderr
# as well): each case's exit status and the message that names the cause.
#   archives not found, missing, damaged or cut short, no display: status 1;
#   a second instance: the "already running" message, status 0;
#   damaged "save.dat" and "Setting.ini": the game plays with the defaults.
# Usage: player_errors.sh TORV DATA_DIR
set -uo pipefail
torv=$1 data=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0

# half FILE: a copy of the archive cut in the middle of its members
mkdir -p "$work/empty" "$work/bad-dat" "$work/bad-sdat" "$work/lone/bin"
half() { head -c $(($(stat -c %s "$data/$1") / 2)) "$data/$1" >"$2/$1"; }
cp "$data/sdat.tfa" "$work/bad-dat/" && half dat.tfa "$work/bad-dat"
cp "$data/dat.tfa" "$work/bad-sdat/" && half sdat.tfa "$work/bad-sdat"
# The program alone, with no archives beside it (nor installed, unless the machine
# has the game installed: then that case is told apart below).
cp "$torv" "$work/lone/bin/torv"
echo '2 -' >"$work/script.txt"

# case NAME STATUS PATTERN [VAR=VALUE...] -- ARGS...: runs torv with a fresh player's
# folder (prepared by prepare_NAME when defined); stderr and stdout together must
# match the extended regular expression PATTERN.
case_() {
  local name=$1 want=$2 pattern=$3 home=$work/home-$1
  shift 3
  local env=()
  while [ "$1" != -- ]; do
    env+=("$1")
    shift
  done
  shift
  mkdir -p "$home/torv"
  if declare -F "prepare_$name" >/dev/null; then "prepare_$name" "$home/torv"; fi
  local out status program=$torv
  if [ "${1:-}" = --program ]; then
    program=$2
    shift 2
  fi
  # A case that never ends fails by its status (124).
  out=$(env -u DISPLAY -u WAYLAND_DISPLAY XDG_DATA_HOME="$home" SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy \
    "${env[@]}" timeout 60 "$program" "$@" 2>&1 </dev/null)
  status=$?
  if [ "$status" != "$want" ] || ! grep -qE "$pattern" <<<"$out"; then
    echo "FAIL: $name: status $status (want $want), output:"
    echo "$out"
    failed=1
  else
    echo "ok: $name: status $status: $(grep -E "$pattern" <<<"$out" | head -n 1)"
  fi
}

# shellcheck disable=SC2317 # called by name
prepare_damaged_player_files() {
  head -c 300 /dev/urandom >"$1/save.dat"
  printf '[Init\nDraw=\xff\xfe\nFullScreen=yes\n\0\0garbage' >"$1/Setting.ini"
}

if [ -f /usr/local/share/torv/dat.tfa ]; then
  echo "skipped: not_found (the game is installed in /usr/local/share/torv)"
else
  case_ not_found 1 "\"dat.tfa\" and \"sdat.tfa\" were not found in: $work/lone/bin/\.\./share/torv" \
    -- --program "$work/lone/bin/torv"
fi
case_ missing 1 "The archive \"$work/empty/dat.tfa\" is missing or damaged" -- --data "$work/empty"
case_ damaged_dat 1 "$work/bad-dat/dat.tfa" -- --data "$work/bad-dat"
case_ damaged_sdat 1 "$work/bad-sdat/sdat.tfa" -- --data "$work/bad-sdat"
case_ no_display 1 "The game needs a display" SDL_VIDEODRIVER=x11 -- --data "$data"
case_ damaged_player_files 0 '^result=stopped frames=2 ' -- --data "$data" --script "$work/script.txt"

# The lock held through another open file of it, as a running game holds it.
mkdir -p "$work/home-second_instance/torv"
exec 9>"$work/home-second_instance/torv/torv.lock"
flock -n 9 || { echo "FAIL: the test cannot take the lock itself"; exit 1; }
case_ second_instance 0 '既に起動しています' -- --data "$data" --script "$work/script.txt"
exec 9>&-

exit $failed
