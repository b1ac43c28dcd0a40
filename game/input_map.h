// The game's nine inputs: four directions (arrow keys and the pad's axes) and five
// configurable buttons (one key and one pad button each). The keyboard is tested
// first; the pad is asked only when the key is not held and a pad is present.
#pragma once

#include <cstdint>

#include "game/key_table.h"
#include "game/sim_services.h"

namespace torv {

enum class Input : int { kLeft, kRight, kUp, kDown, kDash, kJump, kAttack, kAttackSwitch, kPause };

inline constexpr int kButtonCount = 5;

// Key configuration: the key of each button, then its pad button; the same 10 bytes
// are stored in "save.dat".
struct KeyConfig {
  uint8_t keys[kButtonCount] = {kVkShift, 'Z', 'X', 'C', kVkEscape};
  uint8_t pad_buttons[kButtonCount] = {0, 1, 2, 3, 4};

  bool operator==(const KeyConfig& other) const;
  bool operator!=(const KeyConfig& other) const { return !(*this == other); }
};

// The joystick module as the input rules use it.
class PadSource {
public:
  virtual ~PadSource() = default;
  // Axes: negative x left, positive x right, negative y up, positive y down.
  virtual void get_xy(int32_t& x, int32_t& y) = 0;
  // Non-zero while the button is held.
  virtual int get_button(int button) = 0;
  // The number of a button being held, or -1 when none.
  virtual int get_any_button() = 0;
};

class InputMap {
public:
  InputMap(const KeyTable& keys, const KeyConfig& config, PadSource& pad, const int32_t& pad_present)
      : keys_(keys), config_(config), pad_(pad), pad_present_(pad_present) {}

  // Evaluated afresh at each call: no per-frame snapshot.
  bool pressed(Input input) const;

  bool pressed_left() const { return pressed(Input::kLeft); }
  bool pressed_right() const { return pressed(Input::kRight); }
  bool pressed_up() const { return pressed(Input::kUp); }
  bool pressed_down() const { return pressed(Input::kDown); }
  bool button_dash() const { return pressed(Input::kDash); }
  bool button_jump() const { return pressed(Input::kJump); }
  bool button_attack() const { return pressed(Input::kAttack); }
  bool button_attack_switch() const { return pressed(Input::kAttackSwitch); }
  bool button_pause() const { return pressed(Input::kPause); }

  // All nine as they are now.
  FrameInput read() const;

private:
  const KeyTable& keys_;
  const KeyConfig& config_;
  PadSource& pad_;
  const int32_t& pad_present_;
};

}  // namespace torv
