// Key events into the key table.
#include "game/sdl/key_events.h"

namespace torv {

void apply_key_event(KeyTable& table, int vk, bool down, bool repeat, bool alt_held) {
  if (vk <= 0 || vk >= KeyTable::kSize) return;
  if (!down) {
    table.set(vk, 0);
  } else if (!repeat && !alt_held && vk != kVkAlt && vk != kVkF10) {
    table.set(vk, 1);
  }
}

}  // namespace torv
