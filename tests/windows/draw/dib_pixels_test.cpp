// The DIB renderer's image draws read back from the window, pixel for pixel: the
// blend rule, the alpha byte, scaling, clipping at every edge and the fast copies.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "tests/windows/draw/draw_fixture.h"

namespace drawtest {
namespace {

class DibPixels : public DibTest {
protected:
  void SetUp() override {
    DibTest::SetUp();
    backdrop = Load(Png(torv::make_backdrop(), false));
    plate = Load(Png(torv::make_plate(), false));
    sprite = Load(Png(torv::make_sprite(), true));
    glass = Load(Png(torv::make_glass(), true));
    ASSERT_EQ(glass, 3);
  }
  int backdrop = -1, plate = -1, sprite = -1, glass = -1;
  const torv::CheckImage backdrop_image = torv::make_backdrop();
  const torv::CheckImage plate_image = torv::make_plate();
  const torv::CheckImage sprite_image = torv::make_sprite();
  const torv::CheckImage glass_image = torv::make_glass();
};

TEST_F(DibPixels, BeginDrawClearsTheFrameToBlack) {
  Show([&] { fe.DrawImage(backdrop, 0, 0, 640, 480, 100); });
  EXPECT_TRUE(SameFrame(Show([] {}), Model().frame));
}

TEST_F(DibPixels, DrawsMatchTheModelAtEveryEdge) {
  struct Case {
    const char* what;
    std::function<void()> draw;
    std::function<void(Model&)> model;
  };
  const torv::CheckImage& P = plate_image;
  const torv::CheckImage& S = sprite_image;
  const torv::CheckImage& G = glass_image;
  const Case cases[] = {
      {"opaque at 100 % is a copy", [&] { fe.DrawImage(plate, 13, 17, 100, 50, 100); },
       [&](Model& m) { m.DrawScaled(P, 13, 17, 100, 50, 100); }},
      {"cut by the left edge", [&] { fe.DrawImage(plate, -30, 0, 100, 50, 100); },
       [&](Model& m) { m.DrawScaled(P, -30, 0, 100, 50, 100); }},
      {"cut by the right edge", [&] { fe.DrawImage(plate, 600, 10, 100, 50, 100); },
       [&](Model& m) { m.DrawScaled(P, 600, 10, 100, 50, 100); }},
      {"cut by the top edge", [&] { fe.DrawImage(plate, 50, -20, 100, 50, 100); },
       [&](Model& m) { m.DrawScaled(P, 50, -20, 100, 50, 100); }},
      {"cut by the bottom edge", [&] { fe.DrawImage(plate, 50, 460, 100, 50, 100); },
       [&](Model& m) { m.DrawScaled(P, 50, 460, 100, 50, 100); }},
      {"cut at two corners", [&] { fe.DrawImage(plate, -40, -30, 100, 50, 100); fe.DrawImage(plate, 590, 450, 100, 50, 100); },
       [&](Model& m) { m.DrawScaled(P, -40, -30, 100, 50, 100); m.DrawScaled(P, 590, 450, 100, 50, 100); }},
      {"wider than the frame on both sides", [&] { fe.DrawImage(plate, -30, 100, 700, 50, 100); },
       [&](Model& m) { m.DrawScaled(P, -30, 100, 700, 50, 100); }},
      {"wholly outside", [&] { fe.DrawImage(plate, 640, 0, 100, 50, 100); fe.DrawImage(plate, -100, 0, 100, 50, 100); fe.DrawImage(plate, 0, 480, 100, 50, 100); },
       [&](Model&) {}},
      {"stretched twice as wide", [&] { fe.DrawImage(plate, 0, 0, 200, 50, 100); },
       [&](Model& m) { m.DrawScaled(P, 0, 0, 200, 50, 100); }},
      {"shrunk and stretched, cut on the left", [&] { fe.DrawImage(plate, -7, 30, 50, 150, 100); },
       [&](Model& m) { m.DrawScaled(P, -7, 30, 50, 150, 100); }},
      {"uneven factor", [&] { fe.DrawImage(sprite, 100, 100, 45, 19, 100); },
       [&](Model& m) { m.DrawScaled(S, 100, 100, 45, 19, 100); }},
      {"zero size draws nothing", [&] { fe.DrawImage(plate, 10, 10, 0, 50, 100); fe.DrawImage(plate, 10, 10, 100, -5, 100); },
       [&](Model&) {}},
      {"alpha ramp at 100 % over the backdrop", [&] { fe.DrawImage(backdrop, 0, 0, 640, 480, 100); fe.DrawImage(glass, 20, 20, 64, 64, 100); },
       [&](Model& m) { m.DrawScaled(backdrop_image, 0, 0, 640, 480, 100); m.DrawScaled(G, 20, 20, 64, 64, 100); }},
      {"alpha ramp at 50 %, 1 % and 0 %", [&] { fe.DrawImage(backdrop, 0, 0, 640, 480, 100); fe.DrawImage(glass, 20, 20, 64, 64, 50); fe.DrawImage(glass, 100, 20, 64, 64, 1); fe.DrawImage(glass, 180, 20, 64, 64, 0); },
       [&](Model& m) { m.DrawScaled(backdrop_image, 0, 0, 640, 480, 100); m.DrawScaled(G, 20, 20, 64, 64, 50); m.DrawScaled(G, 100, 20, 64, 64, 1); }},
      {"detail cut by the left edge", [&] { fe.DrawImageDetail(plate, 10, 20, -5, 0, 30, 30, 100); },
       [&](Model& m) { m.DrawDetail(P, 10, 20, -5, 0, 30, 30, 100); }},
      {"detail cut by the right and bottom edges", [&] { fe.DrawImageDetail(plate, 0, 0, 620, 460, 60, 40, 100); },
       [&](Model& m) { m.DrawDetail(P, 0, 0, 620, 460, 60, 40, 100); }},
      {"detail reaching past the image", [&] { fe.DrawImageDetail(sprite, 20, 20, 200, 200, 40, 40, 50); },
       [&](Model& m) { m.DrawDetail(S, 20, 20, 200, 200, 40, 40, 50); }},
      {"keyed copy over the backdrop", [&] { fe.DrawImage(backdrop, 0, 0, 640, 480, 100); fe.DrawImageFast(sprite, 300, 200, 0, 0, 32, 32, 1); },
       [&](Model& m) { m.DrawScaled(backdrop_image, 0, 0, 640, 480, 100); m.DrawFast(S, 300, 200, 0, 0, 32, 32, true); }},
      {"plain copy writes transparent pixels black", [&] { fe.DrawImage(backdrop, 0, 0, 640, 480, 100); fe.DrawImageFast(sprite, 300, 200, 0, 0, 32, 32, 0); },
       [&](Model& m) { m.DrawScaled(backdrop_image, 0, 0, 640, 480, 100); m.DrawFast(S, 300, 200, 0, 0, 32, 32, false); }},
      {"fast copies cut at every edge", [&] { fe.DrawImageFast(plate, -10, -10, 0, 0, 100, 50, 0); fe.DrawImageFast(plate, 600, 460, 5, 5, 100, 50, 1); fe.DrawImageFast(plate, 300, 300, 90, 40, 30, 30, 0); },
       [&](Model& m) { m.DrawFast(P, -10, -10, 0, 0, 100, 50, false); m.DrawFast(P, 600, 460, 5, 5, 100, 50, true); m.DrawFast(P, 300, 300, 90, 40, 30, 30, false); }},
  };
  for (const Case& c : cases) {
    Model expected;
    c.model(expected);
    EXPECT_TRUE(SameFrame(Show(c.draw), expected.frame)) << c.what;
  }
}

// The numbers the renderer's rules state, checked on the frame itself (so a fault
// shared by the renderer and the model above is caught too).
TEST_F(DibPixels, StatedResultsHold) {
  auto pixel = [](const Frame& f, int x, int y) { return f[static_cast<size_t>(y) * kWidth + x]; };
  const torv::CheckImage& P = plate_image;
  // x = -30: image columns 30..99 at frame columns 0..69, unscaled.
  Frame f = Show([&] { fe.DrawImage(plate, -30, 0, 100, 50, 100); });
  EXPECT_EQ(pixel(f, 0, 0), RgbOf(P.at(30, 0)));
  EXPECT_EQ(pixel(f, 69, 49), RgbOf(P.at(99, 49)));
  EXPECT_EQ(pixel(f, 70, 0), 0u);
  // x = 600: columns 0..39, not squeezed.
  f = Show([&] { fe.DrawImage(plate, 600, 0, 100, 50, 100); });
  EXPECT_EQ(pixel(f, 600, 0), RgbOf(P.at(0, 0)));
  EXPECT_EQ(pixel(f, 639, 10), RgbOf(P.at(39, 10)));
  // w = 200: source column (i * 128) >> 8.
  f = Show([&] { fe.DrawImage(plate, 0, 0, 200, 50, 100); });
  for (int i : {0, 1, 2, 3, 101, 199}) EXPECT_EQ(pixel(f, i, 5), RgbOf(P.at((i * 128) >> 8, 5))) << i;
  // Detail (10, 20) at (-5, 0), 30 x 30: source columns 15..39 at frame columns 0..24.
  f = Show([&] { fe.DrawImageDetail(plate, 10, 20, -5, 0, 30, 30, 100); });
  EXPECT_EQ(pixel(f, 0, 0), RgbOf(P.at(15, 20)));
  EXPECT_EQ(pixel(f, 24, 29), RgbOf(P.at(39, 49)));
  EXPECT_EQ(pixel(f, 25, 0), 0u);
  // Alpha 128 over black at 100 %: floor(s * 128 / 255); at 50 %: B = 63.
  torv::CheckImage half;
  half.width = 2;
  half.height = 1;
  half.bgra = {255, 100, 200, 128, 3, 2, 1, 128};  // B,G,R,A
  const int h = Load(Png(half, true));
  f = Show([&] {
    fe.DrawImage(h, 0, 0, 2, 1, 100);
    fe.DrawImage(h, 0, 1, 2, 1, 50);
  });
  EXPECT_EQ(pixel(f, 0, 0), Rgb(200 * 128 / 255, 100 * 128 / 255, 255 * 128 / 255));
  EXPECT_EQ(pixel(f, 0, 1), Rgb(200 * 63 / 255, 100 * 63 / 255, 255 * 63 / 255));
  EXPECT_EQ(pixel(f, 1, 0), Rgb(0, 1, 1));
  // 100 % of an opaque image is the image itself; 1 % is the byte 2, so an opaque
  // white pixel over black gives 2.
  torv::CheckImage white;
  white.width = white.height = 1;
  white.bgra = {255, 255, 255, 255};
  const int w = Load(Png(white, true));
  f = Show([&] {
    fe.DrawImage(w, 0, 0, 1, 1, 100);
    fe.DrawImage(w, 1, 0, 1, 1, 50);
    fe.DrawImage(w, 2, 0, 1, 1, 1);
    fe.DrawImage(w, 3, 0, 1, 1, 0);
  });
  EXPECT_EQ(pixel(f, 0, 0), Rgb(255, 255, 255));
  EXPECT_EQ(pixel(f, 1, 0), Rgb(127, 127, 127));
  EXPECT_EQ(pixel(f, 2, 0), Rgb(2, 2, 2));
  EXPECT_EQ(pixel(f, 3, 0), 0u);
}

TEST_F(DibPixels, BadSlotsAnswerMinusOneAndDrawNothing) {
  Frame f = Show([&] {
    for (int slot : {-1, 4, 1000}) {
      EXPECT_EQ(fe.DrawImage(slot, 0, 0, 640, 480, 100), -1) << slot;
      EXPECT_EQ(fe.DrawImageDetail(slot, 0, 0, 0, 0, 640, 480, 100), -1) << slot;
      EXPECT_EQ(fe.DrawImageFast(slot, 0, 0, 0, 0, 640, 480, 0), -1) << slot;
    }
  });
  EXPECT_TRUE(SameFrame(f, Model().frame));
}

}  // namespace
}  // namespace drawtest
