// Frame pacing on SDL's performance counter.
#include <SDL2/SDL_timer.h>

#include <ctime>

#include "game/sdl/frame_timer.h"

namespace torv {

PerformanceClock::PerformanceClock()
    : start_(SDL_GetPerformanceCounter()), frequency_(SDL_GetPerformanceFrequency()) {}

uint32_t PerformanceClock::now_ms() {
  const uint64_t ticks = SDL_GetPerformanceCounter() - start_;
  return static_cast<uint32_t>(ticks * 1000 / frequency_);
}

void PerformanceClock::sleep_ms(uint32_t ms) {
  const uint64_t ticks = SDL_GetPerformanceCounter() - start_;
  const uint64_t next_ms = ticks * 1000 / frequency_ + ms;
  const uint64_t due = (next_ms * frequency_ + 999) / 1000;  // first tick of the next ms
  if (due <= ticks) return;
  const uint64_t wait_ns = (due - ticks) * 1000000000 / frequency_;
  timespec pause{static_cast<time_t>(wait_ns / 1000000000), static_cast<long>(wait_ns % 1000000000)};
  nanosleep(&pause, nullptr);
}

void take_platform_turn() {}

double PerformanceClock::seconds() {
  return static_cast<double>(SDL_GetPerformanceCounter() - start_) / static_cast<double>(frequency_);
}

}  // namespace torv
