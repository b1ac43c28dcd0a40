#include "tools/replayplan/stage_search.h"

#include <gtest/gtest.h>

#include "game/play_frame.h"
#include "tools/replayplan/goal_map.h"
#include "game_fakes.h"

namespace torv {
namespace {

using test::FakeServices;

// Plays frames from start; true when they reach the goal without losing a life.
bool reaches_goal(GameState state, const std::vector<FrameInput>& frames, FakeServices& services) {
  for (const FrameInput& in : frames) {
    step_play_frame(state, in, 0, services);
    apply_time_out(state.player);
    if (state.player.status == kStatusGoal) return true;
    if (state.player.status != kStatusPlaying) return false;
  }
  return false;
}

// A short course on the floor of row 20: a two-block step to jump, a pit, a crate
// wall that only fire opens, then the goal.
StageFile course() {
  StageFile stage = test::flat_stage();
  stage.start_column = 2;
  for (int row = 17; row <= 19; ++row) stage.set_tile(0, row, kTileIndestructible);
  stage.set_tile(8, 19, kTilePlain);
  stage.set_tile(8, 18, kTilePlain);
  stage.set_tile(12, 20, kTileEmpty);  // a pit one cell wide
  stage.set_tile(13, 20, kTileEmpty);
  for (int row = 0; row <= 19; ++row) stage.set_tile(18, row, row >= 16 ? kTileBurnable : kTileIndestructible);
  stage.set_tile(22, 19, kTileGoal);
  return stage;
}

TEST(StageSearch, FindsInputsThroughJumpsPitsAndBurnableWalls) {
  FakeServices services;
  GameState start = test::state_on(course(), services, 2 * 24 + 4);
  SearchOptions options;
  options.beam_width = 60;
  const SearchResult result = search_stage(start, services, options);
  ASSERT_TRUE(result.found) << "closest " << result.best_distance << " cells";
  EXPECT_TRUE(reaches_goal(start, result.frames, services));
  // The crates had to burn: the search really used the fire shot.
  bool fired = false;
  for (const FrameInput& in : result.frames) fired |= in.attack;
  EXPECT_TRUE(fired);
}

TEST(StageSearch, ReportsFailureWhenTheGoalIsWalledOff) {
  FakeServices services;
  StageFile stage = course();
  for (int row = 0; row <= 19; ++row) stage.set_tile(18, row, kTileIndestructible);
  GameState start = test::state_on(stage, services, 2 * 24 + 4);
  SearchOptions options;
  options.beam_width = 20;
  options.frame_limit = 600;
  const SearchResult result = search_stage(start, services, options);
  EXPECT_FALSE(result.found);
  EXPECT_TRUE(result.frames.empty());
}

TEST(GoalMap, AHighLedgeIsFarWithoutSomethingToJumpFrom) {
  // The goal sits on a ledge eight cells above the floor: out of a jump's reach,
  // so the floor below it is no nearer than the far end of the stage's floor.
  FakeServices services;
  StageFile stage = test::flat_stage();
  for (int column = 30; column <= 34; ++column) stage.set_tile(column, 12, kTilePlain);
  stage.set_tile(32, 11, kTileGoal);
  GameState state = test::state_on(stage, services);
  GoalMap unreachable(state);
  EXPECT_EQ(unreachable.distance(32, 19, GoalMap::kJumpCells), -1);
  // A staircase of ledges three cells apart brings it within reach.
  stage.set_tile(26, 17, kTilePlain);
  stage.set_tile(28, 14, kTilePlain);
  GameState stairs = test::state_on(stage, services);
  GoalMap reachable(stairs);
  EXPECT_GT(reachable.distance(20, 19, GoalMap::kJumpCells), 0);
  EXPECT_LT(reachable.distance(26, 16, GoalMap::kJumpCells), reachable.distance(20, 19, GoalMap::kJumpCells));
  EXPECT_EQ(reachable.distance(32, 11, 0), 0);
}

}  // namespace
}  // namespace torv
