#!/usr/bin/env bash
# Runs every Google Benchmark program in build/bench/bin, then the native game's
# start-up, idle and pacing figures (build/linux's torv under Xvfb).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
shopt -s nullglob
benches=(build/bench/bin/bench_*)
[ ${#benches[@]} -gt 0 ] || echo "bench: no benchmarks built yet" >&2
for b in "${benches[@]}"; do
  echo "== $(basename "$b")"
  "$b" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
done

if [ -x build/linux/bin/torv ] && [ -f build/data/dat.tfa ]; then
  echo "== frontend (build/linux/bin/torv)"
  tests/bench/sdl/frontend_bench.sh build/linux/bin/torv build/data data/replays
else
  echo "bench: build/linux/bin/torv or build/data is missing (make linux); no front-end figures" >&2
fi
