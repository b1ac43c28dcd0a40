// Every stage in the built "sdat.tfa" loads with the game's own stage reader, and
// agrees with the test reader field for field.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "archive/tam_archive_expand.h"
#include "game/stage_file.h"
#include "tests/native/data/stage_reader.h"

namespace {

TEST(StagesWithGameReader, EveryStageLoadsAsTheGameReadsIt) {
  CTamArchiveExpand archive;
  ASSERT_EQ(archive.OpenArchive((std::string(TORV_DATA_DIR) + "/sdat.tfa").c_str()), 0);
  ASSERT_GT(archive.GetDataCount(), 0);
  for (int i = 0; i < archive.GetDataCount(); ++i) {
    const std::string name = archive.GetFileTitle(i);
    unsigned char* data = nullptr;
    const int size = archive.GetMemory(i, &data);
    ASSERT_GT(size, 0) << name;
    torv::StageFile game;
    ASSERT_EQ(torv::read_stage_file(data, static_cast<size_t>(size), &game), torv::StageFileError::kNone) << name;
    stage_test::StageFile mine;
    ASSERT_EQ(stage_test::read_stage(data, static_cast<size_t>(size), mine), "") << name;
    EXPECT_EQ(game.title, mine.title) << name;
    EXPECT_EQ(game.next_base_name, mine.next) << name;
    EXPECT_EQ(game.start_column, mine.start_column) << name;
    EXPECT_EQ(game.start_row, mine.start_row) << name;
    EXPECT_EQ(game.time_limit_seconds, mine.time_seconds) << name;
    EXPECT_TRUE(std::equal(game.tiles.begin(), game.tiles.end(), mine.tiles.begin())) << name;
  }
}

}  // namespace
