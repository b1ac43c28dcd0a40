// Small portable stand-ins for the few C-runtime calls the libraries use that
// differ between Windows and the native build.
#pragma once

#include <cstdint>

namespace torv {

// Milliseconds from an arbitrary start, wrapping like the Windows tick count.
uint32_t tick_ms();

// Case-insensitive compare with _stricmp's rules for ASCII letters: <0, 0, >0.
int ascii_stricmp(const char* a, const char* b);

// True when path names a file that can be opened for reading.
bool file_readable(const char* path);

}  // namespace torv
