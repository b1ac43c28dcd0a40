// wait_frame's schedule.
#include "game/frame_clock.h"

namespace torv {

namespace {
constexpr uint32_t kSecondMs = 1000;
}

uint32_t FrameClock::due_offset(int32_t frame, int rate) {
  // The step is single precision (16.666666 for 60); the product is taken in double
  // and truncated, which gives 16, 33, 49 ... 983, 999, 1016.
  const float step = 1000.0f / static_cast<float>(rate);
  return static_cast<uint32_t>(static_cast<int64_t>(static_cast<double>(frame) * static_cast<double>(step)));
}

void FrameClock::wait_frame(int rate, MillisecondClock& clock, const std::atomic<int32_t>& stop) {
  ++frames_this_second_;
  if (rate < 1) {
    clock.sleep_1ms();
  } else if (stop.load(std::memory_order_relaxed) == 0) {
    const uint32_t due = due_offset(frames_this_second_, rate);
    // Elapsed time since the second start, taken modulo 2^32, so the schedule holds
    // across the timer's wrap-around after 49.7 days.
    while (clock.now_ms() - second_start_ <= due) {
      clock.sleep_1ms();
      if (stop.load(std::memory_order_relaxed) != 0) break;
    }
  }
  if (clock.now_ms() - second_start_ > kSecondMs) {
    measured_fps_ = frames_this_second_;
    frames_this_second_ = 0;
    second_start_ = clock.now_ms();
  }
}

}  // namespace torv
