// The clocks a front-end paces the game by.
//
// HostClock: the game's millisecond clock plus one longer sleep. On the front-ends'
// single thread nothing can end a frame's wait early (the stop flag only changes
// while events are taken), so the wait for a frame can be one sleep to its due
// millisecond instead of one wake-up per millisecond.
//
// SimulatedClock: time passes only while the game sleeps, so every frame is exactly
// on time and a run takes no wall time; the frame counters (the animation clock and
// the rate shown in the status bar) are then the same on every run.
#pragma once

#include "game/frame_clock.h"

namespace torv {

class HostClock : public MillisecondClock {
public:
  // Sleeps until ms more whole milliseconds of now_ms() have begun.
  virtual void sleep_ms(uint32_t ms) = 0;
};

class SimulatedClock : public HostClock {
public:
  uint32_t now_ms() override { return now_; }
  void sleep_1ms() override { ++now_; }
  void sleep_ms(uint32_t ms) override { now_ += ms; }

private:
  uint32_t now_ = 100000;
};

}  // namespace torv
