// What stagec writes, the game's own stage reader loads: the same fields and tiles.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/stage_file.h"
#include "tools/stagec/stage_file.h"
#include "tools/stagec/stage_source.h"

namespace {

TEST(StagecWithGameReader, TheGameLoadsEveryFieldAndTile) {
  std::string text = "title: 氷の谷 7\nbackground: 5\nstart: 199 118\ntime: 999\nnext: allclear\nmap:\n";
  std::vector<std::string> map(120, std::string(200, '.'));
  const std::string symbols = ".#=%M^hHwLsryXVZ~ud>v_\\/fFiI123456G<ABSRY";
  for (size_t i = 0; i < symbols.size(); ++i) map[i % 120][i] = symbols[i];
  map[119][199] = 'B';
  for (const std::string& row : map) text += row + "\n";
  stagec::Stage stage;
  ASSERT_EQ(stagec::parse_stage(text, "t.txt", stage), "");
  const std::vector<uint8_t> bytes = stagec::encode_stage(stage);

  torv::StageFile loaded;
  ASSERT_EQ(torv::read_stage_file(bytes.data(), bytes.size(), &loaded), torv::StageFileError::kNone);
  EXPECT_EQ(loaded.title, stage.title_sjis);
  EXPECT_EQ(loaded.background, 5);
  EXPECT_EQ(loaded.start_column, 199);
  EXPECT_EQ(loaded.start_row, 118);
  EXPECT_EQ(loaded.time_limit_seconds, 999);
  EXPECT_EQ(loaded.next_base_name, "allclear");
  for (int c = 0; c < 200; ++c)
    for (int r = 0; r < 120; ++r) ASSERT_EQ(loaded.tile(c, r), stage.tiles[c][r]) << c << "," << r;
  EXPECT_EQ(loaded.tile(199, 119), 37);
  // And the game's writer gives back the very bytes stagec wrote.
  EXPECT_EQ(torv::write_stage_file(loaded), bytes);
}

}  // namespace
