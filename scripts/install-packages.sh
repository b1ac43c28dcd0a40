#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need. Idempotent: asks dpkg
# first and does nothing when everything is present.
# With --game: only what building and playing the native game needs (make play).
# With --web: also the browser build and its tests (make wasm, make web, make test).
set -euo pipefail

# The native game: compiler and build, its libraries, the data tools' libraries, the font.
game_packages=(
  g++ cmake make pkg-config
  libpng-dev zlib1g-dev libvorbis-dev libogg-dev libfreetype-dev libsdl2-dev
  fonts-ipafont-gothic
)
packages=(
  "${game_packages[@]}"
  dpkg-dev git
  g++-mingw-w64-x86-64 g++-mingw-w64-i686 mingw-w64-tools libz-mingw-w64-dev
  googletest libgtest-dev libbenchmark-dev
  clang libclang-rt-14-dev libpixman-1-dev
  wine wine64 libgl1-mesa-dri xvfb xauth imagemagick xdotool locales
  sox vorbis-tools
  pulseaudio
  # The 32-bit Windows build runs under 32-bit Wine; where the kernel cannot start
  # i386 programs itself, qemu's user-mode emulator runs them (scripts/i386-handler.sh).
  # The 32-bit GL stack lets 32-bit Direct3D start.
  qemu-user-static wine32:i386 libgl1:i386 libglx-mesa0:i386 libgl1-mesa-dri:i386
)
if [ "${1:-}" = "--game" ]; then
  packages=("${game_packages[@]}")
elif [ "${1:-}" = "--web" ]; then
  # The WebAssembly compilers, the browser the page is tested in, and the font tools
  # that cut the page's font down to the game's characters (web/subset_font.py).
  packages+=(emscripten chromium python3 python3-fonttools)
fi

native_arch=$(dpkg --print-architecture)
# Installed: a package without an architecture counts in the machine's own or "all";
# one named name:arch only in that architecture (both may be installed side by side).
installed() {
  local name=${1%%:*} arch=${1#*:}
  [ "$arch" = "$1" ] && arch=$native_arch
  dpkg-query -W -f='${db:Status-Abbrev} ${Architecture}\n' "$name" 2>/dev/null |
    grep -Eq "^ii +($arch|all)\$"
}

missing=()
for p in "${packages[@]}"; do
  installed "$p" || missing+=("$p")
done

# Packages of another architecture need it added to dpkg before apt can see them.
new_arch=""
for p in "${missing[@]}"; do
  case $p in
  *:*)
    arch=${p#*:}
    if [ "$arch" != "$native_arch" ] && ! dpkg --print-foreign-architectures | grep -qx "$arch"; then
      new_arch="$new_arch $arch"
    fi
    ;;
  esac
done

need_src=0
if [ "${1:-}" != "--game" ] && ! grep -rqs 'deb-src' /etc/apt/sources.list /etc/apt/sources.list.d/; then
  need_src=1
fi

if [ ${#missing[@]} -eq 0 ] && [ $need_src -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "install-packages: missing Debian packages: ${missing[*]} (run as root to install them)" >&2
  exit 1
fi

if [ $need_src -eq 1 ]; then
  # Source packages of libpng, libogg and libvorbis are cross-built for Windows.
  cat > /etc/apt/sources.list.d/torv-deb-src.sources <<'SRC'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb-src
URIs: http://deb.debian.org/debian-security
Suites: bookworm-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
fi

for arch in $(echo "$new_arch" | tr ' ' '\n' | sort -u); do
  echo "install-packages: adding the architecture $arch"
  dpkg --add-architecture "$arch"
done

echo "install-packages: installing ${missing[*]:-(source indexes only)}"
# A mirror index that fails to download must not stop us; the install below checks.
DEBIAN_FRONTEND=noninteractive apt-get update -q || true
if [ ${#missing[@]} -gt 0 ]; then
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
