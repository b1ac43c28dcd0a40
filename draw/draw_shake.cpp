#include "draw/draw_shake.h"

#include <climits>

namespace torv {

bool ShakeState::Begin(int count, unsigned* ticket) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (shaking_.load()) return false;
  count_.store(count);
  shaking_.store(1);
  *ticket = ++ticket_;
  return true;
}

void ShakeState::Stop() {
  std::lock_guard<std::mutex> lock(mutex_);
  offset_x_.store(0);
  offset_y_.store(0);
  shaking_.store(0);
  ++ticket_;  // the running worker, if any, is no longer current
}

void ShakeState::Abandon(unsigned ticket) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (Current(ticket)) shaking_.store(0);
}

bool ShakeState::Current(unsigned ticket) const { return shaking_.load() && ticket_ == ticket; }

bool ShakeState::Step(unsigned ticket, int offset_x) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!Current(ticket)) return false;
  offset_x_.store(offset_x);
  return true;
}

void ShakeState::Finish(unsigned ticket) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!Current(ticket)) return;
  offset_x_.store(0);
  offset_y_.store(0);
  shaking_.store(0);
}

void ShakeState::Run(unsigned ticket, const std::function<void(int)>& sleep) {
  // One step shows an offset for kShakeStepMs; after each sleep the shake may have
  // been stopped, and then the worker ends at once.
  auto step = [&](int x) {
    if (!Step(ticket, x)) return false;
    sleep(kShakeStepMs);
    std::lock_guard<std::mutex> lock(mutex_);
    return Current(ticket);
  };
  auto count_down = [&] {
    const int c = count_.load();
    if (c != INT_MIN) count_.store(c - 1);  // a negative count keeps falling, never wraps
  };

  int sign = -1;
  bool going = step(-20);
  // Each swing: out to 40 px on one side, back through the middle to 20 px on the
  // other; the sign flips so consecutive swings alternate.
  while (going && count_.load() != 0) {
    sign = -sign;
    count_down();
    for (int x : {-40, -20, 0, 20}) {
      going = step(x * sign);
      if (!going) break;
    }
  }
  if (going) {
    count_down();
    // Settle back towards the middle from the last swing's far side.
    for (int x : {40, 30, 20, 10}) {
      going = step(x * sign);
      if (!going) break;
    }
  }
  Finish(ticket);
}

}  // namespace torv
