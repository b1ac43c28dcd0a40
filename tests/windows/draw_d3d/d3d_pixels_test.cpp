// Quads on the device: which pixels an image covers, which texel lands where,
// the frame's origin, alpha, 16-bit textures and the frame bracket.
#include "tests/windows/draw_d3d/d3d_fixture.h"

namespace d3dtest {
namespace {

// The frame an opaque image drawn unscaled at (x, y) must give over black.
Frame Placed(const torv::CheckImage& image, int x, int y) {
  Frame f(static_cast<size_t>(kWidth) * kHeight, 0);
  for (int j = 0; j < image.height; ++j) {
    for (int i = 0; i < image.width; ++i) {
      if (x + i >= 0 && x + i < kWidth && y + j >= 0 && y + j < kHeight) {
        f[static_cast<size_t>(y + j) * kWidth + x + i] = RgbOf(image.at(i, j));
      }
    }
  }
  return f;
}

// Nearest texel: pixel i of a w-wide draw of a W-wide image shows texel i * W / w.
Frame Scaled(const torv::CheckImage& image, int x, int y, int w, int h) {
  Frame f(static_cast<size_t>(kWidth) * kHeight, 0);
  for (int j = 0; j < h; ++j) {
    for (int i = 0; i < w; ++i) {
      f[static_cast<size_t>(y + j) * kWidth + x + i] = RgbOf(image.at(i * image.width / w, j * image.height / h));
    }
  }
  return f;
}

using D3dPixels = D3dTest;

TEST_F(D3dPixels, UnscaledImageCoversExactlyItsPixels) {
  // 32 x 32 at (10, 20): pixels 10-41 x 20-51, texel k on pixel k.
  const torv::CheckImage image = Distinct(32, 32);
  const int slot = Load(image);
  ASSERT_EQ(slot, 0);
  const Frame shown = Show([&] { EXPECT_EQ(d.DrawImage(slot, 10, 20, 32, 32, 100), 0); });
  EXPECT_TRUE(SameFrame(shown, Placed(image, 10, 20)));
}

TEST_F(D3dPixels, ScaledImageShowsTheNearestTexel) {
  const torv::CheckImage image = Distinct(32, 32);
  const int slot = Load(image);
  const struct {
    int w, h;
  } sizes[] = {{64, 16}, {96, 32}, {16, 64}};
  for (const auto& s : sizes) {
    const Frame shown = Show([&] { d.DrawImage(slot, 10, 20, s.w, s.h, 100); });
    EXPECT_TRUE(SameFrame(shown, Scaled(image, 10, 20, s.w, s.h))) << s.w << "x" << s.h;
  }
}

TEST_F(D3dPixels, FastDrawOfASheetFrameAndOfTheWholeSheet) {
  const torv::CheckImage sheet = Distinct(64, 16);
  const int slot = Load(sheet);
  torv::CheckImage frame1 = Solid(16, 16, 0, 0, 0, 255);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) std::copy(sheet.at(16 + x, y), sheet.at(16 + x, y) + 4, frame1.at(x, y));
  EXPECT_TRUE(SameFrame(Show([&] { EXPECT_EQ(d.DrawImageFast(slot, 100, 50, 16, 0, 16, 16, 1), 0); }),
                        Placed(frame1, 100, 50)));
  // The full size draws the whole sheet whatever the source position and flag.
  EXPECT_TRUE(SameFrame(Show([&] { EXPECT_EQ(d.DrawImageFast(slot, 100, 50, 7, 3, 64, 16, 0), 0); }),
                        Placed(sheet, 100, 50)));
}

TEST_F(D3dPixels, DetailDrawIsCutToTheImage) {
  const torv::CheckImage image = Distinct(40, 30);
  const int slot = Load(image);
  // Source (-5, 20) 20 x 20: only columns 0-14, rows 20-29 exist; they land at (105, 60).
  torv::CheckImage part = Solid(15, 10, 0, 0, 0, 255);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 15; ++x) std::copy(image.at(x, 20 + y), image.at(x, 20 + y) + 4, part.at(x, y));
  EXPECT_TRUE(SameFrame(Show([&] { EXPECT_EQ(d.DrawImageDetail(slot, -5, 20, 100, 60, 20, 20, 100), 0); }),
                        Placed(part, 105, 60)));
}

TEST_F(D3dPixels, OriginMovesTheWholePictureAndLeavesTheStripBlack) {
  const int slot = Load(torv::make_backdrop());
  auto scene = [&] { d.DrawImage(slot, 0, 0, kWidth, kHeight, 100); };
  const Frame still = Show(scene);
  const Frame moved = Show(scene, 3, -2);
  Frame expected(still.size(), 0);
  for (int y = 0; y < kHeight - 2; ++y)
    for (int x = 3; x < kWidth; ++x) expected[static_cast<size_t>(y) * kWidth + x] = still[(y + 2) * kWidth + x - 3];
  EXPECT_TRUE(SameFrame(moved, expected));
}

TEST_F(D3dPixels, AlphaPercentScalesTexelAlpha) {
  const struct {
    int texel_alpha;
    double percent;
    int value;  // white over black
  } cases[] = {{255, 100, 255}, {255, 50, 127}, {255, 1, 2}, {255, 0, 0}, {128, 100, 128}, {0, 100, 0}};
  for (const auto& c : cases) {
    const int slot = Load(Solid(8, 8, 255, 255, 255, c.texel_alpha));
    const Frame shown = Show([&] { d.DrawImage(slot, 4, 4, 8, 8, c.percent); });
    EXPECT_EQ(shown[5 * kWidth + 5], Rgb(c.value, c.value, c.value)) << c.texel_alpha << " at " << c.percent << "%";
    EXPECT_EQ(shown[3 * kWidth + 3], 0u);
  }
}

TEST_F(D3dPixels, DrawsOutsideTheFrameBracketOrWithABadSlotAnswerMinusOne) {
  const int slot = Load(Distinct(8, 8));
  auto draws = [&](int s) {
    return std::vector<int>{d.DrawImage(s, 0, 0, 8, 8, 100), d.DrawImageDetail(s, 0, 0, 0, 0, 4, 4, 100),
                            d.DrawImageFast(s, 0, 0, 0, 0, 8, 8, 0), d.DrawImageFast(s, 0, 0, 2, 2, 4, 4, 0)};
  };
  const std::vector<int> refused(4, -1), drawn(4, 0);
  EXPECT_EQ(draws(slot), refused);  // before the first frame
  ASSERT_EQ(d.BeginDraw(0, 0), 0);
  EXPECT_EQ(draws(slot), drawn);
  EXPECT_EQ(draws(-1), refused);
  EXPECT_EQ(draws(d.ImageCount()), refused);
  ASSERT_EQ(d.EndDraw(), 0);
  EXPECT_EQ(draws(slot), refused);  // between frames
}

class D3dPixels16 : public D3dTest {
protected:
  bool Force16() const override { return true; }
};

TEST_F(D3dPixels16, SixteenBitTexturesKeepFourBitsAChannel) {
  EXPECT_EQ(d.TextureFormat(), torv::TextureFormat::kA4R4G4B4);
  const torv::CheckImage image = Distinct(32, 32);
  const int slot = Load(image);
  torv::CheckImage reduced = image;
  for (size_t i = 0; i < reduced.bgra.size(); ++i) reduced.bgra[i] = static_cast<uint8_t>((reduced.bgra[i] >> 4) * 17);
  EXPECT_TRUE(SameFrame(Show([&] { d.DrawImage(slot, 10, 20, 32, 32, 100); }), Placed(reduced, 10, 20)));
  // Texel alpha 0x80 keeps 8 of 15: white over black shows 8 * 17.
  const int glass = Load(Solid(8, 8, 255, 255, 255, 0x80));
  const Frame shown = Show([&] { d.DrawImage(glass, 0, 0, 8, 8, 100); });
  EXPECT_EQ(shown[kWidth + 1], Rgb(136, 136, 136));
}

}  // namespace
}  // namespace d3dtest
