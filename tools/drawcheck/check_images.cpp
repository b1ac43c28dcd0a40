#include "tools/drawcheck/check_images.h"

namespace torv {

namespace {

CheckImage blank(int width, int height) {
  CheckImage image;
  image.width = width;
  image.height = height;
  image.bgra.assign(static_cast<size_t>(width) * height * 4, 0);
  return image;
}

void set(CheckImage& image, int x, int y, int r, int g, int b, int a) {
  uint8_t* p = image.at(x, y);
  p[0] = static_cast<uint8_t>(b);
  p[1] = static_cast<uint8_t>(g);
  p[2] = static_cast<uint8_t>(r);
  p[3] = static_cast<uint8_t>(a);
}

}  // namespace

CheckImage make_backdrop() {
  CheckImage image = blank(64, 48);
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) set(image, x, y, x * 4, y * 5, 96, 255);
  }
  return image;
}

CheckImage make_tile() {
  CheckImage image = blank(24, 24);
  for (int y = 0; y < 24; ++y) {
    for (int x = 0; x < 24; ++x) {
      const bool frame = x == 0 || y == 0 || x == 23 || y == 23;
      const bool dark = ((x / 6) + (y / 6)) % 2 == 0;
      if (frame) {
        set(image, x, y, 250, 250, 250, 255);
      } else if (dark) {
        set(image, x, y, 90, 60, 30, 255);
      } else {
        set(image, x, y, 170, 130, 70, 255);
      }
    }
  }
  return image;
}

CheckImage make_sprite() {
  CheckImage image = blank(32, 32);
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      const int dx = 2 * x - 31, dy = 2 * y - 31;  // twice the distance from the centre
      const int d2 = dx * dx + dy * dy;
      if (d2 <= 24 * 24) {
        set(image, x, y, 255, 200, 40, 255);
      } else if (d2 <= 30 * 30) {
        set(image, x, y, 200, 40, 40, 128);
      } else {
        set(image, x, y, 0, 255, 0, 0);  // green under alpha 0: must never show
      }
    }
  }
  return image;
}

CheckImage make_glass() {
  CheckImage image = blank(64, 64);
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 64; ++x) set(image, x, y, 40, 160, 240, x * 4);
  }
  return image;
}

CheckImage make_plate() {
  CheckImage image = blank(100, 50);
  for (int y = 0; y < 50; ++y) {
    for (int x = 0; x < 100; ++x) set(image, x, y, x * 2 + 30, y * 4 + 20, 200 - x, 255);
  }
  return image;
}

}  // namespace torv
