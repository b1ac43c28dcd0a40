// Platform seam: the clock the game's frames are paced by (frame_timer_sdl.cpp:
// SDL's performance counter, sleeping to the next whole millisecond). The game's
// schedule (game/frame_clock.h) releases a frame at the first millisecond after it
// is due; waking exactly on the millisecond keeps each frame within a fraction of a
// millisecond of that, where a plain 1 ms sleep would add its own overshoot.
// The browser build has its own (web/frame_timer_web.cpp).
#pragma once

#include <cstdint>

#include "game/host/host_clock.h"

namespace torv {

class PerformanceClock : public HostClock {
public:
  PerformanceClock();
  uint32_t now_ms() override;
  // Sleep until the next whole millisecond of now_ms(), or ms of them, begins.
  void sleep_1ms() override { sleep_ms(1); }
  void sleep_ms(uint32_t ms) override;

  // Seconds since the clock was made, finer than now_ms() (for measurements).
  double seconds();

private:
  uint64_t start_;
  uint64_t frequency_;
};

// Called once a frame before the events are taken. Natively nothing: the system
// queues events and shows the window while the game runs. A browser shows the
// canvas and delivers keys only between turns of its event loop, so there the
// game returns to it here (unless the frame's wait already did).
void take_platform_turn();

}  // namespace torv
