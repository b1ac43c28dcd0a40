#include <gtest/gtest.h>

#include <vector>

#include "game/frame_clock.h"

namespace torv {
namespace {

// A clock whose time moves only when the pacing sleeps (the frame's work takes no
// time), so every release time is exact.
class ScriptedClock : public MillisecondClock {
public:
  explicit ScriptedClock(uint32_t start) : now(start) {}
  uint32_t now_ms() override { return now; }
  void sleep_1ms() override {
    ++now;
    ++sleeps;
    if (stop_after_sleeps > 0 && sleeps == stop_after_sleeps) stop->store(1);
  }
  uint32_t now;
  int sleeps = 0;
  int stop_after_sleeps = 0;
  std::atomic<int32_t>* stop = nullptr;
};

TEST(FrameClock, DueOffsetsOfTheSixtyFrameSchedule) {
  const struct {
    int frame;
    uint32_t offset;
  } cases[] = {{1, 16}, {2, 33}, {3, 49}, {4, 66}, {5, 83}, {6, 99}, {59, 983}, {60, 999}, {61, 1016}};
  for (const auto& c : cases) EXPECT_EQ(FrameClock::due_offset(c.frame, 60), c.offset) << "frame " << c.frame;
}

// Release times of the frames of one second, measured from the second start,
// starting from the first call (which runs at once and starts the second), across
// the 32-bit timer's wrap-around too.
TEST(FrameClock, FramesAreReleasedStrictlyAfterTheirDueTimeAndTheSecondRollsOverAfterItsSixtyFirstFrame) {
  for (uint32_t start : {5000u, 0xFFFFFF00u, 0xFFFFFFFFu - 500u}) {
    SCOPED_TRACE(start);
    ScriptedClock clock(start);
    std::atomic<int32_t> stop{0};
    FrameClock frames;
    frames.wait_frame(60, clock, stop);
    EXPECT_EQ(clock.sleeps, 0);
    EXPECT_EQ(frames.second_start(), start);
    EXPECT_EQ(frames.frames_this_second(), 0);
    std::vector<uint32_t> released;
    for (int k = 1; k <= 61; ++k) {
      frames.wait_frame(60, clock, stop);
      released.push_back(clock.now - start);
      if (k <= 60) {
        EXPECT_EQ(frames.frames_this_second(), k);
        EXPECT_EQ(frames.second_start(), start);
      }
    }
    const std::vector<std::pair<int, uint32_t>> expected = {{1, 17},  {2, 34},  {3, 50},   {4, 67},  {5, 84},
                                                            {6, 100}, {59, 984}, {60, 1000}, {61, 1017}};
    for (const auto& [frame, at] : expected) EXPECT_EQ(released[frame - 1], at) << "frame " << frame;
    // Frame 60 ends exactly 1000 ms in: not yet more than a second, so the 61st frame
    // runs and then the counters roll over.
    EXPECT_EQ(frames.measured_fps(), 61);
    EXPECT_EQ(frames.frames_this_second(), 0);
    EXPECT_EQ(frames.second_start(), start + 1017);
  }
}

TEST(FrameClock, ALateFrameIsNotMadeUpButTheFollowingOnesRunWithoutSleeping) {
  ScriptedClock clock(10000);
  std::atomic<int32_t> stop{0};
  FrameClock frames;
  frames.wait_frame(60, clock, stop);
  clock.now += 70;  // the work of frame 0 took 70 ms: frames 1 to 4 are already due
  for (int k = 1; k <= 4; ++k) frames.wait_frame(60, clock, stop);
  EXPECT_EQ(clock.sleeps, 0);
  frames.wait_frame(60, clock, stop);  // frame 5 is due at +83
  EXPECT_EQ(clock.now - 10000, 84u);
}

TEST(FrameClock, StopFlagEndsTheWait) {
  {
    ScriptedClock clock(10000);
    std::atomic<int32_t> stop{0};
    FrameClock frames;
    frames.wait_frame(60, clock, stop);
    stop = 1;
    frames.wait_frame(60, clock, stop);
    EXPECT_EQ(clock.sleeps, 0);
    EXPECT_EQ(frames.frames_this_second(), 1);
  }
  {
    ScriptedClock clock(10000);
    std::atomic<int32_t> stop{0};
    clock.stop = &stop;
    clock.stop_after_sleeps = 3;
    FrameClock frames;
    frames.wait_frame(60, clock, stop);
    frames.wait_frame(60, clock, stop);
    EXPECT_EQ(clock.sleeps, 3);
  }
}

TEST(FrameClock, RateBelowOneOnlySleepsOneMillisecond) {
  for (int rate : {0, -5}) {
    ScriptedClock clock(10000);
    std::atomic<int32_t> stop{0};
    FrameClock frames;
    frames.wait_frame(60, clock, stop);
    const int before = clock.sleeps;
    frames.wait_frame(rate, clock, stop);
    EXPECT_EQ(clock.sleeps - before, 1);
    EXPECT_EQ(frames.frames_this_second(), 1);
  }
}

}  // namespace
}  // namespace torv
