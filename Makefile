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
WASM := build/wasm
LINUX := build/linux

.PHONY: all packages game-packages native win64 win32 linux test play play-windows dist bench fuzz tools \
  drawcheck clean web-packages web-deps wasm web web-data web-serve web-bench

all: native win64 win32

packages:
	@scripts/install-packages.sh
game-packages:
	@scripts/install-packages.sh --game

build/deps/x86_64/.built-png-ogg-vorbis: | packages
	@scripts/build-windows-deps.sh x86_64
build/deps/i686/.built-png-ogg-vorbis: | packages
	@scripts/build-windows-deps.sh i686

# The browser build: Debian's Emscripten, and libraries built from Debian's sources
# into a cache outside the clone (scripts/build-web-deps.sh).
web-packages:
	@scripts/install-packages.sh --web
web-deps: web-packages
	@nice scripts/build-web-deps.sh

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

$(WASM)/CMakeCache.txt: | web-deps
	cmake -S . -B $(WASM) -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-emscripten.cmake -DCMAKE_BUILD_TYPE=Release

native: $(NATIVE)/CMakeCache.txt
	cmake --build $(NATIVE) -j$(JOBS)
win64: $(WIN64)/CMakeCache.txt
	cmake --build $(WIN64) -j$(JOBS)
win32: $(WIN32)/CMakeCache.txt
	cmake --build $(WIN32) -j$(JOBS)
wasm: web-deps $(WASM)/CMakeCache.txt
	cmake --build $(WASM) -j$(JOBS) --target torv_wasm_tests

# The page (build/web): the front-end in WebAssembly, the archives and the font cut
# down to the game's characters, which a native tree's data tools make (the player's
# tree; make test uses its own test tree).
WEB_DATA_TREE ?= $(LINUX)
WEB_PORT ?= 8000
web-data: | game-packages web-packages
	@[ -f $(WEB_DATA_TREE)/CMakeCache.txt ] || $(MAKE) $(WEB_DATA_TREE)/CMakeCache.txt
	@# Configured again first: a tree made before the font target existed must learn it.
	@cmake $(WEB_DATA_TREE) > /dev/null
	cmake --build $(WEB_DATA_TREE) -j$(JOBS) --target torv_data torv_web_font
web: web-deps web-data $(WASM)/CMakeCache.txt
	cmake --build $(WASM) -j$(JOBS) --target torv_web_page
	@echo "make web: the page is in build/web ($$(du -sh build/web | cut -f1)); make web-serve serves it"
web-serve: web
	@echo "make web-serve: open http://127.0.0.1:$(WEB_PORT)/ in a browser (Ctrl+C ends)"
	@cd build/web && exec python3 -m http.server $(WEB_PORT) --bind 127.0.0.1

# The native game with its archives and icon, nothing else.
linux: $(LINUX)/CMakeCache.txt
	cmake --build $(LINUX) -j$(JOBS) --target torv_playable

tools: native

test: all wasm
	@$(MAKE) --no-print-directory web WEB_DATA_TREE=$(NATIVE)
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
	@$(MAKE) --no-print-directory web-bench

# The browser game against the native one, and the page's download (tests/web/bench.js).
web-bench: web linux
	cmake --build $(WASM) -j$(JOBS) --target torv_web_sync
	node tests/web/bench.js --web build/web --sync $(WASM)/web/sync --data build/data \
	  --native $(LINUX)/bin/torv --replays data/replays

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
	rm -rf $(NATIVE) $(WIN64) $(WIN32) $(LINUX) $(WASM) build/bench build/fuzz dist
