// Script frames as the keys a player would hold, under the key configuration in force.
#include "game/host/script_keys.h"

#include <gtest/gtest.h>

#include "game/host/input_script.h"

namespace torv {
namespace {

TEST(ScriptFrameKeys, ArrowsAndTheConfiguredButtonKeys) {
  KeyConfig defaults;
  KeyConfig changed;
  changed.keys[1] = 'A';  // jump on "A"
  changed.keys[2] = 'A';  // attack on the same key
  struct Case {
    const char* keys;
    const KeyConfig* config;
    std::vector<int> held;
  };
  const Case cases[] = {
      {"-", &defaults, {}},
      {"LRUD", &defaults, {kVkLeft, kVkUp, kVkRight, kVkDown}},
      {"SJACP", &defaults, {kVkShift, kVkEscape, 'C', 'X', 'Z'}},
      {"RJ", &changed, {kVkRight, 'A'}},
      {"JA", &changed, {'A'}},  // one key for two buttons is held once
  };
  for (const Case& c : cases) {
    FrameInput input;
    ASSERT_TRUE(input_from_keys(c.keys, &input));
    EXPECT_EQ(script_frame_keys(input, *c.config), c.held) << c.keys;
  }
}

}  // namespace
}  // namespace torv
