// The key table's rules for key events, as the Windows game applies them to its
// window messages (game/key_table.h), for a platform that reports every key the same
// way: a first press enters the key table, a held key's repeats do not, a release
// always leaves it. Keys pressed while Alt is held, and Alt and F10 themselves, are
// what Windows sends as system keys: they never enter the table, so they cannot be
// assigned to a button there either.
#pragma once

#include "game/key_table.h"

namespace torv {

inline constexpr int kVkAlt = 18;
inline constexpr int kVkF10 = 121;
inline constexpr int kVkF11 = 122;

// vk 0 (a key without a code) changes nothing.
void apply_key_event(KeyTable& table, int vk, bool down, bool repeat, bool alt_held);

}  // namespace torv
