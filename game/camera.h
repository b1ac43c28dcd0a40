// The camera: which 640 x 432 part of the stage the play area shows.
#pragma once

#include "game/player_state.h"

namespace torv {

constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;
constexpr int kPlayAreaHeight = 432;  // above the status bar

// Follows the player, held at the stage's edges. Called once a play frame, before
// the attack and player updates.
void update_camera(PlayerState& player);

}  // namespace torv
