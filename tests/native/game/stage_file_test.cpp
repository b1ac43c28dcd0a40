#include "game/stage_file.h"

#include <gtest/gtest.h>

#include "game_fakes.h"

namespace torv {
namespace {

std::vector<uint8_t> sample_bytes() { return write_stage_file(test::flat_stage()); }

TEST(StageFile, RoundTripKeepsEveryField) {
  StageFile stage = test::flat_stage();
  stage.title = "\x83X\x83" "e\x81[\x83W";  // Shift-JIS, with a byte that is ASCII "e"
  stage.background = -7;
  stage.start_column = 199;
  stage.start_row = 0;
  stage.set_tile(3, 119, 40);
  const std::vector<uint8_t> bytes = write_stage_file(stage);
  EXPECT_EQ(bytes.size(), 6 + (4 + stage.title.size()) + 16 + (4 + 4) + 24000);
  StageFile read;
  ASSERT_EQ(read_stage_file(bytes.data(), bytes.size(), &read), StageFileError::kNone);
  EXPECT_EQ(read.title, stage.title);
  EXPECT_EQ(read.background, -7);
  EXPECT_EQ(read.start_column, 199);
  EXPECT_EQ(read.start_row, 0);
  EXPECT_EQ(read.time_limit_seconds, 300);
  EXPECT_EQ(read.next_base_name, "0002");
  EXPECT_EQ(read.tiles, stage.tiles);
}

TEST(StageFile, EmptyTitleIsFollowedDirectlyByTheNextField) {
  StageFile stage = test::flat_stage();
  stage.title.clear();
  const std::vector<uint8_t> bytes = write_stage_file(stage);
  // Length 0, then the background number at offset 10.
  EXPECT_EQ(bytes[6] | bytes[7] | bytes[8] | bytes[9], 0);
  EXPECT_EQ(bytes[10], 1);
  StageFile read;
  ASSERT_EQ(read_stage_file(bytes.data(), bytes.size(), &read), StageFileError::kNone);
  EXPECT_EQ(read.title, "");
  EXPECT_EQ(read.background, 1);
}

TEST(StageFile, RefusesWrongMagicAndVersion) {
  struct Case {
    size_t offset;
    uint8_t value;
    StageFileError error;
  };
  const Case cases[] = {
      {0, 't', StageFileError::kBadMagic},   {1, 'X', StageFileError::kBadMagic},
      {2, 'r', StageFileError::kBadMagic},   {3, 0, StageFileError::kBadMagic},
      {4, 0xB7, StageFileError::kBadVersion},  // 2999 = 0x0BB7
      {4, 0xB9, StageFileError::kBadVersion},  // 3001 = 0x0BB9
      {5, 0x0C, StageFileError::kBadVersion},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> bytes = sample_bytes();
    bytes[c.offset] = c.value;
    StageFile out;
    out.title = "untouched";
    EXPECT_EQ(read_stage_file(bytes.data(), bytes.size(), &out), c.error) << c.offset;
    EXPECT_EQ(out.title, "untouched");
  }
}

TEST(StageFile, EveryShortFileIsRefusedWithoutTouchingTheOutput) {
  const std::vector<uint8_t> bytes = sample_bytes();
  for (size_t size = 0; size < bytes.size(); ++size) {
    StageFile out;
    out.background = 99;
    ASSERT_EQ(read_stage_file(bytes.data(), size, &out), StageFileError::kTruncated) << size;
    ASSERT_EQ(out.background, 99);
  }
  StageFile out;
  EXPECT_EQ(read_stage_file(bytes.data(), bytes.size(), &out), StageFileError::kNone);
}

TEST(StageFile, RefusesDamagedLengthsStartCellsAndTimeLimits) {
  struct Case {
    const char* what;
    void (*damage)(StageFile&);
    StageFileError error;
  };
  const Case cases[] = {
      // A start cell outside the grid is played (row -1 drops the player in from
      // above); only a pixel position that int cannot hold is refused.
      {"start column 200", [](StageFile& s) { s.start_column = 200; }, StageFileError::kNone},
      {"start row -1", [](StageFile& s) { s.start_row = -1; }, StageFileError::kNone},
      {"start row 120", [](StageFile& s) { s.start_row = 120; }, StageFileError::kNone},
      {"start column at x 2147483644", [](StageFile& s) { s.start_column = 89478485; }, StageFileError::kNone},
      {"start column past INT32_MAX", [](StageFile& s) { s.start_column = 89478486; }, StageFileError::kBadStart},
      {"start row at y -2147483636", [](StageFile& s) { s.start_row = -89478485; }, StageFileError::kNone},
      {"start row below INT32_MIN", [](StageFile& s) { s.start_row = -89478486; }, StageFileError::kBadStart},
      {"start row INT32_MAX", [](StageFile& s) { s.start_row = INT32_MAX; }, StageFileError::kBadStart},
      {"start column INT32_MIN", [](StageFile& s) { s.start_column = INT32_MIN; }, StageFileError::kBadStart},
      {"negative time", [](StageFile& s) { s.time_limit_seconds = -1; }, StageFileError::kBadTimeLimit},
      {"time past int range in frames", [](StageFile& s) { s.time_limit_seconds = kMaxStageSeconds + 1; },
       StageFileError::kBadTimeLimit},
      {"longest time", [](StageFile& s) { s.time_limit_seconds = kMaxStageSeconds; }, StageFileError::kNone},
      {"longest title", [](StageFile& s) { s.title.assign(kMaxStageTextBytes, 'x'); }, StageFileError::kNone},
      {"title one byte longer", [](StageFile& s) { s.title.assign(kMaxStageTextBytes + 1, 'x'); },
       StageFileError::kLongText},
      {"longest next stage name", [](StageFile& s) { s.next_base_name.assign(kMaxStageTextBytes, 'n'); },
       StageFileError::kNone},
      {"next stage name one byte longer", [](StageFile& s) { s.next_base_name.assign(kMaxStageTextBytes + 1, 'n'); },
       StageFileError::kLongText},
  };
  for (const Case& c : cases) {
    StageFile stage = test::flat_stage();
    c.damage(stage);
    const std::vector<uint8_t> bytes = write_stage_file(stage);
    StageFile out;
    EXPECT_EQ(read_stage_file(bytes.data(), bytes.size(), &out), c.error) << c.what;
  }
  // A title length that claims more than the file holds, or a negative one.
  for (int32_t length : {-1, 0x7FFFFFFF, 24100}) {
    std::vector<uint8_t> bytes = sample_bytes();
    for (int i = 0; i < 4; ++i) bytes[6 + i] = static_cast<uint8_t>(static_cast<uint32_t>(length) >> (8 * i));
    StageFile out;
    EXPECT_EQ(read_stage_file(bytes.data(), bytes.size(), &out), StageFileError::kTruncated) << length;
  }
}

}  // namespace
}  // namespace torv
