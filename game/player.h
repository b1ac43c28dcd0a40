// The player's movement, jump and fall, stomps, head hits and cell contacts.
#pragma once

#include "game/game_state.h"

namespace torv {

// One play frame of the player, after update_attack and before update_objects.
// frame_counter is the frame clock's count within the current second: it paces
// the walking animation. Reports through player.status: kStatusLifeLost for a
// hazard or a fall out of the world, kStatusGoal at the goal.
void update_player(GameState& state, const FrameInput& input, int frame_counter, SimServices& services);

// The player touches one cell: hazards, pickups and the goal.
void touch_cell(GameState& state, int column, int row, SimServices& services);

// An item block hit from below becomes a plain block and puts its item in the cell
// above (none in row 0). The solid layer is left as it is.
void open_item_block(WorldGrid& grid, int column, int row);

}  // namespace torv
