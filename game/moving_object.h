// MovingObject: one enemy, moving platform or dropped pickup. Objects are made only
// by load_stage from the marker cells and kept in one array in column-major scan
// order, which is also their update and drawing order; during play they are never
// removed, only marked not alive.
#pragma once

#include <cstdint>
#include <tuple>

namespace torv {

enum ObjectType : int32_t {
  kSlime = 0,             // walker, walks off ledges
  kRedSlime = 1,          // walker, turns at ledges
  kYellowSlime = 2,       // vertical patrol
  kSpikeFlyer = 3,        // horizontal flyer
  kSpikePatrol = 4,       // vertical patrol
  kSpikeBouncer = 5,      // diagonal bouncer
  kPlatformSide = 6,      // horizontal
  kPlatformUpWrap = 7,    // vertical, wraps top to bottom
  kPlatformDownWrap = 8,  // vertical, wraps bottom to top
  kPlatformSwing = 9,     // horizontal within a range
  kPlatformLift = 10,     // vertical patrol
  kPlatformDrop = 11,     // falls once stood on
  kPlatformDiagDown = 12, // down-right / up-left
  kPlatformDiagUp = 13,   // up-right / down-left
  kPickupFire = 14,
  kPickupIce = 15,
  kSpikeWalker = 16,      // walker, walks off ledges
  kSpikeLedgeWalker = 17, // walker, turns at ledges
  kSpikeLift = 18,        // vertical patrol
  kObjectTypeCount = 19,
};

inline bool is_platform(int32_t type) { return type >= kPlatformSide && type <= kPlatformDiagUp; }
inline bool is_pickup(int32_t type) { return type == kPickupFire || type == kPickupIce; }
inline bool is_enemy(int32_t type) {
  return (type >= kSlime && type <= kSpikeBouncer) || (type >= kSpikeWalker && type <= kSpikeLift);
}
// The slimes: the only enemies that can be stomped or hurt by the close-range attack.
inline bool is_slime(int32_t type) { return type >= kSlime && type <= kYellowSlime; }

struct MovingObject {
  int32_t type = 0;
  int32_t x = 0, y = 0;    // top-left, world pixels
  int32_t dx = 0, dy = 0;  // directions -1, 0, +1; a falling walker has dy 4
  int32_t w = 0, h = 0;    // box size
  int32_t hp = 0;
  int32_t speed = 0;       // pixels a frame along each direction
  int32_t x_min = 0, x_max = 0;
  int32_t y_min = 0, y_max = 0;
  int32_t ledge = 0;       // 1: a walker turns round at the edge of its floor
  int32_t alive = 0;       // 0: gone, never drawn, updated or touched again
  int32_t awake = 0;       // 0: still until it first comes on screen

  auto fields() const { return std::tie(type, x, y, dx, dy, w, h, hp, speed, x_min, x_max, y_min, y_max, ledge, alive, awake); }
  bool operator==(const MovingObject& o) const { return fields() == o.fields(); }
  bool operator!=(const MovingObject& o) const { return !(*this == o); }
};

}  // namespace torv
