#!/usr/bin/env bash
# Cross-builds libpng, libogg and libvorbis as static libraries for one Windows
# target from Debian's source packages (with Debian's patches applied), into
# build/deps/<arch>/. A stamp file makes a second run a no-op.
# Usage: build-windows-deps.sh x86_64|i686
set -euo pipefail

arch=$1
case "$arch" in
  x86_64) triplet=x86_64-w64-mingw32 ;;
  i686) triplet=i686-w64-mingw32 ;;
  *) echo "build-windows-deps: unknown arch '$arch'" >&2; exit 1 ;;
esac

root=$(cd "$(dirname "$0")/.." && pwd)
prefix=$root/build/deps/$arch
stamp=$prefix/.built-png-ogg-vorbis
[ -f "$stamp" ] && exit 0

src=$root/build/deps/src
mkdir -p "$src" "$prefix"

# Fetch and unpack the sources once for both targets.
if [ ! -f "$src/.unpacked" ]; then
  (
    cd "$src"
    rm -rf ./*
    for pkg in libpng1.6 libogg libvorbis; do
      # Newest first; a mirror may list a version whose files it does not hold yet.
      fetched=0
      for v in $(apt-cache showsrc "$pkg" | sed -n 's/^Version: //p' | sort -u -V -r); do
        if apt-get source --download-only "$pkg=$v" >/dev/null 2>&1; then fetched=1; break; fi
        rm -f "${pkg}_"*
      done
      [ $fetched -eq 1 ] || { echo "build-windows-deps: cannot fetch the source of $pkg" >&2; exit 1; }
    done
    for dsc in *.dsc; do dpkg-source --no-check -x "$dsc" >/dev/null; done
  )
  touch "$src/.unpacked"
fi
png_src=$(find "$src" -maxdepth 1 -type d -name 'libpng1.6-*' | head -n 1)
ogg_src=$(find "$src" -maxdepth 1 -type d -name 'libogg-*' | head -n 1)
vorbis_src=$(find "$src" -maxdepth 1 -type d -name 'libvorbis-*' | head -n 1)

toolchain=$root/cmake/toolchain-mingw-$arch.cmake
work=$root/build/deps/work-$arch
rm -rf "$work"
mkdir -p "$work"

common=(-G "Unix Makefiles" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release
        -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_SHARED_LIBS=OFF -DCMAKE_C_FLAGS=-O2
        -DCMAKE_POSITION_INDEPENDENT_CODE=OFF)
jobs=$(nproc)

build() { # name source-dir extra-args...
  local name=$1 dir=$2; shift 2
  echo "build-windows-deps: $name for $triplet"
  # The toolchain's warnings-as-errors are ours, not these libraries'.
  TORV_DEPS_ROOT=$root/build/deps cmake -S "$dir" -B "$work/$name" "${common[@]}" "$@" >"$work/$name.log" 2>&1 \
    || { cat "$work/$name.log"; exit 1; }
  cmake --build "$work/$name" -j"$jobs" >>"$work/$name.log" 2>&1 || { tail -n 40 "$work/$name.log"; exit 1; }
  cmake --install "$work/$name" >>"$work/$name.log" 2>&1 || { tail -n 40 "$work/$name.log"; exit 1; }
}

build libpng "$png_src" -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
  -DZLIB_USE_STATIC_LIBS=ON -DSKIP_INSTALL_PROGRAMS=ON -DSKIP_INSTALL_FILES=ON
build libogg "$ogg_src" -DINSTALL_DOCS=OFF
build libvorbis "$vorbis_src" -DOgg_DIR="$prefix/lib/cmake/Ogg"

rm -rf "$work"
touch "$stamp"
