// One frame of the stage simulation, without drawing: what the play loop does
// between wait_frame and draw_frame.
#pragma once

#include "game/game_state.h"

namespace torv {

// Counts the stage time down by one frame, then updates in the game's order:
// camera, attack switch, attack, player, objects.
void step_play_frame(GameState& state, const FrameInput& input, int frame_counter, SimServices& services);

// After the pause check: a stage timer below 0 costs a life like a hazard does.
void apply_time_out(PlayerState& player);

}  // namespace torv
