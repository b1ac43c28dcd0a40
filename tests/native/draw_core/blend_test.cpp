#include "common/blend.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "draw_test_util.h"

namespace {

using drawtest::bgra;
using drawtest::Surface;
using torv::BlendKernels;
using torv::Blender;

// An image whose pixel (x, y) names itself: blue = x, green = y, red = 7, opaque;
// a frame pixel then tells which image pixel landed on it.
Surface coordinate_image(int w, int h, int alpha = 255) {
  Surface s(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) s.set(x, y, bgra(x & 255, y & 255, 7, alpha));
  return s;
}

// The kernel sets this machine can run; each test runs with every one of them.
std::vector<BlendKernels> runnable_kernels() {
  std::vector<BlendKernels> k;
  for (BlendKernels c : {BlendKernels::kScalar, BlendKernels::kSse2, BlendKernels::kAvx2})
    if (torv::blend_kernels_supported(c)) k.push_back(c);
  return k;
}

class BlendKernelsTest : public ::testing::TestWithParam<BlendKernels> {
protected:
  Blender blender{GetParam()};
};

std::string kernel_name(const ::testing::TestParamInfo<BlendKernels>& info) {
  return torv::blend_kernels_name(info.param);
}

TEST(AlphaByte, FromPercentTruncatesExactlyAndClamps) {
  struct Case {
    double percent;
    int byte;
  };
  const Case cases[] = {{100, 255}, {50, 127}, {1, 2}, {0, 0},      {99, 252},
                        {0.5, 1},   {0.3, 0},  {-5, 0}, {150, 255}, {std::nan(""), 0},
                        {std::numeric_limits<double>::infinity(), 255}};
  for (const Case& c : cases) EXPECT_EQ(torv::alpha_byte_from_percent(c.percent), c.byte) << c.percent;
}

TEST(BlendKernelChoice, ScalarAlwaysThereAndBestIsSupported) {
  EXPECT_TRUE(torv::blend_kernels_supported(BlendKernels::kScalar));
  EXPECT_TRUE(torv::blend_kernels_supported(torv::best_blend_kernels()));
  EXPECT_EQ(Blender(BlendKernels::kScalar).kernels(), BlendKernels::kScalar);
  // Asking for what the CPU lacks falls back to something it has.
  for (BlendKernels k : {BlendKernels::kSse2, BlendKernels::kAvx2})
    EXPECT_TRUE(torv::blend_kernels_supported(Blender(k).kernels()));
}

#ifdef TORV_TEST_WASM_SIMD
// A WebAssembly build for SIMD128 must carry the vector kernels, or the kernel
// tests above would quietly check the scalar ones alone.
TEST(BlendKernelChoice, WebAssemblySimdBuildHasTheSse2KernelsBuiltIn) {
  EXPECT_TRUE(torv::blend_kernels_supported(BlendKernels::kSse2));
  EXPECT_FALSE(torv::blend_kernels_supported(BlendKernels::kAvx2));
  EXPECT_EQ(torv::best_blend_kernels(), BlendKernels::kSse2);
  EXPECT_EQ(Blender().kernels(), BlendKernels::kSse2);
}
#endif

TEST(ClearTransparentPixels, BlackensOnlyAlphaZero) {
  torv::Image img;
  img.width = 3;
  img.height = 1;
  img.pixels = {10, 20, 30, 0, 10, 20, 30, 1, 10, 20, 30, 255};
  torv::clear_transparent_pixels(&img);
  EXPECT_EQ(img.pixels, (std::vector<uint8_t>{0, 0, 0, 0, 10, 20, 30, 1, 10, 20, 30, 255}));
}

TEST(ClearFrame, ZeroesPixelsAndLeavesRowPaddingAlone) {
  Surface f(5, 3, 8, 0, 0xCD);
  torv::clear_frame(f.frame());
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 5; ++x) EXPECT_EQ(f.pixel(x, y), 0u);
    EXPECT_EQ(f.at(0, y)[20], 0xCD);  // padding after the row
  }
}

// The rule's worked examples, exact bytes.
TEST_P(BlendKernelsTest, OpaqueImageAtFullAlphaIsAByteExactCopy) {
  std::mt19937 rng(1);
  Surface img(37, 5), f(64, 8, 0, 0, 0x33);
  drawtest::fill_random(img, rng, false);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 37; ++x) img.at(x, y)[3] = 255;
  blender.draw_image_scaled(f.frame(), img.view(), 3, 2, 37, 5, torv::alpha_byte_from_percent(100));
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 37; ++x) ASSERT_EQ(f.pixel(3 + x, 2 + y), img.pixel(x, y)) << x << "," << y;
}

TEST_P(BlendKernelsTest, HalfCoveredPixelOverBlackAtFullAndHalfAlpha) {
  struct Case {
    double percent;
    int weight;  // B
  };
  for (const Case c : {Case{100, 128}, Case{50, 63}}) {
    // Nine pixels so the vector paths see full steps and a tail.
    Surface img(9, 1), f(9, 1);
    for (int x = 0; x < 9; ++x) img.set(x, 0, bgra(200, 100, 255, 128));
    for (int x = 0; x < 9; ++x) f.set(x, 0, bgra(0, 0, 0, 0x5A));
    blender.draw_image_detail(f.frame(), img.view(), 0, 0, 0, 0, 9, 1,
                              torv::alpha_byte_from_percent(c.percent));
    const uint32_t want = bgra(200 * c.weight / 255, 100 * c.weight / 255, 255 * c.weight / 255, 0x5A);
    for (int x = 0; x < 9; ++x) EXPECT_EQ(f.pixel(x, 0), want) << c.percent << " at " << x;
  }
}

TEST_P(BlendKernelsTest, PartialWeightMixesBothSidesAndKeepsFrameAlpha) {
  Surface img(1, 1), f(1, 1);
  img.set(0, 0, bgra(200, 10, 0, 128));
  f.set(0, 0, bgra(100, 250, 255, 9));
  blender.draw_image_detail(f.frame(), img.view(), 0, 0, 0, 0, 1, 1, 127);  // B = 63
  EXPECT_EQ(f.pixel(0, 0), bgra(200 * 63 / 255 + 100 * 192 / 255, 10 * 63 / 255 + 250 * 192 / 255,
                                0 + 255 * 192 / 255, 9));
}

TEST_P(BlendKernelsTest, ZeroWeightLeavesFrameAndFullWeightCopiesAllFourBytes) {
  Surface img(2, 1), f(2, 1);
  img.set(0, 0, bgra(1, 2, 3, 0));
  img.set(1, 0, bgra(4, 5, 6, 255));
  f.set(0, 0, bgra(9, 9, 9, 9));
  f.set(1, 0, bgra(9, 9, 9, 9));
  blender.draw_image_detail(f.frame(), img.view(), 0, 0, 0, 0, 2, 1, 255);
  EXPECT_EQ(f.pixel(0, 0), bgra(9, 9, 9, 9));
  EXPECT_EQ(f.pixel(1, 0), bgra(4, 5, 6, 255));
  // Call alpha 0 draws nothing at all, even opaque pixels.
  Surface g(2, 1);
  blender.draw_image_scaled(g.frame(), img.view(), 0, 0, 2, 1, 0);
  EXPECT_EQ(g.pixel(1, 0), 0u);
}

// Where each frame column's pixel came from, for a 100 x 50 image drawn on a
// 640 x 480 frame: -1 = untouched.
struct ScaledCase {
  const char* what;
  int x, y, w, h;
  int frame_column;   // a frame column to look at
  int source_column;  // the image column expected there, -1 = untouched
};

TEST_P(BlendKernelsTest, ScaledDrawClipsAndStepsColumnsInEightPointEight) {
  const ScaledCase cases[] = {
      {"left edge shows columns 30..99", -30, 0, 100, 50, 0, 30},
      {"left edge, last visible", -30, 0, 100, 50, 69, 99},
      {"left edge, past the image", -30, 0, 100, 50, 70, -1},
      {"right edge shows columns 0..39 unsqueezed", 600, 0, 100, 50, 600, 0},
      {"right edge, last frame column", 600, 0, 100, 50, 639, 39},
      {"stretch 2x: (i * 128) >> 8", 0, 0, 200, 50, 199, 99},
      {"stretch 2x, odd column", 0, 0, 200, 50, 77, 38},
      {"stretch 2x from the left edge", -51, 0, 200, 50, 0, 25},
      {"shrink to 40: u = 640", 0, 0, 40, 50, 39, 97},
      {"shrink to 40, column 1", 0, 0, 40, 50, 1, 2},
      {"shrink to 3: u = 8533", 10, 0, 3, 50, 12, 66},
      {"wider than the frame from the left", -30, 0, 1000, 50, 639, 65},
  };
  const Surface img = coordinate_image(100, 50);
  for (const ScaledCase& c : cases) {
    Surface f(640, 480);
    blender.draw_image_scaled(f.frame(), img.view(), c.x, c.y, c.w, c.h, 255);
    const uint32_t got = f.pixel(c.frame_column, std::max(c.y, 0));
    const uint32_t want = c.source_column < 0 ? 0u : bgra(c.source_column, 0, 7, 255);
    EXPECT_EQ(got, want) << c.what;
  }
}

TEST_P(BlendKernelsTest, ScaledDrawStepsRowsInEightPointEight) {
  struct Case {
    int y, h, frame_row, source_row;
  };
  const Case cases[] = {
      {0, 100, 99, 49},   // stretch 2x: (j * 128) >> 8
      {0, 25, 24, 48},    // shrink 2x
      {-20, 50, 0, 20},   // top edge
      {460, 50, 479, 19}, // bottom edge: rows 0..19
      {0, 30, 29, 48},    // v = trunc(50 / 30 * 256) = 426: (29 * 426) >> 8
  };
  const Surface img = coordinate_image(100, 50);
  for (const Case& c : cases) {
    Surface f(640, 480);
    blender.draw_image_scaled(f.frame(), img.view(), 5, c.y, 100, c.h, 255);
    EXPECT_EQ(f.pixel(5, c.frame_row), bgra(0, c.source_row, 7, 255)) << c.y << " " << c.h;
    if (c.y + c.h < 480) {
      EXPECT_EQ(f.pixel(5, c.y + c.h), 0u) << "row below the rectangle";
    }
  }
}

TEST_P(BlendKernelsTest, DetailDrawClipsSourceAndDestinationTogether) {
  const Surface img = coordinate_image(100, 50);
  Surface f(640, 480);
  blender.draw_image_detail(f.frame(), img.view(), 10, 20, -5, 0, 30, 30, 255);
  for (int x = 0; x < 640; x += 1) {
    const uint32_t want = x <= 24 ? bgra(15 + x, 20, 7, 255) : 0u;
    ASSERT_EQ(f.pixel(x, 0), want) << x;
  }
  EXPECT_EQ(f.pixel(24, 29), bgra(39, 49, 7, 255));
  EXPECT_EQ(f.pixel(0, 30), 0u);
}

// Unscaled draws at every edge: the count of frame pixels touched and one pixel.
struct EdgeCase {
  const char* what;
  int src_x, src_y, x, y, w, h;
  int touched;
  int probe_x, probe_y;  // a frame pixel that must hold image pixel (probe_x - x + src_x, ...)
};

TEST_P(BlendKernelsTest, UnscaledDrawsClipAtEveryEdgeOfFrameAndImage) {
  const EdgeCase cases[] = {
      {"inside", 0, 0, 10, 10, 20, 10, 200, 29, 19},
      {"left", 0, 0, -15, 5, 20, 10, 50, 0, 5},
      {"top", 0, 0, 5, -8, 20, 10, 40, 5, 0},
      {"right", 0, 0, 60, 5, 20, 10, 40, 63, 14},
      {"bottom", 0, 0, 5, 28, 20, 10, 40, 24, 29},
      {"all four at once", 0, 0, -10, -10, 100, 100, 64 * 30, 63, 29},
      {"source left of the image", -5, 0, 10, 10, 20, 10, 150, 15, 10},
      {"source past the image's right", 90, 0, 0, 0, 20, 10, 100, 9, 0},
      {"source below the image", 0, 45, 0, 0, 20, 10, 100, 0, 4},
      {"fully outside left", 0, 0, -20, 0, 20, 10, 0, 0, 0},
      {"fully outside right", 0, 0, 64, 0, 20, 10, 0, 0, 0},
      {"fully outside above", 0, 0, 0, -10, 20, 10, 0, 0, 0},
      {"fully outside below", 0, 0, 0, 30, 20, 10, 0, 0, 0},
      {"source fully outside", 100, 0, 0, 0, 20, 10, 0, 0, 0},
      {"zero width", 0, 0, 0, 0, 0, 10, 0, 0, 0},
      {"negative height", 0, 0, 0, 0, 10, -3, 0, 0, 0},
      {"extreme coordinates", 0, 0, INT32_MIN, INT32_MAX, INT32_MAX, INT32_MAX, 0, 0, 0},
  };
  const Surface img = coordinate_image(100, 50);
  using Draw = void (*)(const Blender&, Surface&, const Surface&, const EdgeCase&);
  const Draw draws[] = {
      [](const Blender& b, Surface& f, const Surface& i, const EdgeCase& c) {
        b.draw_image_detail(f.frame(), i.view(), c.src_x, c.src_y, c.x, c.y, c.w, c.h, 255);
      },
      [](const Blender& b, Surface& f, const Surface& i, const EdgeCase& c) {
        b.copy_image_keyed(f.frame(), i.view(), c.x, c.y, c.src_x, c.src_y, c.w, c.h);
      },
      [](const Blender& b, Surface& f, const Surface& i, const EdgeCase& c) {
        b.copy_image_opaque(f.frame(), i.view(), c.x, c.y, c.src_x, c.src_y, c.w, c.h);
      },
  };
  for (const EdgeCase& c : cases)
    for (size_t d = 0; d < 3; ++d) {
      Surface f(64, 30, 12);  // padded rows: a write past a row's end would show
      draws[d](blender, f, img, c);
      int touched = 0;
      for (size_t k = 0; k < f.storage.size(); ++k)
        if (f.storage[k] != 0 && (k % size_t(f.pitch)) < size_t(64 * 4) && k % 4 == 3) ++touched;
      for (size_t k = 0; k < f.storage.size(); ++k) {
        if ((k % size_t(f.pitch)) >= size_t(64 * 4) || k >= size_t(f.pitch) * 30) {
          ASSERT_EQ(f.storage[k], 0) << c.what << ": guard byte " << k;
        }
      }
      EXPECT_EQ(touched, c.touched) << c.what << " draw " << d;
      if (c.touched > 0) {
        EXPECT_EQ(f.pixel(c.probe_x, c.probe_y),
                  bgra(c.probe_x - c.x + c.src_x, c.probe_y - c.y + c.src_y, 7, 255))
            << c.what << " draw " << d;
      }
    }
}

TEST_P(BlendKernelsTest, KeyedCopyLeavesOutAlphaZeroAndCopiesTheRestAsTheyAre) {
  // transparent = 1 keeps the frame under alpha 0; transparent = 0 writes the
  // stored pixel, which is black once transparent pixels were cleared.
  torv::Image img;
  img.width = 11;
  img.height = 1;
  for (int x = 0; x < 11; ++x) {
    const int a = x % 3 == 0 ? 0 : (x % 3 == 1 ? 1 : 200);
    const uint8_t px[4] = {uint8_t(10 + x), 20, 30, uint8_t(a)};
    img.pixels.insert(img.pixels.end(), px, px + 4);
  }
  torv::clear_transparent_pixels(&img);
  Surface keyed(11, 1), opaque(11, 1);
  for (int x = 0; x < 11; ++x) {
    keyed.set(x, 0, bgra(1, 2, 3, 4));
    opaque.set(x, 0, bgra(1, 2, 3, 4));
  }
  blender.copy_image_keyed(keyed.frame(), torv::view_of(img), 0, 0, 0, 0, 11, 1);
  blender.copy_image_opaque(opaque.frame(), torv::view_of(img), 0, 0, 0, 0, 11, 1);
  for (int x = 0; x < 11; ++x) {
    const int a = x % 3 == 0 ? 0 : (x % 3 == 1 ? 1 : 200);
    EXPECT_EQ(keyed.pixel(x, 0), a == 0 ? bgra(1, 2, 3, 4) : bgra(10 + x, 20, 30, a)) << x;
    EXPECT_EQ(opaque.pixel(x, 0), a == 0 ? 0u : bgra(10 + x, 20, 30, a)) << x;
  }
}

// Every (source alpha, call alpha) pair: 256 call alphas over a row of 256
// source alphas, with colours that vary too.
TEST_P(BlendKernelsTest, MatchesTheTableForEverySourceAndCallAlpha) {
  Surface img(256, 1);
  for (int a = 0; a < 256; ++a) img.set(a, 0, bgra(a, 255 - a, (a * 7) & 255, a));
  for (int alpha = 0; alpha < 256; ++alpha) {
    Surface got(256, 1), want(256, 1);
    for (int x = 0; x < 256; ++x) {
      got.set(x, 0, bgra(x ^ 0x5A, 255 - x, x, 77));
      want.set(x, 0, bgra(x ^ 0x5A, 255 - x, x, 77));
    }
    blender.draw_image_detail(got.frame(), img.view(), 0, 0, 0, 0, 256, 1, uint8_t(alpha));
    drawtest::reference_unscaled(want, img, 0, 0, 0, 0, 256, 1,
                                 [&](uint8_t* d, const uint8_t* s) { drawtest::reference_blend(d, s, alpha); });
    ASSERT_EQ(got.storage, want.storage) << "call alpha " << alpha;
  }
}

// Every (weight, source channel, destination channel): with call alpha 255 the
// weight is the source alpha, so rows of 65536 pixels cover all weights and
// source values for one destination value at a time.
TEST_P(BlendKernelsTest, MatchesTheTableForEveryWeightAndChannelPair) {
  Surface img(65536, 1);
  for (int k = 0; k < 65536; ++k) {
    const int a = k >> 8, s = k & 255;
    img.set(k, 0, bgra(s, 255 - s, s ^ 0xA5, a));
  }
  for (int dv = 0; dv < 256; ++dv) {
    Surface got(65536, 1);
    for (int k = 0; k < 65536; ++k) got.set(k, 0, bgra(dv, 255 - dv, dv ^ 0x3C, 0x11));
    Surface want = got;
    blender.draw_image_detail(got.frame(), img.view(), 0, 0, 0, 0, 65536, 1, 255);
    drawtest::reference_unscaled(want, img, 0, 0, 0, 0, 65536, 1,
                                 [](uint8_t* d, const uint8_t* s) { drawtest::reference_blend(d, s, 255); });
    ASSERT_EQ(got.storage, want.storage) << "destination value " << dv;
  }
}

// Random images and random draws (odd widths, row tails, padded and unaligned
// pitches, partly and wholly outside) against the reference of each draw.
TEST_P(BlendKernelsTest, RandomDrawsMatchTheReference) {
  std::mt19937 rng(20240601);
  std::uniform_int_distribution<int> size(1, 45), pos(-60, 80), pad(0, 5), off(0, 3);
  static const int alphas[] = {0, 1, 127, 128, 254, 255, 3, 200};
  for (int round = 0; round < 400; ++round) {
    Surface img(size(rng), size(rng), pad(rng) * 4, off(rng) * 4);
    drawtest::fill_random(img, rng, round % 2 == 0);
    Surface got(size(rng) + 20, size(rng) + 10, pad(rng) * 4, off(rng) * 4);
    drawtest::fill_random(got, rng, false);
    Surface want = got;
    const int kind = round % 4, alpha = alphas[round % 8];
    const int x = pos(rng), y = pos(rng), sx = pos(rng) / 4, sy = pos(rng) / 4;
    const int w = size(rng) + (round % 3 == 0 ? 40 : 0), h = size(rng);
    switch (kind) {
      case 0:
        blender.draw_image_scaled(got.frame(), img.view(), x, y, w, h, uint8_t(alpha));
        drawtest::reference_scaled(want, img, x, y, w, h, alpha);
        break;
      case 1:
        blender.draw_image_detail(got.frame(), img.view(), sx, sy, x, y, w, h, uint8_t(alpha));
        drawtest::reference_unscaled(want, img, sx, sy, x, y, w, h,
                                     [&](uint8_t* d, const uint8_t* s) { drawtest::reference_blend(d, s, alpha); });
        break;
      case 2:
        blender.copy_image_keyed(got.frame(), img.view(), x, y, sx, sy, w, h);
        drawtest::reference_unscaled(want, img, sx, sy, x, y, w, h, [](uint8_t* d, const uint8_t* s) {
          if (s[3] != 0)
            for (int c = 0; c < 4; ++c) d[c] = s[c];
        });
        break;
      default:
        blender.copy_image_opaque(got.frame(), img.view(), x, y, sx, sy, w, h);
        drawtest::reference_unscaled(want, img, sx, sy, x, y, w, h, [](uint8_t* d, const uint8_t* s) {
          for (int c = 0; c < 4; ++c) d[c] = s[c];
        });
        break;
    }
    ASSERT_EQ(got.storage, want.storage) << "round " << round << " kind " << kind;
  }
}

// Rows that start at each pixel of a 32-byte block and end before, at and after
// the vector steps, short ones and long ones (whose first step may be partial
// too, to bring the frame side to a block boundary).
TEST_P(BlendKernelsTest, EveryRowStartAndLengthAroundVectorStepsMatchesTheReference) {
  std::mt19937 rng(77);
  Surface img(96, 1);
  drawtest::fill_random(img, rng, false);
  Surface frame(104, 1);
  drawtest::fill_random(frame, rng, false);
  static const int widths[] = {1, 7, 8, 9, 15, 16, 17, 24, 31, 63, 64, 65, 71, 72, 73, 96};
  for (int x = 0; x < 8; ++x) {
    for (int w : widths) {
      for (int kind = 0; kind < 3; ++kind) {
        Surface got = frame, want = frame;
        const int alpha = kind == 0 ? 255 : 100;
        if (kind < 2) {
          blender.draw_image_detail(got.frame(), img.view(), 0, 0, x, 0, w, 1, uint8_t(alpha));
          drawtest::reference_unscaled(want, img, 0, 0, x, 0, w, 1,
                                       [&](uint8_t* d, const uint8_t* s) { drawtest::reference_blend(d, s, alpha); });
        } else {
          blender.copy_image_keyed(got.frame(), img.view(), x, 0, 0, 0, w, 1);
          drawtest::reference_unscaled(want, img, 0, 0, x, 0, w, 1, [](uint8_t* d, const uint8_t* s) {
            if (s[3] != 0)
              for (int c = 0; c < 4; ++c) d[c] = s[c];
          });
        }
        ASSERT_EQ(got.storage, want.storage) << "x " << x << " width " << w << " kind " << kind;
      }
    }
  }
}

TEST_P(BlendKernelsTest, EmptyFramesAndImagesDrawNothing) {
  Surface f(4, 4, 0, 0, 0x42);
  const Surface img = coordinate_image(4, 4);
  const std::vector<uint8_t> before = f.storage;
  torv::ImageView no_bits = img.view();
  no_bits.bits = nullptr;
  torv::ImageView zero_wide = img.view();
  zero_wide.width = 0;
  for (const torv::ImageView& v : {no_bits, zero_wide}) {
    blender.draw_image_scaled(f.frame(), v, 0, 0, 4, 4, 255);
    blender.draw_image_detail(f.frame(), v, 0, 0, 0, 0, 4, 4, 255);
    blender.copy_image_keyed(f.frame(), v, 0, 0, 0, 0, 4, 4);
    blender.copy_image_opaque(f.frame(), v, 0, 0, 0, 0, 4, 4);
  }
  torv::FrameView no_frame = f.frame();
  no_frame.bits = nullptr;
  blender.draw_image_scaled(no_frame, img.view(), 0, 0, 4, 4, 255);
  blender.copy_image_opaque(no_frame, img.view(), 0, 0, 0, 0, 4, 4);
  EXPECT_EQ(f.storage, before);
}

INSTANTIATE_TEST_SUITE_P(AllKernels, BlendKernelsTest, ::testing::ValuesIn(runnable_kernels()),
                         kernel_name);

}  // namespace
