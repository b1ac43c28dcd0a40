#include "draw_d3d/d3d_texture_pixels.h"

#include <gtest/gtest.h>

namespace {

using torv::TextureFormat;
using torv::TexturePixels;

// 3 x 2 pixels, each channel different so a misplaced byte shows.
torv::Image SmallImage() {
  torv::Image image;
  image.width = 3;
  image.height = 2;
  for (int i = 0; i < 6; ++i) {
    const uint8_t b = static_cast<uint8_t>(0x10 * i + 0x01), g = static_cast<uint8_t>(0x10 * i + 0x05),
                  r = static_cast<uint8_t>(0x10 * i + 0x09), a = static_cast<uint8_t>(0xFF - 0x20 * i);
    image.pixels.insert(image.pixels.end(), {b, g, r, a});
  }
  return image;
}

uint32_t Argb(const torv::Image& image, int x, int y) {
  const uint8_t* p = &image.pixels[(static_cast<size_t>(y) * image.width + x) * 4];
  return static_cast<uint32_t>(p[3]) << 24 | static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[1]) << 8 | p[0];
}

uint32_t Reduced(uint32_t argb) {  // each channel's high 4 bits, repeated
  uint32_t out = 0;
  for (int shift = 0; shift < 32; shift += 8) out |= ((argb >> (shift + 4)) & 0xFu) * 0x11u << shift;
  return out;
}

TEST(TileTexture, SourceLandsTopLeftAndTheRestIsTransparentBlack) {
  const torv::Image image = SmallImage();
  for (TextureFormat format : {TextureFormat::kA8R8G8B8, TextureFormat::kA4R4G4B4}) {
    TexturePixels t;
    torv::fill_tile_texture(image, torv::SourceRect{1, 0, 3, 2}, 4, 4, format, &t);
    ASSERT_EQ(t.width, 4);
    ASSERT_EQ(t.height, 4);
    ASSERT_EQ(t.bytes.size(), static_cast<size_t>(t.pitch()) * 4);
    for (int y = 0; y < 4; ++y) {
      for (int x = 0; x < 4; ++x) {
        uint32_t expected = 0;
        if (x < 2 && y < 2) expected = Argb(image, x + 1, y);
        if (format == TextureFormat::kA4R4G4B4) expected = Reduced(expected);
        EXPECT_EQ(torv::texel_argb(t, x, y), expected) << x << "," << y << " format " << static_cast<int>(format);
      }
    }
  }
}

TEST(TileTexture, A4R4G4B4PacksTheHighNibbles) {
  const uint8_t bgra[4] = {0x1F, 0x2E, 0x3D, 0xC4};
  EXPECT_EQ(torv::texel_a4r4g4b4(bgra), 0xC321);
}

}  // namespace
