#include "draw/draw_shake.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

using torv::ShakeState;

// Runs a shake with a sleep that records the offset shown during each step and
// may act at a given step (1-based) before the step's sleep ends.
struct Recorder {
  explicit Recorder(ShakeState& s) : state(s) {}
  ShakeState& state;
  std::vector<int> shown;
  std::vector<int> sleeps;
  std::function<void(int step)> at_step = [](int) {};

  void Run(unsigned ticket) {
    state.Run(ticket, [this](int ms) {
      shown.push_back(state.offset_x());
      sleeps.push_back(ms);
      at_step(static_cast<int>(shown.size()));
    });
  }
};

TEST(DrawShake, ShowsTheSwingPatternThenRests) {
  struct Case {
    int count;
    std::vector<int> offsets;
  };
  const Case cases[] = {
      {0, {-20, -40, -30, -20, -10}},
      {1, {-20, -40, -20, 0, 20, 40, 30, 20, 10}},
      {2, {-20, -40, -20, 0, 20, 40, 20, 0, -20, -40, -30, -20, -10}},
      {3, {-20, -40, -20, 0, 20, 40, 20, 0, -20, -40, -20, 0, 20, 40, 30, 20, 10}},
  };
  for (const Case& c : cases) {
    ShakeState state;
    unsigned ticket = 0;
    ASSERT_TRUE(state.Begin(c.count, &ticket));
    EXPECT_TRUE(state.shaking());
    Recorder rec(state);
    rec.Run(ticket);
    EXPECT_EQ(rec.shown, c.offsets) << "count " << c.count;
    EXPECT_EQ(rec.sleeps, std::vector<int>(c.offsets.size(), torv::kShakeStepMs));
    // Finished: back at rest, ready for the next shake; the count ends at -1.
    EXPECT_FALSE(state.shaking());
    EXPECT_EQ(state.offset_x(), 0);
    EXPECT_EQ(state.offset_y(), 0);
    EXPECT_EQ(state.count(), -1);
    EXPECT_TRUE(state.Begin(1, &ticket));
  }
}

TEST(DrawShake, SecondBeginWhileShakingChangesNothing) {
  ShakeState state;
  unsigned first = 0, second = 0;
  ASSERT_TRUE(state.Begin(2, &first));
  EXPECT_FALSE(state.Begin(7, &second));
  EXPECT_EQ(state.count(), 2);
  Recorder rec(state);
  rec.Run(first);
  EXPECT_EQ(rec.shown.size(), 13u);  // the two-swing pattern, not seven swings
}

TEST(DrawShake, StopRestsAtOnceAndEndsTheWorkerAfterItsSleep) {
  for (int stop_at : {1, 2, 5, 9}) {
    ShakeState state;
    unsigned ticket = 0;
    ASSERT_TRUE(state.Begin(1, &ticket));
    Recorder rec(state);
    rec.at_step = [&](int step) {
      if (step != stop_at) return;
      state.Stop();
      EXPECT_EQ(state.offset_x(), 0);  // the very next frame is back in place
      EXPECT_FALSE(state.shaking());
    };
    rec.Run(ticket);
    EXPECT_EQ(rec.shown.size(), static_cast<size_t>(stop_at)) << "no step after the stop";
    EXPECT_EQ(state.offset_x(), 0);
    EXPECT_FALSE(state.shaking());
  }
}

TEST(DrawShake, NegativeCountShakesUntilStopped) {
  ShakeState state;
  unsigned ticket = 0;
  ASSERT_TRUE(state.Begin(-1, &ticket));
  Recorder rec(state);
  rec.at_step = [&](int step) {
    if (step == 1 + 8 * 25) state.Stop();  // 25 whole double swings
  };
  rec.Run(ticket);
  ASSERT_EQ(rec.shown.size(), 201u);
  const std::vector<int> period = {-40, -20, 0, 20, 40, 20, 0, -20};
  for (size_t i = 1; i < rec.shown.size(); ++i) EXPECT_EQ(rec.shown[i], period[(i - 1) % 8]) << i;
  EXPECT_LT(state.count(), -1);  // the count only falls further
}

TEST(DrawShake, StoppedWorkerNeverTouchesAShakeBegunAfterIt) {
  ShakeState state;
  unsigned old_ticket = 0, new_ticket = 0;
  ASSERT_TRUE(state.Begin(1, &old_ticket));
  Recorder old_worker(state);
  old_worker.at_step = [&](int step) {
    if (step != 2) return;
    // While the old worker sleeps, the game stops the shake and starts another.
    state.Stop();
    ASSERT_TRUE(state.Begin(0, &new_ticket));
  };
  old_worker.Run(old_ticket);
  EXPECT_EQ(old_worker.shown, (std::vector<int>{-20, -40}));
  // The old worker ended without resetting the new shake or moving its offset.
  EXPECT_TRUE(state.shaking());
  EXPECT_EQ(state.offset_x(), 0);
  Recorder new_worker(state);
  new_worker.Run(new_ticket);
  EXPECT_EQ(new_worker.shown, (std::vector<int>{-20, -40, -30, -20, -10}));
  EXPECT_FALSE(state.shaking());
}

TEST(DrawShake, AbandonedBeginFreesTheState) {
  ShakeState state;
  unsigned ticket = 0;
  ASSERT_TRUE(state.Begin(1, &ticket));
  state.Abandon(ticket);  // the worker thread could not be started
  EXPECT_FALSE(state.shaking());
  EXPECT_TRUE(state.Begin(1, &ticket));
}

}  // namespace
