// Tile textures from decoded images, in either texture format.
#include "draw_d3d/d3d_texture_pixels.h"

#include <cstring>

namespace torv {

int texture_bytes_per_pixel(TextureFormat format) { return format == TextureFormat::kA4R4G4B4 ? 2 : 4; }

void TexturePixels::reset(int w, int h, TextureFormat f) {
  width = w;
  height = h;
  format = f;
  bytes.assign(static_cast<size_t>(w) * static_cast<size_t>(h) * static_cast<size_t>(texture_bytes_per_pixel(f)), 0);
}

uint16_t texel_a4r4g4b4(const uint8_t* bgra) {
  return static_cast<uint16_t>((bgra[3] >> 4) << 12 | (bgra[2] >> 4) << 8 | (bgra[1] >> 4) << 4 | bgra[0] >> 4);
}

void fill_tile_texture(const Image& image, const SourceRect& src, int width, int height, TextureFormat format,
                       TexturePixels* out) {
  out->reset(width, height, format);
  const int columns = src.right - src.left;
  for (int y = src.top; y < src.bottom; ++y) {
    const uint8_t* from = &image.pixels[(static_cast<size_t>(y) * image.width + src.left) * 4];
    uint8_t* to = &out->bytes[static_cast<size_t>(y - src.top) * out->pitch()];
    if (format == TextureFormat::kA8R8G8B8) {
      std::memcpy(to, from, static_cast<size_t>(columns) * 4);  // the decoders' order is the texture's
      continue;
    }
    for (int x = 0; x < columns; ++x) {
      const uint16_t t = texel_a4r4g4b4(from + x * 4);
      std::memcpy(to + x * 2, &t, 2);
    }
  }
}

uint32_t texel_argb(const TexturePixels& pixels, int x, int y) {
  const uint8_t* p = &pixels.bytes[static_cast<size_t>(y) * pixels.pitch() + static_cast<size_t>(x) * texture_bytes_per_pixel(pixels.format)];
  if (pixels.format == TextureFormat::kA8R8G8B8) {
    return static_cast<uint32_t>(p[3]) << 24 | static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[1]) << 8 | p[0];
  }
  uint16_t t;
  std::memcpy(&t, p, 2);
  uint32_t argb = 0;
  for (int shift = 0; shift < 16; shift += 4) argb |= ((t >> shift) & 0xFu) * 0x11u << (shift * 2);
  return argb;
}

}  // namespace torv
