# WebAssembly through Debian's Emscripten (emcc 3.1.6): its own toolchain file, plus
# what this machine needs around it.
include(/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake)

# emcc runs JavaScript tools under the node on PATH, which does not see Debian's
# JavaScript modules (acorn and friends) unless told where they are. The launchers
# carry that into every compile and link, so building the tree by hand works too.
set(CMAKE_C_COMPILER_LAUNCHER env NODE_PATH=/usr/share/nodejs)
set(CMAKE_CXX_COMPILER_LAUNCHER env NODE_PATH=/usr/share/nodejs)
set(CMAKE_C_LINKER_LAUNCHER env NODE_PATH=/usr/share/nodejs)
set(CMAKE_CXX_LINKER_LAUNCHER env NODE_PATH=/usr/share/nodejs)

# Tests run under Node; this runtime's wasm loading misreads Node 20's fetch.
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/bin/node --no-experimental-fetch CACHE STRING "" FORCE)

# Libraries built from Debian's source packages by scripts/build-web-deps.sh.
# build/deps/wasm links to them in a cache outside the clone; the real path is
# what their pkg-config and CMake files name, so that is the root searched.
get_filename_component(TORV_WEB_DEPS ${CMAKE_CURRENT_LIST_DIR}/../build/deps/wasm REALPATH)
list(APPEND CMAKE_FIND_ROOT_PATH ${TORV_WEB_DEPS})
list(APPEND CMAKE_PREFIX_PATH ${TORV_WEB_DEPS})
set(ENV{PKG_CONFIG_LIBDIR} ${TORV_WEB_DEPS}/lib/pkgconfig)
set(ENV{PKG_CONFIG_PATH} "")
# Emscripten's sysroot carries a stand-in SDL2 package that asks for its download-only
# port (-sUSE_SDL=2); ours is the one built from Debian's source.
set(SDL2_DIR ${TORV_WEB_DEPS}/lib/cmake/SDL2 CACHE PATH "SDL2 built from Debian's source" FORCE)
