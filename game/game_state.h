// GameState: everything the simulation of one game steps over. It is a plain value:
// copying it saves the whole game, which the replay planner relies on.
#pragma once

#include <vector>

#include "game/game_progress.h"
#include "game/moving_object.h"
#include "game/player_state.h"
#include "game/sim_services.h"
#include "game/world_grid.h"

namespace torv {

struct GameState {
  WorldGrid grid;
  GameProgress progress;
  PlayerState player;
  std::vector<MovingObject> objects;
  GameRandom random;
};

}  // namespace torv
