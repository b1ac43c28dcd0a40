// Encoders for the drawing checks: PNG through libpng (the frames drawcheck writes,
// the test images it and the Windows tests load) and uncompressed 24-bit BMP.
#pragma once

#include <cstdint>
#include <vector>

namespace torv {

// width x height pixels of 4 bytes blue, green, red, alpha, rows pitch bytes apart.
struct BgraPixels {
  const uint8_t* bits = nullptr;
  int width = 0;
  int height = 0;
  int pitch = 0;
};

// An 8-bit PNG: RGBA with with_alpha, else RGB (the alpha bytes are dropped).
// Empty on failure.
std::vector<uint8_t> encode_png(const BgraPixels& pixels, bool with_alpha);

// A bottom-up 24-bit BMP (54-byte headers, rows padded to 4 bytes); alpha dropped.
std::vector<uint8_t> encode_bmp24(const BgraPixels& pixels);

}  // namespace torv
