// FreeType text laid out as the Windows renderers lay out the same font: the
// metrics GDI reports for IPA Gothic, so the cached text's fixed pitch, line height
// and baseline come out the same in both builds.
#include "game/host/freetype_glyphs.h"

#include <gtest/gtest.h>

namespace torv {
namespace {

TEST(FreeTypeGlyphs, IpaGothicHasTheTextMetricsGdiReports) {
  FreeTypeGlyphs font;
  ASSERT_TRUE(font.open(kDefaultFontPath));
  struct Case {
    int height, em, tm_height, tm_ascent, tm_max_char_width;
  };
  // GetTextMetricsA with IPAGothic under Wine: 14 → 14/11/19, 24 → 23/19/32.
  const Case cases[] = {{14, 13, 14, 11, 19}, {24, 22, 23, 19, 32}};
  for (const Case& c : cases) {
    font.set_height(c.height);
    FontMetrics m;
    ASSERT_TRUE(font.font_metrics(&m));
    EXPECT_EQ(font.em_pixels(), c.em) << c.height;
    EXPECT_EQ(m.height, c.tm_height) << c.height;
    EXPECT_EQ(m.ascent, c.tm_ascent) << c.height;
    EXPECT_EQ(m.max_char_width, c.tm_max_char_width) << c.height;
  }
}

TEST(FreeTypeGlyphs, GlyphsAreGreyLevelsUpTo64AtTheirOrigin) {
  FreeTypeGlyphs font;
  ASSERT_TRUE(font.open(kDefaultFontPath));
  font.set_height(14);
  GlyphBitmap moon;
  ASSERT_TRUE(font.glyph(0x8C8E, &moon));  // 月 in Shift-JIS
  // GGO_GRAY8_BITMAP gives 10 x 12 for it at this height.
  EXPECT_EQ(moon.width, 10);
  EXPECT_EQ(moon.height, 12);
  int full = 0;
  for (uint8_t level : moon.levels) {
    ASSERT_LE(level, 64);
    full += level == 64;
  }
  EXPECT_GT(full, 0);
  EXPECT_GT(moon.origin_y, 0);
  GlyphBitmap space;
  EXPECT_FALSE(font.glyph(' ', &space));  // a blank has no bitmap
  EXPECT_TRUE(font.is_lead_byte(0x8C));
  EXPECT_FALSE(font.is_lead_byte('A'));
}

TEST(FreeTypeGlyphs, TextWidthIsTheSumOfAdvances) {
  FreeTypeGlyphs font;
  ASSERT_TRUE(font.open(kDefaultFontPath));
  font.set_height(24);
  const int narrow = font.text_width("A");
  const int wide = font.text_width("\x8C\x8E");  // 月
  EXPECT_GT(narrow, 0);
  EXPECT_EQ(wide, font.em_pixels());
  EXPECT_EQ(font.text_width("AA\x8C\x8E"), 2 * narrow + wide);
  EXPECT_EQ(font.text_width(""), 0);
}

TEST(FreeTypeGlyphs, AMissingFontDrawsNothing) {
  FreeTypeGlyphs font;
  EXPECT_FALSE(font.open("/nonexistent/font.ttf"));
  FontMetrics m;
  EXPECT_FALSE(font.font_metrics(&m));
  GlyphBitmap g;
  EXPECT_FALSE(font.glyph('A', &g));
  EXPECT_EQ(font.text_width("abc"), 0);
}

}  // namespace
}  // namespace torv
