#!/usr/bin/env bash
# Builds the browser game's libraries (zlib, libpng, FreeType, libogg, libvorbis,
# SDL2) as static WebAssembly libraries from Debian's source packages (Debian's
# patches applied) with Debian's Emscripten.
#
# They land in a cache outside the clone, keyed by the source versions, the
# toolchain and this script, so a fresh clone on the same machine (or `make clean`)
# reuses them: ${TORV_CACHE:-${XDG_CACHE_HOME:-~/.cache}/torv}/wasm-deps-<key>/.
# build/deps/wasm is a link to it. SDL2 alone takes about 6 minutes on 2 cores.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cache=${TORV_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/torv}
packages=(zlib libpng1.6 freetype libogg libvorbis libsdl2)
export NODE_PATH=/usr/share/nodejs

# The key: what apt offers for each source package, the compilers, this script.
key_input=$(
  for pkg in "${packages[@]}"; do
    echo "$pkg $(apt-cache showsrc "$pkg" | sed -n 's/^Version: //p' | sort -u -V -r | head -n 1)"
  done
  emcc --version | head -n 1
  clang-14 --version 2>/dev/null | head -n 1 || true
  cat "$0"
)
key=$(sha256sum <<<"$key_input" | cut -c1-16)
prefix=$cache/wasm-deps-$key
link=$root/build/deps/wasm

point_link() {
  mkdir -p "$(dirname "$link")"
  ln -sfn "$prefix" "$link"
}

if [ -f "$prefix/.complete" ]; then
  point_link
  exit 0
fi

mkdir -p "$cache"
# Two clones building at once would share the work folder.
exec 9>"$cache/wasm-deps.lock"
flock 9
if [ -f "$prefix/.complete" ]; then
  point_link
  exit 0
fi

# A run that was cut short resumes after the last library it finished.
work=$cache/wasm-deps-work-$key
mkdir -p "$work/src" "$prefix"
echo "build-web-deps: building ${packages[*]} for WebAssembly into $prefix"

[ -f "$work/src/.unpacked" ] || (
  cd "$work/src"
  rm -rf ./*
  for pkg in "${packages[@]}"; do
    # Newest first; a mirror may list a version whose files it does not hold yet.
    fetched=0
    for v in $(apt-cache showsrc "$pkg" | sed -n 's/^Version: //p' | sort -u -V -r); do
      if apt-get source --download-only "$pkg=$v" >/dev/null 2>&1; then fetched=1; break; fi
    done
    [ $fetched -eq 1 ] || { echo "build-web-deps: cannot fetch the source of $pkg" >&2; exit 1; }
  done
  for dsc in *.dsc; do dpkg-source --no-check -x "$dsc" >/dev/null; done
  touch .unpacked
)
source_dir() { find "$work/src" -maxdepth 1 -type d -name "$1-*" | head -n 1; }

jobs=$(nproc)
common=(-G "Unix Makefiles" -DCMAKE_TOOLCHAIN_FILE=/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_PREFIX_PATH="$prefix"
        -DCMAKE_FIND_ROOT_PATH="$prefix" -DBUILD_SHARED_LIBS=OFF -DCMAKE_C_FLAGS=-O2
        "-DCMAKE_CROSSCOMPILING_EMULATOR=/usr/bin/node;--no-experimental-fetch")

# Some configure checks run their test programs (sizes of types): under Node,
# which needs the flag above to load this runtime's output.
build() { # name source-dir extra-args...
  local name=$1 dir=$2; shift 2
  [ -f "$work/.built-$name" ] && return 0
  echo "build-web-deps: $name"
  local log=$work/$name.log
  rm -rf "$work/build-$name"
  { cmake -S "$dir" -B "$work/build-$name" "${common[@]}" "$@" &&
    cmake --build "$work/build-$name" -j"$jobs" &&
    cmake --install "$work/build-$name"; } >"$log" 2>&1 || { tail -n 60 "$log"; exit 1; }
  touch "$work/.built-$name"
}

# zlib's CMake always builds the shared library too; its configure script makes
# only the static one.
if [ ! -f "$work/.built-zlib" ]; then
  echo "build-web-deps: zlib"
  (cd "$(source_dir zlib)" && CFLAGS=-O2 emconfigure ./configure --static --prefix="$prefix" &&
    emmake make -j"$jobs" install) >"$work/zlib.log" 2>&1 || { tail -n 60 "$work/zlib.log"; exit 1; }
  touch "$work/.built-zlib"
fi

build libpng "$(source_dir libpng1.6)" -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF \
  -DPNG_EXECUTABLES=OFF -DSKIP_INSTALL_PROGRAMS=ON -DSKIP_INSTALL_FILES=ON \
  -DZLIB_ROOT="$prefix" -DPNG_HARDWARE_OPTIMIZATIONS=OFF
# Outlines and their rasteriser only: the game reads one OpenType font. Its gzip
# reader uses our zlib: without it FreeType compiles its own copy, whose symbols
# clash with zlib's in the game's link.
build freetype "$(source_dir freetype)" -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON \
  -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON -DFT_REQUIRE_ZLIB=ON -DZLIB_ROOT="$prefix"
build libogg "$(source_dir libogg)" -DINSTALL_DOCS=OFF
build libvorbis "$(source_dir libvorbis)" -DOgg_DIR="$prefix/lib/cmake/Ogg"
# Threads stay off: the page runs on the browser's main thread and needs no
# cross-origin isolation.
build sdl2 "$(source_dir libsdl2)" -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF \
  -DSDL_THREADS=OFF -DSDL_PTHREADS=OFF

cp "$work"/src/*.dsc "$prefix/" 2>/dev/null || true
rm -rf "$work"
echo "$key_input" | head -n "${#packages[@]}" >"$prefix/.complete"
point_link
echo "build-web-deps: done"
