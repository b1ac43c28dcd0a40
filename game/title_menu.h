// The title menu: start, continue from one of nine save slots, key configuration,
// exit. Runs until the stop flag is set.
#pragma once

#include <string>
#include <vector>

#include "game/menu_host.h"
#include "game/save_file.h"

namespace torv {

inline constexpr int kTitleItemCount = 4;
enum TitleItem : int { kTitleStartItem = 0, kTitleContinueItem = 1, kTitleKeyConfigItem = 2, kTitleExitItem = 3 };

// The continue item's text for a slot: its stage number, or that it holds no data.
std::string continue_text(int slot, bool has_data, int32_t stage_number);

// The four items of one frame, the selected one red.
std::vector<ScreenText> title_menu_texts(int selected, const std::string& continue_item);

// The title loop. Returns when the stop flag is set; the caller then unloads the
// modules and clears the flag.
void run_title_menu(MenuHost& host);

}  // namespace torv
