// Key-table rules of the window thread.
#include "game/key_table.h"

namespace torv {

int KeyTable::first_held() const {
  for (int vk = 0; vk < kSize; ++vk)
    if (held(vk)) return vk;
  return -1;
}

void handle_key_message(KeyTable& table, uint32_t message, uintptr_t wparam, intptr_t lparam) {
  constexpr intptr_t kContextBit = intptr_t{1} << 29;
  constexpr intptr_t kPreviousStateBit = intptr_t{1} << 30;
  switch (message) {
    case kMsgKeyDown:
      if ((lparam & (kContextBit | kPreviousStateBit)) == 0 && wparam < KeyTable::kSize)
        table.set(static_cast<int>(wparam), 1);
      break;
    case kMsgKeyUp:
      if (wparam < KeyTable::kSize) table.set(static_cast<int>(wparam), 0);
      break;
    case kMsgActivate:
      // The low word is the activation state; the high word carries the minimised
      // flag, which a deactivation by minimising sets.
      if ((wparam & 0xFFFF) == kActivateInactive) table.clear_all();
      break;
    default:
      break;
  }
}

bool FullscreenToggleLatch::check(bool enter_down, bool alt_down, KeyTable& table) {
  if (enter_down && alt_down) {
    if (latch_ != 0) return false;
    table.set(kVkReturn, 0);
    latch_ = 1;
    return true;
  }
  latch_ = 0;
  return false;
}

}  // namespace torv
