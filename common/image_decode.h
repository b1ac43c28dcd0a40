// Decoding of the two image formats the software renderers accept, PNG and
// uncompressed 24-bit BMP, into 8-bit blue, green, red, alpha pixels.
//
// Every decoder either succeeds completely or fails without touching its output:
// a damaged file never yields a half-filled image, and no input, however broken,
// makes a decoder read outside the bytes it was given.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace torv {

// Largest width or height accepted from a file. Anything bigger is taken for damage
// (a real picture of this game is at most a few thousand pixels on a side).
constexpr int kMaxImageSide = 16384;

// A decoded picture: width x height pixels of 4 bytes each in the order blue,
// green, red, alpha (read as a little-endian 32-bit value: alpha in bits 24-31,
// red 16-23, green 8-15, blue 0-7), rows top to bottom, no row padding, so the
// pitch is width * 4 bytes. Alpha 0 = fully transparent, 255 = opaque.
struct Image {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> pixels;  // width * height * 4 bytes
};

// True when data begins with the 8-byte PNG signature (137 80 78 71 13 10 26 10),
// compared over min(size, 8) bytes; so an empty or very short buffer that matches
// as far as it goes counts as PNG (and then fails to decode).
bool has_png_signature(const void* data, size_t size);

// PNG of any kind (grey, grey+alpha, palette with or without tRNS, RGB, RGBA,
// 1 to 16 bits a channel, interlaced or not). Grey becomes R = G = B, a palette
// is expanded, tRNS becomes alpha, 16-bit channels keep their high byte, and an
// image without transparency gets alpha 255.
// Returns 0 and replaces *out, or -1 (libpng rejected the data, a side is 0 or
// over kMaxImageSide, the data end early, or memory ran out) with *out unchanged.
int decode_png(const void* data, size_t size, Image* out);

// Uncompressed 24-bit BMP: a 14-byte file header, an info header of at least 40
// bytes, then rows of 3 bytes a pixel (blue, green, red) padded to a multiple of
// 4 bytes. Rows are bottom-up for a positive height, top-down for a negative one.
// Pixel data start at the file header's data offset (bytes 10-13), or straight
// after the info header when that offset is 0. Every pixel gets alpha 255.
// Returns 0 and replaces *out, or -1 with *out unchanged for: fewer than 54
// bytes, another bit depth, compression, a side of 0 or over kMaxImageSide, a
// data offset inside the headers, or rows that run past the end of the data (the
// last row's padding may be missing).
int decode_bmp(const void* data, size_t size, Image* out);

// decode_png when has_png_signature says so, else decode_bmp.
int decode_image(const void* data, size_t size, Image* out);

// Reads the whole file (path in the system's code page) and decodes it with
// decode_image. -1 when the file cannot be opened or read, or does not decode.
int load_image_file(const char* path, Image* out);

}  // namespace torv
