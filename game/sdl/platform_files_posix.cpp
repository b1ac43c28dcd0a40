// File locations on a POSIX system.
#include <sys/stat.h>
#include <unistd.h>

#include <SDL2/SDL_filesystem.h>
#include <SDL2/SDL_stdinc.h>

#include <cerrno>
#include <cstdlib>

#include "game/resource_tables.h"
#include "game/sdl/file_locations.h"
#include "game/sdl/platform_files.h"

namespace torv {

namespace {

// mkdir -p.
bool make_folders(const std::string& path) {
  for (size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
    const std::string part = path.substr(0, slash);
    if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
    if (slash == std::string::npos) break;
  }
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string program_folder() {
  char* base = SDL_GetBasePath();
  if (!base) return "";
  std::string folder = base;
  SDL_free(base);
  return folder;
}

bool holds_archives(const std::string& folder) {
  return file_readable(path_in(folder, kDataArchive)) && file_readable(path_in(folder, kStageArchive));
}

}  // namespace

bool file_readable(const std::string& path) { return access(path.c_str(), R_OK) == 0; }

std::string prepare_user_folder() {
  const std::string folder = user_data_folder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
  if (folder.empty() || !make_folders(folder)) return "";
  return folder;
}

std::string locate_archives(const std::string& data_option, std::string* searched) {
  // A folder named by the player is taken as it is: loading then names what it lacks.
  if (!data_option.empty()) return data_option;
  const std::vector<std::string> candidates = archive_folder_candidates(program_folder(), TORV_INSTALLED_DATA_DIR);
  searched->clear();
  for (const std::string& folder : candidates) *searched += (searched->empty() ? "" : ", ") + folder;
  return first_archive_folder(candidates, holds_archives);
}

}  // namespace torv
