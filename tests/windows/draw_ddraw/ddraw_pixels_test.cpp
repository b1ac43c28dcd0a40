// The DirectDraw renderer's frames read back from the window: the fast copy's
// clipping and alpha, and the same frames as the DIB renderer (mode 3) wherever
// both renderers define the same result: blends at every edge, cached and plain
// text, keyed copies, the whole drawcheck scene; and exactly the documented
// difference where they do not (a plain copy shows transparent pixels as the key).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdarg>
#include <functional>
#include <string>

#include "draw_ddraw/dd_draw.h"
#include "tests/windows/draw_ddraw/ddraw_fixture.h"
#include "tools/drawcheck/drawcheck_scene.h"

namespace drawtest {
namespace {

uint32_t Pixel(const Frame& f, int x, int y) { return f[static_cast<size_t>(y) * kWidth + x]; }

// White text through the class's own text call.
int Text(CDDDraw& dd, RECT rect, int cached, const char* format, ...) {
  va_list args;
  va_start(args, format);
  const int result = dd.DrawTextV(rect, -1, 0x00FFFFFF, 0, 0, cached, format, args);
  va_end(args);
  return result;
}

class DDrawPixels : public DDrawTest {};

TEST_F(DDrawPixels, FastCopyIsCutAtTheFrameEdges) {
  const torv::CheckImage plate = torv::make_plate();
  const int slot = Load(Png(plate, false));
  ASSERT_EQ(slot, 0);
  // x = -8, source (32, 0), 16 x 16: source columns 40..47 on frame columns 0..7.
  Frame f = Show([&] { fe.DrawImageFast(slot, -8, 0, 32, 0, 16, 16, 1); });
  for (int c = 0; c < 8; ++c) EXPECT_EQ(Pixel(f, c, 3), RgbOf(plate.at(40 + c, 3))) << c;
  EXPECT_EQ(Pixel(f, 8, 3), 0u);
  // x = 630: its first 10 columns only.
  f = Show([&] { fe.DrawImageFast(slot, 630, 100, 0, 0, 16, 16, 0); });
  for (int c = 0; c < 10; ++c) EXPECT_EQ(Pixel(f, 630 + c, 115), RgbOf(plate.at(c, 15))) << c;
  // Cut at every edge and corner, wider than the frame, past the image's own edge,
  // wholly outside: the model's pixels and no others.
  const struct {
    int x, y, sx, sy, w, h, keyed;
  } cases[] = {{-10, -10, 0, 0, 100, 50, 0}, {600, 460, 5, 5, 100, 50, 1}, {300, 300, 90, 40, 30, 30, 0},
               {-30, 200, 0, 0, 700, 20, 1}, {-5, 470, 2, 1, 30, 30, 0},   {640, 0, 0, 0, 10, 10, 0},
               {0, -50, 0, 0, 10, 50, 1},    {50, 50, -5, -5, 20, 20, 0}};
  for (const auto& c : cases) {
    Model expected;
    expected.DrawFast(plate, c.x, c.y, c.sx, c.sy, c.w, c.h, c.keyed != 0);
    EXPECT_TRUE(SameFrame(Show([&] { fe.DrawImageFast(slot, c.x, c.y, c.sx, c.sy, c.w, c.h, c.keyed); }),
                          expected.frame))
        << c.x << "," << c.y << " from " << c.sx << "," << c.sy << " " << c.w << "x" << c.h;
  }
}

TEST_F(DDrawPixels, AlphaOneIsCopiedOpaqueByTheFastDrawAndBlendedByTheOthers) {
  torv::CheckImage faint = Blank(1, 1);
  Set(faint, 0, 0, 0xC86432, 1);
  torv::CheckImage white = Blank(4, 1);
  for (int x = 0; x < 4; ++x) Set(white, x, 0, 0xFFFFFF, 255);
  const int f = Load(Png(faint, true)), w = Load(Png(white, false));
  const Frame shown = Show([&] {
    fe.DrawImageFast(w, 0, 0, 0, 0, 4, 1, 0);
    fe.DrawImageFast(f, 0, 0, 0, 0, 1, 1, 1);
    fe.DrawImageFast(f, 1, 0, 0, 0, 1, 1, 0);
    fe.DrawImage(f, 2, 0, 1, 1, 100);
    fe.DrawImageDetail(f, 0, 0, 3, 0, 1, 1, 100);
  });
  EXPECT_EQ(Pixel(shown, 0, 0), 0xC86432u);
  EXPECT_EQ(Pixel(shown, 1, 0), 0xC86432u);
  // B = T[1][255] = 1: each channel T[s][1] + T[255][254] = 0 + 254.
  EXPECT_EQ(Pixel(shown, 2, 0), Rgb(254, 254, 254));
  EXPECT_EQ(Pixel(shown, 3, 0), Rgb(254, 254, 254));
}

// Text in a frame begun at origin (10, 0) is shown 10 pixels further right, with
// the images; the strip the origin uncovers keeps what the window showed before.
TEST(DDrawOrigin, TheWholeFrameMovesTextIncluded) {
  CDDDraw dd;
  ASSERT_EQ(dd.Init(kWidth, kHeight, TestWindow().hwnd()), 0);
  std::vector<uint8_t> png = Png(torv::make_plate(), false);
  int slot = -1;
  ASSERT_EQ(dd.CreateImageLoadFromMemory(&slot, reinterpret_cast<char*>(png.data()), static_cast<int>(png.size())), 0);
  auto frame = [&](int ox, int cached) {
    dd.BeginDraw(ox, 0);
    dd.DrawImage(slot, 0, 0, 100, 50, 100);
    const RECT r = {0, 60, 300, 100};
    Text(dd, r, cached, "TORV %04d", 123);
    dd.DrawResult();
    TestWindow().Pump();
    return TestWindow().Capture();
  };
  for (int cached : {0, 1}) {
    const Frame at0 = frame(0, cached);
    const Frame at10 = frame(10, cached);
    size_t text_pixels = 0;
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x + 10 < kWidth; ++x) {
        ASSERT_EQ(Pixel(at10, x + 10, y), Pixel(at0, x, y)) << "cached " << cached << " at " << x << "," << y;
        text_pixels += y >= 60 && y < 100 && Pixel(at0, x, y) != 0;
      }
      for (int x = 0; x < 10; ++x) ASSERT_EQ(Pixel(at10, x, y), Pixel(at0, x, y)) << "uncovered strip repainted";
    }
    EXPECT_GT(text_pixels, 50u) << "cached " << cached << ": the text was drawn";
  }
}

// A cached string is as wide as its bytes times half the font's widest character,
// and takes one entry however often it is drawn.
TEST(DDrawCache, StringWidthAndOneEntryPerString) {
  CDDDraw dd;
  ASSERT_EQ(dd.Init(kWidth, kHeight, TestWindow().hwnd()), 0);
  HDC dc = GetDC(TestWindow().hwnd());
  HGDIOBJ old = SelectObject(dc, *dd.GetFont());
  TEXTMETRICA tm;
  ASSERT_TRUE(GetTextMetricsA(dc, &tm));
  SelectObject(dc, old);
  ReleaseDC(TestWindow().hwnd(), dc);
  const RECT r = {0, 0, 640, 480};
  for (int frame = 0; frame < 3; ++frame) {
    ASSERT_EQ(dd.BeginDraw(0, 0), 0);
    Text(dd, r, 1, "%s", "0123456789");
    Text(dd, r, 1, "%s", "\x8C\x8E\x95\x5C");  // two double-byte characters
    ASSERT_EQ(dd.DrawResult(), 0);
  }
  int ten = 0, four = 0;
  for (int i = 0; i < torv::StringCache::kEntryCount; ++i) {
    const CDxddStringCacheInfo entry = dd.StringCacheInfo(i);
    if (entry.NoUse()) continue;
    if (std::string(entry.Text()) == "0123456789") {
      ++ten;
      EXPECT_EQ(entry.Width(), 10 * (tm.tmMaxCharWidth / 2));
    } else if (std::string(entry.Text()) == "\x8C\x8E\x95\x5C") {
      ++four;
      EXPECT_EQ(entry.Width(), 4 * (tm.tmMaxCharWidth / 2));
    } else {
      ADD_FAILURE() << "unexpected entry " << entry.Text();
    }
  }
  EXPECT_EQ(ten, 1);
  EXPECT_EQ(four, 1);
}

// Renders draw() in a mode and reads the window back. The scene's images are loaded
// first (slots 0..4), then the dark image (slot 5).
struct Scene {
  torv::SceneSlots slots;
  int dark = -1;
};

torv::CheckImage DarkImage() {
  // Visible black and near-black pixels (so its key is 0x000002) on a transparent ground.
  torv::CheckImage image = Blank(12, 12);
  for (int y = 2; y < 10; ++y) {
    for (int x = 2; x < 10; ++x) Set(image, x, y, (x + y) % 3 == 0 ? 0x000001 : 0x000000, 255);
  }
  Set(image, 0, 0, 0x8080FF, 128);
  return image;
}

class ModeParity : public DibTest {
protected:
  void SetUp() override {
    ASSERT_NE(TestWindow().hwnd(), nullptr);
    std::string missing;
    ASSERT_TRUE(fe.Load(&missing)) << missing;
  }
  Frame Render(DRAW_INIT_MODE mode, const std::function<void(const Scene&)>& draw) {
    EXPECT_EQ(fe.Init(TestWindow().hwnd(), kWidth, kHeight, mode, 0), 0);
    Scene s;
    std::string error;
    EXPECT_TRUE(torv::load_scene(fe, &s.slots, &error)) << error;
    s.dark = Load(Png(DarkImage(), true));
    draw(s);
    TestWindow().Pump();
    return TestWindow().Capture();
  }
};

TEST_F(ModeParity, SameFramesAsTheDibRendererWhereBothDefineTheResult) {
  const DWORD white = 0xFFFFFFFF, orange = 0xFF3080F0;  // modes 2 and 3 share the layout
  const char kJapanese[] = "\x8C\x8E\x95\x5C \x82\xA0\x82\xA2\x82\xA4 ABC";
  struct Case {
    const char* what;
    std::function<void(const Scene&)> draw;
  };
  const Case cases[] = {
      {"the drawcheck scene", [&](const Scene& s) { torv::draw_scene(fe, s.slots); }},
      {"blends at every edge, scaled, at 100, 50, 1 and 0 %",
       [&](const Scene& s) {
         fe.BeginDraw();
         fe.DrawImage(s.slots.backdrop, 0, 0, 640, 480, 100);
         fe.DrawImage(s.slots.glass, -20, -20, 64, 64, 100);
         fe.DrawImage(s.slots.glass, 600, 450, 64, 64, 50);
         fe.DrawImage(s.slots.sprite, 100, 100, 45, 19, 1);
         fe.DrawImage(s.slots.sprite, 150, 100, 32, 32, 0);
         fe.DrawImage(s.slots.plate, -7, 200, 700, 37, 100);
         fe.DrawImageDetail(s.slots.sprite, 20, 20, 300, 300, 40, 40, 50);
         fe.DrawImageDetail(s.slots.glass, 10, 5, -5, 470, 30, 30, 100);
         fe.DrawImage(s.dark, 400, 300, 48, 48, 100);
         fe.EndDraw();
       }},
      {"keyed copies, the dark image's black included",
       [&](const Scene& s) {
         fe.BeginDraw();
         fe.DrawImage(s.slots.backdrop, 0, 0, 640, 480, 100);
         fe.DrawImageFast(s.dark, 100, 100, 0, 0, 12, 12, 1);
         fe.DrawImageFast(s.slots.sprite, 630, 470, 0, 0, 32, 32, 1);
         fe.DrawImageFast(s.slots.sprite, -8, -8, 0, 0, 32, 32, 1);
         fe.EndDraw();
       }},
      {"cached and plain text",
       [&](const Scene& s) {
         fe.BeginDraw();
         fe.DrawImage(s.slots.backdrop, 0, 0, 640, 480, 100);
         const RECT wrap = {10, 10, 120, 60}, centre = {200, 10, 500, 50}, cut = {-20, 460, 100, 500};
         fe.DrawTextRect(wrap, -1, white, 0, 0, 1, "%s %d wraps and stops", kJapanese, 42);
         fe.DrawTextRect(centre, -1, orange, 0, 1, 1, "%s", kJapanese);
         fe.DrawTextRect(cut, 5, white, 1, 0, 1, "%s", kJapanese);
         fe.DrawTextSimple(10, 100, orange, 1, "%s", kJapanese);
         fe.DrawTextSimple(10, 130, white, 0, "plain %s", kJapanese);
         fe.DrawTextSimple(630, 200, white, 1, "cut by the right edge");
         fe.EndDraw();
       }},
  };
  for (const Case& c : cases) {
    const Frame dib = Render(DRAW_INIT_DIB, c.draw);
    const Frame ddraw = Render(DRAW_INIT_DDRAW, c.draw);
    EXPECT_TRUE(SameFrame(ddraw, dib)) << c.what;
  }
  fe.Terminate();
}

// A plain copy: the DIB renderer shows transparent pixels black, this one as the
// image's key. Exactly those pixels differ.
TEST_F(ModeParity, PlainCopiesDifferOnlyWhereTransparentPixelsShowTheKey) {
  const torv::CheckImage dark = DarkImage();
  auto draw = [&](const Scene& s) {
    fe.BeginDraw();
    fe.DrawImage(s.slots.backdrop, 0, 0, 640, 480, 100);
    fe.DrawImageFast(s.dark, 100, 100, 0, 0, 12, 12, 0);
    fe.DrawImageFast(s.dark, -4, 470, 0, 0, 12, 12, 0);
    fe.DrawImageFast(s.slots.sprite, 200, 100, 0, 0, 32, 32, 0);  // key 0: no difference
    fe.EndDraw();
  };
  const Frame dib = Render(DRAW_INIT_DIB, draw);
  const Frame ddraw = Render(DRAW_INIT_DDRAW, draw);
  Model where;  // 1 where a transparent pixel of the dark image lands
  for (const auto& at : {std::pair<int, int>{100, 100}, {-4, 470}}) {
    for (int y = 0; y < 12; ++y) {
      for (int x = 0; x < 12; ++x) {
        const int fx = at.first + x, fy = at.second + y;
        if (fx >= 0 && fy >= 0 && fx < kWidth && fy < kHeight && dark.at(x, y)[3] == 0) where.at(fx, fy) = 1;
      }
    }
  }
  size_t differing = 0;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      if (where.at(x, y)) {
        EXPECT_EQ(Pixel(dib, x, y), 0u) << x << "," << y;
        EXPECT_EQ(Pixel(ddraw, x, y), 0x000002u) << x << "," << y;
        ++differing;
      } else if (Pixel(dib, x, y) != Pixel(ddraw, x, y)) {
        ADD_FAILURE() << "unexpected difference at " << x << "," << y;
        return;
      }
    }
  }
  // 144 - 65 visible = 79 transparent pixels in the first copy; the second shows
  // image columns 4..11 and rows 0..9, 80 pixels of which 48 are visible.
  EXPECT_EQ(differing, 79u + 32u);
  fe.Terminate();
}

}  // namespace
}  // namespace drawtest
