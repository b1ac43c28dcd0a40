#!/usr/bin/env bash
# Runs every libFuzzer target in build/fuzz/bin for FUZZ_SECONDS each, keeping a corpus
# per target under build/fuzz/corpus/ and seeds from tests/fuzz/seeds/<target>/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
seconds=${FUZZ_SECONDS:-60}
shopt -s nullglob
targets=(build/fuzz/bin/fuzz_*)
[ ${#targets[@]} -gt 0 ] || { echo "fuzz: no fuzz targets built" >&2; exit 1; }
for t in "${targets[@]}"; do
  name=$(basename "$t")
  corpus=build/fuzz/corpus/$name
  mkdir -p "$corpus"
  seeds=()
  [ -d tests/fuzz/seeds/$name ] && seeds=(tests/fuzz/seeds/$name)
  echo "fuzz: $name for ${seconds}s"
  log=build/fuzz/$name.log
  rc=0
  "$t" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="build/fuzz/$name-" "$corpus" "${seeds[@]}" >"$log" 2>&1 || rc=$?
  grep -E 'stat::number_of_executed_units|ERROR|SUMMARY|Done' "$log" || true
  [ $rc -eq 0 ] || { tail -n 40 "$log"; echo "fuzz: $name found a fault (log: $log)" >&2; exit 1; }
done
