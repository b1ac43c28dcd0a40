// HostGame's loading: every file a player can lack or have damaged is named, and
// the player's own files fall back to the defaults; the icon from the game's art.
#include "game/host/host_game.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>

#include "archive/tam_archive_create.h"
#include "game/host/host_clock.h"
#include "game/host/window_icon.h"

namespace torv {
namespace {

class QuietShell : public HostShell {
public:
  void pump_events(HostGame& game) override { game.request_stop(); }
  void present(const FrameView&) override {}
  HostClock& clock() override { return clock_; }
  PadSource& pad() override { return pad_; }
  bool pad_attached() override { return false; }
  void request_quit() override {}

private:
  class NoPad : public PadSource {
    void get_xy(int32_t& x, int32_t& y) override { x = y = 0; }
    int get_button(int) override { return 0; }
    int get_any_button() override { return -1; }
  };
  SimulatedClock clock_;
  NoPad pad_;
};

class HostGameLoad : public testing::Test {
protected:
  void SetUp() override {
    dir_ = testing::TempDir() + "host_game_load_" + testing::UnitTest::GetInstance()->current_test_info()->name();
    mkdir(dir_.c_str(), 0777);
  }
  void TearDown() override {
    for (const char* f : {kDataArchive, kStageArchive, kSaveFile}) std::remove((dir_ + "/" + f).c_str());
    rmdir(dir_.c_str());
  }

  // Copies an archive of the game's data into the test folder, each member passed
  // through change (which may drop it by answering false).
  void copy_archive(const char* archive,
                    const std::function<bool(const std::string&, std::vector<uint8_t>&)>& change = nullptr) {
    ArchiveReader reader(TORV_DATA_DIR);
    CTamArchiveCreate out;
    for (const std::string& member : reader.members(archive)) {
      std::vector<uint8_t> bytes;
      ASSERT_EQ(reader.read(archive, member, bytes), 0);
      if (change && !change(member, bytes)) continue;
      ASSERT_EQ(out.AddMemory(bytes.data(), static_cast<int>(bytes.size()), member.c_str()), 0);
    }
    ASSERT_EQ(out.SaveArchive((dir_ + "/" + archive).c_str()), 0);
  }

  bool load(std::string* error) {
    HostGame game(shell_, {dir_, dir_ + "/" + kSaveFile, kDefaultFontPath});
    return game.load(error);
  }

  std::string dir_;
  QuietShell shell_;
};

TEST_F(HostGameLoad, TheWholeGameLoads) {
  copy_archive(kDataArchive);
  copy_archive(kStageArchive);
  std::string error;
  EXPECT_TRUE(load(&error)) << error;
}

TEST_F(HostGameLoad, NamesAMissingOrDamagedArchive) {
  std::string error;
  EXPECT_FALSE(load(&error));
  EXPECT_NE(error.find(dir_ + "/dat.tfa"), std::string::npos) << error;

  copy_archive(kDataArchive);
  {
    std::ofstream damaged(dir_ + "/" + kStageArchive, std::ios::binary);
    damaged << "not an archive at all";
  }
  EXPECT_FALSE(load(&error));
  EXPECT_NE(error.find(dir_ + "/sdat.tfa"), std::string::npos) << error;

  // Cut short in its last member (a music piece, read only when a stage plays it).
  copy_archive(kStageArchive);
  const std::string data = dir_ + "/" + kDataArchive;
  struct stat whole {};
  ASSERT_EQ(stat(data.c_str(), &whole), 0);
  ASSERT_EQ(truncate(data.c_str(), whole.st_size - 1000), 0);
  error.clear();
  EXPECT_FALSE(load(&error));
  EXPECT_NE(error.find(data), std::string::npos) << error;
}

TEST_F(HostGameLoad, NamesTheMembersThatAreMissingOrDoNotDecode) {
  copy_archive(kDataArchive, [](const std::string& member, std::vector<uint8_t>& bytes) {
    if (member == "jump.ogg" || member == "item.png") bytes.resize(bytes.size() / 2);
    return member != "timep.ogg";
  });
  copy_archive(kStageArchive);
  std::string error;
  EXPECT_FALSE(load(&error));
  EXPECT_NE(error.find("item.png"), std::string::npos) << error;

  copy_archive(kDataArchive, [](const std::string& member, std::vector<uint8_t>& bytes) {
    if (member == "jump.ogg") bytes.resize(bytes.size() / 2);
    return member != "timep.ogg";
  });
  EXPECT_FALSE(load(&error));
  EXPECT_NE(error.find("jump.ogg"), std::string::npos) << error;
  EXPECT_NE(error.find("timep.ogg"), std::string::npos) << error;
}

TEST_F(HostGameLoad, NamesAStageArchiveWithoutTheFirstStage) {
  copy_archive(kDataArchive);
  copy_archive(kStageArchive, [](const std::string& member, std::vector<uint8_t>&) { return member != kFirstStage; });
  std::string error;
  EXPECT_FALSE(load(&error));
  EXPECT_NE(error.find(kFirstStage), std::string::npos) << error;
}

TEST_F(HostGameLoad, ADamagedSaveFileGivesTheDefaultsAndSavingWritesAWholeOne) {
  copy_archive(kDataArchive);
  copy_archive(kStageArchive);
  {
    std::ofstream damaged(dir_ + "/" + kSaveFile, std::ios::binary);
    damaged << "\x0c\x00\x00\x00garbage";
  }
  HostGame game(shell_, {dir_, dir_ + "/" + kSaveFile, kDefaultFontPath});
  std::string error;
  ASSERT_TRUE(game.load(&error)) << error;
  EXPECT_EQ(game.key_config(), KeyConfig());
  for (const GameProgress& slot : game.saved()) EXPECT_TRUE(slot.stage_file.empty());

  GameProgress progress;
  progress.stage_file = "0003.afb";
  progress.archive_name = kStageArchive;
  progress.stage_number = 3;
  progress.lives = 2;
  game.save_progress(2, progress);
  KeyConfig keys;
  SaveSlots slots;
  ASSERT_EQ(read_save_file(dir_ + "/" + kSaveFile, keys, slots), SaveReadResult::kLoaded);
  EXPECT_EQ(slots[2], progress);
}

TEST(WindowIcon, IsTheHerosPictureScaledByWholePixels) {
  ArchiveReader reader(TORV_DATA_DIR);
  ImageStore images;
  std::string error;
  ASSERT_TRUE(images.load(reader, true, &error)) << error;
  Image icon;
  ASSERT_TRUE(make_window_icon(images, &icon));
  const Image& hero = *images.image(kImagePlayerWalk);
  ASSERT_EQ(icon.width, hero.width * kWindowIconScale);
  ASSERT_EQ(icon.height, hero.height * kWindowIconScale);
  for (int y = 0; y < icon.height; ++y) {
    for (int x = 0; x < icon.width; ++x) {
      for (int c = 0; c < 4; ++c) {
        ASSERT_EQ(icon.pixels[(static_cast<size_t>(y) * icon.width + x) * 4 + c],
                  hero.pixels[(static_cast<size_t>(y / kWindowIconScale) * hero.width + x / kWindowIconScale) * 4 + c]);
      }
    }
  }
  ImageStore nothing;
  EXPECT_FALSE(make_window_icon(nothing, &icon));
}

}  // namespace
}  // namespace torv
