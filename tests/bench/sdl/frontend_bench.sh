#!/usr/bin/env bash
# The SDL front-end's own figures, on a private Xvfb display with SDL's dummy audio:
#  - start to the first presented title picture, from before the program is started
#    (goal 300 ms);
#  - CPU at the idle title, as a share of one core over 8 seconds (goal 5 %);
#  - frame pacing: how late 600 frames of play (stage 1's replay) begin against the
#    game's 60-a-second schedule (goal: worst 2 ms).
# Usage: frontend_bench.sh TORV DATA_DIR REPLAY_DIR [ROUNDS]
set -uo pipefail
torv=$1 data=$2 replays=$3 rounds=${4:-3}
work=$(mktemp -d)
game=""
# shellcheck source=SCRIPTDIR/../../../scripts/private-display.sh
source "$(dirname "$0")/../../../scripts/private-display.sh"
trap '[ -n "$game" ] && kill "$game" 2>/dev/null; private_display_stop; rm -rf "$work"' EXIT

private_display_start 1920x1080 || { echo "frontend bench: Xvfb did not start" >&2; exit 1; }
export SDL_AUDIODRIVER=dummy XDG_DATA_HOME=$work/home
ticks_per_second=$(getconf CLK_TCK)

echo '720 -' >"$work/idle.txt"
{
  printf '1 -\n1 J\n1 -\n'
  grep -v '^#' "$replays/0001.txt"
} >"$work/play.txt"

# run SCRIPT MEASURE [cpu]: one run; prints the start-up in ms, and with cpu the
# share of a core used between its 2nd and 10th second.
run() {
  local script=$1 measure=$2 t0 first cpu=""
  t0=$(date +%s%N)
  "$torv" --data "$data" --script "$script" --measure "$measure" >/dev/null 2>"$work/err.txt" &
  game=$!
  for _ in $(seq 500); do
    grep -q '^first_picture_realtime_ns' "$measure" 2>/dev/null && break
    sleep 0.01
  done
  first=$(sed -n 's/^first_picture_realtime_ns //p' "$measure")
  if [ "${3:-}" = cpu ]; then
    sleep 2
    local a b
    a=$(awk '{print $14 + $15}' "/proc/$game/stat")
    sleep 8
    b=$(awk '{print $14 + $15}' "/proc/$game/stat")
    cpu=$(awk -v d=$((b - a)) -v hz="$ticks_per_second" 'BEGIN { printf "%.2f", 100 * d / hz / 8 }')
  fi
  wait "$game" || { echo "frontend bench: torv failed: $(cat "$work/err.txt")" >&2; exit 1; }
  game=""
  [ -n "$first" ] || { echo "frontend bench: no picture was presented" >&2; exit 1; }
  echo "$(((first - t0) / 1000000)) $cpu"
}

startups=() cpus=() worst_late=() mean_late=() over=()
for r in $(seq "$rounds"); do
  read -r s c < <(run "$work/idle.txt" "$work/idle$r.txt" cpu)
  startups+=("$s")
  cpus+=("$c")
  read -r s _ < <(run "$work/play.txt" "$work/play$r.txt")
  startups+=("$s")
  line=$(grep '^pacing' "$work/play$r.txt")
  worst_late+=("$(sed -n 's/.*late_max_ms=\([0-9.-]*\).*/\1/p' <<<"$line")")
  mean_late+=("$(sed -n 's/.*late_mean_ms=\([0-9.-]*\).*/\1/p' <<<"$line")")
  over+=("$(sed -n 's/.*late_over_2ms=\([0-9]*\).*/\1/p' <<<"$line")")
  echo "round $r: start ${startups[-2]} ms and ${startups[-1]} ms, idle title CPU ${cpus[-1]} %, $line"
done

stats() { # values...: "median M, worst W"
  printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { printf "median %s, worst %s", v[int((NR + 1) / 2)], v[NR] }'
}
echo "frontend: start to first title picture: $(stats "${startups[@]}") ms (goal 300 ms)"
echo "frontend: CPU at the idle title: $(stats "${cpus[@]}") % of one core (goal 5 %)"
echo "frontend: pacing over 600 frames of play, worst lateness per run: $(stats "${worst_late[@]}") ms;" \
  "mean lateness $(stats "${mean_late[@]}") ms; frames later than 2 ms: $(stats "${over[@]}") (goal: worst 2 ms)"
