// Script frames as held keys.
#include "game/host/script_keys.h"

#include <algorithm>

namespace torv {

std::vector<int> script_frame_keys(const FrameInput& input, const KeyConfig& config) {
  const bool held[] = {input.dash, input.jump, input.attack, input.attack_switch, input.pause};
  std::vector<int> keys;
  if (input.left) keys.push_back(kVkLeft);
  if (input.right) keys.push_back(kVkRight);
  if (input.up) keys.push_back(kVkUp);
  if (input.down) keys.push_back(kVkDown);
  for (int b = 0; b < kButtonCount; ++b) {
    if (held[b]) keys.push_back(config.keys[b]);
  }
  std::sort(keys.begin(), keys.end());
  keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
  return keys;
}

}  // namespace torv
