// Text in the DIB renderer: cached strings rendered from the Japanese font's real
// glyphs (IPAGothic through the prefix's replacement of "ＭＳ ゴシック"), rendered
// once and then only blended; and the plain GDI path.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/string_cache.h"
#include "draw/gdi_glyph_source.h"
#include "draw_dib/dib_draw.h"
#include "tests/windows/draw/draw_fixture.h"

namespace drawtest {
namespace {

const char kDefaultFace[] = "\x82\x6C\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4E";  // ＭＳ ゴシック
const char kTsuki[] = "\x8C\x8E";                                                    // 月

HFONT MakeFont(const char* face, int height) {
  return CreateFontA(height, 0, 0, 0, FW_DONTCARE, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_TT_ONLY_PRECIS,
                     CLIP_DEFAULT_PRECIS, 6, 0, face);
}

// One character of a cached text as it must appear: its code (a byte, or lead *
// 256 + trail) and the frame position of its cell's top-left corner.
struct Placed {
  unsigned code;
  int x, y;
};

// The expected frame of cached text over black, worked out from the font's own
// grey-level glyphs: a byte's cell is half the widest character's width (a
// double-byte character two halves) and the line's height; a glyph level g becomes
// coverage g * 255 / 64, blended in the colour; only what falls inside the cell
// shows.
Frame ExpectedGlyphs(HFONT font, const std::vector<Placed>& chars, int r, int g, int b) {
  Model m;
  HDC dc = GetDC(TestWindow().hwnd());
  HGDIOBJ old = SelectObject(dc, font);
  TEXTMETRICA tm;
  GetTextMetricsA(dc, &tm);
  const int half = tm.tmMaxCharWidth / 2;
  for (const Placed& c : chars) {
    const int cell_width = (c.code > 0xFF ? 2 : 1) * half;
    const MAT2 identity = {{0, 1}, {0, 0}, {0, 0}, {0, 1}};
    GLYPHMETRICS gm;
    const DWORD size = GetGlyphOutlineA(dc, c.code, GGO_GRAY8_BITMAP, &gm, 0, nullptr, &identity);
    if (size == 0 || size == GDI_ERROR) continue;
    std::vector<uint8_t> levels(size);
    GetGlyphOutlineA(dc, c.code, GGO_GRAY8_BITMAP, &gm, size, levels.data(), &identity);
    const int pitch = (static_cast<int>(gm.gmBlackBoxX) + 3) & ~3;
    for (int row = 0; row < static_cast<int>(gm.gmBlackBoxY); ++row) {
      for (int col = 0; col < static_cast<int>(gm.gmBlackBoxX); ++col) {
        const int level = levels[row * pitch + col];
        const int cx = gm.gmptGlyphOrigin.x + col, cy = tm.tmAscent - gm.gmptGlyphOrigin.y + row;
        if (level == 0 || cx < 0 || cx >= cell_width || cy < 0 || cy >= tm.tmHeight) continue;
        const uint8_t px[4] = {static_cast<uint8_t>(b), static_cast<uint8_t>(g), static_cast<uint8_t>(r),
                               static_cast<uint8_t>(level * 255 / 64)};
        m.Blend(c.x + cx, c.y + cy, px, 255);
      }
    }
  }
  SelectObject(dc, old);
  ReleaseDC(TestWindow().hwnd(), dc);
  return m.frame;
}

TEXTMETRICA Metrics(HFONT font) {
  HDC dc = GetDC(TestWindow().hwnd());
  HGDIOBJ old = SelectObject(dc, font);
  TEXTMETRICA tm;
  GetTextMetricsA(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(TestWindow().hwnd(), dc);
  return tm;
}

// One line of characters from (x, y), each cell after the one before.
Frame ExpectedText(HFONT font, const std::vector<unsigned>& codes, int x, int y, int r, int g, int b) {
  const int half = Metrics(font).tmMaxCharWidth / 2;
  std::vector<Placed> chars;
  for (unsigned code : codes) {
    chars.push_back({code, x, y});
    x += (code > 0xFF ? 2 : 1) * half;
  }
  return ExpectedGlyphs(font, chars, r, g, b);
}

int LitPixels(const Frame& f, int left, int top, int right, int bottom) {
  int lit = 0;
  for (int y = top; y < bottom; ++y) {
    for (int x = left; x < right; ++x) lit += f[static_cast<size_t>(y) * kWidth + x] != 0;
  }
  return lit;
}

class DibText : public DibTest {
protected:
  void SetUp() override {
    DibTest::SetUp();
    font = MakeFont(kDefaultFace, 14);
    ASSERT_NE(font, nullptr);
  }
  void TearDown() override {
    DeleteObject(font);
    DibTest::TearDown();
  }
  HFONT font = nullptr;
};

TEST_F(DibText, CachedTextShowsTheFontsOwnGlyphsInTheirCells) {
  struct Case {
    const char* text;
    std::vector<unsigned> codes;
    int r, g, b;
  };
  const Case cases[] = {
      {"\x8C\x8E", {0x8C8E}, 255, 255, 255},                     // 月
      {"\x8C\x8E" "A", {0x8C8E, 'A'}, 255, 0, 0},                // 月A in red
      {"\x95\x5C\x82\xA0", {0x955C, 0x82A0}, 40, 200, 90},       // 表あ: a trail byte of 0x5C
      {"Ag", {'A', 'g'}, 255, 255, 255},
  };
  for (const Case& c : cases) {
    const Frame shown = Show([&] {
      EXPECT_EQ(fe.DrawTextSimple(200, 200, fe.GetRGB(static_cast<BYTE>(c.r), static_cast<BYTE>(c.g),
                                                     static_cast<BYTE>(c.b)), 1, "%s", c.text),
                static_cast<int>(std::string(c.text).size()));
    });
    EXPECT_TRUE(SameFrame(shown, ExpectedText(font, c.codes, 200, 200, c.r, c.g, c.b))) << c.text;
  }
  // The glyph of 月 really is there: IPAGothic draws it 10 x 12 at this height.
  const Frame f = Show([&] { fe.DrawTextSimple(200, 200, fe.GetRGB(255, 255, 255), 1, "%s", kTsuki); });
  EXPECT_GT(LitPixels(f, 200, 200, 220, 214), 40);
  EXPECT_EQ(LitPixels(f, 0, 0, kWidth, kHeight), LitPixels(f, 200, 200, 220, 214));
}

TEST_F(DibText, CountLimitsTheBytesDrawn) {
  const DWORD white = fe.GetRGB(255, 255, 255);
  RECT rect = {200, 200, 640, 480};
  const Frame first_char = Show([&] { fe.DrawTextRect(rect, 2, white, 0, 0, 1, "%sAB", kTsuki); });
  EXPECT_TRUE(SameFrame(first_char, ExpectedText(font, {0x8C8E}, 200, 200, 255, 255, 255)));
  const Frame all = Show([&] { fe.DrawTextRect(rect, -1, white, 0, 0, 1, "%sAB", kTsuki); });
  EXPECT_TRUE(SameFrame(all, ExpectedText(font, {0x8C8E, 'A', 'B'}, 200, 200, 255, 255, 255)));
}

TEST_F(DibText, RectangleFlagsReachTheLayout) {
  const TEXTMETRICA tm = Metrics(font);
  const int half = tm.tmMaxCharWidth / 2, line = tm.tmHeight;
  const DWORD white = fe.GetRGB(255, 255, 255);
  // Wrapping: room for two half-width cells and a bit; the third starts a new line.
  RECT narrow = {200, 200, 200 + 2 * half + half / 2, 400};
  EXPECT_TRUE(SameFrame(Show([&] { fe.DrawTextRect(narrow, -1, white, 0, 0, 1, "ABC"); }),
                        ExpectedGlyphs(font, {{'A', 200, 200}, {'B', 200 + half, 200}, {'C', 200, 200 + line}}, 255,
                                       255, 255)));
  // No-clip: the same text stays on one line past the rectangle's right edge.
  EXPECT_TRUE(SameFrame(Show([&] { fe.DrawTextRect(narrow, -1, white, 1, 0, 1, "ABC"); }),
                        ExpectedText(font, {'A', 'B', 'C'}, 200, 200, 255, 255, 255)));
  // A second line that would pass the bottom is not drawn.
  RECT low = {200, 200, 200 + 2 * half + half / 2, 200 + line + line / 2};
  EXPECT_TRUE(SameFrame(Show([&] { fe.DrawTextRect(low, -1, white, 0, 0, 1, "ABC"); }),
                        ExpectedText(font, {'A', 'B'}, 200, 200, 255, 255, 255)));
  // Centred: one line in the middle of the rectangle; a line break does not break it.
  RECT box = {100, 100, 300, 140};
  const int x = 100 + 200 / 2 - (3 * half) / 2, y = 100 + 40 / 2 - line / 2;
  EXPECT_TRUE(SameFrame(Show([&] { fe.DrawTextRect(box, -1, white, 0, 1, 1, "A\nBC"); }),
                        ExpectedText(font, {'A', 'B', 'C'}, x, y, 255, 255, 255)));
}

TEST_F(DibText, SimpleFormDrawsAPercentSignAsTheRectangleFormDoes) {
  const DWORD white = fe.GetRGB(255, 255, 255);
  const Frame simple = Show([&] { EXPECT_EQ(fe.DrawTextSimple(30, 40, white, 1, "%d%%", 50), 3); });
  RECT rect = {30, 40, kWidth, kHeight};
  const Frame full = Show([&] { EXPECT_EQ(fe.DrawTextRect(rect, -1, white, 1, 0, 1, "%s", "50%"), 3); });
  EXPECT_TRUE(SameFrame(simple, full));
  EXPECT_TRUE(SameFrame(simple, ExpectedText(font, {'5', '0', '%'}, 30, 40, 255, 255, 255)));
}

TEST_F(DibText, SetFontChangesTheCachedGlyphs) {
  ASSERT_EQ(fe.SetFont("IPAGothic", 24), 0);
  const Frame big = Show([&] { fe.DrawTextSimple(100, 100, fe.GetRGB(255, 255, 255), 1, "%s", kTsuki); });
  HFONT big_font = MakeFont("IPAGothic", 24);
  EXPECT_TRUE(SameFrame(big, ExpectedText(big_font, {0x8C8E}, 100, 100, 255, 255, 255)));
  DeleteObject(big_font);
  EXPECT_GT(LitPixels(big, 100, 114, 140, 130), 0) << "a 24-pixel glyph reaches below 14 rows";
}

TEST_F(DibText, PlainTextDrawsWithGdiInsideItsRectangle) {
  RECT rect = {100, 100, 300, 130};
  const Frame abc = Show([&] { fe.DrawTextRect(rect, -1, fe.GetRGB(255, 255, 255), 0, 0, 0, "ABC"); });
  const int inside = LitPixels(abc, 100, 100, 300, 130);
  EXPECT_GT(inside, 30);
  EXPECT_EQ(LitPixels(abc, 0, 0, kWidth, kHeight), inside) << "nothing outside the rectangle";
  const Frame a = Show([&] { fe.DrawTextRect(rect, 1, fe.GetRGB(255, 255, 255), 0, 0, 0, "ABC"); });
  const Frame a_alone = Show([&] { fe.DrawTextRect(rect, -1, fe.GetRGB(255, 255, 255), 0, 0, 0, "A"); });
  EXPECT_TRUE(SameFrame(a, a_alone));
  EXPECT_LT(LitPixels(a, 0, 0, kWidth, kHeight), inside);
  // Red with the alpha byte on top: GDI is given the colour without it.
  const Frame red = Show([&] { fe.DrawTextRect(rect, -1, fe.GetRGB(255, 0, 0), 0, 0, 0, "ABC"); });
  int reddish = 0, lit = 0;
  for (uint32_t p : red) {
    if (p == 0) continue;
    ++lit;
    reddish += (p >> 16 & 0xFF) > (p >> 8 & 0xFF) && (p >> 16 & 0xFF) > (p & 0xFF);
  }
  EXPECT_GT(lit, 30);
  EXPECT_EQ(reddish, lit);
}

// Counts the glyphs the cache asks for, passing each request to the real font.
class CountingGlyphs : public torv::GlyphSource {
public:
  explicit CountingGlyphs(torv::GlyphSource& real) : real_(real) {}
  std::string font_description() override { return real_.font_description(); }
  bool font_metrics(torv::FontMetrics* out) override { return real_.font_metrics(out); }
  bool glyph(unsigned code, torv::GlyphBitmap* out) override {
    ++glyphs;
    return real_.glyph(code, out);
  }
  bool is_lead_byte(uint8_t byte) override { return real_.is_lead_byte(byte); }
  int glyphs = 0;

private:
  torv::GlyphSource& real_;
};

TEST(DibStringCache, SameTextTwiceRendersOnceWithRealGlyphs) {
  HFONT font = MakeFont(kDefaultFace, 14);
  HFONT other = MakeFont(kDefaultFace, 20);
  torv::Blender blender;
  torv::StringCache cache;
  std::vector<uint8_t> first(kWidth * kHeight * 4, 0), second(kWidth * kHeight * 4, 0);
  const torv::FrameView f1{first.data(), kWidth, kHeight, kWidth * 4};
  const torv::FrameView f2{second.data(), kWidth, kHeight, kWidth * 4};
  const torv::TextRect rect{10, 10, 600, 400};
  const char text[] = "\x8C\x8E\x95\x5C ABC";  // 月表 ABC
  auto draw = [&](HFONT with, const torv::FrameView& frame, uint32_t colour) {
    GdiGlyphSource gdi(TestWindow().hwnd(), with);
    CountingGlyphs counting(gdi);
    EXPECT_EQ(cache.draw_text(blender, frame, counting, rect, text, -1, false, false, colour), 0);
    return counting.glyphs;
  };
  EXPECT_EQ(draw(font, f1, 0xFFFFFFFF), 5) << "月, 表, A, B, C: the space has no glyph";
  EXPECT_EQ(draw(font, f2, 0xFFFFFFFF), 0) << "found in the cache: no glyph work";
  EXPECT_EQ(first, second);
  EXPECT_GT(std::count_if(first.begin(), first.end(), [](uint8_t v) { return v != 0; }), 100);
  EXPECT_EQ(draw(font, f2, 0xFF0000FF), 5) << "another colour is another string";
  EXPECT_EQ(draw(other, f2, 0xFFFFFFFF), 5) << "another font is another string";
  EXPECT_EQ(draw(font, f2, 0xFF0000FF), 0);
  DeleteObject(font);
  DeleteObject(other);
}

TEST(DibStringCache, RendererKeepsOneEntryPerTextColourAndFont) {
  CDIBDraw dib;
  ASSERT_EQ(dib.Init(kWidth, kHeight, TestWindow().hwnd()), 0);
  auto used = [&] {
    int n = 0;
    for (int i = 0; i < torv::StringCache::kEntryCount; ++i) n += !dib.StringCacheInfo(i).NoUse();
    return n;
  };
  auto text = [&](DWORD colour, const char* format, ...) {
    va_list args;
    va_start(args, format);
    const RECT rect = {0, 0, kWidth, kHeight};
    EXPECT_EQ(dib.DrawTextV(rect, -1, colour, 0, 0, 1, format, args), 0);
    va_end(args);
  };
  ASSERT_EQ(dib.BeginDraw(0, 0), 0);
  text(0xFFFFFFFF, "%s", kTsuki);
  text(0xFFFFFFFF, "%s", kTsuki);
  EXPECT_EQ(used(), 1);
  text(0xFF0000FF, "%s", kTsuki);
  EXPECT_EQ(used(), 2);
  // The entry used last has rank 0, the one before it rank 1.
  for (int i = 0; i < 2; ++i) {
    const CDibStringCacheInfo e = dib.StringCacheInfo(i);
    EXPECT_EQ(e.Rank(), e.Colour() == 0xFF0000FFu ? 0 : 1);
  }
  ASSERT_EQ(dib.SetFont("IPAGothic", 20), 0);
  text(0xFFFFFFFF, "%s", kTsuki);
  EXPECT_EQ(used(), 3) << "a new font does not match the old entries";
  dib.ClearStringCache();
  EXPECT_EQ(used(), 0);
}

}  // namespace
}  // namespace drawtest
