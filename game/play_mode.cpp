// run_play and its sequences, run_pause_menu, pick_music.
#include "game/play_mode.h"

#include "common/format_text.h"
#include "game/camera.h"
#include "game/game_texts.h"
#include "game/image_indices.h"
#include "game/play_draw.h"
#include "game/play_frame.h"
#include "game/play_texts.h"

namespace torv {

namespace {

constexpr int kMusicPieces = 5;
constexpr int kSaveFiles = 9;
constexpr int kClearPauseFrames = 60;    // the stage frozen after the goal
constexpr int kAfterBonusFrames = 30;
constexpr int kBonusPerSecond = 10;
constexpr int kPauseTitleY = 200;
constexpr int kPauseItemY[] = {224, 238, 252};
constexpr TextArea kWholeScreen = {0, 0, kScreenWidth, kScreenHeight};

struct Colours {
  uint32_t red, white, black;
};

Colours make_colours(PlayCanvas& canvas) {
  return {canvas.rgb(255, 0, 0), canvas.rgb(255, 255, 255), canvas.rgb(0, 0, 0)};
}

// Waits (one frame a step) until the input picked by held() is released.
template <typename Held>
void wait_release(PlayHost& host, Held held) {
  while (!host.stop_requested() && held(host.read_input())) host.wait_frame();
}

void draw_frozen_stage(GameState& state, PlayHost& host, bool with_player, double player_alpha) {
  PlayCanvas& canvas = host.canvas();
  draw_world(canvas, state);
  draw_objects(canvas, state, host.frame_counter());
  if (with_player) draw_player(canvas, state, player_alpha);
  draw_status_bar(canvas, state, host.measured_fps());
}

// Frames of the stage frozen on screen.
void hold_frames(GameState& state, PlayHost& host, int frames) {
  for (int i = 0; i < frames && !host.stop_requested(); ++i) {
    host.wait_frame();
    draw_frame(host.canvas(), state, host.frame_counter(), host.measured_fps());
  }
}

void wait_for_jump(PlayHost& host) {
  while (!host.stop_requested()) {
    host.wait_frame();
    if (host.read_input().jump) break;
  }
}

// A centred text over a full-screen image with a fading overlay.
void draw_caption_frame(PlayHost& host, int backdrop, uint32_t colour, const char* caption, int overlay,
                        double overlay_alpha) {
  PlayCanvas& canvas = host.canvas();
  canvas.begin_draw();
  canvas.draw_image_fast(backdrop, 0, 0, 0, 0, kScreenWidth, kScreenHeight, false);
  canvas.draw_text(kWholeScreen, -1, colour, true, true, true, caption);
  canvas.draw_image(overlay, 0, 0, kScreenWidth, kScreenHeight, overlay_alpha);
  canvas.end_draw();
}

void lose_life_fade(GameState& state, PlayHost& host) {
  PlayCanvas& canvas = host.canvas();
  canvas.set_font(text::kMenuFont, kPlayFontSize);
  state.player.pose_timer = 0;
  host.play_sound(kEffectDead);
  for (int alpha = 100; alpha >= 2 && !host.stop_requested(); alpha -= 2) {
    host.wait_frame();
    canvas.begin_draw();
    draw_frozen_stage(state, host, true, alpha);
    canvas.end_draw();
  }
}

void run_game_over(GameState& state, PlayHost& host) {
  PlayCanvas& canvas = host.canvas();
  const uint32_t white = canvas.rgb(255, 255, 255);
  host.stop_music();
  for (int alpha = 0; alpha <= 98 && !host.stop_requested(); alpha += 2) {
    host.wait_frame();
    canvas.begin_draw();
    draw_frozen_stage(state, host, false, 0);
    canvas.draw_image(kImageBlack, 0, 0, kScreenWidth, kScreenHeight, alpha);
    canvas.end_draw();
  }
  for (int alpha = 100; alpha >= 1 && !host.stop_requested(); --alpha) {
    host.wait_frame();
    draw_caption_frame(host, kImageBlack, white, text::kGameOverText, kImageBlack, alpha);
  }
  wait_for_jump(host);
  for (int alpha = 0; alpha <= 98 && !host.stop_requested(); alpha += 2) {
    host.wait_frame();
    draw_caption_frame(host, kImageBlack, white, text::kGameOverText, kImageBlack, alpha);
  }
}

void run_all_clear(GameState& state, PlayHost& host) {
  PlayCanvas& canvas = host.canvas();
  const uint32_t red = canvas.rgb(255, 0, 0);
  for (int i = 0; i < 200 && !host.stop_requested(); ++i) {
    host.wait_frame();
    canvas.begin_draw();
    draw_frozen_stage(state, host, false, 0);
    canvas.draw_image(kImageWhite, 0, 0, kScreenWidth, kScreenHeight, i / 2);
    canvas.end_draw();
  }
  canvas.set_font(text::kMenuFont, kAllClearFontSize);
  for (int alpha = 100; alpha >= 4 && !host.stop_requested(); alpha -= 4) {
    host.wait_frame();
    draw_caption_frame(host, kImageWhite, red, text::kAllClearText, kImageWhite, alpha);
  }
  wait_for_jump(host);
  for (int alpha = 0; alpha <= 98 && !host.stop_requested(); alpha += 2) {
    host.wait_frame();
    draw_caption_frame(host, kImageWhite, red, text::kAllClearText, kImageBlack, alpha);
  }
}

// The goal: fanfare, the time bonus, then the next stage. False when there is no
// next stage (the game is cleared).
bool clear_stage(GameState& state, PlayHost& host) {
  PlayerState& p = state.player;
  host.stop_music();
  host.play_sound(kEffectClear);
  hold_frames(state, host, kClearPauseFrames);
  host.loop_sound(kEffectTimeBonus);
  p.time_left = p.time_left / 60 * 60;
  // One frame per whole second left: the clock runs down as the score rises.
  for (int seconds = p.time_left / 60; seconds > 0 && !host.stop_requested(); --seconds) {
    host.wait_frame();
    draw_frame(host.canvas(), state, host.frame_counter(), host.measured_fps());
    p.time_left -= 60;
    state.progress.score += kBonusPerSecond;
  }
  host.stop_sound(kEffectTimeBonus);
  hold_frames(state, host, kAfterBonusFrames);
  const std::string next = state.progress.next_stage_file;
  const std::string archive = state.progress.archive_name;
  if (load_stage(state, next, archive, host.stages(), host) != 0) return false;
  pick_music(state, host);
  state.progress.stage_number += 1;
  return true;
}

void draw_pause_texts(PlayCanvas& canvas, const Colours& c, int item, int slot, int x) {
  const std::string texts[] = {text::kPauseResume, format_text(text::kPauseSave, slot + 1), text::kPauseToTitle};
  for (int i = 0; i < 3; ++i) {
    canvas.draw_text_simple(x + 1, kPauseItemY[i] + 1, c.black, true, texts[i]);
    canvas.draw_text_simple(x, kPauseItemY[i], i == item ? c.red : c.white, true, texts[i]);
  }
}

// A 24-pixel title centred across the screen, with its shadow.
void draw_centred_title(PlayCanvas& canvas, const Colours& c, const char* title, int* x_out) {
  canvas.set_font(text::kMenuFont, kMenuFontSize);
  const int x = (kScreenWidth - canvas.text_width(title)) / 2;
  canvas.draw_text_simple(x + 1, kPauseTitleY + 1, c.black, true, title);
  canvas.draw_text_simple(x, kPauseTitleY, c.white, true, title);
  if (x_out) *x_out = x;
}

void show_saved(GameState& state, PlayHost& host, const Colours& c) {
  PlayCanvas& canvas = host.canvas();
  while (!host.stop_requested()) {
    host.wait_frame();
    canvas.begin_draw();
    canvas.set_font(text::kMenuFont, kPlayFontSize);
    draw_frozen_stage(state, host, true, 100);
    draw_centred_title(canvas, c, text::kPauseSaved, nullptr);
    canvas.end_draw();
    if (host.read_input().jump) break;
  }
}

int wrap(int value, int count) { return (value % count + count) % count; }

}  // namespace

void pick_music(GameState& state, PlayHost& host) {
  state.random.seed(host.clock_ms());
  const int n = state.random.next() % kMusicPieces + 1;
  host.start_music(format_text("BGM%d.ogg", n));
}

void run_pause_menu(GameState& state, PlayHost& host) {
  PlayCanvas& canvas = host.canvas();
  const Colours c = make_colours(canvas);
  wait_release(host, [](const FrameInput& in) { return in.pause; });
  constexpr int kLeave = -1;
  int item = 0;
  int slot = 0;
  while (item >= 0 && item <= 2 && !host.stop_requested()) {
    host.wait_frame();
    canvas.set_font(text::kMenuFont, kPlayFontSize);
    canvas.begin_draw();
    draw_frozen_stage(state, host, true, 100);
    int x = 0;
    draw_centred_title(canvas, c, text::kPauseTitle, &x);
    canvas.set_font(text::kMenuFont, kPlayFontSize);
    draw_pause_texts(canvas, c, item, slot, x);
    canvas.end_draw();

    if (host.read_input().up) {
      item = wrap(item - 1, 3);
      wait_release(host, [](const FrameInput& in) { return in.up; });
    }
    if (host.read_input().down) {
      item = wrap(item + 1, 3);
      wait_release(host, [](const FrameInput& in) { return in.down; });
    }
    if (item == 1) {
      if (host.read_input().left) {
        slot = wrap(slot - 1, kSaveFiles);
        wait_release(host, [](const FrameInput& in) { return in.left; });
      }
      if (host.read_input().right) {
        slot = wrap(slot + 1, kSaveFiles);
        wait_release(host, [](const FrameInput& in) { return in.right; });
      }
    }
    if (host.read_input().jump) {
      wait_release(host, [](const FrameInput& in) { return in.jump; });
      if (!host.stop_requested()) {
        if (item == 0) {
          item = kLeave;
        } else if (item == 1) {
          show_saved(state, host, c);
          host.save_progress(slot, state.progress);
          wait_release(host, [](const FrameInput& in) { return in.jump; });
          slot = 0;
          item = 0;
        } else {
          state.player.status = kStatusToTitle;
          item = kLeave;
        }
      }
    }
    if (host.read_input().pause) {
      wait_release(host, [](const FrameInput& in) { return in.pause; });
      item = kLeave;
    }
  }
}

PlayEnd run_play(GameState& state, PlayHost& host) {
  pick_music(state, host);
  PlayEnd end = PlayEnd::kStopped;
  PlayerState& p = state.player;
  GameProgress& g = state.progress;
  while (g.lives >= 0) {
    host.wait_frame();
    // A shutdown that arrives during the wait ends play before another frame is
    // simulated, so a stopped game holds exactly the frames it was given.
    if (host.stop_requested()) break;
    step_play_frame(state, host.read_input(), host.frame_counter(), host);
    draw_frame(host.canvas(), state, host.frame_counter(), host.measured_fps());
    if (host.read_input().pause) run_pause_menu(state, host);
    apply_time_out(p);
    if (host.stop_requested()) break;
    if (p.status == kStatusPlaying) continue;

    if (p.status == kStatusLifeLost) {
      lose_life_fade(state, host);
      g.lives -= 1;
      if (g.lives < 0) {
        run_game_over(state, host);
        end = PlayEnd::kGameOver;
        break;
      }
      // The stage starts over from its file; the music plays on.
      const std::string file = g.stage_file;
      const std::string archive = g.archive_name;
      load_stage(state, file, archive, host.stages(), host);
    } else if (p.status == kStatusGoal) {
      if (!clear_stage(state, host)) {
        host.stop_music();
        run_all_clear(state, host);
        end = PlayEnd::kAllClear;
        break;
      }
    } else if (p.status == kStatusToTitle) {
      host.stop_music();
      end = PlayEnd::kToTitle;
      break;
    }
  }
  host.canvas().set_font(text::kMenuFont, kMenuFontSize);
  return end;
}

int start_new_game(GameState& state, PlayHost& host) {
  reset_progress(state);
  return load_stage(state, kFirstStage, kStageArchive, host.stages(), host);
}

int continue_game(GameState& state, const GameProgress& saved, PlayHost& host) {
  reset_progress(state);
  state.progress = saved;
  const std::string file = state.progress.stage_file;
  const std::string archive = state.progress.archive_name;
  return load_stage(state, file, archive, host.stages(), host);
}

}  // namespace torv
