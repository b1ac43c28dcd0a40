// The marker table: which object each marker code makes and how it starts.
#include "game/object_markers.h"

#include "game/world_grid.h"

namespace torv {

namespace {

// How the start y and the ranges derive from the cell's top-left (cx, cy).
enum class YStart { kCell, kPlus12, kPlus11 };
enum class Range { kWorld, kAroundX, kAroundY, kAroundStartY };

struct MarkerRow {
  int code;
  int32_t type;
  int32_t w, h, hp, speed;
  YStart y_start;
  int32_t dx, dy;      // dy 2 stands for "random: -1 or +1"
  Range range;
  int32_t ledge;
  int32_t awake;
};

constexpr int32_t kRandomDy = 2;
constexpr int kRangeReach = 48;  // patrols and swings travel two cells either way

// The objects' start values. Slimes are 11 high and stand 12 into their cell; the
// 24-high spike walkers start 11 down, hanging into the cell below.
constexpr MarkerRow kMarkers[] = {
    {10, kSlime, 24, 11, 1, 1, YStart::kPlus12, 1, 0, Range::kWorld, 0, 0},
    {11, kRedSlime, 24, 11, 1, 1, YStart::kPlus12, 1, 0, Range::kWorld, 1, 0},
    {12, kYellowSlime, 24, 11, 1, 1, YStart::kPlus12, 0, kRandomDy, Range::kAroundStartY, 0, 0},
    {13, kSpikeFlyer, 24, 24, 5, 1, YStart::kCell, 1, 0, Range::kWorld, 0, 1},
    {14, kSpikePatrol, 24, 24, 5, 1, YStart::kCell, 0, 1, Range::kWorld, 0, 1},
    {15, kSpikeBouncer, 24, 24, 5, 1, YStart::kCell, 1, 1, Range::kWorld, 0, 0},
    {16, kPlatformSide, 48, 4, 1, 2, YStart::kCell, 1, 0, Range::kWorld, 1, 1},
    {17, kPlatformUpWrap, 48, 4, 1, 2, YStart::kCell, 0, -1, Range::kWorld, 1, 1},
    {18, kPlatformDownWrap, 48, 4, 1, 2, YStart::kCell, 0, 1, Range::kWorld, 1, 1},
    {19, kPlatformSwing, 48, 4, 1, 2, YStart::kCell, 1, 0, Range::kAroundX, 1, 1},
    {20, kPlatformLift, 48, 4, 1, 2, YStart::kCell, 0, 1, Range::kAroundY, 1, 1},
    {21, kPlatformDrop, 48, 4, 1, 2, YStart::kCell, 0, 0, Range::kWorld, 1, 1},
    {22, kPlatformDiagDown, 48, 4, 1, 2, YStart::kCell, 1, 1, Range::kAroundX, 1, 1},
    {23, kPlatformDiagUp, 48, 4, 1, 2, YStart::kCell, -1, 1, Range::kAroundX, 1, 1},
    {35, kPlatformSwing, 48, 4, 1, 2, YStart::kCell, -1, 0, Range::kAroundX, 1, 1},
    {36, kPlatformLift, 48, 4, 1, 2, YStart::kCell, 0, -1, Range::kAroundY, 1, 1},
    {38, kSpikeWalker, 24, 24, 5, 1, YStart::kPlus11, 1, 0, Range::kWorld, 0, 0},
    {39, kSpikeLedgeWalker, 24, 24, 5, 1, YStart::kPlus11, 1, 0, Range::kWorld, 1, 0},
    {40, kSpikeLift, 24, 24, 5, 1, YStart::kPlus11, 0, kRandomDy, Range::kAroundStartY, 0, 0},
};

const MarkerRow* find_marker(int code) {
  for (const MarkerRow& row : kMarkers) {
    if (row.code == code) return &row;
  }
  return nullptr;
}

}  // namespace

bool is_object_marker(int code) { return find_marker(code) != nullptr; }

bool object_from_marker(int code, int column, int row, GameRandom& random, MovingObject* out) {
  const MarkerRow* m = find_marker(code);
  if (!m) return false;
  const int32_t cx = column * kCellSize;
  const int32_t cy = row * kCellSize;
  MovingObject o;
  o.type = m->type;
  o.x = cx;
  o.y = cy + (m->y_start == YStart::kPlus12 ? 12 : m->y_start == YStart::kPlus11 ? 11 : 0);
  o.dx = m->dx;
  // rand() odd goes up, even goes down.
  o.dy = m->dy == kRandomDy ? (random.next() % 2 != 0 ? -1 : 1) : m->dy;
  o.w = m->w;
  o.h = m->h;
  o.hp = m->hp;
  o.speed = m->speed;
  o.x_min = 0;
  o.x_max = kWorldWidth;
  o.y_min = 0;
  o.y_max = kWorldHeight;
  switch (m->range) {
    case Range::kWorld: break;
    case Range::kAroundX:
      o.x_min = cx - kRangeReach;
      o.x_max = cx + kRangeReach;
      break;
    case Range::kAroundY:
      o.y_min = cy - kRangeReach;
      o.y_max = cy + kRangeReach;
      break;
    case Range::kAroundStartY:
      o.x_min = cx;
      o.x_max = cx;
      o.y_min = o.y - kRangeReach;
      o.y_max = o.y + kRangeReach;
      break;
  }
  o.ledge = m->ledge;
  o.alive = 1;
  o.awake = m->awake;
  *out = o;
  return true;
}

}  // namespace torv
