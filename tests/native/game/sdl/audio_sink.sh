#!/usr/bin/env bash
# The game's sound reaching a real audio device: a private PulseAudio server with a
# null sink (scripts/pulse-null.sh), its monitor recorded while the game plays.
#  1. Music: the piece chosen for the first stage (the seed fixes which) is found in
#     the recording sample for sample, at full volume and without clipping.
#  2. Effects: with the music pieces taken out of the archive (the music then stays
#     silent, as when a piece cannot be read), the jump effect is found the same way,
#     and nothing else sounds.
#  3. No audio at all (no server to connect to): the game says so and still plays.
# Usage: audio_sink.sh TORV SOUND_CHECK TFA DATA_DIR SOURCE_DIR
set -uo pipefail
torv=$1 sound_check=$2 tfa=$3 data=$4 src=$5
work=$(mktemp -d)
recorder=""
cleanup() {
  [ -n "$recorder" ] && kill "$recorder" 2>/dev/null
  bash "$src/scripts/pulse-null.sh" stop "$work/pulse"
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*"
  exit 1
}
server=$(bash "$src/scripts/pulse-null.sh" start "$work/pulse") || fail "no PulseAudio server"
export XDG_DATA_HOME=$work/home SDL_VIDEODRIVER=dummy
# The X11 and D-Bus client libraries are not used here; the sound libraries keep a
# few allocations to the end of the process.
export ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0

# Title, start (the music begins), two seconds of play, a jump, a second more.
printf '20 -\n1 J\n1 -\n120 -\n4 J\n60 -\n' >"$work/script.txt"
# play DATA RECORDING: runs the script with the game's sound going to the sink.
play() {
  PULSE_SERVER=$server parec -d torv_null.monitor --format=s16le --rate=44100 --channels=2 --raw >"$2" &
  recorder=$!
  sleep 0.3
  PULSE_SERVER=$server SDL_AUDIODRIVER=pulseaudio "$torv" --data "$1" --seed 1 --script "$work/script.txt" \
    >"$work/out.txt" 2>"$work/err.txt" || fail "the game failed: $(cat "$work/err.txt")"
  sleep 0.3
  kill "$recorder"
  wait "$recorder" 2>/dev/null
  recorder=""
}

# Seed 1 picks the second piece for the first stage.
"$tfa" extract "$data/dat.tfa" BGM2.ogg "$work/BGM2.ogg" >/dev/null || fail "no BGM2.ogg"
"$tfa" extract "$data/dat.tfa" jump.ogg "$work/jump.ogg" >/dev/null || fail "no jump.ogg"
play "$data" "$work/music.raw"
"$sound_check" "$work/music.raw" "$work/BGM2.ogg" 4096 || fail "the music did not reach the sink"

mkdir -p "$work/members" "$work/quiet"
"$tfa" unpack "$data/dat.tfa" "$work/members" >/dev/null || fail "cannot unpack dat.tfa"
members=()
while read -r _ _ title; do
  case $title in BGM[2-5].ogg) ;; *) members+=("$work/members/$title") ;; esac
done < <("$tfa" list "$data/dat.tfa")
"$tfa" pack "$work/quiet/dat.tfa" "${members[@]}" >/dev/null || fail "cannot pack the quiet archive"
cp "$data/sdat.tfa" "$work/quiet/"
play "$work/quiet" "$work/effects.raw"
"$sound_check" "$work/effects.raw" "$work/jump.ogg" 2048 --alone || fail "the jump effect did not reach the sink"

PULSE_SERVER=unix:$work/no-such-server SDL_AUDIODRIVER=pulseaudio "$torv" --data "$data" \
  --script "$work/script.txt" >"$work/out.txt" 2>"$work/err.txt" || fail "the game failed without audio"
grep -q 'no sound' "$work/err.txt" || fail "the game did not say it has no sound: $(cat "$work/err.txt")"
grep -q '^result=stopped frames=206 .* stage=0001.afb' "$work/out.txt" || fail "without audio: $(cat "$work/out.txt")"
echo "without audio: $(cat "$work/err.txt" | tail -n 1)"
echo "PASS: music and effects reach the sink exactly; without audio the game plays"
