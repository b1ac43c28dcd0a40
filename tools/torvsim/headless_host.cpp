// The windowless play host and the single-stage run.
#include "tools/torvsim/headless_host.h"

#include "game/play_draw.h"
#include "game/play_frame.h"

namespace torv {

HeadlessHost::HeadlessHost(const InputScript& script, ImageStore& images, StageSource& stages, PlayCanvas& canvas,
                           uint32_t seed)
    : script_(script), images_(images), stages_(stages), canvas_(canvas), seed_(seed) {}

void HeadlessHost::wait_frame() {
  ++frames_;
  clock_.wait_frame(60, time_, never_stop_);
}

FrameInput HeadlessHost::read_input() {
  if (frames_ < 1 || frames_ > static_cast<int>(script_.frames.size())) return FrameInput();
  return script_.frames[static_cast<size_t>(frames_ - 1)];
}

const char* stage_result_name(StageResult result) {
  switch (result) {
    case StageResult::kCleared: return "cleared";
    case StageResult::kLifeLost: return "lost";
    case StageResult::kOutOfTime: return "timeout";
    case StageResult::kUnfinished: return "unfinished";
  }
  return "?";
}

const char* play_end_name(PlayEnd end) {
  switch (end) {
    case PlayEnd::kGameOver: return "gameover";
    case PlayEnd::kAllClear: return "allclear";
    case PlayEnd::kToTitle: return "title";
    case PlayEnd::kStopped: return "stopped";
  }
  return "?";
}

StageResult play_stage(GameState& state, HeadlessHost& host, bool draw) {
  while (host.frames() < host.script_frames()) {
    host.wait_frame();
    step_play_frame(state, host.read_input(), host.frame_counter(), host);
    if (draw) draw_frame(host.canvas(), state, host.frame_counter(), host.measured_fps());
    if (state.player.time_left < 0) {
      apply_time_out(state.player);
      return StageResult::kOutOfTime;
    }
    if (state.player.status == kStatusLifeLost) return StageResult::kLifeLost;
    if (state.player.status == kStatusGoal) return StageResult::kCleared;
  }
  return StageResult::kUnfinished;
}

}  // namespace torv
