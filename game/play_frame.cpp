// The order of one play frame's updates.
#include "game/play_frame.h"

#include "game/attacks.h"
#include "game/camera.h"
#include "game/moving_objects.h"
#include "game/player.h"

namespace torv {

void step_play_frame(GameState& state, const FrameInput& input, int frame_counter, SimServices& services) {
  state.player.time_left -= 1;
  update_camera(state.player);
  update_attack_switch(state.player, input);
  update_attack(state, input, services);
  update_player(state, input, frame_counter, services);
  update_objects(state, services);
}

void apply_time_out(PlayerState& player) {
  if (player.time_left < 0) player.status = kStatusLifeLost;
}

}  // namespace torv
