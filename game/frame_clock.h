// Frame pacing: every screen calls wait_frame(60) once per frame. Frame k of a
// second is released at the first millisecond strictly after second start +
// trunc(k x 1000/60); the schedule restarts each second, and a late frame is not
// made up by skipping work.
#pragma once

#include <atomic>
#include <cstdint>

namespace torv {

// Where the pacing reads the time and sleeps: the multimedia timer in the game, a
// scripted clock in tests.
class MillisecondClock {
public:
  virtual ~MillisecondClock() = default;
  // Milliseconds, unsigned and wrapping.
  virtual uint32_t now_ms() = 0;
  virtual void sleep_1ms() = 0;
};

class FrameClock {
public:
  // Waits until the next frame of a rate-per-second schedule is due, or until stop
  // is set; then rolls the second over when it has lasted more than 1000 ms.
  void wait_frame(int rate, MillisecondClock& clock, const std::atomic<int32_t>& stop);

  // Frames begun since the second started; also the objects' animation clock.
  int32_t frames_this_second() const { return frames_this_second_; }
  // Frame count of the last completed second (the status bar shows it).
  int32_t measured_fps() const { return measured_fps_; }
  uint32_t second_start() const { return second_start_; }

  // Due offset of frame k from the second start for a rate, in ms.
  static uint32_t due_offset(int32_t frame, int rate);

private:
  int32_t frames_this_second_ = 0;
  int32_t measured_fps_ = 0;
  uint32_t second_start_ = 0;
};

}  // namespace torv
