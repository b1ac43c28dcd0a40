#include "draw_d3d/d3d_texture_limits.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using torv::TextureLimits;

// The limits in one line, so that two compare in one check that names them all.
std::string Describe(const TextureLimits& l) {
  return std::to_string(l.max_width) + "x" + std::to_string(l.max_height) + (l.square_only ? " square" : "") +
         " aspect " + std::to_string(l.max_aspect) + (l.pow2 ? " pow2" : "");
}

TEST(TextureLimits, WhichSizesADeviceTakes) {
  const TextureLimits any = TextureLimits(2048, 1024, false, 0, false);
  const TextureLimits square = TextureLimits(256, 256, true, 0, false);
  const TextureLimits aspect4 = TextureLimits(2048, 2048, false, 4, false);
  const TextureLimits pow2 = TextureLimits(2048, 2048, false, 0, true);
  const struct {
    int w, h;
    const TextureLimits& limits;
    bool allowed;
  } cases[] = {
      {2048, 1024, any, true},    {2049, 16, any, false},    {16, 1025, any, false},   {0, 16, any, false},
      {300, 7, any, true},        {256, 256, square, true},  {128, 256, square, false}, {512, 512, square, false},
      {1024, 256, aspect4, true}, {256, 1024, aspect4, true}, {2048, 256, aspect4, false}, {2, 16, aspect4, false},
      {256, 64, pow2, true},      {300, 64, pow2, false},    {64, 48, pow2, false},    {1, 1, pow2, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(torv::texture_size_allowed(c.w, c.h, c.limits), c.allowed) << c.w << "x" << c.h;
  }
}

TEST(TextureLimits, LargestTextureKeepsEveryRule) {
  const struct {
    TextureLimits limits;
    bool any;
    int w, h;
  } cases[] = {
      {TextureLimits(16384, 16384, false, 0, false), true, 16384, 16384},
      {TextureLimits(2000, 1000, false, 0, true), true, 1024, 512},     // powers of two below the limits
      {TextureLimits(2048, 512, true, 0, false), true, 512, 512},       // square: the smaller side
      {TextureLimits(4096, 256, false, 1, false), true, 256, 256},      // aspect 1 is square too
      {TextureLimits(4096, 256, false, 4, false), true, 1024, 256},     // the longer side shortened to the ratio
      {TextureLimits(128, 8192, false, 8, false), true, 128, 1024},
      {TextureLimits(4096, 256, false, 3, false), true, 512, 256},      // a ratio that is no power of two
      {TextureLimits(256, 256, true, 1, true), true, 256, 256},
      {TextureLimits(1, 256, false, 0, false), false, 0, 0},            // not even 2 texels wide
      {TextureLimits(0, 0, false, 0, false), false, 0, 0},
  };
  for (const auto& c : cases) {
    int w = 0, h = 0;
    ASSERT_EQ(torv::largest_texture(c.limits, &w, &h), c.any) << c.limits.max_width << "x" << c.limits.max_height;
    if (!c.any) continue;
    EXPECT_EQ(w, c.w) << c.limits.max_width << "x" << c.limits.max_height;
    EXPECT_EQ(h, c.h) << c.limits.max_width << "x" << c.limits.max_height;
    EXPECT_TRUE(torv::texture_size_allowed(w, h, c.limits));
  }
}

TEST(TextureLimits, FitGrowsToTheSmallestTextureTheDeviceTakes) {
  const struct {
    int w, h;
    TextureLimits limits;
    bool fits;
    int fw, fh;
  } cases[] = {
      {1, 1, TextureLimits(2048, 2048, false, 0, false), true, 2, 2},
      {100, 37, TextureLimits(2048, 2048, false, 0, false), true, 128, 64},
      {100, 37, TextureLimits(256, 256, true, 0, false), true, 128, 128},   // square: the longer side's
      {3, 200, TextureLimits(256, 256, false, 1, false), true, 256, 256},
      {3, 200, TextureLimits(256, 256, false, 8, false), true, 32, 256},    // the narrow side grown to 1 : 8
      {640, 20, TextureLimits(1024, 1024, false, 16, false), true, 1024, 64},
      {300, 20, TextureLimits(256, 256, false, 0, false), false, 0, 0},     // wider than the largest texture
      {200, 100, TextureLimits(256, 64, false, 0, false), false, 0, 0},
      {200, 10, TextureLimits(256, 256, false, 2, false), true, 256, 128},
      {0, 10, TextureLimits(256, 256, false, 0, false), false, 0, 0},
  };
  for (const auto& c : cases) {
    int w = 0, h = 0;
    ASSERT_EQ(torv::fit_texture(c.w, c.h, c.limits, &w, &h), c.fits) << c.w << "x" << c.h;
    if (!c.fits) continue;
    EXPECT_EQ(w, c.fw) << c.w << "x" << c.h;
    EXPECT_EQ(h, c.fh) << c.w << "x" << c.h;
    EXPECT_TRUE(torv::texture_size_allowed(w, h, c.limits)) << c.w << "x" << c.h;
  }
}

TEST(TextureLimits, CapLowersWhatItNamesAndKeepsTheRest) {
  const TextureLimits device = TextureLimits(16384, 8192, false, 8192, false);
  const struct {
    TextureLimits device, cap, capped;
  } cases[] = {
      {device, TextureLimits(), device},  // an empty cap changes nothing
      {device, TextureLimits(256, 256, true, 1, true), TextureLimits(256, 256, true, 1, true)},
      {device, TextureLimits(0, 512, false, 0, false), TextureLimits(16384, 512, false, 8192, false)},
      // A cap never raises: the device's smaller limits and its rules stay.
      {TextureLimits(128, 64, true, 2, true), TextureLimits(4096, 4096, false, 16, false), TextureLimits(128, 64, true, 2, true)},
      // A device with no ratio takes the cap's.
      {TextureLimits(256, 256, false, 0, false), TextureLimits(0, 0, false, 4, false), TextureLimits(256, 256, false, 4, false)},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Describe(torv::cap_texture_limits(c.device, c.cap)), Describe(c.capped))
        << Describe(c.device) << " capped to " << Describe(c.cap);
  }
}

TEST(TextureLimits, CapIsReadFromItsWrittenForm) {
  const struct {
    const char* text;
    bool valid;
    int w, h, aspect;
    bool square, pow2;
  } cases[] = {
      {"256,square,aspect=1", true, 256, 256, 1, true, false},
      {"512x128", true, 512, 128, 0, false, false},
      {"pow2", true, 0, 0, 0, false, true},
      {"aspect=8,1024,pow2", true, 1024, 1024, 8, false, true},
      {"", false, 0, 0, 0, false, false},
      {"256,", false, 0, 0, 0, false, false},
      {"0", false, 0, 0, 0, false, false},
      {"-256", false, 0, 0, 0, false, false},
      {"256x", false, 0, 0, 0, false, false},
      {"aspect=", false, 0, 0, 0, false, false},
      {"aspect=0", false, 0, 0, 0, false, false},
      {"squares", false, 0, 0, 0, false, false},
      {"99999999999", false, 0, 0, 0, false, false},
      {"256 ", false, 0, 0, 0, false, false},
  };
  for (const auto& c : cases) {
    const TextureLimits before = TextureLimits(7, 7, false, 7, false);
    TextureLimits cap = before;
    ASSERT_EQ(torv::parse_texture_limits(c.text, &cap), c.valid) << '"' << c.text << '"';
    const TextureLimits expected = c.valid ? TextureLimits(c.w, c.h, c.square, c.aspect, c.pow2) : before;
    EXPECT_EQ(Describe(cap), Describe(expected)) << '"' << c.text << '"';
  }
}

}  // namespace
