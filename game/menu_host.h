// What the title menu and the key configuration screen need from the game: frame
// pacing, the inputs, one way to draw a menu frame, and the actions they trigger.
// The game implements it over the bound modules; tests implement it with scripts.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "game/input_map.h"

namespace torv {

enum class TextColour { kWhite, kRed };

// One menu text: drawn first in black at (x + 1, y + 1), then in its colour at (x, y).
struct ScreenText {
  int x;
  int y;
  TextColour colour;
  std::string text;

  bool operator==(const ScreenText& other) const {
    return x == other.x && y == other.y && colour == other.colour && text == other.text;
  }
};

class MenuHost {
public:
  virtual ~MenuHost() = default;

  virtual bool stop_requested() = 0;
  // wait_frame(60).
  virtual void wait_frame() = 0;
  virtual bool pressed(Input input) = 0;

  // Makes the menu colours and sets the menu font ("ＭＳ ゴシック", 24).
  virtual void prepare_menu_text() = 0;
  // One whole frame: "menu.PNG" at (0, 0) at full size without colour key, then the
  // texts in order, each with its shadow.
  virtual void draw_menu_frame(const std::vector<ScreenText>& texts) = 0;

  // Title menu.
  // Answers false for an empty slot; else true with the slot's stage number.
  virtual bool saved_stage(int slot, int32_t& stage_number) = 0;
  virtual void start_new_game() = 0;
  virtual void continue_game(int slot) = 0;
  virtual void run_key_option() = 0;
  virtual void post_quit() = 0;

  // Key configuration.
  virtual KeyConfig& key_config() = 0;
  virtual int32_t pad_present() = 0;
  // The lowest held virtual key, or -1.
  virtual int first_held_key() = 0;
  // The pad button being held, or -1 (asked even without a pad).
  virtual int pad_any_button() = 0;
  // The shown name of a virtual key (empty for unnamed keys).
  virtual std::string key_name(int vk) = 0;
  virtual void write_save_file() = 0;

  // Runs wait_frame until input is released or the stop flag is set.
  void wait_until_released(Input input) {
    while (pressed(input) && !stop_requested()) wait_frame();
  }
};

}  // namespace torv
