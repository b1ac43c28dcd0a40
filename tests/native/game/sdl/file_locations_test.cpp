// Where the player's files and the archives are looked for.
#include "game/sdl/file_locations.h"

#include <gtest/gtest.h>

#include <set>

namespace torv {
namespace {

TEST(UserDataFolder, FollowsTheXdgRules) {
  struct Case {
    const char* xdg;
    const char* home;
    const char* folder;
  };
  const Case cases[] = {
      {"/data/me", "/home/me", "/data/me/torv"},
      {"/data/me/", "/home/me", "/data/me/torv"},
      {nullptr, "/home/me", "/home/me/.local/share/torv"},
      {"", "/home/me", "/home/me/.local/share/torv"},          // empty counts as unset
      {"relative/dir", "/home/me", "/home/me/.local/share/torv"},  // only absolute paths count
      {nullptr, nullptr, ""},
      {nullptr, "", ""},
      {"/x", nullptr, "/x/torv"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(user_data_folder(c.xdg, c.home), c.folder)
        << (c.xdg ? c.xdg : "(unset)") << " " << (c.home ? c.home : "(unset)");
  }
}

TEST(ArchiveFolders, InstalledRelativeThenBuildTreeThenInstalledAbsolute) {
  const std::vector<std::string> expected = {"/src/build/linux/bin/../share/torv", "/src/build/linux/bin/../../data",
                                             "/usr/local/share/torv"};
  EXPECT_EQ(archive_folder_candidates("/src/build/linux/bin/", "/usr/local/share/torv"), expected);
  EXPECT_EQ(archive_folder_candidates("/src/build/linux/bin", "/usr/local/share/torv"), expected);
  EXPECT_EQ(archive_folder_candidates("", "/usr/share/torv"), std::vector<std::string>{"/usr/share/torv"});

  const std::set<std::string> holding = {"/src/build/linux/bin/../../data", "/usr/local/share/torv"};
  auto holds = [&](const std::string& f) { return holding.count(f) > 0; };
  EXPECT_EQ(first_archive_folder(expected, holds), "/src/build/linux/bin/../../data");
  EXPECT_EQ(first_archive_folder(expected, [](const std::string&) { return false; }), "");
}

}  // namespace
}  // namespace torv
