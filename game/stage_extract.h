// Stage files out of an archive through the archive library's file interface
// (open the archive, save a member to a file): the member goes to a temporary file
// with a name of its own, is read whole and the file is removed again, on success
// and on failure alike, so no stage file is ever half read or left behind.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace torv {

// The archive library's calls: 0 on success.
using OpenArchiveCall = std::function<int(const char* archive)>;
using SaveMemberCall = std::function<int(const char* member, const char* dest_path)>;

// With an empty archive name, reads file from disk. Otherwise opens the archive,
// saves the member file to a fresh temporary file in the working directory and
// reads that. 0 and the whole content in bytes; -1 on any failure (bytes untouched).
int fetch_stage_file(const std::string& file, const std::string& archive, const OpenArchiveCall& open_archive,
                     const SaveMemberCall& save_member, std::vector<uint8_t>& bytes);

// Reads a whole file. False (bytes untouched) when it cannot be read.
bool read_whole_file(const std::string& path, std::vector<uint8_t>& bytes);

// A file name in the working directory that no file has yet: "torv_stage_<n>.tmp".
std::string unused_temp_name();

}  // namespace torv
