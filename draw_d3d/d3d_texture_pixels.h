// Texture contents prepared in plain memory before they are copied into a locked
// Direct3D texture: the two texture formats the renderer uses, filled from a
// decoded image (the part that lands at a tile's top-left) or by the glyph grid.
#pragma once

#include <cstdint>
#include <vector>

#include "common/image_decode.h"
#include "draw_d3d/d3d_geometry.h"

namespace torv {

// Values are Direct3D's D3DFORMAT numbers.
enum class TextureFormat : int {
  kA8R8G8B8 = 21,  // 32 bits: blue, green, red, alpha bytes
  kA4R4G4B4 = 26,  // 16 bits: alpha 12-15, red 8-11, green 4-7, blue 0-3
};

int texture_bytes_per_pixel(TextureFormat format);

// A texture's level 0: width x height texels, rows width * bytes-per-pixel apart.
struct TexturePixels {
  int width = 0;
  int height = 0;
  TextureFormat format = TextureFormat::kA8R8G8B8;
  std::vector<uint8_t> bytes;

  int pitch() const { return width * texture_bytes_per_pixel(format); }
  // width x height texels of transparent black.
  void reset(int w, int h, TextureFormat f);
};

// One texel of a B,G,R,A pixel in format (A4R4G4B4 keeps each channel's high 4 bits).
uint16_t texel_a4r4g4b4(const uint8_t* bgra);

// A texture of width x height whose top-left holds the part src of image,
// unscaled; the rest is transparent black. src must lie inside the image, and the
// texture must be at least its size.
void fill_tile_texture(const Image& image, const SourceRect& src, int width, int height, TextureFormat format,
                       TexturePixels* out);

// The texel at (x, y) as 0xAARRGGBB (4-bit channels widened by repeating them).
uint32_t texel_argb(const TexturePixels& pixels, int x, int y);

}  // namespace torv
