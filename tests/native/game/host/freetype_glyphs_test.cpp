// FreeType text laid out as the Windows renderers lay out the same font: the
// metrics GDI reports for IPA Gothic, so the cached text's fixed pitch, line height
// and baseline come out the same in both builds.
#include "game/host/freetype_glyphs.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include <gtest/gtest.h>

#include <cstdlib>

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

// Our rasteriser against FreeType's own (64-bit) one on the game's characters: the
// the same box at the same place and the same ink, pixel by pixel nearly so.
TEST(FreeTypeGlyphs, GlyphsMatchFreeTypesOwnRendering) {
  FreeTypeGlyphs font;
  ASSERT_TRUE(font.open(kDefaultFontPath));
  FT_Library library;
  ASSERT_EQ(FT_Init_FreeType(&library), 0);
  FT_Face face;
  ASSERT_EQ(FT_New_Face(library, kDefaultFontPath, 0, &face), 0);
  struct Char {
    unsigned sjis, unicode;
  };
  const Char chars[] = {{'A', 'A'}, {'g', 'g'}, {'0', '0'}, {0x82A9, 0x304B}, {0x8358, 0x30B9},
                        {0x8C8E, 0x6708}, {0x90E1, 0x96EA}, {0x8149, 0xFF01}};
  for (int height : {14, 24}) {
    font.set_height(height);
    ASSERT_EQ(FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(font.em_pixels())), 0);
    for (const Char& c : chars) {
      GlyphBitmap ours;
      ASSERT_TRUE(font.glyph(c.sjis, &ours)) << std::hex << c.sjis;
      ASSERT_EQ(FT_Load_Char(face, c.unicode, FT_LOAD_RENDER), 0);
      const FT_Bitmap& theirs = face->glyph->bitmap;
      int their_ink = 0, our_ink = 0;
      ASSERT_EQ(ours.width, static_cast<int>(theirs.width)) << std::hex << c.sjis;
      ASSERT_EQ(ours.height, static_cast<int>(theirs.rows)) << std::hex << c.sjis;
      EXPECT_EQ(ours.origin_x, face->glyph->bitmap_left) << std::hex << c.sjis;
      EXPECT_EQ(ours.origin_y, face->glyph->bitmap_top) << std::hex << c.sjis;
      for (int y = 0; y < ours.height; ++y) {
        for (int x = 0; x < ours.width; ++x) {
          const int level = (theirs.buffer[y * theirs.pitch + x] * 64 + 127) / 255;
          const int diff = std::abs(level - ours.levels[static_cast<size_t>(y * ours.pitch + x)]);
          // FreeType flattens curves more coarsely: up to 5 levels off where a curve
          // crosses a pixel (ours is the closer to the exact area there).
          EXPECT_LE(diff, 8) << std::hex << c.sjis << std::dec << " at " << x << "," << y << " height " << height;
          their_ink += level;
          our_ink += ours.levels[static_cast<size_t>(y * ours.pitch + x)];
        }
      }
      EXPECT_NEAR(our_ink, their_ink, their_ink / 50) << std::hex << c.sjis << " height " << std::dec << height;
    }
  }
  FT_Done_Face(face);
  FT_Done_FreeType(library);
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
