// Menu frames.
#include "game/menu_screen.h"

#include "game/game_texts.h"
#include "game/image_indices.h"

namespace torv {

namespace {
constexpr int kMenuFontHeight = 24;
}

MenuColours prepare_menu_canvas(PlayCanvas& canvas) {
  MenuColours colours;
  colours.red = canvas.rgb(255, 0, 0);
  colours.white = canvas.rgb(255, 255, 255);
  colours.black = canvas.rgb(0, 0, 0);
  canvas.set_font(text::kMenuFont, kMenuFontHeight);
  return colours;
}

void draw_menu_screen(PlayCanvas& canvas, const MenuColours& colours, const std::vector<ScreenText>& texts) {
  canvas.begin_draw();
  canvas.draw_image_fast(kImageMenuBackground, 0, 0, 0, 0, canvas.image_width(kImageMenuBackground),
                         canvas.image_height(kImageMenuBackground), false);
  for (const ScreenText& item : texts) {
    canvas.draw_text_simple(item.x + 1, item.y + 1, colours.black, true, item.text);
    canvas.draw_text_simple(item.x, item.y, item.colour == TextColour::kRed ? colours.red : colours.white, true,
                            item.text);
  }
  canvas.end_draw();
}

}  // namespace torv
