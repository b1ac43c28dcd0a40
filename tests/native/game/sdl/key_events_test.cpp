// Key events into the key table, by the Windows game's rules.
#include "game/sdl/key_events.h"

#include <gtest/gtest.h>

namespace torv {
namespace {

TEST(ApplyKeyEvent, FirstPressesEnterReleasesLeaveSystemKeysNever) {
  struct Case {
    const char* what;
    int vk;
    bool down, repeat, alt_held;
    bool held_before, held_after;
  };
  const Case cases[] = {
      {"first press", 'Z', true, false, false, false, true},
      {"release", 'Z', false, false, false, true, false},
      {"repeat of a released key", 'Z', true, true, false, false, false},
      {"repeat of a held key", 'Z', true, true, false, true, true},
      {"press with Alt held", 'Z', true, false, true, false, false},
      {"release with Alt held", 'Z', false, false, true, true, false},
      {"Alt itself", kVkAlt, true, false, false, false, false},
      {"F10", kVkF10, true, false, false, false, false},
      {"F11", kVkF11, true, false, false, false, true},
      {"a key without a code", 0, true, false, false, false, false},
  };
  for (const Case& c : cases) {
    KeyTable table;
    if (c.held_before) table.set(c.vk, 1);
    apply_key_event(table, c.vk, c.down, c.repeat, c.alt_held);
    EXPECT_EQ(table.held(c.vk), c.held_after) << c.what;
    EXPECT_EQ(table.first_held(), c.held_after ? c.vk : -1) << c.what << ": no other key changes";
  }
}

}  // namespace
}  // namespace torv
