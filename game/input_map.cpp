// The nine input predicates.
#include "game/input_map.h"

namespace torv {

bool KeyConfig::operator==(const KeyConfig& other) const {
  for (int i = 0; i < kButtonCount; ++i)
    if (keys[i] != other.keys[i] || pad_buttons[i] != other.pad_buttons[i]) return false;
  return true;
}

bool InputMap::pressed(Input input) const {
  const int n = static_cast<int>(input);
  if (input <= Input::kDown) {
    static constexpr int kArrowKeys[] = {kVkLeft, kVkRight, kVkUp, kVkDown};
    if (keys_.held(kArrowKeys[n])) return true;
    if (pad_present_ == 0) return false;
    int32_t x = 0, y = 0;
    pad_.get_xy(x, y);
    switch (input) {
      case Input::kLeft: return x < 0;
      case Input::kRight: return x > 0;
      case Input::kUp: return y < 0;
      default: return y > 0;
    }
  }
  const int button = n - static_cast<int>(Input::kDash);
  if (keys_.held(config_.keys[button])) return true;
  return pad_present_ != 0 && pad_.get_button(config_.pad_buttons[button]) != 0;
}

FrameInput InputMap::read() const {
  FrameInput in;
  in.left = pressed_left();
  in.right = pressed_right();
  in.up = pressed_up();
  in.down = pressed_down();
  in.dash = button_dash();
  in.jump = button_jump();
  in.attack = button_attack();
  in.attack_switch = button_attack_switch();
  in.pause = button_pause();
  return in;
}

}  // namespace torv
