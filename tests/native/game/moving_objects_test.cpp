#include "game/moving_objects.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "game/camera.h"
#include "game/object_markers.h"
#include "game/player.h"
#include "game_fakes.h"

namespace torv {
namespace {

using test::FakeServices;
using test::kFloorTop;

class ObjectsTest : public testing::Test {
protected:
  void SetUp() override {
    state = test::state_on(test::flat_stage(), services, 124);
    update_camera(state.player);
  }
  // An awake object made from a marker, with its top-left moved to (x, y).
  MovingObject& add(int marker, int x, int y) {
    MovingObject o;
    GameRandom random;
    object_from_marker(marker, x / 24, y / 24, random, &o);
    o.x = x;
    o.y = y;
    o.awake = 1;
    state.objects.push_back(o);
    return state.objects.back();
  }
  void step() { update_objects(state, services); }
  FakeServices services;
  GameState state;
};

TEST_F(ObjectsTest, AWalkerWithoutFloorDropsFourPixelsAndFacesThePlayerOnLanding) {
  for (int speed : {1, 3}) {
    SetUp();
    MovingObject& o = add(10, 400, kFloorTop - 11 - 10);  // 10 pixels above the floor
    o.speed = speed;
    o.dx = 1;
    std::vector<int> ys;
    for (int i = 0; i < 4; ++i) {
      step();
      ys.push_back(state.objects[0].y);
    }
    // 459 -> 463 -> 467, then ground within 4 pixels: it lands (dy 0) facing the player.
    EXPECT_EQ(ys[0], kFloorTop - 21 + 4) << speed;
    EXPECT_EQ(ys[1], kFloorTop - 21 + 8) << speed;
    EXPECT_EQ(state.objects[0].dy, 0);
    EXPECT_EQ(state.objects[0].dx, -1);  // the player is to its left
    EXPECT_EQ(state.objects[0].x, 400 - 2 * speed);
  }
}

TEST_F(ObjectsTest, ObjectsBelowTheWorldDisappear) {
  struct Case {
    int marker;
    bool ridden;
  };
  for (Case c : {Case{10, false}, Case{38, false}, Case{21, false}, Case{21, true}}) {
    SetUp();
    MovingObject& o = add(c.marker, 400, kWorldHeight);
    if (c.marker == 21) o.dy = 1;
    if (c.ridden) {
      state.player.riding = 1;
      state.player.ridden = 0;
    }
    step();
    EXPECT_EQ(state.objects[0].alive, 0) << c.marker;
    EXPECT_EQ(state.player.riding, 0);
    EXPECT_EQ(state.player.ridden, -1);
  }
}

TEST_F(ObjectsTest, AFallingPlatformWaitsForThePlayerThenCarriesHimDown) {
  for (int column = 0; column < kGridColumns; ++column) state.grid.set_solid(column, test::kFloorRow, false);
  MovingObject& platform = add(21, 120, 300);
  platform.speed = 1;
  for (int i = 0; i < 5; ++i) step();
  EXPECT_EQ(state.objects[0].y, 300);
  // The player lands: it is placed on top and rides; the platform now falls 2 a frame.
  state.player.x = 130;
  state.player.y = 300 - 16 + 2;
  step();
  EXPECT_EQ(state.player.riding, 1);
  EXPECT_EQ(state.player.ridden, 0);
  EXPECT_EQ(state.player.y, 284);
  EXPECT_EQ(state.objects[0].dy, 1);
  EXPECT_EQ(state.objects[0].speed, 2);
  for (int i = 0; i < 10; ++i) {
    const int before = state.objects[0].y;
    update_player(state, FrameInput(), 1, services);
    step();
    EXPECT_EQ(state.objects[0].y, before + 2);
    EXPECT_EQ(state.player.riding, 1);
    EXPECT_EQ(state.player.y + 16, state.objects[0].y);  // standing on it
  }
}

TEST_F(ObjectsTest, AFiveHitEnemyTakesFiveShotsOfTwoHundredPoints) {
  add(13, 300, kFloorTop - 24);
  for (int shot = 1; shot <= 5; ++shot) {
    state.player.attack_kind = 0;
    state.player.attack_state = kAttackShotPose;
    state.player.shot_x = 295;
    state.player.shot_y = kFloorTop - 20;
    state.objects[0].x = 300;
    services.sounds.clear();
    step();
    EXPECT_EQ(state.progress.score, 200 * shot);
    EXPECT_EQ(services.count(kEffectDamage), 1);
    EXPECT_EQ(state.player.attack_kind, kNoShot);
    EXPECT_EQ(state.player.attack_state, kAttackNone);
    if (shot < 5) {
      EXPECT_EQ(state.objects[0].hp, 5 - shot);
      EXPECT_TRUE(state.objects[0].alive);
    }
  }
  EXPECT_TRUE(!state.objects[0].alive || is_pickup(state.objects[0].type));
}

TEST_F(ObjectsTest, TheShotHitBoxTakesTheSizeOfImage77PlusHalfTheKind) {
  // Kind 3 (fire down) is measured with image 78 (22 x 12), not its own 12 x 22.
  // The enemies wake this frame, so they do not move before the contact test.
  add(13, 300, 300).awake = 0;
  state.player.attack_kind = 3;
  state.player.shot_x = 300 - 21;  // 22 wide: reaches x 300
  state.player.shot_y = 300 - 11;  // 12 high: reaches y 300
  step();
  EXPECT_EQ(state.progress.score, 200);
  SetUp();
  add(13, 300, 300).awake = 0;
  state.player.attack_kind = 3;
  state.player.shot_x = 300 - 22;  // one pixel short
  state.player.shot_y = 300 - 11;
  step();
  EXPECT_EQ(state.progress.score, 0);
  EXPECT_EQ(state.player.attack_kind, 3);
}

TEST_F(ObjectsTest, CloseRangeHurtsOnlySlimesAndProtectionKeepsThePlayerAlive) {
  struct Case {
    int marker;
    bool hurt;
  };
  for (Case c : {Case{10, true}, Case{11, true}, Case{12, true}, Case{13, false}, Case{14, false},
                 Case{15, false}, Case{38, false}, Case{39, false}, Case{40, false}}) {
    SCOPED_TRACE(c.marker);
    SetUp();
    MovingObject& o = add(c.marker, state.player.x + 4, state.player.y + 2);
    const int hp = o.hp;
    state.player.attack_state = kAttackClose;
    state.player.protection_timer = 40;
    step();
    EXPECT_EQ(state.progress.score, c.hurt ? 50 : 0);
    EXPECT_EQ(state.objects[0].hp, c.hurt ? hp - 1 : hp);
    EXPECT_EQ(state.player.status, kStatusPlaying);
  }
}

TEST_F(ObjectsTest, AnEnemyTouchingAnUnprotectedPlayerCostsALife) {
  for (int protection : {0, 1, 90}) {
    SetUp();
    add(13, state.player.x + 10, state.player.y + 10).awake = 0;  // still this frame
    state.player.protection_timer = protection;
    step();
    EXPECT_EQ(state.player.status, protection == 0 ? kStatusLifeLost : kStatusPlaying) << protection;
  }
  // Boxes that only meet at an edge do not touch.
  SetUp();
  add(13, state.player.x + 16, state.player.y).awake = 0;
  step();
  EXPECT_EQ(state.player.status, kStatusPlaying);
}

TEST_F(ObjectsTest, ADefeatedEnemyLeavesAPickupOneTimeInFive) {
  // Find generator states whose next number is 0, 1 and 5 modulo 10.
  for (int wanted : {0, 1, 5}) {
    GameRandom random;
    uint32_t seed = 0;
    for (;; ++seed) {
      random.seed(seed);
      GameRandom probe = random;
      if (probe.next() % 10 == wanted) break;
    }
    SetUp();
    state.random.seed(seed);
    MovingObject& o = add(38, 200, 100);  // 24 x 24
    o.h = 30;                            // a taller box shows that the bottom edge is kept
    o.dx = 1;
    kill_object(state, 0);
    const MovingObject& after = state.objects[0];
    if (wanted == 5) {
      EXPECT_EQ(after.alive, 0);
      EXPECT_EQ(after.dx, 0);
      EXPECT_EQ(after.dy, 0);
    } else {
      EXPECT_EQ(after.alive, 1);
      EXPECT_EQ(after.type, wanted == 0 ? kPickupFire : kPickupIce);
      EXPECT_EQ(after.hp, 1);
      EXPECT_EQ(after.w, 24);
      EXPECT_EQ(after.h, 24);
      EXPECT_EQ(after.y + after.h, 130);
    }
  }
}

TEST_F(ObjectsTest, PickupsGiveFiveShotsUpTo999) {
  struct Case {
    int32_t type;
    int32_t before, after;
  };
  for (Case c : {Case{kPickupFire, 15, 20}, Case{kPickupIce, 996, 999}, Case{kPickupFire, 999, 999}}) {
    SetUp();
    MovingObject& o = add(13, state.player.x, state.player.y);
    o.type = c.type;
    int32_t& ammo = c.type == kPickupFire ? state.progress.fire_ammo : state.progress.ice_ammo;
    ammo = c.before;
    step();
    EXPECT_EQ(ammo, c.after);
    EXPECT_EQ(state.progress.score, 10);
    EXPECT_EQ(state.objects[0].alive, 0);
    EXPECT_EQ(services.count(kEffectItem), 1);
  }
}

TEST_F(ObjectsTest, SleepersWakeOnScreenTurnToThePlayerAndMoveFromTheNextFrame) {
  // On screen is camera x - w < x < camera x + 640 and camera y - h < y < 480 - 48.
  struct Case {
    int x, y;
    bool wakes;
  };
  const int cam_x = state.player.camera_x;
  const int cam_y = state.player.camera_y;
  const int mid_y = cam_y + 200;
  for (Case c : {Case{cam_x + 639, mid_y, true}, Case{cam_x + 640, mid_y, false}, Case{cam_x - 23, mid_y, true},
                 Case{cam_x - 24, mid_y, false}, Case{cam_x + 300, cam_y + 431, true},
                 Case{cam_x + 300, cam_y + 432, false}, Case{cam_x + 300, cam_y - 10, true},
                 Case{cam_x + 300, cam_y - 11, false}}) {
    SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
    SetUp();
    MovingObject& o = add(10, c.x, c.y);
    o.awake = 0;
    o.dx = 1;
    step();
    EXPECT_EQ(state.objects[0].awake, c.wakes ? 1 : 0);
    EXPECT_EQ(state.objects[0].x, c.x);
    EXPECT_EQ(state.objects[0].y, c.y);
    if (c.wakes) {
      EXPECT_EQ(state.objects[0].dx, state.player.x < c.x ? -1 : 1);
    }
  }
}

TEST_F(ObjectsTest, RedSlimesTurnAtLedgesGreenOnesWalkOff) {
  // A two-cell ledge in columns 9 and 10 of row 15; the slime walks right along it.
  for (int marker : {10, 11}) {
    SetUp();
    for (int column = 0; column < kGridColumns; ++column) state.grid.set_solid(column, test::kFloorRow, false);
    state.grid.set_solid(9, 15, true);
    state.grid.set_solid(10, 15, true);
    MovingObject& o = add(marker, 10 * 24 + 10, 15 * 24 - 11);
    o.dx = 1;
    for (int i = 0; i < 40; ++i) step();
    if (marker == 11) {
      EXPECT_EQ(state.objects[0].y, 15 * 24 - 11);  // still on the ledge
    } else {
      EXPECT_GT(state.objects[0].y, 15 * 24 - 11);  // fell off
    }
  }
}

TEST_F(ObjectsTest, PlatformsCarryTheirRider) {
  add(16, 100, 300);  // horizontal, speed 2, moving right
  state.player.x = 110;
  state.player.y = 300 - 16;
  state.player.riding = 1;
  state.player.ridden = 0;
  step();
  EXPECT_EQ(state.objects[0].x, 102);
  EXPECT_EQ(state.player.x, 112);
  EXPECT_EQ(state.player.y, 300 - 16);
  EXPECT_EQ(state.player.jump_frames, -1);
  // Stepping off the end ends the ride.
  state.player.x = 200;
  step();
  EXPECT_EQ(state.player.riding, 0);
  EXPECT_EQ(state.objects[0].x, 104);  // it still moves
}

TEST_F(ObjectsTest, WrappingPlatformsComeBackFromTheOtherEdge) {
  add(17, 500, -1);                  // moving up, just above the top
  add(18, 600, kWorldHeight + 1);    // moving down, just below the bottom
  step();
  EXPECT_EQ(state.objects[0].y, kWorldHeight - 2);
  EXPECT_EQ(state.objects[1].y, 2);
}

TEST_F(ObjectsTest, VerticalPatrolsTurnAtTheirRange) {
  MovingObject& o = add(12, 600, 300);
  o.y_min = 290;
  o.y_max = 310;
  o.dy = 1;
  std::vector<int> ys;
  for (int i = 0; i < 50; ++i) {
    step();
    ys.push_back(state.objects[0].y);
  }
  for (int y : ys) {
    EXPECT_GE(y, 290);
    EXPECT_LE(y, 311);
  }
  EXPECT_EQ(*std::max_element(ys.begin(), ys.end()), 310);
  EXPECT_EQ(*std::min_element(ys.begin(), ys.end()), 290);
}

}  // namespace
}  // namespace torv
