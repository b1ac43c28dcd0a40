// Test helpers for the drawing core: frames and images with padded rows, and a
// straightforward reference of every draw, written from the rules alone (one
// pixel at a time, floor(i * j / 255) computed directly, bounds tested per pixel)
// so that it shares no clipping or table code with the implementation.
#pragma once

#include <cstdint>
#include <random>
#include <vector>

#include "common/blend.h"

namespace drawtest {

inline int floor_product(int i, int j) { return i * j / 255; }

// A buffer of pixels with a chosen pitch and start offset, so rows need not be
// packed or 16-byte aligned. Bytes outside the pixels are guard bytes.
struct Surface {
  std::vector<uint8_t> storage;
  int width = 0, height = 0, pitch = 0, offset = 0;

  Surface(int w, int h, int extra_pitch_bytes = 0, int offset_bytes = 0, uint8_t fill = 0)
      : width(w), height(h), pitch(w * 4 + extra_pitch_bytes), offset(offset_bytes) {
    storage.assign(size_t(offset) + size_t(pitch) * size_t(h) + 16, fill);
  }
  uint8_t* bits() { return storage.data() + offset; }
  uint8_t* at(int x, int y) { return bits() + size_t(y) * size_t(pitch) + size_t(x) * 4; }
  const uint8_t* at(int x, int y) const {
    return storage.data() + offset + size_t(y) * size_t(pitch) + size_t(x) * 4;
  }
  uint32_t pixel(int x, int y) const {
    const uint8_t* p = at(x, y);
    return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
  }
  void set(int x, int y, uint32_t v) {
    uint8_t* p = at(x, y);
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
    p[2] = uint8_t(v >> 16);
    p[3] = uint8_t(v >> 24);
  }
  torv::FrameView frame() { return torv::FrameView{bits(), width, height, pitch}; }
  torv::ImageView view() const {
    return torv::ImageView{storage.data() + offset, width, height, pitch};
  }
};

inline uint32_t bgra(int b, int g, int r, int a) {
  return uint32_t(b) | uint32_t(g) << 8 | uint32_t(r) << 16 | uint32_t(a) << 24;
}

// The blend rule, pixel by pixel.
inline void reference_blend(uint8_t* d, const uint8_t* s, int alpha) {
  const int b = floor_product(s[3], alpha);
  if (b == 255) {
    for (int c = 0; c < 4; ++c) d[c] = s[c];
  } else if (b != 0) {
    for (int c = 0; c < 3; ++c) d[c] = uint8_t(floor_product(s[c], b) + floor_product(d[c], 255 - b));
  }
}

inline bool inside(int x, int y, int w, int h) { return x >= 0 && y >= 0 && x < w && y < h; }

// Every rectangle pixel (i, j) of the scaled draw, kept when it lands in the frame.
inline void reference_scaled(Surface& f, const Surface& img, int x, int y, int w, int h, int alpha) {
  if (w <= 0 || h <= 0) return;
  const long long u = static_cast<long long>(double(img.width) / w * 256.0);
  const long long v = static_cast<long long>(double(img.height) / h * 256.0);
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i) {
      const long long dx = static_cast<long long>(x) + i, dy = static_cast<long long>(y) + j;
      if (dx < 0 || dy < 0 || dx >= f.width || dy >= f.height) continue;
      reference_blend(f.at(int(dx), int(dy)), img.at(int((i * u) >> 8), int((j * v) >> 8)), alpha);
    }
}

// Every pixel (i, j) of an unscaled draw that exists in both frame and image.
template <class PixelOp>
void reference_unscaled(Surface& f, const Surface& img, int src_x, int src_y, int x, int y, int w,
                        int h, PixelOp op) {
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i) {
      const long long dx = static_cast<long long>(x) + i, dy = static_cast<long long>(y) + j;
      const long long sx = static_cast<long long>(src_x) + i, sy = static_cast<long long>(src_y) + j;
      if (dx < 0 || dy < 0 || dx >= f.width || dy >= f.height) continue;
      if (sx < 0 || sy < 0 || sx >= img.width || sy >= img.height) continue;
      op(f.at(int(dx), int(dy)), img.at(int(sx), int(sy)));
    }
}

// Random pixels: with runs set, alpha comes in sprite-like runs of 0, 255 and
// partial values; else each pixel is drawn from the mix alone. Edge alphas
// (0, 1, 127, 128, 254, 255) are over-represented either way.
inline void fill_random(Surface& s, std::mt19937& rng, bool runs) {
  static const int edges[] = {0, 1, 127, 128, 254, 255};
  std::uniform_int_distribution<int> byte(0, 255), pick(0, 9), run_len(1, 12);
  int left = 0, mode = 0;
  for (int y = 0; y < s.height; ++y)
    for (int x = 0; x < s.width; ++x) {
      if (!runs || left-- <= 0) {
        mode = pick(rng);
        left = run_len(rng);
      }
      int a;
      if (mode < 3) a = 0;
      else if (mode < 6) a = 255;
      else if (mode < 8) a = edges[byte(rng) % 6];
      else a = byte(rng);
      s.set(x, y, bgra(byte(rng), byte(rng), byte(rng), a));
    }
}

}  // namespace drawtest
