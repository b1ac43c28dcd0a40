// Text on the device: cached strings in glyph grids (both texture formats) and
// the plain GDI path, with the frame's origin and the colour's alpha.
#include "tests/windows/draw_d3d/d3d_fixture.h"

namespace d3dtest {
namespace {

constexpr DWORD kWhite = 0xFFFFFFFF;
constexpr DWORD kRed = 0xFFFF0000;

class D3dText : public D3dTest {
protected:
  int Text(RECT rect, int count, DWORD colour, int noClip, int centre, int cached, const char* format, ...) {
    va_list args;
    va_start(args, format);
    const int result = d.DrawTextV(rect, count, colour, noClip, centre, cached, format, args);
    va_end(args);
    return result;
  }
  int EntriesInUse() const {
    int used = 0;
    for (int i = 0; i < CDx3DDraw::kStringCacheEntries; ++i) used += d.StringCacheInfo(i).NoUse() == 0;
    return used;
  }
  // Pixels of exactly this colour, and lit pixels outside the rectangle.
  static int Count(const Frame& f, uint32_t rgb) {
    int n = 0;
    for (uint32_t p : f) n += p == rgb;
    return n;
  }
  static int LitOutside(const Frame& f, RECT r) {
    int n = 0;
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x)
        if (f[static_cast<size_t>(y) * kWidth + x] != 0 && (x < r.left || x >= r.right || y < r.top || y >= r.bottom)) ++n;
    return n;
  }
};

TEST_F(D3dText, BothPathsDrawInTheColourInsideTheirBox) {
  const RECT rect = {40, 60, 300, 100};
  for (int cached = 0; cached <= 1; ++cached) {
    const Frame shown = Show([&] { EXPECT_EQ(Text(rect, -1, kRed, 0, 0, cached, "Text %d \x95\x5C", 42), 0); });
    EXPECT_GT(Count(shown, Rgb(255, 0, 0)), 30) << "cached " << cached;
    EXPECT_EQ(LitOutside(shown, rect), 0) << "cached " << cached;
  }
}

TEST_F(D3dText, SameStringRendersOnceAnotherColourTakesAnotherEntry) {
  const RECT rect = {0, 0, 640, 480};
  const Frame first = Show([&] { Text(rect, -1, kWhite, 1, 0, 1, "cached"); });
  EXPECT_EQ(EntriesInUse(), 1);
  const Frame again = Show([&] { Text(rect, -1, kWhite, 1, 0, 1, "cached"); });
  EXPECT_EQ(EntriesInUse(), 1);
  EXPECT_TRUE(SameFrame(again, first));
  Show([&] { Text(rect, -1, kRed, 1, 0, 1, "cached"); });
  EXPECT_EQ(EntriesInUse(), 2);
  d.ClearStringCache();
  EXPECT_EQ(EntriesInUse(), 0);
}

TEST_F(D3dText, OriginMovesTextLikeImages) {
  const RECT rect = {100, 100, 400, 200};
  for (int cached = 0; cached <= 1; ++cached) {
    auto scene = [&] { Text(rect, -1, kWhite, 0, 1, cached, "centred %s", "text"); };
    const Frame still = Show(scene);
    const Frame moved = Show(scene, 5, 0);
    ASSERT_GT(LitPixels(still), 50);
    Frame expected(still.size(), 0);
    for (int y = 0; y < kHeight; ++y)
      for (int x = 5; x < kWidth; ++x) expected[static_cast<size_t>(y) * kWidth + x] = still[y * kWidth + x - 5];
    EXPECT_TRUE(SameFrame(moved, expected)) << "cached " << cached;
  }
}

TEST_F(D3dText, CountLimitsTheBytesDrawn) {
  const RECT rect = {10, 10, 640, 480};
  for (int cached = 0; cached <= 1; ++cached) {
    const Frame three = Show([&] { Text(rect, 3, kWhite, 0, 0, cached, "ABCDEF"); });
    const Frame abc = Show([&] { Text(rect, -1, kWhite, 0, 0, cached, "ABC"); });
    EXPECT_TRUE(SameFrame(three, abc)) << "cached " << cached;
  }
}

TEST_F(D3dText, PlainTextWithAlphaZeroDrawsNothingAndHalfAlphaBlends) {
  const RECT rect = {10, 10, 300, 60};
  EXPECT_EQ(LitPixels(Show([&] { EXPECT_EQ(Text(rect, -1, 0x00FFFFFF, 0, 0, 0, "invisible"), 0); })), 0);
  const Frame half = Show([&] { Text(rect, -1, 0x80FFFFFF, 0, 0, 0, "half"); });
  uint32_t brightest = 0;
  for (uint32_t p : half) brightest = std::max(brightest, p & 0xFF);
  EXPECT_GE(brightest, 126u);
  EXPECT_LE(brightest, 129u);
}

TEST_F(D3dText, TextOutOfTheFrameBracketAnswersMinusOne) {
  const RECT rect = {0, 0, 100, 100};
  EXPECT_EQ(Text(rect, -1, kWhite, 0, 0, 1, "x"), -1);
  EXPECT_EQ(Text(rect, -1, kWhite, 0, 0, 0, "x"), -1);
  EXPECT_EQ(EntriesInUse(), 0);
}

class D3dText16 : public D3dText {
protected:
  bool Force16() const override { return true; }
};

TEST_F(D3dText16, CachedTextInSixteenBitTextures) {
  const RECT rect = {40, 60, 300, 100};
  const Frame shown = Show([&] { EXPECT_EQ(Text(rect, -1, kWhite, 0, 0, 1, "Sixteen \x8C\x8E"), 0); });
  EXPECT_GT(Count(shown, Rgb(255, 255, 255)), 20);
  EXPECT_EQ(LitOutside(shown, rect), 0);
  // 4 bits of alpha over black: every channel a multiple of 17.
  for (uint32_t p : shown)
    for (int shift : {0, 8, 16}) ASSERT_EQ((p >> shift & 0xFF) % 17, 0u) << std::hex << p;
}

}  // namespace
}  // namespace d3dtest
