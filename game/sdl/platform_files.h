// Platform seam: the environment and the disk as the file locations need them
// (platform_files_posix.cpp on Linux; the browser build has its own).
#pragma once

#include <string>

namespace torv {

// The folder of the player's files, created (with its parents) when missing. Empty
// when it cannot be named or made.
std::string prepare_user_folder();

// The folder holding both archives: data_option (the --data folder) as it is when
// given, else the first found by the rules of file_locations.h. Empty when none
// holds them; *searched then lists where they were looked for.
std::string locate_archives(const std::string& data_option, std::string* searched);

// Whether a file exists and can be opened for reading.
bool file_readable(const std::string& path);

}  // namespace torv
