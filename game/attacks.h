// The player's attacks: switching the attack mode, fire and ice shots, the
// close-range attack and its protection.
#pragma once

#include "game/game_state.h"

namespace torv {

constexpr int kPoseFramesAfterShot = 10;
constexpr int kCloseRangeFrames = 90;
constexpr int kAttackSwitchRepeat = 15;  // frames between switches while the input is held
constexpr int kShotSpeed = 6;

// Cycles fire -> ice -> close range -> fire: at once on a press, then every 15
// frames while held. Answers the new switch timer.
int update_attack_switch(PlayerState& player, const FrameInput& input);

// One play frame of the attack, after update_camera and before update_player:
// starts a shot or the close-range attack, flies the shot (burning, freezing,
// stopping at walls and off screen), digs under the feet and runs the timers.
void update_attack(GameState& state, const FrameInput& input, SimServices& services);

}  // namespace torv
