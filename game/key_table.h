// The key table: which virtual keys are held, written by the window thread from its
// messages and read by the game thread. Each entry is one 32-bit value written
// whole, so the two threads need no lock.
#pragma once

#include <atomic>
#include <cstdint>

namespace torv {

// Window messages and keys the table reacts to (numbers as Windows defines them).
inline constexpr uint32_t kMsgKeyDown = 0x0100;
inline constexpr uint32_t kMsgKeyUp = 0x0101;
// The window procedure re-posts WM_ACTIVATE as this message so that the activation
// change reaches the table in queue order.
inline constexpr uint32_t kMsgActivate = 0x0400;
inline constexpr uintptr_t kActivateInactive = 0;  // WA_INACTIVE, in the low word of wParam
inline constexpr int kVkReturn = 13;
inline constexpr int kVkShift = 16;
inline constexpr int kVkEscape = 27;
inline constexpr int kVkLeft = 37;
inline constexpr int kVkUp = 38;
inline constexpr int kVkRight = 39;
inline constexpr int kVkDown = 40;

class KeyTable {
public:
  static constexpr int kSize = 256;

  bool held(int vk) const { return vk >= 0 && vk < kSize && keys_[vk].load(std::memory_order_relaxed) != 0; }
  void set(int vk, int32_t value) {
    if (vk >= 0 && vk < kSize) keys_[vk].store(value, std::memory_order_relaxed);
  }
  void clear_all() {
    for (auto& key : keys_) key.store(0, std::memory_order_relaxed);
  }
  // The lowest held code, or -1 when none is held.
  int first_held() const;

private:
  std::atomic<int32_t> keys_[kSize] = {};
};

// Applies one message taken from the queue to the table:
// - key down with lParam bits 29 (context) and 30 (previous state) clear: held;
//   an auto-repeat or an Alt-combination never re-sets a key;
// - key up: released;
// - the re-posted activation whose wParam low word is 0 (deactivated, minimised
//   or not): every key released, so nothing stays stuck while another window has
//   the keyboard.
void handle_key_message(KeyTable& table, uint32_t message, uintptr_t wparam, intptr_t lparam);

// Alt+Enter fires once per press however long it is held: the latch stays set
// until Enter or Alt is released.
class FullscreenToggleLatch {
public:
  // Answers true when the display switch should happen now; then also releases
  // Enter in the table so the game does not see the press.
  bool check(bool enter_down, bool alt_down, KeyTable& table);
  int32_t latched() const { return latch_; }

private:
  int32_t latch_ = 0;
};

}  // namespace torv
