#include "game/camera.h"

#include <gtest/gtest.h>

namespace torv {
namespace {

TEST(Camera, FollowsThePlayerAndStopsAtTheStageEdges) {
  struct Case {
    int player, camera;
  };
  // Horizontal: the camera leaves 0 only at 312 (straight to 8) and stops at 4160.
  for (Case c : {Case{0, 0}, Case{311, 0}, Case{312, 8}, Case{1000, 696}, Case{4464, 4160}, Case{4465, 4160},
                 Case{4784, 4160}}) {
    PlayerState p;
    p.x = c.player;
    p.y = 0;
    update_camera(p);
    EXPECT_EQ(p.camera_x, c.camera) << "x " << c.player;
  }
  // Vertical: leaves 0 at 184 (straight to 8) and stops at 2447 = 2880 - 432 - 1.
  for (Case c : {Case{0, 0}, Case{183, 0}, Case{184, 8}, Case{1000, 824}, Case{2623, 2447}, Case{2624, 2447},
                 Case{2900, 2447}}) {
    PlayerState p;
    p.x = 0;
    p.y = c.player;
    update_camera(p);
    EXPECT_EQ(p.camera_y, c.camera) << "y " << c.player;
  }
}

}  // namespace
}  // namespace torv
