#include "tests/windows/draw_ddraw/ddraw_fixture.h"

namespace drawtest {

void DDrawTest::SetUp() {
  ASSERT_NE(TestWindow().hwnd(), nullptr);
  std::string missing;
  ASSERT_TRUE(fe.Load(&missing)) << missing;
  ASSERT_EQ(fe.Init(TestWindow().hwnd(), kWidth, kHeight, DRAW_INIT_DDRAW, 0), 0);
}

void DrawFastUnkeyed(Model& m, const torv::CheckImage& image, int x, int y, int sx, int sy, int w, int h,
                     uint32_t key) {
  m.DrawFast(image, x, y, sx, sy, w, h, false);
  for (int j = 0; j < h; ++j) {
    for (int i = 0; i < w; ++i) {
      const int fx = x + i, fy = y + j, ix = sx + i, iy = sy + j;
      if (fx < 0 || fy < 0 || fx >= kWidth || fy >= kHeight) continue;
      if (ix < 0 || iy < 0 || ix >= image.width || iy >= image.height) continue;
      if (image.at(ix, iy)[3] == 0) m.at(fx, fy) = key;
    }
  }
}

torv::CheckImage Blank(int w, int h) {
  torv::CheckImage image;
  image.width = w;
  image.height = h;
  image.bgra.assign(static_cast<size_t>(w) * h * 4, 0);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) Set(image, x, y, 0x00FF00, 0);
  }
  return image;
}

void Set(torv::CheckImage& image, int x, int y, uint32_t rgb, int alpha) {
  uint8_t* p = image.at(x, y);
  p[0] = static_cast<uint8_t>(rgb);
  p[1] = static_cast<uint8_t>(rgb >> 8);
  p[2] = static_cast<uint8_t>(rgb >> 16);
  p[3] = static_cast<uint8_t>(alpha);
}

}  // namespace drawtest
