// Mapping raw pad readings to the directions and buttons the game asks for.
#include "joystick/pad_mapping.h"

namespace torv {

namespace {

// The hat's eight positions, 45 degrees apart from up, clockwise.
constexpr int kPovDx[8] = {0, 1, 1, 1, 0, -1, -1, -1};
constexpr int kPovDy[8] = {-1, -1, 0, 1, 1, 1, 0, -1};
constexpr uint32_t kPovFullCircle = 36000;
constexpr uint32_t kPovStep = 4500;

bool held(uint8_t b) { return (b & 0x80) != 0; }

}  // namespace

int axis_direction(int32_t value, int32_t axis_min, int32_t axis_max) {
  if (axis_max <= axis_min) return 0;
  const int64_t span = static_cast<int64_t>(axis_max) - axis_min;
  // Twice the distance from the centre, so an odd span has no rounding bias.
  const int64_t twice_offset = 2 * static_cast<int64_t>(value) - axis_min - axis_max;
  const int64_t twice_dead = span / 4;  // half the quarter-wide zone, doubled
  if (twice_offset < -twice_dead) return -1;
  if (twice_offset > twice_dead) return 1;
  return 0;
}

void pov_direction(uint32_t pov, int* dx, int* dy) {
  *dx = 0;
  *dy = 0;
  if ((pov & 0xFFFF) == kPovCentred || pov >= kPovFullCircle) return;
  const uint32_t sector = ((pov + kPovStep / 2) / kPovStep) % 8;
  *dx = kPovDx[sector];
  *dy = kPovDy[sector];
}

int64_t pack_xy(int32_t x, int32_t y) {
  const uint64_t packed = static_cast<uint64_t>(static_cast<uint32_t>(x)) |
                          static_cast<uint64_t>(static_cast<uint32_t>(y)) << 32;
  return static_cast<int64_t>(packed);
}

bool CPadReader::Read(PadState* state) { return source_ && source_->Poll(state); }

int64_t CPadReader::GetJoyXY() {
  PadState s;
  if (!Read(&s)) return 0;
  int x = axis_direction(s.x, s.axis_min, s.axis_max);
  int y = axis_direction(s.y, s.axis_min, s.axis_max);
  int hat_x = 0;
  int hat_y = 0;
  pov_direction(s.pov, &hat_x, &hat_y);
  if (x == 0) x = hat_x;
  if (y == 0) y = hat_y;
  return pack_xy(x, y);
}

int CPadReader::GetJoyBtn(int button) {
  if (button < 0 || button >= kPadButtons) return 0;
  PadState s;
  return Read(&s) && held(s.buttons[button]) ? 1 : 0;
}

int CPadReader::GetJoy() {
  PadState s;
  if (!Read(&s)) return -1;
  for (int i = 0; i < kPadButtons; ++i) {
    if (held(s.buttons[i])) return i;
  }
  return -1;
}

}  // namespace torv
