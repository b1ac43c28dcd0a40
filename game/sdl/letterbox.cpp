// The picture's scale and place.
#include "game/sdl/letterbox.h"

#include <algorithm>

namespace torv {

int picture_scale(int width, int height) {
  return std::max(1, std::min(width / kPictureWidth, height / kPictureHeight));
}

PictureRect letterbox(int width, int height) {
  const int scale = picture_scale(width, height);
  PictureRect r;
  r.w = kPictureWidth * scale;
  r.h = kPictureHeight * scale;
  // Centred; a picture larger than the output is cut equally on both sides.
  r.x = (width - r.w) / 2;
  r.y = (height - r.h) / 2;
  return r;
}

int initial_window_scale(int usable_w, int usable_h, int frame_w, int frame_h) {
  return picture_scale(usable_w - std::max(0, frame_w), usable_h - std::max(0, frame_h));
}

}  // namespace torv
