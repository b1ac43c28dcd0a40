// A menu frame as every front-end draws it (title menu, key configuration): the
// menu picture, then each text in black one pixel right and down, then in its colour.
#pragma once

#include <cstdint>
#include <vector>

#include "game/menu_host.h"
#include "game/play_canvas.h"

namespace torv {

struct MenuColours {
  uint32_t red = 0, white = 0, black = 0;
};

// Makes the three colours in the canvas's layout and sets the menu font ("ＭＳ
// ゴシック", 24).
MenuColours prepare_menu_canvas(PlayCanvas& canvas);

// One whole frame: "menu.PNG" at (0, 0) at its full size without colour key, then
// the texts in order.
void draw_menu_screen(PlayCanvas& canvas, const MenuColours& colours, const std::vector<ScreenText>& texts);

}  // namespace torv
