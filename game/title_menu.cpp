// The title menu's loop and layout.
#include "game/title_menu.h"

#include "common/format_text.h"
#include "game/game_texts.h"

namespace torv {

namespace {
constexpr int kItemX = 50;
constexpr int kFirstItemY = 50;
constexpr int kLineHeight = 24;  // the menu font's size
}  // namespace

std::string continue_text(int slot, bool has_data, int32_t stage_number) {
  if (has_data) return format_text(text::kTitleContinueStage, slot + 1, static_cast<int>(stage_number));
  return format_text(text::kTitleContinueEmpty, slot + 1);
}

std::vector<ScreenText> title_menu_texts(int selected, const std::string& continue_item) {
  const std::string items[kTitleItemCount] = {text::kTitleStart, continue_item, text::kTitleKeyConfig,
                                              text::kTitleExit};
  std::vector<ScreenText> texts;
  for (int i = 0; i < kTitleItemCount; ++i)
    texts.push_back({kItemX, kFirstItemY + kLineHeight * i, i == selected ? TextColour::kRed : TextColour::kWhite,
                     items[i]});
  return texts;
}

void run_title_menu(MenuHost& host) {
  int selected = kTitleStartItem;
  int slot = 0;
  host.prepare_menu_text();
  while (!host.stop_requested()) {
    host.wait_frame();
    int32_t stage = 0;
    const bool has_data = host.saved_stage(slot, stage);
    host.draw_menu_frame(title_menu_texts(selected, continue_text(slot, has_data, stage)));

    if (host.pressed(Input::kUp)) {
      selected = (selected + kTitleItemCount - 1) % kTitleItemCount;
      host.wait_until_released(Input::kUp);
    }
    if (host.pressed(Input::kDown)) {
      selected = (selected + 1) % kTitleItemCount;
      host.wait_until_released(Input::kDown);
    }
    if (selected == kTitleContinueItem) {
      if (host.pressed(Input::kLeft)) {
        slot = (slot + kSaveSlots - 1) % kSaveSlots;
        host.wait_until_released(Input::kLeft);
      }
      if (host.pressed(Input::kRight)) {
        slot = (slot + 1) % kSaveSlots;
        host.wait_until_released(Input::kRight);
      }
    }
    if (!host.pressed(Input::kJump)) continue;
    host.wait_until_released(Input::kJump);
    if (host.stop_requested()) break;
    switch (selected) {
      case kTitleStartItem:
        host.start_new_game();
        selected = kTitleStartItem;
        break;
      case kTitleContinueItem:
        if (host.saved_stage(slot, stage)) {
          host.continue_game(slot);
          selected = kTitleStartItem;
          slot = 0;
        }
        break;
      case kTitleKeyConfigItem:
        host.run_key_option();
        selected = kTitleStartItem;
        break;
      default:
        // The window thread answers WM_QUIT by setting the stop flag; the menu keeps
        // running until then.
        host.post_quit();
        break;
    }
  }
}

}  // namespace torv
