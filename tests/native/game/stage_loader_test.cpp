#include "game/stage_loader.h"

#include <gtest/gtest.h>

#include "game/object_markers.h"
#include "game/play_draw.h"
#include "game/play_frame.h"
#include "play_fakes.h"

namespace torv {
namespace {

using test::FakeServices;
using test::MemoryStages;

TEST(LoadStage, PutsTheStageInPlay) {
  FakeServices services;
  MemoryStages stages;
  StageFile stage = test::flat_stage();
  stage.start_column = 0;
  stage.start_row = 0;
  stage.background = 3;
  stage.set_tile(7, 7, kTileItemFirst);
  stage.set_tile(8, 8, kTileGoal);
  stages.files["0001.afb"] = write_stage_file(stage);

  GameState state;
  reset_progress(state);
  state.player.attack_mode = kModeIce;
  state.player.attack_switch_timer = 4;
  state.player.status = kStatusGoal;
  ASSERT_EQ(load_stage(state, "0001.afb", "sdat.tfa", stages, services), 0);

  EXPECT_EQ(state.player.x, 4);  // start cell (0, 0)
  EXPECT_EQ(state.player.y, 4);
  EXPECT_EQ(state.player.time_left, 18000);  // 300 seconds
  EXPECT_EQ(state.player.status, kStatusPlaying);
  EXPECT_EQ(state.player.attack_mode, kModeIce);  // kept across stages
  EXPECT_EQ(state.player.attack_switch_timer, 4);
  EXPECT_EQ(state.progress.stage_file, "0001.afb");
  EXPECT_EQ(state.progress.archive_name, "sdat.tfa");
  EXPECT_EQ(state.progress.stage_title, "test");
  EXPECT_EQ(state.progress.next_stage_file, "0002.afb");
  EXPECT_EQ(state.grid.tile(7, 7), kTileItemFirst);
  EXPECT_TRUE(state.grid.solid(7, 7));
  EXPECT_EQ(state.grid.tile(8, 8), kTileGoal);
  EXPECT_FALSE(state.grid.solid(8, 8));
  EXPECT_TRUE(state.grid.solid(0, 20));
  ASSERT_EQ(services.backgrounds.size(), 1u);
  EXPECT_EQ(services.backgrounds[0], "3.png");
  // Seeded from the clock: the generator continues exactly as a fresh one seeded so.
  GameRandom fresh;
  fresh.seed(services.clock);
  EXPECT_EQ(state.random, fresh);
}

// Start cells outside the grid are played from the file, frame by frame (the
// flat stage's floor is row 20; a player at rest on it has y 463).
TEST(LoadStage, AStartCellOutsideTheGridIsPlayed) {
  struct Case {
    const char* what;
    int32_t column, row;
    const char* keys;  // held every frame
    int frames;
    int x, y;  // after the frames; y -1: not checked
    int32_t status;
  };
  const Case cases[] = {
      {"row -1 falls onto the floor below", 5, -1, "", 240, 124, test::kRestY, kStatusPlaying},
      {"column 250 ends at the right edge", 250, 19, "", 30, 4784, test::kRestY, kStatusPlaying},
      {"column -3 ends at the left edge", -3, 19, "", 30, 0, test::kRestY, kStatusPlaying},
      {"row 120 is below the floor: the life is lost", 5, 120, "", 1, 124, -1, kStatusLifeLost},
      // The farthest starts a file may hold, played with every button: nothing may
      // overflow on the way.
      {"the rightmost start", 89478485, 19, "RSJA", 30, 4784, -1, kStatusPlaying},
      {"the leftmost start", -89478485, 19, "LSJA", 30, 0, -1, kStatusPlaying},
      {"the lowest start", 5, 89478485, "JA", 1, 124, -1, kStatusLifeLost},
      {"the highest start", 5, -89478485, "JAC", 120, 124, -1, kStatusPlaying},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakeServices services;
    MemoryStages stages;
    StageFile stage = test::flat_stage();
    stage.start_column = c.column;
    stage.start_row = c.row;
    stages.files["0001.afb"] = write_stage_file(stage);
    GameState state;
    reset_progress(state);
    ASSERT_EQ(load_stage(state, "0001.afb", "sdat.tfa", stages, services), 0);
    test::RecordingCanvas canvas{services};
    for (int frame = 1; frame <= c.frames && state.player.status == kStatusPlaying; ++frame) {
      step_play_frame(state, test::pressed(c.keys), frame, services);
      draw_frame(canvas, state, frame, 60);
    }
    EXPECT_EQ(state.player.x, c.x);
    if (c.y != -1) {
      EXPECT_EQ(state.player.y, c.y);
    }
    EXPECT_EQ(state.player.status, c.status);
  }
}

TEST(LoadStage, AnyFailureLeavesThePreviousStageUntouched) {
  FakeServices services;
  MemoryStages stages;
  stages.files["good.afb"] = write_stage_file(test::flat_stage());
  std::vector<uint8_t> bad_version = stages.files["good.afb"];
  bad_version[4] = 0xB7;
  stages.files["version.afb"] = bad_version;
  std::vector<uint8_t> short_tiles = stages.files["good.afb"];
  short_tiles.pop_back();
  stages.files["short.afb"] = short_tiles;

  GameState state;
  reset_progress(state);
  ASSERT_EQ(load_stage(state, "good.afb", "sdat.tfa", stages, services), 0);
  state.player.x = 777;
  state.player.status = kStatusLifeLost;
  state.grid.set_tile(1, 1, kTileGoal);
  state.progress.score = 4321;
  const GameState before = state;

  struct Case {
    const char* file;
    const char* archive;
  };
  for (Case c : {Case{"missing.afb", "sdat.tfa"}, Case{"good.afb", "other.tfa"}, Case{"version.afb", "sdat.tfa"},
                 Case{"short.afb", "sdat.tfa"}}) {
    SCOPED_TRACE(c.file);
    EXPECT_EQ(load_stage(state, c.file, c.archive, stages, services), -1);
    EXPECT_EQ(state.player, before.player);
    EXPECT_EQ(state.progress, before.progress);
    EXPECT_EQ(state.grid, before.grid);
    EXPECT_EQ(state.objects, before.objects);
  }
  EXPECT_EQ(services.backgrounds.size(), 1u);
}

TEST(LoadStage, MarkersBecomeObjectsInColumnMajorOrderAndCellsAreCleared) {
  FakeServices services;
  StageFile stage = test::flat_stage();
  stage.set_tile(9, 3, 13);   // later column
  stage.set_tile(2, 10, 16);  // earlier column, lower row
  stage.set_tile(2, 4, 10);   // earlier column, upper row
  GameState state = test::state_on(stage, services);
  ASSERT_EQ(state.objects.size(), 3u);
  EXPECT_EQ(state.objects[0].type, kSlime);
  EXPECT_EQ(state.objects[1].type, kPlatformSide);
  EXPECT_EQ(state.objects[2].type, kSpikeFlyer);
  EXPECT_EQ(state.grid.tile(9, 3), 0);
  EXPECT_EQ(state.grid.tile(2, 10), 0);
  EXPECT_EQ(state.grid.tile(2, 4), 0);
}

TEST(ObjectMarkers, StartValuesFollowTheMarkerTable) {
  // Marker cell (10, 20): cx 240, cy 480.
  struct Row {
    int code;
    MovingObject expected;  // dy of 99 means random
  };
  auto obj = [](int32_t type, int32_t y, int32_t dx, int32_t dy, int32_t w, int32_t h, int32_t hp, int32_t speed,
                int32_t x_min, int32_t x_max, int32_t y_min, int32_t y_max, int32_t ledge, int32_t awake) {
    MovingObject o;
    o.type = type;
    o.x = 240;
    o.y = y;
    o.dx = dx;
    o.dy = dy;
    o.w = w;
    o.h = h;
    o.hp = hp;
    o.speed = speed;
    o.x_min = x_min;
    o.x_max = x_max;
    o.y_min = y_min;
    o.y_max = y_max;
    o.ledge = ledge;
    o.alive = 1;
    o.awake = awake;
    return o;
  };
  const Row rows[] = {
      {10, obj(0, 492, 1, 0, 24, 11, 1, 1, 0, 4800, 0, 2880, 0, 0)},
      {11, obj(1, 492, 1, 0, 24, 11, 1, 1, 0, 4800, 0, 2880, 1, 0)},
      {12, obj(2, 492, 0, 99, 24, 11, 1, 1, 240, 240, 444, 540, 0, 0)},
      {13, obj(3, 480, 1, 0, 24, 24, 5, 1, 0, 4800, 0, 2880, 0, 1)},
      {14, obj(4, 480, 0, 1, 24, 24, 5, 1, 0, 4800, 0, 2880, 0, 1)},
      {15, obj(5, 480, 1, 1, 24, 24, 5, 1, 0, 4800, 0, 2880, 0, 0)},
      {16, obj(6, 480, 1, 0, 48, 4, 1, 2, 0, 4800, 0, 2880, 1, 1)},
      {17, obj(7, 480, 0, -1, 48, 4, 1, 2, 0, 4800, 0, 2880, 1, 1)},
      {18, obj(8, 480, 0, 1, 48, 4, 1, 2, 0, 4800, 0, 2880, 1, 1)},
      {19, obj(9, 480, 1, 0, 48, 4, 1, 2, 192, 288, 0, 2880, 1, 1)},
      {20, obj(10, 480, 0, 1, 48, 4, 1, 2, 0, 4800, 432, 528, 1, 1)},
      {21, obj(11, 480, 0, 0, 48, 4, 1, 2, 0, 4800, 0, 2880, 1, 1)},
      {22, obj(12, 480, 1, 1, 48, 4, 1, 2, 192, 288, 0, 2880, 1, 1)},
      {23, obj(13, 480, -1, 1, 48, 4, 1, 2, 192, 288, 0, 2880, 1, 1)},
      {35, obj(9, 480, -1, 0, 48, 4, 1, 2, 192, 288, 0, 2880, 1, 1)},
      {36, obj(10, 480, 0, -1, 48, 4, 1, 2, 0, 4800, 432, 528, 1, 1)},
      {38, obj(16, 491, 1, 0, 24, 24, 5, 1, 0, 4800, 0, 2880, 0, 0)},
      {39, obj(17, 491, 1, 0, 24, 24, 5, 1, 0, 4800, 0, 2880, 1, 0)},
      // Centred on the start y cy + 11, not on cy.
      {40, obj(18, 491, 0, 99, 24, 24, 5, 1, 240, 240, 443, 539, 0, 0)},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.code);
    GameRandom random;
    MovingObject o;
    ASSERT_TRUE(object_from_marker(row.code, 10, 20, random, &o));
    MovingObject expected = row.expected;
    if (expected.dy == 99) {
      GameRandom replay;
      expected.dy = replay.next() % 2 != 0 ? -1 : 1;
      EXPECT_EQ(random, replay);  // exactly one number drawn
    } else {
      EXPECT_EQ(random, GameRandom());  // none drawn
    }
    EXPECT_EQ(o, expected);
  }
  for (int code = 0; code < 256; ++code) {
    const bool marker = (code >= 10 && code <= 23) || code == 35 || code == 36 || (code >= 38 && code <= 40);
    EXPECT_EQ(is_object_marker(code), marker) << code;
  }
}

TEST(ObjectMarkers, RandomDirectionIsUpForOddAndDownForEven) {
  int ups = 0, downs = 0;
  GameRandom random;
  for (int i = 0; i < 64; ++i) {
    GameRandom peek = random;
    const bool odd = peek.next() % 2 != 0;
    MovingObject o;
    ASSERT_TRUE(object_from_marker(12, 1, 1, random, &o));
    EXPECT_EQ(o.dy, odd ? -1 : 1);
    (o.dy < 0 ? ups : downs)++;
  }
  EXPECT_GT(ups, 0);
  EXPECT_GT(downs, 0);
}

TEST(ResetProgress, StartsANewGameInFireMode) {
  GameState state;
  state.progress.stage_file = "0004.afb";
  state.progress.score = 99;
  state.player.attack_mode = kModeClose;
  state.player.attack_switch_timer = 7;
  state.player.x = 55;
  reset_progress(state);
  GameProgress expected;
  expected.fire_ammo = 15;
  expected.ice_ammo = 15;
  expected.lives = 5;
  expected.stage_number = 1;
  EXPECT_EQ(state.progress, expected);
  EXPECT_EQ(state.player, PlayerState());
  EXPECT_EQ(state.player.attack_kind, -1);
  EXPECT_EQ(state.player.ridden, -1);
  EXPECT_EQ(state.player.status, -1);
  EXPECT_EQ(state.player.speed_factor, 0);
}

}  // namespace
}  // namespace torv
