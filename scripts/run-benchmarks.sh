#!/usr/bin/env bash
# Runs every Google Benchmark program in build/bench/bin.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
shopt -s nullglob
benches=(build/bench/bin/bench_*)
[ ${#benches[@]} -gt 0 ] || { echo "bench: no benchmarks built yet" >&2; exit 0; }
for b in "${benches[@]}"; do
  echo "== $(basename "$b")"
  "$b" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
done
