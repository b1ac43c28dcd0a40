// Where the SDL front-end keeps and finds its files, by the platform's conventions.
// Plain rules over strings, so they are tested without touching the disk; the
// platform seam (platform_files.h) supplies the environment and the disk.
//
// - The player's files ("save.dat", "Setting.ini") live in $XDG_DATA_HOME/torv/, or
//   ~/.local/share/torv/ when XDG_DATA_HOME is unset, empty or not an absolute path
//   (as the XDG base directory rules say).
// - The archives ("dat.tfa", "sdat.tfa") are taken from --data DIR when given, else
//   from the first of: the installed data folder relative to the program (bin →
//   share/torv), the build's data folder next to the program (build/<tree>/bin →
//   build/data), and the data folder the program was installed for.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace torv {

inline constexpr char kUserFolderName[] = "torv";

// Null for an unset variable. Empty when no folder can be named (no usable HOME).
std::string user_data_folder(const char* xdg_data_home, const char* home);

// program_folder: the executable's folder, with or without a trailing "/";
// installed_data_folder: the absolute data folder fixed at build time (may be empty).
std::vector<std::string> archive_folder_candidates(const std::string& program_folder,
                                                   const std::string& installed_data_folder);

// The first candidate for which holds(folder) is true, or empty.
std::string first_archive_folder(const std::vector<std::string>& candidates,
                                 const std::function<bool(const std::string&)>& holds);

// folder + "/" + name, without doubling a trailing "/".
std::string path_in(const std::string& folder, const std::string& name);

}  // namespace torv
