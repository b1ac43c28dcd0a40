#include "game/play_mode.h"

#include <gtest/gtest.h>

#include <set>

#include "common/format_text.h"
#include "game/play_texts.h"
#include "play_fakes.h"

namespace torv {
namespace {

using test::DrawCall;
using test::HostEvent;
using test::pressed;
using test::ScriptHost;

// Keys held in given frames: {first frame, last frame, keys}.
struct Hold {
  int first, last;
  const char* keys;
};

std::function<FrameInput(int)> script(std::vector<Hold> holds) {
  return [holds](int frame) {
    std::string keys;
    for (const Hold& h : holds) {
      if (frame >= h.first && frame <= h.last) keys += h.keys;
    }
    return pressed(keys);
  };
}

class PlayModeTest : public testing::Test {
protected:
  // Stage "0001.afb" (flat, next "0002") with an optional tile in the start cell.
  void add_stage(const std::string& file, uint8_t start_tile, const std::string& next) {
    StageFile stage = test::flat_stage();
    stage.next_base_name = next;
    stage.set_tile(stage.start_column, stage.start_row, start_tile);
    host.stages_.files[file] = write_stage_file(stage);
  }
  void start() { ASSERT_EQ(start_new_game(state, host), 0); }
  int play_steps() const { return 18000 - state.player.time_left; }

  ScriptHost host;
  GameState state;
};

TEST_F(PlayModeTest, GoalGivesTenPointsPerWholeSecondOneFrameEachThenAllClear) {
  add_stage("0001.afb", kTileGoal, "0002");  // no "0002.afb": the game is cleared
  start();
  state.player.time_left = 751;  // 750 after the first frame: 12.5 seconds
  host.input = script({{300, 100000, "J"}});
  EXPECT_EQ(run_play(state, host), PlayEnd::kAllClear);
  EXPECT_EQ(state.progress.score, 120);
  EXPECT_EQ(state.player.time_left, 0);
  EXPECT_EQ(host.services_.count(kEffectClear), 1);
  EXPECT_EQ(host.frames_between(HostEvent::kMusicStop, HostEvent::kLoop), 60);
  EXPECT_EQ(host.frames_between(HostEvent::kLoop, HostEvent::kStop), 12);
  // 30 frames after the bonus, then the music stops again and the all-clear runs:
  // 200 frames of white fade, 25 of text, the wait for jump, 50 to black.
  EXPECT_EQ(host.count(HostEvent::kMusicStop), 2);
  const std::vector<DrawCall> texts = host.canvas_.of_kind(DrawCall::kText);
  ASSERT_EQ(texts.size(), 75u);
  for (const DrawCall& t : texts) {
    EXPECT_EQ(t.text, text::kAllClearText);
    EXPECT_EQ(t.colour, host.canvas_.rgb(255, 0, 0));
    EXPECT_EQ(t.font_height, 30);
  }
  EXPECT_EQ(host.canvas_.calls.back().kind, DrawCall::kFont);
  EXPECT_EQ(host.canvas_.calls.back().font_height, 24);
  // Jump is already held when the wait starts: it takes one frame.
  EXPECT_EQ(host.frames, 1 + 60 + 12 + 30 + 200 + 25 + 1 + 50);
}

TEST_F(PlayModeTest, ClearingAStageLoadsTheNextWithNewMusicAndCountsIt) {
  add_stage("0001.afb", kTileGoal, "0002");
  add_stage("0002.afb", kTileGoal, "0003");
  start();
  host.input = script({{1, 100000, "J"}});
  EXPECT_EQ(run_play(state, host), PlayEnd::kAllClear);
  EXPECT_EQ(state.progress.stage_number, 2);
  EXPECT_EQ(state.progress.stage_file, "0002.afb");
  EXPECT_EQ(host.count(HostEvent::kMusic), 2);
  EXPECT_EQ(state.progress.score, 2 * 10 * 299);  // 299 whole seconds left on each stage
}

TEST_F(PlayModeTest, WithOneLifeLeftALostLifeRestartsTheStageAndTheNextEndsTheGame) {
  add_stage("0001.afb", kTileSpikes, "0002");
  start();
  state.progress.lives = 1;
  host.input = script({{1, 100000, "J"}});
  const int fetches = host.stages_.fetches;
  EXPECT_EQ(run_play(state, host), PlayEnd::kGameOver);
  EXPECT_EQ(state.progress.lives, -1);
  EXPECT_EQ(host.services_.count(kEffectDead), 2);
  EXPECT_EQ(host.stages_.fetches, fetches + 1);  // restarted once, from the file
  // The fade draws the player at 100, 98, ..., 2 percent, twice.
  std::vector<double> alphas;
  for (const DrawCall& c : host.canvas_.of_kind(DrawCall::kImage)) {
    if (c.w == 16) alphas.push_back(c.alpha);
  }
  ASSERT_EQ(alphas.size(), 2u + 100u);  // two play frames, two fades
  EXPECT_EQ(alphas[1], 100);
  EXPECT_EQ(alphas[50], 2);
  EXPECT_EQ(host.canvas_.texts_drawn(text::kGameOverText), 100 + 50);
  EXPECT_EQ(host.count(HostEvent::kMusicStop), 1);
}

TEST_F(PlayModeTest, RunningOutOfTimeCostsALife) {
  add_stage("0001.afb", kTileEmpty, "0002");
  start();
  state.player.time_left = 2;
  host.max_frames = 60;
  EXPECT_EQ(run_play(state, host), PlayEnd::kStopped);
  EXPECT_EQ(state.progress.lives, 4);
  EXPECT_EQ(host.services_.count(kEffectDead), 1);
  EXPECT_EQ(state.player.status, kStatusPlaying);
  EXPECT_GT(state.player.time_left, 17000);  // the stage was read afresh
}

TEST_F(PlayModeTest, PausingAndResumingLeavesTheGameWhereItWas) {
  add_stage("0001.afb", kTileEmpty, "0002");
  // Run A: walking right, pause pressed at frame 3 (held to 5) and again from 9 to
  // 20, which closes the menu; holding it does not open the menu again.
  start();
  host.input = script({{1, 1000, "R"}, {3, 5, "P"}, {9, 20, "P"}});
  host.max_frames = 40;
  run_play(state, host);
  const int menu_frames = host.canvas_.texts_drawn(text::kPauseTitle) / 2;
  EXPECT_EQ(menu_frames, 3);
  const int steps = play_steps();
  EXPECT_EQ(steps, 40 - 18);  // frames 4..21 were spent in the menu

  // Run B: the same walk without a pause, for as many play frames.
  ScriptHost plain;
  plain.stages_ = host.stages_;
  plain.input = script({{1, 1000, "R"}});
  plain.max_frames = steps;
  GameState other;
  ASSERT_EQ(start_new_game(other, plain), 0);
  run_play(other, plain);
  ASSERT_EQ(18000 - other.player.time_left, steps);
  other.player.anim_frame = state.player.anim_frame;  // paced by the wall clock
  EXPECT_EQ(other.player, state.player);
  EXPECT_EQ(other.progress, state.progress);
  EXPECT_EQ(other.objects, state.objects);
  EXPECT_EQ(other.grid, state.grid);
}

TEST_F(PlayModeTest, SavingToFileThreeStoresTheProgressThatContinueRestores) {
  add_stage("0001.afb", kTileEmpty, "0002");
  start();
  state.progress.score = 777;
  state.progress.fire_ammo = 3;
  state.progress.lives = 2;
  host.input = script({{2, 3, "P"}, {6, 6, "D"}, {8, 8, "R"}, {10, 10, "R"}, {12, 12, "J"}, {16, 16, "J"},
                       {20, 20, "P"}});
  host.max_frames = 30;
  run_play(state, host);
  ASSERT_EQ(host.saved.size(), 1u);
  ASSERT_EQ(host.saved.count(2), 1u);  // file 3 is slot 2
  const GameProgress saved = host.saved[2];
  EXPECT_EQ(saved.stage_file, "0001.afb");
  EXPECT_EQ(saved.archive_name, "sdat.tfa");
  EXPECT_EQ(saved.score, 777);
  EXPECT_EQ(saved.lives, 2);
  EXPECT_EQ(host.canvas_.texts_drawn(text::kPauseSaved), 2 * 3);  // shadow and text, frames 14 to 16
  // The menu showed file 3 while it was selected.
  bool file3_shown = false;
  const std::string file3 = format_text(text::kPauseSave, 3);
  for (const DrawCall& c : host.canvas_.of_kind(DrawCall::kTextSimple)) {
    file3_shown |= c.text == file3 && c.colour == host.canvas_.rgb(255, 0, 0);
  }
  EXPECT_TRUE(file3_shown);
  EXPECT_EQ(state.player.status, kStatusPlaying);  // the game went on

  GameState continued;
  ASSERT_EQ(continue_game(continued, saved, host), 0);
  EXPECT_EQ(continued.progress, saved);
  EXPECT_EQ(continued.player.time_left, 18000);
  EXPECT_EQ(continued.player.x, 5 * 24 + 4);
}

TEST_F(PlayModeTest, BackToTheTitleStopsTheMusicAndRestoresTheTitleFont) {
  add_stage("0001.afb", kTileEmpty, "0002");
  start();
  host.input = script({{2, 3, "P"}, {6, 6, "D"}, {8, 8, "D"}, {10, 10, "J"}});
  EXPECT_EQ(run_play(state, host), PlayEnd::kToTitle);
  EXPECT_EQ(state.player.status, kStatusToTitle);
  EXPECT_EQ(host.count(HostEvent::kMusicStop), 1);
  EXPECT_EQ(host.canvas_.calls.back().kind, DrawCall::kFont);
  EXPECT_EQ(host.canvas_.calls.back().font_height, 24);
  EXPECT_LT(host.frames, 20);
}

TEST_F(PlayModeTest, MusicIsOneOfFivePiecesChosenFromTheClock) {
  std::set<std::string> pieces;
  for (uint32_t clock = 0; clock < 200; ++clock) {
    host.services_.clock = clock;
    host.events.clear();
    pick_music(state, host);
    ASSERT_EQ(host.events.size(), 1u);
    pieces.insert(host.events[0].text);
    GameRandom expected;
    expected.seed(clock);
    const int n = expected.next() % 5 + 1;
    EXPECT_EQ(host.events[0].text, format_text("BGM%d.ogg", n));
    EXPECT_EQ(state.random, expected);
  }
  EXPECT_EQ(pieces, (std::set<std::string>{"BGM1.ogg", "BGM2.ogg", "BGM3.ogg", "BGM4.ogg", "BGM5.ogg"}));
}

}  // namespace
}  // namespace torv
