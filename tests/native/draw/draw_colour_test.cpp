#include "draw/draw_colour.h"

#include <gtest/gtest.h>

namespace {

TEST(DrawColour, PacksEachModesByteOrder) {
  struct Case {
    int mode;
    uint8_t r, g, b, a;
    uint32_t packed;
  };
  const Case cases[] = {
      {DRAW_INIT_D3D, 1, 2, 3, 4, 0x04010203u},     {DRAW_INIT_DDRAW, 1, 2, 3, 4, 0x04030201u},
      {DRAW_INIT_DIB, 1, 2, 3, 4, 0x04030201u},     {DRAW_INIT_D3D, 1, 2, 3, 255, 0xFF010203u},
      {DRAW_INIT_DIB, 255, 0, 0, 255, 0xFF0000FFu}, {DRAW_INIT_DIB, 0, 0, 255, 0, 0x00FF0000u},
      {DRAW_INIT_D3D, 0xAB, 0xCD, 0xEF, 0x80, 0x80ABCDEFu},
      // No back-end, or a mode that names none: always 0.
      {DRAW_INIT_NONE, 1, 2, 3, 4, 0u},             {4, 1, 2, 3, 4, 0u},
      {-1, 255, 255, 255, 255, 0u},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(torv::draw_pack_colour(static_cast<DRAW_INIT_MODE>(c.mode), c.r, c.g, c.b, c.a), c.packed)
        << "mode " << c.mode;
  }
}

TEST(DrawColour, GdiColourDropsOnlyTheAlphaByte) {
  EXPECT_EQ(torv::draw_gdi_colour(0xFF030201u), 0x00030201u);
  EXPECT_EQ(torv::draw_gdi_colour(0x00FFFFFFu), 0x00FFFFFFu);
  EXPECT_EQ(torv::draw_gdi_colour(0x80000000u), 0u);
}

}  // namespace
