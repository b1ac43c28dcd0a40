#!/usr/bin/env bash
# The "save.dat" that the native game wrote in its end-to-end test (the native
# suite's sdl_xvfb_player, run before this suite by make test), read by the Windows
# build of the game's reader: it must load and read exactly as the native reader
# read it. Usage: save_from_native_game.sh WINE SAVE_CHECK_EXE NATIVE_E2E_DIR
set -uo pipefail
wine=$1 exe=$2 dir=$3
save=$dir/save.dat expected=$dir/save_check.txt
if [ ! -f "$save" ] || [ ! -f "$expected" ]; then
  echo "FAIL: $save is missing: the native suite's sdl_xvfb_player test writes it (make test runs that suite first)"
  exit 1
fi
got=$(WINEDEBUG=-all "$wine" "$exe" "Z:$save" </dev/null 2>&1 | tr -d '\r')
status=${PIPESTATUS[0]}
echo "$got"
[ "$status" = 0 ] || { echo "FAIL: the Windows reader refuses the file (status $status)"; exit 1; }
if ! diff <(echo "$got") "$expected"; then
  echo "FAIL: the Windows reader reads the file differently from the native one"
  exit 1
fi
grep -q '^file 3: stage=0001.afb ' <<<"$got" || { echo "FAIL: file 3 holds no game"; exit 1; }
echo "PASS: the native game's save.dat loads in the Windows build"
