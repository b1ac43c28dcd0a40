# Sourced by the end-to-end scripts that run the real torv.exe under wine64: the game
# tests' Wine prefix and its lock, a player's folder, a private display, the window
# probe, and starting the game. The caller sets bin, src, data and defines fail().

# Takes the game tests' prefix (build/win64/wineprefix-game) and holds its lock for
# the rest of the script: the game refuses a second instance within one wineserver,
# so one case runs at a time per prefix, also across separate ctest runs of the tree.
# $1: seconds to wait for the lock.
game_harness_lock() {
  export WINEPREFIX
  WINEPREFIX=$(cd "$bin/.." && pwd)/wineprefix-game
  # shellcheck source=../../../scripts/wine-env.sh
  source "$src/scripts/wine-env.sh"
  exec 9>"$WINEPREFIX.lock"
  flock -w "$1" 9 || fail "another run holds $WINEPREFIX.lock"
}

# A player's folder in $work: the exe, the probe, the modules and the archives.
# $1: mktemp template (default /tmp/torv_e2e.XXXXXX).
prepare() {
  work=$(mktemp -d "${1:-/tmp/torv_e2e.XXXXXX}")
  cp "$bin/torv.exe" "$bin/test_torv_probe.exe" "$work/"
  for f in "$bin"/tam*.dll; do cp "$f" "$work/"; done
  for a in "$data"/*.tfa; do [ -f "$a" ] && cp "$a" "$work/"; done
  return 0
}

# A private Xvfb of size $1. The caller installs its own EXIT trap.
start_display() {
  wine_env_start "$1"
  # No window manager runs here: let Wine manage the windows itself, as Windows
  # does, instead of waiting for a manager that never answers (2 s per hide).
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 </dev/null
}

probe() { (cd "$work" && wine test_torv_probe.exe "$@" </dev/null 2>/dev/null | tr -d '\r'); }

# Starts the game in the background; its exit code lands in $work/.exit.<n>
# ($last_exit_file), its process id in $game_pid.
runs=0
start_game() { # [working directory] [program file]: by default torv.exe in the work folder
  runs=$((runs + 1))
  local marker="$work/.exit.$runs" dir=${1:-$work} exe=${2:-torv.exe}
  (cd "$dir" && wine "$work/$exe" </dev/null >/dev/null 2>&1; echo $? >"$marker") &
  game_pid=$!
  last_exit_file=$marker
}

wait_window() {
  for _ in $(seq 200); do
    probe exists >/dev/null && return 0
    [ -f "$last_exit_file" ] && fail "the game ended (exit $(cat "$last_exit_file")) before its window appeared"
    sleep 0.1
  done
  fail "no game window after 20 s"
}
