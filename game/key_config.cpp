// The key configuration screen's loop, capture rules and layout.
#include "game/key_config.h"

#include "common/format_text.h"
#include "game/game_texts.h"

namespace torv {

namespace {
constexpr int kLabelX = 50;
constexpr int kKeyX = 200;
constexpr int kPadX = 350;
constexpr int kColumnTitleY = 76;
constexpr int kFirstRowY = 100;
constexpr int kRowHeight = 24;
constexpr int kExitY = 220;
constexpr int kLastCharacterButton = '~' - '0';
}  // namespace

std::string pad_button_text(int button) {
  if (button >= 0 && button <= kLastCharacterButton) return std::string("Btn(") + static_cast<char>('0' + button) + ")";
  return format_text("Btn(%d)", button);
}

std::vector<ScreenText> key_option_texts(MenuHost& host, const KeyConfig& working, int row, int column) {
  static const char* const kLabels[kButtonCount] = {text::kRowDash, text::kRowJump, text::kRowAttack,
                                                    text::kRowAttackSwitch, text::kRowPause};
  auto colour = [&](int r, int c) { return r == row && c == column ? TextColour::kRed : TextColour::kWhite; };
  std::vector<ScreenText> texts;
  texts.push_back({kLabelX, 50, TextColour::kWhite, "Key Option"});
  for (int r = 0; r < kButtonCount; ++r) texts.push_back({kLabelX, kFirstRowY + kRowHeight * r, TextColour::kWhite, kLabels[r]});
  texts.push_back({kKeyX, kColumnTitleY, TextColour::kWhite, text::kColumnKeyboard});
  for (int r = 0; r < kButtonCount; ++r)
    texts.push_back({kKeyX, kFirstRowY + kRowHeight * r, colour(r, kKeyboardColumn), host.key_name(working.keys[r])});
  if (host.pad_present() != 0) {
    texts.push_back({kPadX, kColumnTitleY, TextColour::kWhite, text::kColumnPad});
    for (int r = 0; r < kButtonCount; ++r)
      texts.push_back({kPadX, kFirstRowY + kRowHeight * r, colour(r, kPadColumn), pad_button_text(working.pad_buttons[r])});
  }
  texts.push_back({kKeyX, kExitY, row == kExitRow ? TextColour::kRed : TextColour::kWhite, "Exit"});
  return texts;
}

void run_key_option(MenuHost& host) {
  KeyConfig working = host.key_config();
  int row = 0;
  int column = kKeyboardColumn;
  host.prepare_menu_text();
  while (!host.stop_requested()) {
    host.wait_frame();
    host.draw_menu_frame(key_option_texts(host, working, row, column));

    if (host.pressed(Input::kUp)) {
      row = (row + kKeyOptionRows - 1) % kKeyOptionRows;
      host.wait_until_released(Input::kUp);
    }
    if (host.pressed(Input::kDown)) {
      row = (row + 1) % kKeyOptionRows;
      host.wait_until_released(Input::kDown);
    }
    if (host.pressed(Input::kLeft) || host.pressed(Input::kRight)) {
      column = 1 - column;
      while ((host.pressed(Input::kLeft) || host.pressed(Input::kRight)) && !host.stop_requested()) host.wait_frame();
    }
    if (host.pressed(Input::kJump) && !host.stop_requested() && row == kExitRow) {
      host.wait_until_released(Input::kJump);
      host.key_config() = working;
      host.write_save_file();
      return;
    }
    // Capture; on "Exit" nothing is taken, though the pad is still asked.
    if (column == kKeyboardColumn) {
      const int vk = host.first_held_key();
      if (vk >= 0 && row < kExitRow) working.keys[row] = static_cast<uint8_t>(vk);
    } else {
      const int button = host.pad_any_button();
      if (button != -1 && row < kExitRow) working.pad_buttons[row] = static_cast<uint8_t>(button & 0xFF);
    }
  }
}

}  // namespace torv
