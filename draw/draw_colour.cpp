#include "draw/draw_colour.h"

namespace torv {

uint32_t draw_pack_colour(DRAW_INIT_MODE mode, uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha) {
  const uint32_t a = alpha, r = red, g = green, b = blue;
  switch (mode) {
    case DRAW_INIT_D3D:
      return a << 24 | r << 16 | g << 8 | b;
    case DRAW_INIT_DDRAW:
    case DRAW_INIT_DIB:
      return a << 24 | b << 16 | g << 8 | r;
    default:
      return 0;
  }
}

}  // namespace torv
