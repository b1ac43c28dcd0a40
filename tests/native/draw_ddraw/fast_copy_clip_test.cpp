// The DirectDraw renderer's fast copy: what is left of a requested rectangle once
// it is cut to the frame and the image (BltFast refuses anything reaching outside).
#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <random>
#include <utility>

#include "draw_ddraw/fast_copy_clip.h"

namespace {

TEST(FastCopyClip, CutsToFrameAndImage) {
  struct Case {
    const char* what;
    int x, y, sx, sy, w, h;
    int image_w, image_h;
    bool drawn;
    torv::FastCopy c;  // x, y, left, top, right, bottom
  };
  const Case cases[] = {
      {"inside", 10, 20, 4, 2, 16, 8, 64, 32, true, {10, 20, 4, 2, 20, 10}},
      {"x = -8: source columns 40..47 at frame columns 0..7", -8, 0, 32, 0, 16, 16, 64, 16, true,
       {0, 0, 40, 0, 48, 16}},
      {"x = 630: its first 10 columns", 630, 0, 0, 0, 16, 16, 64, 16, true, {630, 0, 0, 0, 10, 16}},
      {"y = -5 and y = 470", 0, -5, 0, 0, 16, 16, 64, 16, true, {0, 0, 0, 5, 16, 16}},
      {"bottom edge", 0, 470, 0, 0, 16, 16, 64, 16, true, {0, 470, 0, 0, 16, 10}},
      {"wider than the frame on both sides keeps all 640 columns", -8, 0, 0, 0, 1000, 4, 2000, 4, true,
       {0, 0, 8, 0, 648, 4}},
      {"reaching past the image's right and bottom", 100, 100, 56, 10, 16, 16, 64, 16, true,
       {100, 100, 56, 10, 64, 16}},
      {"source left of and above the image", 100, 100, -4, -3, 16, 16, 64, 16, true, {104, 103, 0, 0, 12, 13}},
      {"wholly right of the frame", 640, 0, 0, 0, 16, 16, 64, 16, false, {}},
      {"wholly left of the frame", -16, 0, 0, 0, 16, 16, 64, 16, false, {}},
      {"wholly below the frame", 0, 480, 0, 0, 16, 16, 64, 16, false, {}},
      {"source wholly outside the image", 0, 0, 64, 0, 16, 16, 64, 16, false, {}},
      {"zero width", 0, 0, 0, 0, 0, 16, 64, 16, false, {}},
      {"negative height", 0, 0, 0, 0, 16, -1, 64, 16, false, {}},
      {"extreme positions do not overflow", INT_MIN, INT_MAX, INT_MAX, INT_MIN, INT_MAX, INT_MAX, 64, 16, false, {}},
      {"huge size from the origin", 0, 0, 0, 0, INT_MAX, INT_MAX, 64, 16, true, {0, 0, 0, 0, 64, 16}},
  };
  for (const Case& c : cases) {
    torv::FastCopy got;
    got.x = -99;
    const bool drawn = torv::clip_fast_copy(c.x, c.y, c.sx, c.sy, c.w, c.h, 640, 480, c.image_w, c.image_h, &got);
    ASSERT_EQ(drawn, c.drawn) << c.what;
    if (!drawn) {
      EXPECT_EQ(got.x, -99) << c.what << ": the result is left alone";
      continue;
    }
    EXPECT_EQ(got.x, c.c.x) << c.what;
    EXPECT_EQ(got.y, c.c.y) << c.what;
    EXPECT_EQ(got.left, c.c.left) << c.what;
    EXPECT_EQ(got.top, c.c.top) << c.what;
    EXPECT_EQ(got.right, c.c.right) << c.what;
    EXPECT_EQ(got.bottom, c.c.bottom) << c.what;
  }
}

// Against a pixel-by-pixel model on a small frame and image: the copy covers
// exactly the frame pixels whose source pixel exists, each from its own source.
TEST(FastCopyClip, CoversExactlyThePixelsInsideBoth) {
  const int fw = 20, fh = 10, iw = 8, ih = 6;
  std::mt19937 random(8);
  for (int round = 0; round < 3000; ++round) {
    auto pick = [&](int lo, int hi) { return lo + int(random() % unsigned(hi - lo + 1)); };
    const int x = pick(-30, 30), y = pick(-15, 15), sx = pick(-10, 10), sy = pick(-8, 8);
    const int w = pick(-2, 30), h = pick(-2, 20);
    std::map<std::pair<int, int>, std::pair<int, int>> model;  // frame pixel -> source pixel
    for (int j = 0; j < h; ++j) {
      for (int i = 0; i < w; ++i) {
        const int fx = x + i, fy = y + j, ix = sx + i, iy = sy + j;
        if (fx >= 0 && fy >= 0 && fx < fw && fy < fh && ix >= 0 && iy >= 0 && ix < iw && iy < ih) {
          model[{fx, fy}] = {ix, iy};
        }
      }
    }
    torv::FastCopy c;
    std::map<std::pair<int, int>, std::pair<int, int>> copied;
    if (torv::clip_fast_copy(x, y, sx, sy, w, h, fw, fh, iw, ih, &c)) {
      ASSERT_LT(c.left, c.right);
      ASSERT_LT(c.top, c.bottom);
      for (int iy = c.top; iy < c.bottom; ++iy) {
        for (int ix = c.left; ix < c.right; ++ix) copied[{c.x + ix - c.left, c.y + iy - c.top}] = {ix, iy};
      }
    }
    ASSERT_EQ(copied, model) << "x " << x << " y " << y << " src " << sx << "," << sy << " size " << w << "x" << h;
  }
}

}  // namespace
