// Input scripts played through a key table: the virtual keys a player would hold for
// one script frame with a given key configuration (the arrows for the directions,
// each button's configured key), so that a scripted run goes through the same key
// table and input rules as a played one.
#pragma once

#include <vector>

#include "game/input_map.h"
#include "game/sim_services.h"

namespace torv {

// The held keys of one frame, each once, in ascending code order.
std::vector<int> script_frame_keys(const FrameInput& input, const KeyConfig& config);

}  // namespace torv
