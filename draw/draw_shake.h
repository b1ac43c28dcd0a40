// Screen shake: a worker moves the horizontal frame offset through a fixed swing
// pattern, one value every 30 ms, while the drawing thread reads the offset once per
// frame. Portable: the worker's sleep is passed in, so tests run the pattern without
// waiting.
#pragma once

#include <atomic>
#include <functional>
#include <mutex>

namespace torv {

constexpr int kShakeStepMs = 30;  // each offset shows for about two frames at 60 fps

class ShakeState {
public:
  // Starts a shake of count swings (negative: until Stop). Answers false and changes
  // nothing while a shake runs. On true the caller runs Run(*ticket, ...) on a new
  // thread, or calls Abandon(*ticket) when it cannot start one.
  bool Begin(int count, unsigned* ticket);
  // Ends the shake now: offsets 0, not shaking. Its worker notices after its current
  // sleep and ends without touching the state again, even if a new shake has begun.
  void Stop();
  // The worker's procedure for the shake named by ticket; sleep(ms) waits.
  void Run(unsigned ticket, const std::function<void(int)>& sleep);
  // Undoes a Begin whose worker never started.
  void Abandon(unsigned ticket);

  // Read by the drawing thread once per frame, without a lock.
  int offset_x() const { return offset_x_.load(std::memory_order_relaxed); }
  int offset_y() const { return offset_y_.load(std::memory_order_relaxed); }
  bool shaking() const { return shaking_.load(std::memory_order_relaxed) != 0; }
  int count() const { return count_.load(std::memory_order_relaxed); }

private:
  // Sets the offset if ticket is still the running shake; false when it is not.
  bool Step(unsigned ticket, int offset_x);
  bool Current(unsigned ticket) const;  // caller holds mutex_
  void Finish(unsigned ticket);

  // Transitions (begin, step, stop, finish) are serialised, so a worker that was
  // stopped can never write over a shake begun after it.
  mutable std::mutex mutex_;
  unsigned ticket_ = 0;
  std::atomic<int> shaking_{0};
  std::atomic<int> count_{0};
  std::atomic<int> offset_x_{0};
  std::atomic<int> offset_y_{0};
};

}  // namespace torv
