# Sourced by the scripts that run Windows programs: a private Wine prefix under
# build/, a private Xvfb display, and a warm wineserver.
# Usage: source scripts/wine-env.sh; wine_env_start [WIDTHxHEIGHT]; ...; wine_env_stop

TORV_ROOT=${TORV_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
export WINEPREFIX=${WINEPREFIX:-$TORV_ROOT/build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml="}
export WINEARCH=win64

wine_env_xvfb_pid=""

# Creates the prefix once (~15 s) and sets the font replacements the game's Japanese
# texts need; later runs reuse it.
wine_env_prefix() {
  if [ ! -f "$WINEPREFIX/.torv-ready" ]; then
    rm -rf "$WINEPREFIX"
    mkdir -p "$(dirname "$WINEPREFIX")"
    echo "wine: creating the prefix $WINEPREFIX"
    wineboot -i >/dev/null 2>&1 </dev/null
    wineserver -w
    local key='HKCU\Software\Wine\Fonts\Replacements'
    wine reg add "$key" /v 'ＭＳ ゴシック' /t REG_SZ /d IPAGothic /f >/dev/null 2>&1 </dev/null
    wine reg add "$key" /v 'MS Gothic' /t REG_SZ /d IPAGothic /f >/dev/null 2>&1 </dev/null
    wine reg add "$key" /v 'ＭＳ Ｐゴシック' /t REG_SZ /d IPAPGothic /f >/dev/null 2>&1 </dev/null
    wineserver -w
    touch "$WINEPREFIX/.torv-ready"
  fi
}

# Japanese locale for code page 932 (Shift-JIS texts) when it exists or can be made.
wine_env_locale() {
  if ! locale -a 2>/dev/null | grep -qi '^ja_JP.utf-\?8$'; then
    if [ "$(id -u)" -eq 0 ]; then localedef -i ja_JP -f UTF-8 ja_JP.UTF-8 >/dev/null 2>&1 || true; fi
  fi
  if locale -a 2>/dev/null | grep -qi '^ja_JP.utf-\?8$'; then export LANG=ja_JP.UTF-8; fi
}

wine_env_start() {
  local size=${1:-1024x768}
  wine_env_locale
  # Xvfb picks a free display number itself (-displayfd), so two scripts starting at
  # once can never share a display.
  local fdfile
  fdfile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 ${size}x24 -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 &
  wine_env_xvfb_pid=$!
  local n=""
  for _ in $(seq 100); do
    # The number is complete once its line ends.
    if [ "$(wc -l <"$fdfile")" -ge 1 ]; then
      n=$(tr -dc '0-9' <"$fdfile")
      break
    fi
    sleep 0.1
  done
  rm -f "$fdfile"
  if [ -z "$n" ]; then
    echo "wine: Xvfb did not start" >&2
    return 1
  fi
  export DISPLAY=:$n
  wine_env_prefix
  wineserver -p
  # Start Wine's helper processes with detached stdio, or they inherit the test
  # runner's pipes and the runner waits for them forever.
  wine cmd /c exit </dev/null >/dev/null 2>&1
}

wine_env_stop() {
  wineserver -k 2>/dev/null || true
  if [ -n "$wine_env_xvfb_pid" ]; then
    kill "$wine_env_xvfb_pid" 2>/dev/null || true
    wait "$wine_env_xvfb_pid" 2>/dev/null || true
  fi
}
