// The play frame's drawing.
#include "game/play_draw.h"

#include "common/format_text.h"
#include "game/game_texts.h"
#include "game/camera.h"
#include "game/image_indices.h"
#include "game/moving_objects.h"
#include "game/play_texts.h"

namespace torv {

namespace {
constexpr int kVisibleColumns = 28;  // 640 / 24 rounded up, plus the partly shown one
constexpr int kVisibleRows = 19;     // 432 / 24 plus the partly shown one
constexpr int kStatusTextX = 6;
constexpr int kStatusLine1Y = 442;
constexpr int kStatusLine2Y = 460;
}  // namespace

bool object_frame_a(int frame_counter) {
  return (frame_counter >= 0 && frame_counter <= 14) || (frame_counter >= 31 && frame_counter <= 44);
}

void draw_world(PlayCanvas& canvas, const GameState& state) {
  const PlayerState& p = state.player;
  canvas.draw_image_fast(kImageBackground, 0, 0, p.camera_x / 2, p.camera_y / 2, kScreenWidth, kPlayAreaHeight,
                         false);
  const int first_column = p.camera_x / kCellSize;
  const int first_row = p.camera_y / kCellSize;
  for (int column = first_column; column < first_column + kVisibleColumns; ++column) {
    for (int row = first_row; row < first_row + kVisibleRows; ++row) {
      const int code = state.grid.tile(column, row);
      // Codes outside 1..37 have no image (41..255 come only from damaged files).
      if (code < kImageFirstTile || code > kImageLastTile || !canvas.has_image(code)) continue;
      canvas.draw_image_fast(code, column * kCellSize - p.camera_x, row * kCellSize - p.camera_y, 0, 0, kCellSize,
                             kCellSize, true);
    }
  }
}

void draw_objects(PlayCanvas& canvas, const GameState& state, int frame_counter) {
  const PlayerState& p = state.player;
  const int bar_height = canvas.image_height(kImageStatusBar);
  const bool frame_a = object_frame_a(frame_counter);
  for (const MovingObject& o : state.objects) {
    if (!o.alive || !object_on_screen(o, p, bar_height)) continue;
    if (o.type < 0 || o.type >= kObjectTypeCount) continue;
    const int image = (frame_a ? kImageObjectFrameA : kImageObjectFrameB) + o.type;
    canvas.draw_image_fast(image, o.x - p.camera_x, o.y - p.camera_y, 0, 0, o.w, o.h, true);
  }
}

int player_image(const PlayerState& p) {
  if (p.attack_state == kAttackNone || (p.attack_state == kAttackClose && p.pose_timer == -1)) {
    return kImagePlayerWalk + p.anim_frame;
  }
  // With no shot left in flight the kind is -1: the last walking image.
  if (p.attack_state == kAttackShotPose) return kImageAttackPose + p.attack_kind;
  return kImagePlayerClose;
}

void draw_player(PlayCanvas& canvas, const GameState& state, double alpha_percent) {
  const PlayerState& p = state.player;
  canvas.draw_image(player_image(p), p.x - p.camera_x, p.y - p.camera_y, kPlayerSize, kPlayerSize, alpha_percent);
  if (p.attack_kind >= 0) {
    const int shot = kImageShots + p.attack_kind;
    canvas.draw_image(shot, p.shot_x - p.camera_x, p.shot_y - p.camera_y, canvas.image_width(shot),
                      canvas.image_height(shot), alpha_percent);
  }
}

std::string status_line1(const GameState& state) {
  const GameProgress& g = state.progress;
  const PlayerState& p = state.player;
  std::string line = format_text(text::kStatusLine1, g.lives, g.holy_water, p.time_left / 60);
  switch (p.attack_mode) {
    case kModeFire: line += format_text(text::kStatusFire, g.fire_ammo); break;
    case kModeIce: line += format_text(text::kStatusIce, g.ice_ammo); break;
    case kModeClose: line += text::kStatusClose; break;
    default: break;
  }
  return line;
}

std::string status_line2(const GameState& state, int measured_fps) {
  const GameProgress& g = state.progress;
  return format_text(text::kStatusLine2, measured_fps, g.score, g.stage_number, g.stage_title.c_str());
}

void draw_status_bar(PlayCanvas& canvas, const GameState& state, int measured_fps) {
  const int w = canvas.image_width(kImageStatusBar);
  const int h = canvas.image_height(kImageStatusBar);
  canvas.draw_image_fast(kImageStatusBar, 0, kScreenHeight - h, 0, 0, w, h, true);
  const uint32_t white = canvas.rgb(255, 255, 255);
  canvas.draw_text_simple(kStatusTextX, kStatusLine1Y, white, false, status_line1(state));
  canvas.draw_text_simple(kStatusTextX, kStatusLine2Y, white, false, status_line2(state, measured_fps));
}

void draw_frame(PlayCanvas& canvas, const GameState& state, int frame_counter, int measured_fps) {
  canvas.set_font(text::kMenuFont, kPlayFontSize);
  canvas.begin_draw();
  draw_world(canvas, state);
  draw_objects(canvas, state, frame_counter);
  if (state.player.protection_timer % 2 == 0) draw_player(canvas, state, 100);
  draw_status_bar(canvas, state, measured_fps);
  canvas.end_draw();
}

}  // namespace torv
