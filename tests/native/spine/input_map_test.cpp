#include <gtest/gtest.h>

#include <vector>

#include "game/input_map.h"

namespace torv {
namespace {

class FakePad : public PadSource {
public:
  void get_xy(int32_t& out_x, int32_t& out_y) override {
    ++xy_queries;
    out_x = x;
    out_y = y;
  }
  int get_button(int button) override {
    queried_buttons.push_back(button);
    return button == held_button ? 1 : 0;
  }
  int get_any_button() override { return held_button; }
  int32_t x = 0, y = 0;
  int held_button = -1;
  int xy_queries = 0;
  std::vector<int> queried_buttons;
};

struct PredicateCase {
  Input input;
  int key;            // the key that answers it with the default configuration
  int32_t x, y;       // pad axes that answer it (directions)
  int pad_button;     // pad button that answers it (buttons), else -1
};

const PredicateCase kCases[] = {
    {Input::kLeft, 37, -1, 0, -1},          {Input::kRight, 39, 5, 0, -1},
    {Input::kUp, 38, 0, -3, -1},            {Input::kDown, 40, 0, 1000, -1},
    {Input::kDash, 16, 0, 0, 0},            {Input::kJump, 'Z', 0, 0, 1},
    {Input::kAttack, 'X', 0, 0, 2},         {Input::kAttackSwitch, 'C', 0, 0, 3},
    {Input::kPause, 27, 0, 0, 4},
};

bool is_direction(Input input) { return input <= Input::kDown; }

TEST(InputPredicates, KeyboardAnswersWithoutAskingThePad) {
  for (const PredicateCase& c : kCases) {
    SCOPED_TRACE(static_cast<int>(c.input));
    KeyTable keys;
    KeyConfig config;
    FakePad pad;
    int32_t present = 1;
    InputMap map(keys, config, pad, present);
    EXPECT_FALSE(map.pressed(c.input));
    keys.set(c.key, 1);
    pad.xy_queries = 0;
    pad.queried_buttons.clear();
    EXPECT_TRUE(map.pressed(c.input));
    EXPECT_EQ(pad.xy_queries, 0);
    EXPECT_TRUE(pad.queried_buttons.empty());
  }
}

TEST(InputPredicates, PadAnswersOnlyWhenPresent) {
  for (const PredicateCase& c : kCases) {
    SCOPED_TRACE(static_cast<int>(c.input));
    for (int32_t present : {0, 1}) {
      KeyTable keys;
      KeyConfig config;
      FakePad pad;
      pad.x = c.x;
      pad.y = c.y;
      pad.held_button = c.pad_button;
      InputMap map(keys, config, pad, present);
      EXPECT_EQ(map.pressed(c.input), present == 1);
      if (present == 0) {
        EXPECT_EQ(pad.xy_queries, 0);
        EXPECT_TRUE(pad.queried_buttons.empty());
      } else if (is_direction(c.input)) {
        EXPECT_EQ(pad.xy_queries, 1);
      } else {
        EXPECT_EQ(pad.queried_buttons, std::vector<int>{c.pad_button});
      }
    }
  }
}

TEST(InputPredicates, OppositeDirectionsAndOtherButtonsDoNotAnswer) {
  KeyTable keys;
  KeyConfig config;
  FakePad pad;
  int32_t present = 1;
  InputMap map(keys, config, pad, present);
  pad.x = -1;
  pad.y = 1;
  EXPECT_TRUE(map.pressed_left());
  EXPECT_FALSE(map.pressed_right());
  EXPECT_FALSE(map.pressed_up());
  EXPECT_TRUE(map.pressed_down());
  pad.held_button = 3;
  EXPECT_TRUE(map.button_attack_switch());
  EXPECT_FALSE(map.button_jump());
  keys.set('X', 1);
  EXPECT_FALSE(map.button_jump());
  EXPECT_TRUE(map.button_attack());
}

TEST(InputPredicates, ConfiguredKeysAndPadButtonsReplaceTheDefaults) {
  KeyTable keys;
  KeyConfig config;
  config.keys[1] = 'A';
  config.pad_buttons[1] = 9;
  FakePad pad;
  int32_t present = 1;
  InputMap map(keys, config, pad, present);
  keys.set('Z', 1);
  pad.held_button = 1;
  EXPECT_FALSE(map.button_jump());
  keys.set('A', 1);
  EXPECT_TRUE(map.button_jump());
  keys.set('A', 0);
  pad.held_button = 9;
  EXPECT_TRUE(map.button_jump());
}

}  // namespace
}  // namespace torv
