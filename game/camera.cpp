// The camera keeps the player at (304, 176) of the play area, except near the
// stage's edges.
#include "game/camera.h"

#include "game/world_grid.h"

namespace torv {

namespace {
constexpr int kPlayerScreenX = 304;
constexpr int kPlayerScreenY = 176;
// The camera leaves the left and top edges only 8 pixels after the player passes
// the centre position, so it steps from 0 straight to 8.
constexpr int kLeaveLeftX = 312;
constexpr int kLeaveTopY = 184;
constexpr int kRightmostX = kWorldWidth - kScreenWidth;               // 4160
constexpr int kLowestY = kWorldHeight - kPlayAreaHeight - 1;           // 2447
constexpr int kReachRightX = kRightmostX + kPlayerScreenX;             // 4464
constexpr int kReachBottomY = kLowestY + kPlayerScreenY;               // 2623
}  // namespace

void update_camera(PlayerState& p) {
  p.camera_x = p.x - kPlayerScreenX;
  if (p.x < kLeaveLeftX) p.camera_x = 0;
  if (p.x > kReachRightX) p.camera_x = kRightmostX;
  p.camera_y = p.y - kPlayerScreenY;
  if (p.y < kLeaveTopY) p.camera_y = 0;
  if (p.y > kReachBottomY) p.camera_y = kLowestY;
}

}  // namespace torv
