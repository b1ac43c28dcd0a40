#!/usr/bin/env bash
# The real SDL front-end without a display (SDL's dummy video and audio drivers),
# fed stage 1's replay through its event queue from the title menu on: it must reach
# the goal (the next stage is loaded), and every picture it presents, read back from
# its window, must be pixel for pixel the picture torvsim --title draws for the same
# script. Usage: headless_replay.sh TORV TORVSIM DATA_DIR REPLAY_DIR
set -euo pipefail
torv=$1 torvsim=$2 data=$3 replays=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Title: one idle frame, the decide key (start), one frame for its release; then
# the stage's replay; then enough idle frames for the goal's pause, the time bonus
# and the next stage's start.
{
  printf '1 -\n1 J\n1 -\n'
  grep -v '^#' "$replays/0001.txt"
  printf '420 -\n'
} >"$work/script.txt"

"$torvsim" --data "$data" --title --script "$work/script.txt" --frame-sums "$work/sim.sums" \
  --png "$work/sim" --every 200 >"$work/sim.out"
XDG_DATA_HOME="$work/home" SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy \
  "$torv" --data "$data" --window-scale 1 --deterministic --script "$work/script.txt" \
  --frame-sums "$work/torv.sums" --frames "$work/torv" --every 200 >"$work/torv.out"

echo "torvsim: $(cat "$work/sim.out")"
echo "torv:    $(cat "$work/torv.out")"
grep -q ' stage=0002.afb stage_number=2$' "$work/torv.out" || { echo "FAIL: torv did not reach stage 1's goal"; exit 1; }
cmp -s "$work/sim.out" "$work/torv.out" || { echo "FAIL: the two runs ended differently"; exit 1; }

frames=$(wc -l <"$work/torv.sums")
[ "$frames" -ge 1500 ] || { echo "FAIL: torv presented only $frames pictures"; exit 1; }
if ! cmp -s "$work/sim.sums" "$work/torv.sums"; then
  echo "FAIL: presented pictures differ from torvsim's; first difference:"
  diff "$work/sim.sums" "$work/torv.sums" | head -n 4
  exit 1
fi
for png in "$work"/sim/frame_*.png; do
  cmp -s "$png" "$work/torv/$(basename "$png")" || { echo "FAIL: $(basename "$png") differs"; exit 1; }
done
echo "PASS: $frames presented pictures equal to torvsim's, stage 1 cleared"
