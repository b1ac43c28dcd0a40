#include "draw_ddraw/colour_key.h"

#include <algorithm>
#include <vector>

namespace torv {

namespace {

constexpr uint32_t kColourCount = 1u << 24;

uint32_t rgb_of(const uint8_t* p) { return uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0]; }

}  // namespace

uint32_t find_colour_key(const ImageView& image) {
  if (!image.bits || image.width <= 0 || image.height <= 0) return 0;
  // n visible pixels can use at most n of the colours 0 .. n, so the answer is
  // at most n: a mark for each of those colours is all that is needed.
  uint64_t visible = 0;
  for (int y = 0; y < image.height; ++y) {
    const uint8_t* row = image.bits + int64_t(y) * image.pitch_bytes;
    for (int x = 0; x < image.width; ++x) visible += row[x * 4 + 3] != 0;
  }
  const uint32_t marks = static_cast<uint32_t>(std::min<uint64_t>(visible + 1, kColourCount));
  std::vector<bool> used(marks, false);
  for (int y = 0; y < image.height; ++y) {
    const uint8_t* row = image.bits + int64_t(y) * image.pitch_bytes;
    for (int x = 0; x < image.width; ++x) {
      const uint8_t* p = row + x * 4;
      if (p[3] == 0) continue;
      const uint32_t rgb = rgb_of(p);
      if (rgb < marks) used[rgb] = true;
    }
  }
  const auto free_colour = std::find(used.begin(), used.end(), false);
  // Every colour taken: the key runs past 24 bits and wraps to 0.
  return free_colour == used.end() ? 0 : static_cast<uint32_t>(free_colour - used.begin());
}

void fill_transparent_with_key(const FrameView& image, uint32_t key) {
  if (!image.bits) return;
  const uint8_t blue = static_cast<uint8_t>(key), green = static_cast<uint8_t>(key >> 8),
                red = static_cast<uint8_t>(key >> 16);
  for (int y = 0; y < image.height; ++y) {
    uint8_t* row = image.bits + int64_t(y) * image.pitch_bytes;
    for (int x = 0; x < image.width; ++x) {
      uint8_t* p = row + x * 4;
      if (p[3] != 0) continue;
      p[0] = blue;
      p[1] = green;
      p[2] = red;
    }
  }
}

}  // namespace torv
