// The key configuration screen ("Key Option"): rows for the five buttons and
// "Exit", a keyboard and a pad column. On a button row whatever key (or pad button)
// is held at the end of a frame becomes that row's; "Exit" keeps the changes and
// writes the save file, a shutdown discards them.
#pragma once

#include <string>
#include <vector>

#include "game/menu_host.h"

namespace torv {

inline constexpr int kKeyOptionRows = kButtonCount + 1;  // the buttons, then "Exit"
inline constexpr int kExitRow = kButtonCount;
enum KeyOptionColumn : int { kKeyboardColumn = 0, kPadColumn = 1 };

// The text that shows a pad button: "Btn(" digit ")" for 0 to 9, the characters
// after '9' up to '~' for the next buttons, and the decimal number beyond, so the
// text never holds a control or double-byte lead character.
std::string pad_button_text(int button);

// The texts of one frame.
std::vector<ScreenText> key_option_texts(MenuHost& host, const KeyConfig& working, int row, int column);

void run_key_option(MenuHost& host);

}  // namespace torv
