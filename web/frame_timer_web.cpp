// The frame clock in the browser: the page's high-resolution time, and every wait a
// return to the browser's event loop, so that the page draws the canvas and hands
// over keys while the game waits for its next frame. The game's screens are loops
// that wait for the next frame; Asyncify (web/library.js, torv_yield) unwinds the
// game's stack at such a wait and rewinds it when the browser calls back.
//
// Without Asyncify (TORV_WEB_ASYNCIFY off, a measurement build only) nothing
// returns to the browser until the game ends: a run must use --deterministic.
#include <emscripten.h>

#include "game/sdl/frame_timer.h"

extern "C" {
// web/library.js: back to the browser's event loop for ms milliseconds (0: only for
// what is already waiting, such as drawing and input), then on with the game.
void torv_yield(int ms);
}

namespace torv {

namespace {

#ifdef TORV_WEB_ASYNCIFY
// Whether the game has returned to the browser since the last frame's turn.
bool yielded = false;
#else
// The measurement build times each frame's work here; the Asyncify build times it
// around the rewind in web/library.js, so both count the same span.
double last_turn = 0;
#endif

// Ticks of a microsecond: start_ and frequency_ keep their meaning from the desktop
// clock.
uint64_t microseconds() { return static_cast<uint64_t>(emscripten_get_now() * 1000.0); }

}  // namespace

PerformanceClock::PerformanceClock() : start_(microseconds()), frequency_(1000000) {}

uint32_t PerformanceClock::now_ms() { return static_cast<uint32_t>((microseconds() - start_) * 1000 / frequency_); }

void PerformanceClock::sleep_ms(uint32_t ms) {
  // The first tick of the millisecond ms whole milliseconds ahead.
  const uint64_t ticks = microseconds() - start_;
  const uint64_t due = (ticks * 1000 / frequency_ + ms) * frequency_ / 1000;
  if (due <= ticks) return;
#ifdef TORV_WEB_ASYNCIFY
  // A timer fires no earlier than asked, in whole milliseconds: round up.
  yielded = true;
  torv_yield(static_cast<int>((due - ticks + frequency_ / 1000 - 1) * 1000 / frequency_));
#else
  while (microseconds() - start_ < due) {
  }
#endif
}

double PerformanceClock::seconds() {
  return static_cast<double>(microseconds() - start_) / static_cast<double>(frequency_);
}

void take_platform_turn() {
  // Frames counted for the page's tests: a key must be held across whole frames.
  EM_ASM({ ++Module.torvTurns; });
#ifdef TORV_WEB_ASYNCIFY
  if (!yielded) torv_yield(0);
  yielded = false;
#else
  const double now = emscripten_get_now();
  if (last_turn > 0) {
    EM_ASM({ Module.torvFrames.record($0); }, now - last_turn);
  }
  last_turn = now;
#endif
}

}  // namespace torv
