// The picture's whole-number scale and place in the window.
#include "game/sdl/letterbox.h"

#include <gtest/gtest.h>

namespace torv {
namespace {

TEST(Letterbox, LargestWholeScaleCentredWithBars) {
  struct Case {
    int width, height;
    PictureRect place;
  };
  const Case cases[] = {
      {640, 480, {0, 0, 640, 480}},
      {1279, 959, {319, 239, 640, 480}},     // one short of double: still single
      {1280, 960, {0, 0, 1280, 960}},
      {1920, 1080, {320, 60, 1280, 960}},    // bars on all sides
      {3840, 2160, {640, 120, 2560, 1920}},  // the height decides
      {2000, 480, {680, 0, 640, 480}},       // a wide window: bars left and right
      {640, 2000, {0, 760, 640, 480}},       // a tall one: above and below
      {320, 240, {-160, -120, 640, 480}},    // smaller than the picture: scale 1, cut
  };
  for (const Case& c : cases) {
    EXPECT_EQ(letterbox(c.width, c.height), c.place) << c.width << "x" << c.height;
  }
}

TEST(Letterbox, StartsAtTheLargestMultipleThatFitsTheUsableArea) {
  struct Case {
    int usable_w, usable_h, frame_w, frame_h, scale;
  };
  const Case cases[] = {
      {1920, 1040, 16, 64, 2},   // 1280 x 960 plus the frame fits
      {1920, 1000, 16, 64, 1},   // the title bar would not fit at 2
      {2560, 1400, 0, 0, 2},
      {3840, 2100, 16, 64, 4},
      {800, 600, 16, 64, 1},
      {600, 400, 16, 64, 1},     // even a small desktop gets the picture once
  };
  for (const Case& c : cases) {
    EXPECT_EQ(initial_window_scale(c.usable_w, c.usable_h, c.frame_w, c.frame_h), c.scale)
        << c.usable_w << "x" << c.usable_h;
  }
}

}  // namespace
}  // namespace torv
