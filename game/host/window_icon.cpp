// The icon from the hero's picture.
#include "game/host/window_icon.h"

#include "game/image_indices.h"

namespace torv {

bool make_window_icon(const ImageStore& images, Image* out) {
  const Image* hero = images.image(kImagePlayerWalk);
  if (!hero) return false;
  Image icon;
  icon.width = hero->width * kWindowIconScale;
  icon.height = hero->height * kWindowIconScale;
  icon.pixels.resize(static_cast<size_t>(icon.width) * icon.height * 4);
  for (int y = 0; y < icon.height; ++y) {
    for (int x = 0; x < icon.width; ++x) {
      const uint8_t* src =
          &hero->pixels[(static_cast<size_t>(y / kWindowIconScale) * hero->width + x / kWindowIconScale) * 4];
      uint8_t* dst = &icon.pixels[(static_cast<size_t>(y) * icon.width + x) * 4];
      for (int c = 0; c < 4; ++c) dst[c] = src[c];
    }
  }
  *out = std::move(icon);
  return true;
}

}  // namespace torv
