#!/usr/bin/env bash
# Runs every test: native (ASan + UBSan), the Windows tests under wine64 and the
# checks of the 32-bit tree that need no Wine. With TORV_WIN32_SUITE=1 also the 32-bit
# suite (ctest label wine32) under 32-bit Wine, emulated where the kernel cannot start
# 32-bit programs; see the README's testing section for why it is not yet in every
# run. Prints one summary line; exit 0 only if all pass.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
# shellcheck source=wine-env.sh
source scripts/wine-env.sh

jobs=$(nproc)
summary=()
failed=0

run_ctest() { # label build-dir [ctest options]
  local label=$1 dir=$2 log started=$SECONDS
  shift 2
  log=$(mktemp)
  (cd "$dir" && ctest -j"$jobs" --output-on-failure "$@" 2>&1) | tee "$log"
  local rc=${PIPESTATUS[0]}
  local line skipped
  line=$(grep -E 'tests passed, [0-9]+ tests failed out of' "$log" | tail -n 1)
  # A test skips when something it needs was not built; under `make test` everything is
  # built, so a skip is a fault of the build, not a pass.
  skipped=$(grep -cE '^[[:space:]]+[0-9]+ - .*\(Skipped\)$' "$log" || true)
  [ "$rc" -eq 0 ] || failed=1
  if [ "${skipped:-0}" -gt 0 ]; then
    line="$line, $skipped skipped"
    echo "run-tests: $label: $skipped tests skipped" >&2
    failed=1
  fi
  summary+=("$label: ${line:-no tests} in $((SECONDS - started)) s")
  rm -f "$log"
}

run_ctest native build/native
run_ctest win32 build/win32 -LE wine32
wine_env_start
trap wine_env_stop EXIT
run_ctest win64 build/win64
wine_env_stop
if [ "${TORV_WIN32_SUITE:-0}" = 1 ]; then
  # The 32-bit suite in a prefix and wineserver of its own.
  if ! scripts/i386-handler.sh; then
    echo "run-tests: 32-bit programs cannot run here; the 32-bit suite will fail" >&2
    failed=1
  fi
  export WINEPREFIX=$root/build/win32/wineprefix
  wine_env_start
  run_ctest win32-suite build/win32 -L wine32
  wine_env_stop
fi
trap - EXIT

result=PASS
[ $failed -eq 0 ] || result=FAIL
echo "make test: $result ($(IFS=';'; echo "${summary[*]}"))"
exit $failed
