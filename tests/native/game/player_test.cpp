#include "game/player.h"

#include <gtest/gtest.h>

#include "game/object_markers.h"
#include "game_fakes.h"

namespace torv {
namespace {

using test::FakeServices;
using test::kRestY;
using test::pressed;

class PlayerTest : public testing::Test {
protected:
  void SetUp() override { state = test::state_on(test::flat_stage(), services); }
  void step(const std::string& keys, int frame_counter = 1) {
    update_player(state, pressed(keys), frame_counter, services);
  }
  void put_block(int column, int row, uint8_t code) {
    state.grid.set_tile(column, row, code);
    state.grid.set_solid(column, row, tile_is_solid_at_load(code));
  }
  int add_slime(int x, int y) {
    MovingObject o;
    GameRandom random;
    object_from_marker(10, 0, 0, random, &o);
    o.x = x;
    o.y = y;
    o.awake = 1;
    state.objects.push_back(o);
    return static_cast<int>(state.objects.size()) - 1;
  }
  FakeServices services;
  GameState state;
};

TEST_F(PlayerTest, StandsStillOnTheFloor17PixelsAboveItsTop) {
  for (int i = 0; i < 10; ++i) step("");
  EXPECT_EQ(state.player.y, kRestY);
  EXPECT_EQ(state.player.rise_fall, 12);
  EXPECT_EQ(state.player.jump_frames, 0);
  EXPECT_EQ(state.player.status, kStatusPlaying);
}

TEST_F(PlayerTest, SettlesOnePixelAtATimeAfterALanding) {
  state.player.y = kRestY - 3;  // on the 4-pixel grid, just above the rest position
  std::vector<int> ys;
  for (int i = 0; i < 5; ++i) {
    step("");
    ys.push_back(state.player.y);
  }
  EXPECT_EQ(ys, (std::vector<int>{kRestY - 2, kRestY - 1, kRestY, kRestY, kRestY}));
}

TEST_F(PlayerTest, DashStartsOnlyOnAFourPixelBoundary) {
  state.player.x = 102;
  std::vector<int> xs;
  for (int i = 0; i < 4; ++i) {
    step("RS");
    xs.push_back(state.player.x);
  }
  EXPECT_EQ(xs, (std::vector<int>{104, 108, 112, 116}));
  step("R");  // releasing dash walks at once
  EXPECT_EQ(state.player.x, 118);
  EXPECT_EQ(state.player.speed_factor, 1);
}

TEST_F(PlayerTest, ASpeedFactorOfZeroWalksInsteadOfDividingByZero) {
  reset_player(state.player);  // factor 0
  state.player.x = 102;
  state.player.y = kRestY;
  step("RS", 0);
  EXPECT_EQ(state.player.x, 104);
  EXPECT_EQ(state.player.speed_factor, 1);
}

TEST_F(PlayerTest, ThreePixelsFromAWallTheDashTakesTheTwoPixelStep) {
  put_block(5, 19, kTilePlain);  // wall from x 120
  state.player.x = 101;          // right edge 116: 3 pixels of room
  state.player.speed_factor = 2;
  step("RS");
  EXPECT_EQ(state.player.x, 103);
  EXPECT_EQ(state.player.speed_factor, 1);
  step("RS");  // 1 pixel left: no step fits
  EXPECT_EQ(state.player.x, 103);
  // The same to the left: wall cell 3 ends at x 95, the player at 99.
  put_block(3, 19, kTilePlain);
  state.player.x = 99;
  state.player.speed_factor = 2;
  step("LS");
  EXPECT_EQ(state.player.x, 97);
  EXPECT_EQ(state.player.speed_factor, 1);
}

TEST_F(PlayerTest, WalkingAnimationAdvancesEveryFourFramesOrTwoWhenDashing) {
  struct Case {
    const char* keys;
    int frame_counter;
    int frame_change;
  };
  for (Case c : {Case{"R", 4, 1}, Case{"R", 2, 0}, Case{"R", 3, 0}, Case{"RS", 2, 1}, Case{"RS", 3, 0},
                 Case{"L", 8, -1}, Case{"LS", 6, -1}, Case{"", 4, 0}}) {
    SetUp();
    state.player.x = 200;
    state.player.anim_frame = 3;
    step(c.keys, c.frame_counter);
    EXPECT_EQ(state.player.anim_frame, 3 + c.frame_change) << c.keys << " at " << c.frame_counter;
  }
  state.player.anim_frame = 7;
  step("R", 0);
  EXPECT_EQ(state.player.anim_frame, 0);
  step("L", 0);
  EXPECT_EQ(state.player.anim_frame, 7);
}

TEST_F(PlayerTest, AnAttackPoseStopsWalking) {
  state.player.attack_state = kAttackShotPose;
  const int x = state.player.x;
  step("R");
  EXPECT_EQ(state.player.x, x);
  EXPECT_EQ(state.player.facing_left, 0);
}

TEST_F(PlayerTest, AHeldJumpRisesFourPixelsForThirtyFrames) {
  services.sounds.clear();
  int rising = 0;
  for (int i = 0; i < 40; ++i) {
    const int y = state.player.y;
    step("J");
    if (state.player.y == y - 4) ++rising;
  }
  EXPECT_EQ(rising, 30);
  EXPECT_EQ(services.count(kEffectJump), 1);
  // Released early, the fast rise ends and the slow top of the jump begins.
  SetUp();
  step("J");
  step("J");
  step("");
  EXPECT_EQ(state.player.rise_fall, 24);
  EXPECT_EQ(state.player.jump_frames, -1);
}

TEST_F(PlayerTest, StompsScoreOneTwoThreeHundredAndLandingEndsTheCombo) {
  const int slime_y = test::kFloorTop - 11;
  for (int stomp = 1; stomp <= 3; ++stomp) {
    // The player falls 4 pixels this frame: its feet (y + 16) reach the slime's top.
    state.player.y = slime_y - 17;
    state.player.jump_frames = -1;
    state.player.rise_fall = 24;
    const int score = state.progress.score;
    const int index = add_slime(state.player.x - 4, slime_y);
    services.sounds.clear();
    step("");
    EXPECT_EQ(state.progress.score - score, stomp * 100) << stomp;
    EXPECT_EQ(state.player.stomp_combo, stomp);
    EXPECT_EQ(services.count(kEffectEnemyDead), 1);
    const MovingObject& slime = state.objects[static_cast<size_t>(index)];
    EXPECT_TRUE(!slime.alive || is_pickup(slime.type));  // defeated: gone, or a pickup
  }
  for (int i = 0; i < 60; ++i) step("");
  EXPECT_EQ(state.player.y, kRestY);
  EXPECT_EQ(state.player.stomp_combo, 0);
}

TEST_F(PlayerTest, HoldingJumpThroughAStompRisesForSixtyFrames) {
  const int slime_y = test::kFloorTop - 11;
  state.player.y = slime_y - 17;
  state.player.jump_frames = -1;
  state.player.rise_fall = 24;
  state.player.jump_latch = 1;  // jump held since an earlier jump
  add_slime(state.player.x, slime_y);
  int rising = 0;
  for (int i = 0; i < 80; ++i) {
    const int y = state.player.y;
    step("J");
    if (state.player.y == y - 4) ++rising;
  }
  EXPECT_EQ(rising, 60);
}

TEST_F(PlayerTest, HeadBreaksBreakableBlocksAndOpensItemBlocks) {
  struct Case {
    uint8_t above;       // tile of the cell over the player's head
    uint8_t after;       // that cell afterwards
    uint8_t over_it;     // the cell above that one afterwards
    int score;
    int breaks;
  };
  for (Case c : {Case{kTileBreakable, kTileEmpty, 0, 10, 1}, Case{30, kTilePlain, kTileIceAmmo5, 0, 0},
                 Case{kTileIndestructible, kTileIndestructible, 0, 0, 0}}) {
    SetUp();
    state.player.x = 5 * 24 + 4;  // both head corners in column 5
    state.player.y = 17 * 24 + 4;
    put_block(5, 16, c.above);
    state.player.jump_frames = 5;
    state.player.rise_fall = 0;
    // Rises 412 -> 408 -> 404, where the head is inside row 16.
    for (int i = 0; i < 4 && state.player.jump_frames > 0; ++i) step("J");
    EXPECT_EQ(state.grid.tile(5, 16), c.after) << int(c.above);
    EXPECT_EQ(state.grid.tile(5, 15), c.over_it) << int(c.above);
    EXPECT_EQ(state.progress.score, c.score) << int(c.above);
    EXPECT_EQ(services.count(kEffectBreak), c.breaks) << int(c.above);
    EXPECT_EQ(state.player.jump_frames, -1);
    EXPECT_EQ(state.player.rise_fall, 12);
  }
}

TEST_F(PlayerTest, JumpingIntoHiddenBlocksRevealsThem) {
  struct Case {
    uint8_t hidden;
    int score;
    uint8_t above;
  };
  for (Case c : {Case{kTileHidden, 50, 0}, Case{kTileHiddenLife, 100, kTileExtraLife}}) {
    SetUp();
    put_block(5, 17, c.hidden);  // not solid: the player jumps into it
    state.player.x = 5 * 24 + 4;
    int frames = 0;
    while (state.grid.tile(5, 17) == c.hidden && frames++ < 20) step("J");
    EXPECT_EQ(state.grid.tile(5, 17), kTilePlain);
    EXPECT_TRUE(state.grid.solid(5, 17));
    EXPECT_EQ(state.grid.tile(5, 16), c.above);
    EXPECT_EQ(state.progress.score, c.score);
    EXPECT_EQ(state.player.jump_frames, -1);
  }
}

TEST_F(PlayerTest, TouchCellEffects) {
  struct Case {
    uint8_t code;
    void (*before)(GameState&);
    void (*check)(const GameState&);
    int sounds;  // effects played
    bool cleared;
  };
  const Case cases[] = {
      {kTileHolyWater, [](GameState& s) { s.progress.holy_water = 99; },
       [](const GameState& s) {
         EXPECT_EQ(s.progress.holy_water, 0);
         EXPECT_EQ(s.progress.lives, 6);
         EXPECT_EQ(s.progress.score, 10);
       },
       1, true},
      {kTileHolyWater, [](GameState& s) { s.progress.holy_water = 98; },
       [](const GameState& s) {
         EXPECT_EQ(s.progress.holy_water, 99);
         EXPECT_EQ(s.progress.lives, 5);
       },
       1, true},
      {kTileHolyWater, [](GameState& s) {
         s.progress.holy_water = 99;
         s.progress.lives = 99;
       },
       [](const GameState& s) { EXPECT_EQ(s.progress.lives, 99); }, 1, true},
      {kTileExtraLife, [](GameState& s) { s.progress.lives = 98; },
       [](const GameState& s) { EXPECT_EQ(s.progress.lives, 99); }, 1, true},
      {kTileExtraLife, [](GameState& s) { s.progress.lives = 99; },
       [](const GameState& s) { EXPECT_EQ(s.progress.lives, 99); }, 1, true},
      {kTileFireAmmo5, [](GameState& s) { s.progress.fire_ammo = 990; },
       [](const GameState& s) {
         EXPECT_EQ(s.progress.fire_ammo, 995);
         EXPECT_EQ(s.progress.score, 10);
       },
       1, true},
      {kTileFireAmmo15, [](GameState& s) { s.progress.fire_ammo = 990; },
       [](const GameState& s) {
         EXPECT_EQ(s.progress.fire_ammo, 999);
         EXPECT_EQ(s.progress.score, 50);
       },
       1, true},
      {kTileIceAmmo5, [](GameState& s) { s.progress.ice_ammo = 998; },
       [](const GameState& s) { EXPECT_EQ(s.progress.ice_ammo, 999); }, 1, true},
      {kTileIceAmmo15, [](GameState& s) { s.progress.ice_ammo = 1; },
       [](const GameState& s) {
         EXPECT_EQ(s.progress.ice_ammo, 16);
         EXPECT_EQ(s.progress.score, 50);
       },
       1, true},
      {kTileSpikes, [](GameState&) {}, [](const GameState& s) { EXPECT_EQ(s.player.status, kStatusLifeLost); },
       1, false},
      {kTileFire, [](GameState&) {}, [](const GameState& s) { EXPECT_EQ(s.player.status, kStatusLifeLost); }, 1,
       false},
      {kTileSpikes, [](GameState& s) { s.player.protection_timer = 5; },
       [](const GameState& s) { EXPECT_EQ(s.player.status, kStatusPlaying); }, 0, false},
      {kTileGoal, [](GameState&) {}, [](const GameState& s) { EXPECT_EQ(s.player.status, kStatusGoal); }, 0, false},
      {kTileBreakable, [](GameState&) {}, [](const GameState& s) { EXPECT_EQ(s.player.status, kStatusPlaying); }, 0,
       false},
      {200, [](GameState&) {}, [](const GameState& s) { EXPECT_EQ(s.player.status, kStatusPlaying); }, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(int(c.code));
    SetUp();
    state.grid.set_tile(3, 3, c.code);
    c.before(state);
    touch_cell(state, 3, 3, services);
    c.check(state);
    EXPECT_EQ(static_cast<int>(services.sounds.size()), c.sounds);
    EXPECT_EQ(state.grid.tile(3, 3), c.cleared ? 0 : c.code);
  }
}

TEST_F(PlayerTest, FireFloorBurnsOnlyWhenTheOtherFootFindsNoSolidGround) {
  struct Case {
    uint8_t left, right;
    bool burnt;
  };
  const Case cases[] = {
      {kTileFire, kTileFire, true},       {kTileFire, kTilePlain, false},  {kTileFire, kTileEmpty, true},
      {kTileFire, kTileSpikes, true},     {kTilePlain, kTileFire, false},  {kTileEmpty, kTileFire, true},
      {kTileFire, kTileBreakable, false}, {kTilePlain, kTilePlain, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << int(c.left) << " " << int(c.right));
    for (int protection : {0, 7}) {
      SetUp();
      state.player.x = 5 * 24 + 12;  // left foot over column 5, right foot over column 6
      state.player.protection_timer = protection;
      put_block(5, test::kFloorRow, c.left);
      put_block(6, test::kFloorRow, c.right);
      step("");
      // Standing on fire while protected still sounds the damage every frame.
      EXPECT_EQ(services.count(kEffectDamage), c.burnt ? 1 : 0);
      EXPECT_EQ(state.player.status, c.burnt && protection == 0 ? kStatusLifeLost : kStatusPlaying);
    }
  }
}

TEST_F(PlayerTest, ItemBlocksGiveTheirItemAboveExceptInRowZero) {
  const uint8_t items[] = {kTileFireAmmo5, kTileFireAmmo15, kTileIceAmmo5, kTileIceAmmo15, kTileHolyWater,
                           kTileExtraLife};
  for (int code = kTileItemFirst; code <= kTileItemLast; ++code) {
    WorldGrid grid;
    grid.set_tile(4, 9, code);
    grid.set_tile(4, 0, code);
    grid.set_tile(5, 0, kTileGoal);
    open_item_block(grid, 4, 9);
    open_item_block(grid, 4, 0);
    EXPECT_EQ(grid.tile(4, 9), kTilePlain);
    EXPECT_EQ(grid.tile(4, 8), items[code - kTileItemFirst]);
    EXPECT_EQ(grid.tile(4, 0), kTilePlain);
    EXPECT_EQ(grid.tile(3, 119), 0);  // the column before is not written
    EXPECT_EQ(grid.tile(5, 0), kTileGoal);
    EXPECT_FALSE(grid.solid(4, 9));  // the solid layer is left alone
  }
  WorldGrid grid;
  grid.set_tile(4, 9, kTileBreakable);
  open_item_block(grid, 4, 9);
  EXPECT_EQ(grid.tile(4, 9), kTileBreakable);
}

TEST_F(PlayerTest, FallingOutOfTheWorldCostsALife) {
  for (int column = 0; column < kGridColumns; ++column) put_block(column, test::kFloorRow, kTileEmpty);
  int frames = 0;
  while (state.player.status == kStatusPlaying && frames < 2000) {
    step("");
    ++frames;
  }
  EXPECT_EQ(state.player.status, kStatusLifeLost);
  EXPECT_GT(state.player.y, kWorldHeight);
  EXPECT_LE(state.player.y, kWorldHeight + 4);
}

TEST_F(PlayerTest, StaysInsideTheWorldHorizontally) {
  for (int column = 0; column < kGridColumns; ++column) put_block(column, test::kFloorRow, kTilePlain);
  state.player.x = 2;
  step("L");
  EXPECT_EQ(state.player.x, 2);  // 0 would be below the left limit of 1
  state.player.x = 4784;
  step("RS");
  EXPECT_LE(state.player.x + kPlayerSize, kWorldWidth);
}

}  // namespace
}  // namespace torv
