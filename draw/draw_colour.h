// Colour values of the drawing contract: the byte order each back-end expects.
#pragma once

#include <cstdint>

#include "draw/draw_mode.h"

namespace torv {

// The colour value of (red, green, blue, alpha) for mode: 0xAARRGGBB for Direct3D,
// 0xAABBGGRR (GDI order, alpha on top) for DirectDraw and DIB, 0 for any other mode.
uint32_t draw_pack_colour(DRAW_INIT_MODE mode, uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha);

// The colour handed to a GDI text call: GDI reads the top byte as flags, not alpha.
inline uint32_t draw_gdi_colour(uint32_t colour) { return colour & 0x00FFFFFFu; }

}  // namespace torv
