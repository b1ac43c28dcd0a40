#!/usr/bin/env bash
# Runs every test: native (ASan + UBSan), the Windows tests under wine64, the checks of
# the 32-bit tree that need no Wine, the WebAssembly build (Node, Chromium), and the
# 32-bit suite (ctest label wine32) under 32-bit Wine, emulated where the kernel cannot
# start 32-bit programs, unless the emulator shows its known fault (see the README's
# testing section). TORV_WIN32_SUITE=0 leaves the 32-bit suite out. Prints one summary
# line; exit 0 only if all pass.
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
# The browser build: the core's tests under Node, the page in headless Chromium.
run_ctest wasm build/wasm
wine_env_start
trap wine_env_stop EXIT
run_ctest win64 build/win64
wine_env_stop
if [ "${TORV_WIN32_SUITE:-1}" = 1 ]; then
  # The 32-bit suite in a prefix and wineserver of its own.
  if ! scripts/i386-handler.sh; then
    echo "run-tests: 32-bit programs cannot run here; the 32-bit suite will fail" >&2
    failed=1
  fi
  export WINEPREFIX=$root/build/win32/wineprefix
  wine_env_start
  # shellcheck source=../tests/windows/i686/known_emulation_fault.sh
  source tests/windows/i686/known_emulation_fault.sh
  if [ -f build/win32/bin/teb_after_exception.exe ] && known_emulation_fault build/win32/bin; then
    # Under that fault 32-bit Wine itself goes astray at random (crashes at exit, lost
    # replies, C library assertions), so no result of the suite would say anything about
    # our programs. Where the kernel runs 32-bit programs, the suite runs strictly.
    echo "run-tests: the 32-bit suite is not run: this machine starts 32-bit programs only through qemu," \
      "whose known fault breaks 32-bit Wine (see the README's testing section)" >&2
    summary+=("win32-suite: not run, 32-bit programs only through the faulty emulator")
  else
    run_ctest win32-suite build/win32 -L wine32
  fi
  wine_env_stop
fi
trap - EXIT

result=PASS
[ $failed -eq 0 ] || result=FAIL
echo "make test: $result ($(IFS=';'; echo "${summary[*]}"))"
exit $failed
