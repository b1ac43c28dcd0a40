// PlayHost without a window: frames paced by the game's own frame clock on a
// simulated millisecond clock (every frame on time), inputs from an input script,
// a fixed clock value for every random seed, sounds and music only counted, the
// save slots kept in memory.
#pragma once

#include <array>
#include <atomic>
#include <map>
#include <string>
#include <vector>

#include "game/frame_clock.h"
#include "game/host/image_store.h"
#include "game/host/input_script.h"
#include "game/host/host_clock.h"
#include "game/play_mode.h"

namespace torv {

class HeadlessHost : public PlayHost {
public:
  HeadlessHost(const InputScript& script, ImageStore& images, StageSource& stages, PlayCanvas& canvas,
               uint32_t seed);

  // SimServices
  void play_sound(Effect effect) override { ++effects_played[effect]; }
  int image_width(int index) override { return images_.width(index); }
  int image_height(int index) override { return images_.height(index); }
  void reload_background(const std::string& member) override { images_.reload_background(member); }
  uint32_t clock_ms() override { return seed_; }

  // PlayHost
  void wait_frame() override;
  int frame_counter() override { return clock_.frames_this_second(); }
  int measured_fps() override { return clock_.measured_fps(); }
  // Once the script has run out: the play mode then unwinds as at a shutdown.
  bool stop_requested() override { return frames_ > static_cast<int>(script_.frames.size()); }
  FrameInput read_input() override;
  PlayCanvas& canvas() override { return canvas_; }
  StageSource& stages() override { return stages_; }
  void loop_sound(Effect) override {}
  void stop_sound(Effect) override {}
  void start_music(const std::string& member) override {
    music.push_back(member);
    music_frames.push_back(frames_);
  }
  void stop_music() override {}
  void save_progress(int slot, const GameProgress& progress) override { saves[slot] = progress; }

  // Frames waited for so far, and the script's length.
  int frames() const { return frames_; }
  int script_frames() const { return static_cast<int>(script_.frames.size()); }

  std::array<int, kEffectCount> effects_played{};
  std::vector<std::string> music;
  std::vector<int> music_frames;  // frames waited when each piece started
  std::map<int, GameProgress> saves;

private:
  const InputScript& script_;
  ImageStore& images_;
  StageSource& stages_;
  PlayCanvas& canvas_;
  uint32_t seed_;
  SimulatedClock time_;
  FrameClock clock_;
  std::atomic<int32_t> never_stop_{0};
  int frames_ = 0;
};

enum class StageResult { kCleared, kLifeLost, kOutOfTime, kUnfinished };
const char* stage_result_name(StageResult result);

// Plays the stage in state frame by frame with the script's inputs, as the play
// loop does (drawing each frame when draw is set) but without acting on the pause
// input, until the goal, a lost life, the time running out or the end of the
// script. Answers the result; host.frames() is the number of frames played.
StageResult play_stage(GameState& state, HeadlessHost& host, bool draw);

const char* play_end_name(PlayEnd end);

}  // namespace torv
