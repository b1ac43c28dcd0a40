# Top-level driver. `make test`, `make play` and `make play-windows` do every set-up
# step themselves on a fresh Debian 12 machine (packages, Windows dependencies, Wine
# prefix). `make play` builds and starts the native game only (build/linux).
SHELL := /bin/bash
ROOT := $(CURDIR)
JOBS ?= $(shell nproc)
FUZZ_SECONDS ?= 60

NATIVE := build/native
WIN64 := build/win64
WIN32 := build/win32
LINUX := build/linux

.PHONY: all packages game-packages native win64 win32 linux test play play-windows dist bench fuzz tools \
  drawcheck clean

all: native win64 win32

packages:
	@scripts/install-packages.sh
game-packages:
	@scripts/install-packages.sh --game

build/deps/x86_64/.built-png-ogg-vorbis: | packages
	@scripts/build-windows-deps.sh x86_64
build/deps/i686/.built-png-ogg-vorbis: | packages
	@scripts/build-windows-deps.sh i686

$(NATIVE)/CMakeCache.txt: | packages
	cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=Debug -DTORV_SANITIZE=ON \
	  -DCMAKE_CXX_FLAGS="-O1 -g" -DCMAKE_C_FLAGS="-O1 -g"
# The player's tree: optimised, without the tests.
$(LINUX)/CMakeCache.txt: | game-packages
	cmake -S . -B $(LINUX) -DCMAKE_BUILD_TYPE=Release -DTORV_TESTS=OFF
$(WIN64)/CMakeCache.txt: build/deps/x86_64/.built-png-ogg-vorbis
	cmake -S . -B $(WIN64) -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=Release
$(WIN32)/CMakeCache.txt: build/deps/i686/.built-png-ogg-vorbis
	cmake -S . -B $(WIN32) -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release

native: $(NATIVE)/CMakeCache.txt
	cmake --build $(NATIVE) -j$(JOBS)
win64: $(WIN64)/CMakeCache.txt
	cmake --build $(WIN64) -j$(JOBS)
win32: $(WIN32)/CMakeCache.txt
	cmake --build $(WIN32) -j$(JOBS)
# The native game with its archives and icon, nothing else.
linux: $(LINUX)/CMakeCache.txt
	cmake --build $(LINUX) -j$(JOBS) --target torv_playable

tools: native

test: all
	@scripts/run-tests.sh

play: linux
	@scripts/play.sh

play-windows: all dist
	@scripts/play-windows.sh

dist: win64 win32
	@scripts/dist.sh

# The front-end's figures play the player's tree (build/linux) on its archives.
bench: linux | packages
	cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DTORV_BENCH=ON
	cmake --build build/bench -j$(JOBS)
	@scripts/run-benchmarks.sh

fuzz: | packages
	cmake -S . -B build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTORV_FUZZ=ON \
	  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
	cmake --build build/fuzz -j$(JOBS)
	@FUZZ_SECONDS=$(FUZZ_SECONDS) scripts/run-fuzzers.sh

# Renders the drawing test scene in every mode whose back-end exists:
# build/drawcheck/mode<N>.png.
drawcheck: win64
	@scripts/drawcheck.sh

clean:
	rm -rf $(NATIVE) $(WIN64) $(WIN32) $(LINUX) build/bench build/fuzz dist
