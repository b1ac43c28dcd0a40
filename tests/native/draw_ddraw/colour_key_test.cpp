// The DirectDraw renderer's colour key: the smallest colour no visible pixel uses,
// checked against the search it stands for (restart from the first pixel after
// every raise), and the transparent pixels set to it.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "draw_ddraw/colour_key.h"

namespace {

// A pixel as written in the cases: colour 0x00RRGGBB and alpha.
struct Px {
  uint32_t rgb;
  uint8_t alpha;
};

// width x height pixels, rows pitch bytes apart; the padding bytes hold an opaque
// black "pixel" that no rule may look at.
struct Pixels {
  Pixels(int w, int h, int pitch) : width(w), height(h), pitch(pitch), bytes(size_t(pitch) * h, 0) {
    for (int y = 0; y < h; ++y) {
      for (int off = w * 4; off + 4 <= pitch; off += 4) bytes[size_t(y) * pitch + off + 3] = 255;
    }
  }
  uint8_t* at(int x, int y) { return &bytes[size_t(y) * pitch + size_t(x) * 4]; }
  void set(int x, int y, Px p) {
    uint8_t* q = at(x, y);
    q[0] = uint8_t(p.rgb);
    q[1] = uint8_t(p.rgb >> 8);
    q[2] = uint8_t(p.rgb >> 16);
    q[3] = p.alpha;
  }
  torv::ImageView image() const { return {bytes.data(), width, height, pitch}; }
  torv::FrameView frame() { return {bytes.data(), width, height, pitch}; }

  int width, height, pitch;
  std::vector<uint8_t> bytes;
};

// The search as stated: key 0; visit column by column; a visible pixel equal to the
// key raises it and starts the visit again at the first pixel.
uint32_t RestartSearch(Pixels& p) {
  uint32_t key = 0;
restart:
  for (int x = 0; x < p.width; ++x) {
    for (int y = 0; y < p.height; ++y) {
      const uint8_t* q = p.at(x, y);
      const uint32_t rgb = uint32_t(q[2]) << 16 | uint32_t(q[1]) << 8 | q[0];
      if (q[3] != 0 && rgb == key) {
        ++key;
        goto restart;
      }
    }
  }
  return key & 0xFFFFFF;
}

constexpr uint8_t kOpaque = 255;

TEST(ColourKey, SmallestColourNoVisiblePixelUses) {
  struct Case {
    const char* what;
    int width, height;
    std::vector<Px> pixels;  // row by row
    uint32_t key;
  };
  const Case cases[] = {
      {"no visible pixel", 2, 1, {{0, 0}, {0, 0}}, 0},
      {"no black", 2, 1, {{0x123456, kOpaque}, {0xFFFFFF, kOpaque}}, 0},
      {"black but not 0x000001", 2, 1, {{0x000000, kOpaque}, {0x000002, kOpaque}}, 1},
      {"black last, 0x000001 first: the search restarts", 3, 1,
       {{0x000001, kOpaque}, {0x808080, kOpaque}, {0x000000, kOpaque}}, 2},
      {"restart over several rows", 2, 3,
       {{0x000003, kOpaque}, {0x000002, kOpaque}, {0x000001, 1}, {0x000005, kOpaque}, {0x000004, 7},
        {0x000000, kOpaque}},
       6},
      {"transparent pixels do not count, whatever their colour", 2, 2,
       {{0x000000, kOpaque}, {0x000001, 0}, {0x000002, kOpaque}, {0x000000, 0}}, 1},
      {"alpha 1 counts as visible", 1, 1, {{0x000000, 1}}, 1},
      {"red 1 is 0x010000, not 0x000001", 2, 1, {{0x000000, kOpaque}, {0x010000, kOpaque}}, 1},
      {"blue 1 is 0x000001", 2, 1, {{0x000000, kOpaque}, {0x000001, kOpaque}}, 2},
      {"green 1 is 0x000100", 3, 1, {{0x000000, kOpaque}, {0x000001, kOpaque}, {0x000100, kOpaque}}, 2},
  };
  for (const Case& c : cases) {
    for (int pad : {0, 12}) {  // rows exactly width * 4 bytes, and padded rows
      Pixels p(c.width, c.height, c.width * 4 + pad);
      for (int i = 0; i < c.width * c.height; ++i) p.set(i % c.width, i / c.width, c.pixels[size_t(i)]);
      EXPECT_EQ(torv::find_colour_key(p.image()), c.key) << c.what << ", padding " << pad;
      EXPECT_EQ(RestartSearch(p), c.key) << c.what << " (the stated search)";
    }
  }
}

// Dark images where many low colours are taken in random places: the restart
// search and the single pass must agree.
TEST(ColourKey, AgreesWithTheRestartingSearchOnDarkImages) {
  std::mt19937 random(20261210);
  for (int round = 0; round < 300; ++round) {
    const int w = 1 + int(random() % 12), h = 1 + int(random() % 12);
    Pixels p(w, h, w * 4 + 4 * int(random() % 3));
    const uint32_t spread = 1 + random() % 40;
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        const uint8_t alpha = random() % 4 == 0 ? 0 : uint8_t(1 + random() % 255);
        p.set(x, y, {uint32_t(random() % spread), alpha});
      }
    }
    ASSERT_EQ(torv::find_colour_key(p.image()), RestartSearch(p)) << "round " << round << ", " << w << "x" << h;
  }
}

TEST(ColourKey, AnImageUsingEveryColourWrapsToZero) {
  const int side = 4096;  // 4096 * 4096 = 2^24 pixels, one of each colour
  Pixels p(side, side, side * 4);
  for (uint32_t i = 0; i < (1u << 24); ++i) {
    uint8_t* q = &p.bytes[size_t(i) * 4];
    q[0] = uint8_t(i);
    q[1] = uint8_t(i >> 8);
    q[2] = uint8_t(i >> 16);
    q[3] = kOpaque;
  }
  EXPECT_EQ(torv::find_colour_key(p.image()), 0u);
  p.set(side - 1, side - 1, {0xFFFFFF, 0});  // the last colour no longer visible
  EXPECT_EQ(torv::find_colour_key(p.image()), 0xFFFFFFu);
}

TEST(ColourKey, TransparentPixelsTakeTheKeyAndVisibleOnesStay) {
  Pixels p(3, 2, 3 * 4 + 8);
  const std::vector<Px> pixels = {{0x000000, kOpaque}, {0xABCDEF, 0}, {0x102030, 128},
                                  {0x000001, 0},       {0x000000, 1}, {0xFFFFFF, 0}};
  for (int i = 0; i < 6; ++i) p.set(i % 3, i / 3, pixels[size_t(i)]);
  const std::vector<uint8_t> before = p.bytes;
  torv::fill_transparent_with_key(p.frame(), 0x0A0B0C);
  for (int i = 0; i < 6; ++i) {
    const int x = i % 3, y = i / 3;
    const uint8_t* q = p.at(x, y);
    const uint8_t* old = &before[size_t(y) * p.pitch + size_t(x) * 4];
    if (pixels[size_t(i)].alpha == 0) {
      EXPECT_EQ(q[0], 0x0C) << i;  // blue
      EXPECT_EQ(q[1], 0x0B) << i;  // green
      EXPECT_EQ(q[2], 0x0A) << i;  // red
      EXPECT_EQ(q[3], 0) << i;
    } else {
      EXPECT_EQ(std::vector<uint8_t>(q, q + 4), std::vector<uint8_t>(old, old + 4)) << i;
    }
  }
  for (int y = 0; y < 2; ++y) {  // the padding is not the image's
    for (int off = 12; off < p.pitch; ++off) {
      EXPECT_EQ(p.bytes[size_t(y) * p.pitch + off], before[size_t(y) * p.pitch + off]) << y << "," << off;
    }
  }
}

}  // namespace
