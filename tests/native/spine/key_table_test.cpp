#include <gtest/gtest.h>

#include "game/key_table.h"

namespace torv {
namespace {

constexpr intptr_t kBit29 = intptr_t{1} << 29;
constexpr intptr_t kBit30 = intptr_t{1} << 30;

TEST(KeyTableMessages, DownUpRepeatAndActivation) {
  struct Step {
    uint32_t message;
    uintptr_t wparam;
    intptr_t lparam;
    int vk;         // entry checked after the step
    bool held;
  };
  struct Case {
    const char* name;
    std::vector<Step> steps;
  } cases[] = {
      {"first press holds the key", {{kMsgKeyDown, 'Z', 0x002C0001, 'Z', true}}},
      {"release clears it", {{kMsgKeyDown, 'Z', 1, 'Z', true}, {kMsgKeyUp, 'Z', 0xC02C0001, 'Z', false}}},
      {"key up of a key never pressed", {{kMsgKeyUp, 'Q', 0, 'Q', false}}},
      {"auto-repeat does not re-set a cleared key",
       {{kMsgKeyDown, 13, 1, 13, true}, {kMsgKeyDown, 13, 1 | kBit30, 13, true}}},
      {"repeat alone never sets", {{kMsgKeyDown, 'X', kBit30 | 1, 'X', false}}},
      {"context bit (Alt held) never sets", {{kMsgKeyDown, 'X', kBit29, 'X', false}}},
      {"deactivation releases every key",
       {{kMsgKeyDown, 'Z', 0, 'Z', true}, {kMsgKeyDown, 255, 0, 255, true}, {kMsgActivate, 0, 0, 'Z', false}}},
      {"activation by click changes nothing",
       {{kMsgKeyDown, 'Z', 0, 'Z', true}, {kMsgActivate, 2, 0, 'Z', true}, {kMsgActivate, 1, 0, 'Z', true}}},
      {"deactivation by minimising (flag in the high word) releases every key",
       {{kMsgKeyDown, 'Z', 0, 'Z', true},
        {kMsgActivate, 0x10001, 0, 'Z', true},
        {kMsgActivate, 0x10000, 0, 'Z', false}}},
      {"other messages change nothing", {{kMsgKeyDown, 'Z', 0, 'Z', true}, {0x0104, 'Z', kBit29, 'Z', true},
                                          {0x0105, 'Z', 0, 'Z', true}, {0x000F, 0, 0, 'Z', true}}},
      {"codes beyond the table are ignored", {{kMsgKeyDown, 256 + 'Z', 0, 'Z', false}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    KeyTable table;
    for (const Step& step : c.steps) {
      handle_key_message(table, step.message, step.wparam, step.lparam);
      EXPECT_EQ(table.held(step.vk), step.held);
    }
  }
}

TEST(KeyTableMessages, RepeatAfterTheGameClearedAKeyKeepsItCleared) {
  KeyTable table;
  handle_key_message(table, kMsgKeyDown, kVkReturn, 1);
  table.set(kVkReturn, 0);  // as the Alt+Enter handling does while Enter is held
  handle_key_message(table, kMsgKeyDown, kVkReturn, 1 | kBit30);
  EXPECT_FALSE(table.held(kVkReturn));
}

TEST(KeyTable, FirstHeldIsTheLowestCode) {
  KeyTable table;
  EXPECT_EQ(table.first_held(), -1);
  table.set(90, 1);
  table.set(200, 1);
  EXPECT_EQ(table.first_held(), 90);
  table.set(16, 1);
  EXPECT_EQ(table.first_held(), 16);
}

TEST(FullscreenToggle, FiresOncePerAltEnterPress) {
  struct Poll {
    bool enter, alt, fires;
  };
  const Poll polls[] = {
      {true, false, false}, {true, true, true},  {true, true, false}, {true, true, false},  // held: once
      {false, true, false},                                                                  // Enter released
      {true, true, true},   {true, false, false}, {true, true, true},                       // Alt released
      {false, false, false}, {false, false, false},
  };
  KeyTable table;
  FullscreenToggleLatch latch;
  int n = 0;
  for (const Poll& p : polls) {
    table.set(kVkReturn, p.enter ? 1 : 0);
    EXPECT_EQ(latch.check(p.enter, p.alt, table), p.fires) << "poll " << n;
    // Enter is taken out of the table when the switch fires, so the game never sees it.
    if (p.fires) {
      EXPECT_FALSE(table.held(kVkReturn)) << "poll " << n;
    }
    ++n;
  }
}

}  // namespace
}  // namespace torv
