// The moving objects at play: their movement, carrying the player on platforms,
// their contacts with the player and the player's attacks, and defeat.
#pragma once

#include "game/game_state.h"

namespace torv {

// One play frame of every object, after update_player: (1) movement in array order
// (sleepers wake when they come on screen and move from the next frame), (2) the
// ridden platform carries the player, (3) contacts: platform landings, pickups,
// shots and close-range hits on enemies, enemies touching an unprotected player.
void update_objects(GameState& state, SimServices& services);

// Defeat of an enemy: with one chance in ten each it becomes a fire or an ice
// pickup where it stands (bottom edge kept), otherwise it is gone.
void kill_object(GameState& state, int index);

// True while the object is inside the play area (the screen above the status bar,
// whose height is status_bar_height), the test for waking and for drawing.
bool object_on_screen(const MovingObject& object, const PlayerState& player, int status_bar_height);

// The ridden platform, or null when the player rides nothing.
MovingObject* ridden_object(GameState& state);

// Leaves the ridden platform.
inline void stop_riding(PlayerState& player) {
  player.riding = 0;
  player.ridden = -1;
}

}  // namespace torv
