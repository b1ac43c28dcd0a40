#include "game/attacks.h"

#include <gtest/gtest.h>

#include "game/camera.h"
#include "game/play_draw.h"
#include "game/player.h"
#include "game_fakes.h"

namespace torv {
namespace {

using test::FakeServices;
using test::pressed;

class AttackTest : public testing::Test {
protected:
  void SetUp() override {
    state = test::state_on(test::flat_stage(), services, 200);
    update_camera(state.player);
  }
  void attack(const std::string& keys) { update_attack(state, pressed(keys), services); }
  void put_block(int column, int row, uint8_t code) {
    state.grid.set_tile(column, row, code);
    state.grid.set_solid(column, row, tile_is_solid_at_load(code));
  }
  FakeServices services;
  GameState state;
};

TEST_F(AttackTest, ShotsStartFromTheFireImagesSizesAndFlySixPixels) {
  // Player at (200, 463). Fire images: right 20 x 10, up 10 x 20; the ice images
  // differ (right 18 x 8, up 8 x 18) and must not be used for the start.
  struct Case {
    int mode;
    const char* keys;
    int facing_left;
    int kind, x, y;  // after the first frame's flight
  };
  const Case cases[] = {
      {kModeFire, "A", 0, 0, 200 - 16 + 6, 463 - 5 + 8},
      {kModeFire, "A", 1, 1, 200 - 20 - 6, 463 - 5 + 8},
      {kModeFire, "AU", 0, 2, 200 - 5 + 8, 463 - 20 - 6},
      {kModeFire, "AD", 1, 3, 200 - 5 + 8, 463 + 16 + 6},
      {kModeFire, "AUD", 0, 2, 200 - 5 + 8, 463 - 20 - 6},  // up wins
      {kModeIce, "A", 0, 4, 200 - 16 + 6, 463 - 5 + 8},
      {kModeIce, "A", 1, 5, 200 - 20 - 6, 463 - 5 + 8},
      {kModeIce, "AU", 0, 6, 200 - 5 + 8, 463 - 20 - 6},
      {kModeIce, "AD", 0, 7, 200 - 5 + 8, 463 + 16 + 6},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.mode << " " << c.keys << " " << c.facing_left);
    SetUp();
    for (int column = 0; column < kGridColumns; ++column) put_block(column, test::kFloorRow, kTileEmpty);
    state.player.attack_mode = c.mode;
    state.player.facing_left = c.facing_left;
    state.player.jump_frames = 12;
    attack(c.keys);
    EXPECT_EQ(state.player.attack_kind, c.kind);
    EXPECT_EQ(state.player.shot_x, c.x);
    EXPECT_EQ(state.player.shot_y, c.y);
    EXPECT_EQ(state.player.attack_state, kAttackShotPose);
    EXPECT_EQ(state.player.pose_timer, 9);  // 10, counted down once while held
    EXPECT_EQ(state.player.jump_frames, -1);
    EXPECT_EQ(c.mode == kModeFire ? state.progress.fire_ammo : state.progress.ice_ammo, 14);
    EXPECT_EQ(services.count(kEffectFire), 1);  // ice shots too
  }
}

TEST_F(AttackTest, WithoutAmmunitionTheAttackIsCloseRange) {
  for (int mode : {kModeFire, kModeIce, kModeClose}) {
    SetUp();
    state.progress.fire_ammo = 0;
    state.progress.ice_ammo = 0;
    state.player.attack_mode = mode;
    attack("A");
    EXPECT_EQ(state.player.attack_mode, mode);
    EXPECT_EQ(state.player.attack_state, kAttackClose);
    EXPECT_EQ(state.player.attack_kind, kNoShot);
    EXPECT_EQ(state.player.pose_timer, 89);
    EXPECT_EQ(state.player.protection_timer, 89);
    EXPECT_TRUE(services.sounds.empty());
  }
}

TEST_F(AttackTest, AFireShotBurnsTwoBlocksWithItsTwoCornersInOneFrame) {
  // A right shot 20 x 10 at y 235: its leading corners lie in rows 9 and 10.
  put_block(5, 9, kTileBurnable);
  put_block(5, 10, kTileBurnable);
  state.player.attack_kind = 0;
  state.player.attack_state = kAttackShotPose;
  state.player.shot_x = 100;  // flies to 106: corners at x 126, column 5
  state.player.shot_y = 235;
  attack("");
  EXPECT_EQ(state.grid.tile(5, 9), kTileEmpty);
  EXPECT_EQ(state.grid.tile(5, 10), kTileEmpty);
  EXPECT_FALSE(state.grid.solid(5, 9));
  EXPECT_FALSE(state.grid.solid(5, 10));
  EXPECT_EQ(services.count(kEffectBreak), 2);
  EXPECT_EQ(state.player.attack_kind, kNoShot);
  EXPECT_EQ(state.progress.score, 0);
}

TEST_F(AttackTest, ShotsAgainstBlocks) {
  struct Case {
    int kind;
    uint8_t block;
    uint8_t after;
    bool solid_after;
    Effect sound;
    int sounds;
  };
  const Case cases[] = {
      {0, kTileBurnable, kTileEmpty, false, kEffectBreak, 1},      // fire burns
      {4, kTileFire, kTilePlain, true, kEffectFreeze, 1},          // ice freezes
      {0, kTileFire, kTileFire, true, kEffectBreak, 0},            // fire does not burn fire
      {4, kTileBurnable, kTileBurnable, true, kEffectFreeze, 0},   // ice does not freeze burnable
      {0, kTileIndestructible, kTileIndestructible, true, kEffectBreak, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.kind << " " << int(c.block));
    SetUp();
    put_block(5, 9, c.block);
    state.player.attack_kind = c.kind;
    state.player.shot_x = 100;
    state.player.shot_y = 220;  // both corners in row 9
    attack("");
    EXPECT_EQ(state.grid.tile(5, 9), c.after);
    EXPECT_EQ(state.grid.solid(5, 9), c.solid_after);
    EXPECT_EQ(services.count(c.sound), c.sounds);
    EXPECT_EQ(state.player.attack_kind, kNoShot);  // every case ends the shot
  }
}

TEST_F(AttackTest, AFrozenFireBlockIsSafeToStandOn) {
  const int column = state.player.x / 24;
  put_block(column, test::kFloorRow, kTileFire);
  put_block(column + 1, test::kFloorRow, kTileFire);
  state.player.attack_kind = 7;  // ice down, both corners into the floor under the player
  state.player.shot_x = state.player.x;
  state.player.shot_y = test::kFloorTop - 16 - 6 + 1;
  attack("");
  EXPECT_EQ(state.grid.tile(column, test::kFloorRow), kTilePlain);
  EXPECT_EQ(state.grid.tile(column + 1, test::kFloorRow), kTileFire);  // shot 6 wide: one column only
  state.player.x = column * 24 + 4;  // both feet on the frozen block
  services.sounds.clear();
  update_player(state, FrameInput(), 1, services);
  EXPECT_EQ(state.player.status, kStatusPlaying);
  EXPECT_EQ(services.count(kEffectDamage), 0);
}

TEST_F(AttackTest, AShotEndsWhenItIsWhollyOffScreen) {
  state.player.attack_kind = 0;  // right, 20 wide
  state.player.shot_y = state.player.camera_y + 100;
  state.player.shot_x = state.player.camera_x + 640 - 6;  // flies to x = camera x + 640
  attack("");
  EXPECT_EQ(state.player.attack_kind, kNoShot);
  state.player.attack_kind = 0;
  state.player.shot_x = state.player.camera_x + 640 - 7;
  attack("");
  EXPECT_EQ(state.player.attack_kind, 0);
  EXPECT_EQ(state.player.shot_x, state.player.camera_x + 639);
  // Left: gone once x <= camera x - 22 (image 78 is 22 wide).
  state.player.attack_kind = 1;
  state.player.shot_x = state.player.camera_x - 16;
  attack("");
  EXPECT_EQ(state.player.attack_kind, kNoShot);
}

TEST_F(AttackTest, HoldingTheAttackAfterAShotKeepsThePlayerStillUntilReleased) {
  for (int column = 0; column < kGridColumns; ++column) put_block(column, 5, kTileEmpty);
  const FrameInput hold = pressed("AR");
  const FrameInput walk = pressed("R");
  update_attack(state, hold, services);
  const int x = state.player.x;
  for (int i = 0; i < 20; ++i) {
    update_attack(state, hold, services);
    update_player(state, hold, 1, services);
  }
  EXPECT_EQ(state.player.x, x);
  EXPECT_EQ(state.player.pose_timer, -1);
  update_attack(state, walk, services);
  update_player(state, walk, 1, services);
  EXPECT_EQ(state.player.x, x + 2);
  EXPECT_NE(state.player.attack_kind, kNoShot);  // the shot still flies
  // A new attack needs the shot gone.
  update_attack(state, pressed("A"), services);
  EXPECT_EQ(state.player.attack_state, kAttackNone);
}

TEST_F(AttackTest, CloseRangeProtectsForNinetyFramesAndDigsWithoutScore) {
  state.player.attack_mode = kModeClose;
  const int column = state.player.x / 24;
  put_block(column, test::kFloorRow, kTileBreakable);
  std::vector<int> protection, pose, image;
  for (int i = 0; i < 95; ++i) {
    attack("A");
    protection.push_back(state.player.protection_timer);
    pose.push_back(state.player.pose_timer);
    image.push_back(player_image(state.player));
  }
  EXPECT_EQ(state.grid.tile(column, test::kFloorRow), kTileEmpty);
  EXPECT_FALSE(state.grid.solid(column, test::kFloorRow));
  EXPECT_EQ(state.progress.score, 0);
  EXPECT_EQ(services.count(kEffectBreak), 1);
  EXPECT_EQ(protection[0], 89);
  EXPECT_EQ(protection[88], 1);
  EXPECT_EQ(protection[89], 0);
  EXPECT_EQ(pose[88], 1);
  EXPECT_EQ(pose[89], -1);
  EXPECT_EQ(image[88], kImagePlayerClose);
  EXPECT_EQ(image[89], kImagePlayerWalk + state.player.anim_frame);
  EXPECT_EQ(state.player.attack_state, kAttackClose);
  // Still held: no walking. Released: everything clears.
  const int x = state.player.x;
  update_player(state, pressed("AR"), 1, services);
  EXPECT_EQ(state.player.x, x);
  attack("");
  EXPECT_EQ(state.player.attack_state, kAttackNone);
  EXPECT_EQ(state.player.protection_timer, 0);
  EXPECT_EQ(state.player.pose_timer, 0);
}

TEST_F(AttackTest, TheSwitchCyclesAtOnceThenEveryFifteenFramesWhileHeld) {
  std::vector<int> modes;
  for (int i = 0; i < 32; ++i) {
    update_attack_switch(state.player, pressed("C"));
    modes.push_back(state.player.attack_mode);
  }
  EXPECT_EQ(modes[0], kModeIce);
  EXPECT_EQ(modes[14], kModeIce);
  EXPECT_EQ(modes[15], kModeClose);
  EXPECT_EQ(modes[29], kModeClose);
  EXPECT_EQ(modes[30], kModeFire);  // wraps
  EXPECT_EQ(update_attack_switch(state.player, FrameInput()), 0);
  update_attack_switch(state.player, pressed("C"));
  EXPECT_EQ(state.player.attack_mode, kModeIce);  // a fresh press switches at once
}

}  // namespace
}  // namespace torv
