# The posix thread model: the win32 variant of g++ 12 has no std::thread or std::mutex.
set(CMAKE_C_COMPILER ${TORV_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TORV_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${TORV_TRIPLET}-windres)
set(CMAKE_OBJDUMP ${TORV_TRIPLET}-objdump)

# Our cross-built libpng, libogg and libvorbis live in one prefix per triplet.
# Derived from this file's place (not a cache variable) so try_compile projects see it too.
if(DEFINED ENV{TORV_DEPS_ROOT})
  set(TORV_DEPS_PREFIX $ENV{TORV_DEPS_ROOT}/${CMAKE_SYSTEM_PROCESSOR})
else()
  get_filename_component(TORV_DEPS_PREFIX ${CMAKE_CURRENT_LIST_DIR}/../build/deps/${CMAKE_SYSTEM_PROCESSOR} ABSOLUTE)
endif()
set(CMAKE_FIND_ROOT_PATH /usr/${TORV_TRIPLET} ${TORV_DEPS_PREFIX})
set(CMAKE_PREFIX_PATH ${TORV_DEPS_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(ZLIB_USE_STATIC_LIBS ON)
