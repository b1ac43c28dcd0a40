// File helpers of the archive library: the few checks and whole-file writes that
// the reader, the writer and CTamBinary share. Portable: no windows.h.
#pragma once

#include <cstdint>
#include <cstdio>

namespace torv {

// True when path names an existing regular file that can be opened for reading.
// fopen alone is not enough: on Linux it opens directories too.
bool regular_file_readable(const char* path);

// Length of the open file in bytes, or -1. Leaves the position at the start.
int64_t file_length(std::FILE* f);

// Writes len bytes (len 0 gives an empty file), replacing any existing file.
// Answers 0, or -1 when the file cannot be created or a write or the close fails;
// a file that failed part way is removed so no truncated copy is left behind.
int write_whole_file(const char* path, const unsigned char* data, int len);

}  // namespace torv
