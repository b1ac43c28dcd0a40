// The file location rules.
#include "game/sdl/file_locations.h"

namespace torv {

std::string path_in(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  return folder.back() == '/' ? folder + name : folder + "/" + name;
}

std::string user_data_folder(const char* xdg_data_home, const char* home) {
  if (xdg_data_home && xdg_data_home[0] == '/') return path_in(xdg_data_home, kUserFolderName);
  if (home && home[0] == '/') return path_in(path_in(home, ".local/share"), kUserFolderName);
  return "";
}

std::vector<std::string> archive_folder_candidates(const std::string& program_folder,
                                                   const std::string& installed_data_folder) {
  std::vector<std::string> candidates;
  if (!program_folder.empty()) {
    candidates.push_back(path_in(program_folder, "../share/torv"));
    candidates.push_back(path_in(program_folder, "../../data"));
  }
  if (!installed_data_folder.empty()) candidates.push_back(installed_data_folder);
  return candidates;
}

std::string first_archive_folder(const std::vector<std::string>& candidates,
                                 const std::function<bool(const std::string&)>& holds) {
  for (const std::string& folder : candidates) {
    if (holds(folder)) return folder;
  }
  return "";
}

}  // namespace torv
