// Drawing one frame of play: the background and tiles, the objects, the player and
// its shot, and the status bar. Pure functions of the game state.
#pragma once

#include <string>

#include "game/game_state.h"
#include "game/play_canvas.h"

namespace torv {

// Text heights: the status bar and captions, the menus, "ALL CLEAR".
constexpr int kPlayFontSize = 14;
constexpr int kMenuFontSize = 24;
constexpr int kAllClearFontSize = 30;

// The background at half the camera's speed, then every visible tile with an image.
void draw_world(PlayCanvas& canvas, const GameState& state);
// Every alive object on screen; frame_counter picks the animation frame.
void draw_objects(PlayCanvas& canvas, const GameState& state, int frame_counter);
// The player's sprite or attack pose and the shot in flight, at alpha percent.
void draw_player(PlayCanvas& canvas, const GameState& state, double alpha_percent);
void draw_status_bar(PlayCanvas& canvas, const GameState& state, int measured_fps);
// A whole frame: font, begin, world, objects, the player (not on odd protection
// frames, so a protected player blinks), status bar, end.
void draw_frame(PlayCanvas& canvas, const GameState& state, int frame_counter, int measured_fps);

// The status bar's two lines.
std::string status_line1(const GameState& state);
std::string status_line2(const GameState& state, int measured_fps);

// The objects' two-frame animation: frame A while the frame counter is 0..14 or
// 31..44, frame B otherwise.
bool object_frame_a(int frame_counter);

// The walking or attack image the player is drawn with.
int player_image(const PlayerState& player);

}  // namespace torv
