// A search for inputs that finish a stage: a beam search over the simulation with
// short held-input moves, steered by the distance to the goal for a player who
// rises only by jumping (goal_map.h).
// The simulation is the game's own (step_play_frame), so what it finds is what the
// game does with those inputs.
#pragma once

#include <string>
#include <vector>

#include "game/game_state.h"

namespace torv {

struct SearchOptions {
  int beam_width = 400;     // states kept per step
  int move_frames = 6;      // frames each move holds its input
  int frame_limit = 0;      // 0: the stage's own time left
  bool verbose = false;
};

struct SearchResult {
  bool found = false;
  std::vector<FrameInput> frames;  // from the stage start to the frame that reaches the goal
  int explored = 0;                // states simulated
  int best_distance = 0;           // the closest a kept state came to the goal, in cells
};

// Searches from state (a stage just put in play) for inputs that reach the goal
// before the time runs out without losing a life.
SearchResult search_stage(const GameState& start, SimServices& services, const SearchOptions& options);

}  // namespace torv
