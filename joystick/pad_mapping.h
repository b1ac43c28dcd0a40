// What the game sees of a pad: raw axes, hat and buttons mapped to -1/0/+1
// directions and held buttons. Portable; the DirectInput reading is elsewhere.
#pragma once

#include <cstdint>
#include <memory>

namespace torv {

constexpr int kPadButtons = 128;  // DirectInput's largest button count
constexpr uint32_t kPovCentred = 0xFFFF;

// One reading of a pad. Axes lie in [axis_min, axis_max].
struct PadState {
  int32_t x = 0;
  int32_t y = 0;
  int32_t axis_min = -1000;
  int32_t axis_max = 1000;
  // First hat: hundredths of a degree clockwise from up, or centred (low word 0xFFFF).
  uint32_t pov = kPovCentred;
  uint8_t buttons[kPadButtons] = {};  // high bit set while held
};

// -1, 0 or +1: beyond the dead zone, a quarter of the range wide around its centre.
int axis_direction(int32_t value, int32_t axis_min, int32_t axis_max);
// The hat's direction as -1/0/+1 on each axis; diagonals give both.
void pov_direction(uint32_t pov, int* dx, int* dy);
// x in the low 32 bits, y in the high 32 bits, both two's complement.
int64_t pack_xy(int32_t x, int32_t y);

// Something that reads a pad: false when there is no reading (unplugged, lost).
class IPadSource {
public:
  virtual ~IPadSource() = default;
  virtual bool Poll(PadState* state) = 0;
};

// Answers the module's queries from a source polled at every query; without a
// source, or without a reading, everything is centred and released.
class CPadReader {
public:
  void SetSource(std::unique_ptr<IPadSource> source) { source_ = std::move(source); }
  bool HasSource() const { return source_ != nullptr; }

  int64_t GetJoyXY();
  int GetJoyBtn(int button);
  int GetJoy();

private:
  bool Read(PadState* state);

  std::unique_ptr<IPadSource> source_;
};

}  // namespace torv
