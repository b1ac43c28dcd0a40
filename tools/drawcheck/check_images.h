// The pictures the drawing checks load: made in code, so every pixel is known and a
// check can work out what the frame must show.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/drawcheck/image_encode.h"

namespace torv {

struct CheckImage {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> bgra;  // width * height * 4 bytes, rows top to bottom

  uint8_t* at(int x, int y) { return &bgra[(static_cast<size_t>(y) * width + x) * 4]; }
  const uint8_t* at(int x, int y) const { return &bgra[(static_cast<size_t>(y) * width + x) * 4]; }
  BgraPixels pixels() const { return BgraPixels{bgra.data(), width, height, width * 4}; }
};

// 64 x 48, opaque: red rises to the right, green downwards, blue constant.
CheckImage make_backdrop();
// 24 x 24, opaque: a two-colour checker of 6-pixel squares inside a 1-pixel frame.
CheckImage make_tile();
// 32 x 32: an opaque disc on a fully transparent ground, edged by a ring of alpha 128.
CheckImage make_sprite();
// 64 x 64: one colour whose alpha rises from 0 at the left to 252 at the right.
CheckImage make_glass();
// 100 x 50, opaque: every column and row a different colour, so a clipped or scaled
// draw shows which source pixel landed where.
CheckImage make_plate();

}  // namespace torv
