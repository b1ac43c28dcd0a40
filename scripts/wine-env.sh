# Sourced by the scripts that run Windows programs: a private Wine prefix under
# build/, a private Xvfb display, and a warm wineserver.
# Usage: source scripts/wine-env.sh; wine_env_start [WIDTHxHEIGHT]; ...; wine_env_stop

TORV_ROOT=${TORV_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
export WINEPREFIX=${WINEPREFIX:-$TORV_ROOT/build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml="}
export WINEARCH=win64
# "wine" starts programs in the 64-bit loader first (see scripts/wine-loader/wine).
case ":$PATH:" in
*":$TORV_ROOT/scripts/wine-loader:"*) ;;
*) export PATH="$TORV_ROOT/scripts/wine-loader:$PATH" ;;
esac

# 32-bit Wine is an i386 Linux program; where the kernel refuses those, qemu's user-mode
# emulator runs it (scripts/i386-handler.sh). Its settings, unused everywhere else:
# - a CPU without AVX: qemu 7.2 announces AVX2 but lacks some of its instructions
#   (vpmaskmovd), so the blend kernels' run-time choice must fall on SSE2. The model's
#   long-mode bits, which a 32-bit guest cannot have, are switched off to keep qemu quiet.
# - Wine's address-space reservations made to work (scripts/qemu/mmap_noreplace.c),
#   preloaded into the emulated programs only; $LIB picks the library of a program's
#   own word size.
export QEMU_CPU=${QEMU_CPU:-Nehalem,-lm,-syscall}
export QEMU_SET_ENV=${QEMU_SET_ENV:-LD_PRELOAD=$TORV_ROOT/build/qemu-i386/\$LIB/libtorv_mmap_noreplace.so}

# The installed Wine packages and their versions. A prefix is made for them: one made
# before 32-bit Wine came, for one, fails to start any program afterwards ("could not
# load kernel32.dll, status c0000135").
wine_env_packages() {
  dpkg-query -W -f='${db:Status-Abbrev} ${binary:Package} ${Version}\n' 'wine*' 'libwine*' 2>/dev/null |
    awk '$1 == "ii" { print $2, $3 }' | sort
}

# Makes build/wineprefix-template for the installed Wine packages, unless it is made
# for them already: ~15 s for 64-bit Wine alone, ~4.5 min with 32-bit Wine (its half
# of the prefix is set up by emulated programs). Every prefix is a copy of it. A lock
# keeps scripts that start together from making it twice.
wine_env_template() {
  local template=$TORV_ROOT/build/wineprefix-template key
  key=$(wine_env_packages)
  mkdir -p "$TORV_ROOT/build"
  (
    flock -w 1800 8 || { echo "wine: no lock on $template.lock" >&2; exit 1; }
    [ -f "$template/.torv-ready" ] && [ "$(cat "$template/.torv-ready")" = "$key" ] && exit 0
    rm -rf "$template"
    echo "wine: making the prefix template $template for the installed Wine packages"
    export WINEPREFIX=$template
    wine wineboot.exe -i >/dev/null 2>&1 </dev/null
    wineserver -w
    local fonts='HKCU\Software\Wine\Fonts\Replacements'
    wine reg add "$fonts" /v 'ＭＳ ゴシック' /t REG_SZ /d IPAGothic /f >/dev/null 2>&1 </dev/null
    wine reg add "$fonts" /v 'MS Gothic' /t REG_SZ /d IPAGothic /f >/dev/null 2>&1 </dev/null
    wine reg add "$fonts" /v 'ＭＳ Ｐゴシック' /t REG_SZ /d IPAPGothic /f >/dev/null 2>&1 </dev/null
    wineserver -w
    [ -f "$template/system.reg" ] || { echo "wine: making $template failed" >&2; exit 1; }
    printf '%s\n' "$key" >"$template/.torv-ready"
  ) 8>"$template.lock"
}

# Makes $WINEPREFIX a fresh copy of the template when it was made for other Wine
# packages (or not at all), with the font replacements the game's Japanese texts need;
# later runs reuse it. 32-bit Wine needs the i386 handler even to start 64-bit
# programs' helpers, so it is checked here too.
wine_env_prefix() {
  if dpkg-query -W -f='${db:Status-Abbrev}' wine32:i386 2>/dev/null | grep -q '^ii'; then
    "$TORV_ROOT/scripts/i386-handler.sh" >/dev/null || return 1
  fi
  local key
  key=$(wine_env_packages)
  [ -f "$WINEPREFIX/.torv-ready" ] && [ "$(cat "$WINEPREFIX/.torv-ready")" = "$key" ] && return 0
  wine_env_template || return 1
  wineserver -k 2>/dev/null || true
  rm -rf "$WINEPREFIX"
  mkdir -p "$(dirname "$WINEPREFIX")"
  echo "wine: copying the prefix template to $WINEPREFIX"
  cp -a "$TORV_ROOT/build/wineprefix-template" "$WINEPREFIX"
}

# shellcheck source=private-display.sh
source "$TORV_ROOT/scripts/private-display.sh"
wine_env_xvfb_pid=""

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
  private_display_start "$size" || { echo "wine: Xvfb did not start" >&2; return 1; }
  wine_env_xvfb_pid=$private_display_pid
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

# A display of the calling script's own, so that no other test's window can cover one
# it reads back; both end when the script exits. Inside a test run that manages Wine
# (DISPLAY is set), that run's wineserver is left to it.
wine_env_own_display() {
  local managed=${DISPLAY:+yes}
  wine_env_start "$1" || return 1
  if [ -n "$managed" ]; then
    trap 'kill $wine_env_xvfb_pid 2>/dev/null; wait $wine_env_xvfb_pid 2>/dev/null' EXIT
  else
    trap wine_env_stop EXIT
  fi
}
