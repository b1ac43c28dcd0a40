#include "draw_d3d/d3d_glyph_grid.h"

#include <gtest/gtest.h>

#include <map>

namespace {

using torv::CharQuad;
using torv::GlyphGrid;
using torv::GlyphGridPlan;
using torv::TextureFormat;

const torv::TextureLimits kLarge = torv::TextureLimits(2048, 2048);
const torv::TextureLimits kSmall = torv::TextureLimits(32, 32);

// A font whose glyphs are solid blocks: a character's block fills its cell (two
// for a double-byte code) at one grey level; codes listed in `shapes` get that
// bitmap instead, codes in `missing` have none.
class BlockFont : public torv::GlyphSource {
public:
  torv::FontMetrics metrics{14, 11, 14};  // height, ascent, max char width (half 7)
  int level = 64;
  std::map<unsigned, torv::GlyphBitmap> shapes;
  std::map<unsigned, bool> missing;

  std::string font_description() override { return "block"; }
  bool font_metrics(torv::FontMetrics* out) override {
    *out = metrics;
    return true;
  }
  bool is_lead_byte(uint8_t b) override { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
  bool glyph(unsigned code, torv::GlyphBitmap* g) override {
    if (missing.count(code)) return false;
    auto shape = shapes.find(code);
    if (shape != shapes.end()) {
      *g = shape->second;
      return true;
    }
    const int half = metrics.max_char_width / 2;
    g->width = code > 0xFF ? 2 * half : half;
    g->height = metrics.height;
    g->origin_x = 0;
    g->origin_y = metrics.ascent;  // the block's top is the line's top
    g->pitch = (g->width + 3) & ~3;
    g->levels.assign(static_cast<size_t>(g->pitch) * g->height, static_cast<uint8_t>(level));
    return true;
  }
};

TEST(GlyphGridPlan, SizesFollowTheCellsTheTextNeeds) {
  const struct {
    int length, max_char_width, line_height, max_w, max_h;
    int cells_per_row, rows_per_texture;
    std::vector<int> widths, heights;
  } cases[] = {
      // 10 bytes of half width 7: 70 texels, one row of 14 -> 128 x 16.
      {10, 14, 14, 2048, 2048, 291, 146, {128}, {16}},
      {0, 14, 14, 2048, 2048, 291, 146, {2}, {2}},    // an empty string still gets a texture
      {1, 4, 3, 2048, 2048, 1023, 682, {2}, {4}},     // product below 3 -> 2 wide
      // 3 cells a row (one spare), 2 rows a texture: 14 bytes = 2 full + 2 in a rest texture.
      {14, 14, 14, 32, 32, 3, 2, {32, 32, 16}, {32, 32, 16}},
      {12, 14, 14, 32, 32, 3, 2, {32, 32}, {32, 32}},  // fills its textures exactly: no rest texture
      {5, 14, 14, 32, 32, 3, 2, {32}, {32}},           // a rest of two rows
  };
  for (const auto& c : cases) {
    GlyphGridPlan plan;
    const torv::TextureLimits limits = torv::TextureLimits(c.max_w, c.max_h);
    ASSERT_TRUE(torv::plan_glyph_grid(c.length, c.max_char_width, c.line_height, limits, &plan)) << c.length;
    EXPECT_EQ(plan.cells_per_row, c.cells_per_row) << c.length;
    EXPECT_EQ(plan.rows_per_texture, c.rows_per_texture) << c.length;
    EXPECT_EQ(plan.widths, c.widths) << c.length;
    EXPECT_EQ(plan.heights, c.heights) << c.length;
  }
}

TEST(GlyphGridPlan, TexturesAreOnesTheDeviceTakes) {
  const torv::TextureLimits square(256, 256, true);
  const torv::TextureLimits aspect2(300, 1024, false, 2);
  const struct {
    int length;
    const torv::TextureLimits& limits;
    int cells_per_row, rows_per_texture;
    std::vector<int> widths, heights;
  } cases[] = {
      // 10 bytes of half width 7, one row of 14: 128 x 16, made square.
      {10, square, 35, 18, {128}, {128}},
      {0, square, 35, 18, {2}, {2}},
      // 35 x 18 = 630 cells a texture: 700 bytes fill one; the 70 left, two full
      // rows (256 x 32), get a whole square too.
      {700, square, 35, 18, {256, 256}, {256, 256}},
      // Largest 256 x 512 (the height cut to twice the width); 128 x 16 grown to 1 : 2.
      {10, aspect2, 35, 36, {128}, {64}},
  };
  for (const auto& c : cases) {
    GlyphGridPlan plan;
    ASSERT_TRUE(torv::plan_glyph_grid(c.length, 14, 14, c.limits, &plan)) << c.length;
    EXPECT_EQ(plan.cells_per_row, c.cells_per_row) << c.length;
    EXPECT_EQ(plan.rows_per_texture, c.rows_per_texture) << c.length;
    EXPECT_EQ(plan.widths, c.widths) << c.length;
    EXPECT_EQ(plan.heights, c.heights) << c.length;
    for (size_t t = 0; t < plan.widths.size(); ++t) {
      EXPECT_TRUE(torv::texture_size_allowed(plan.widths[t], plan.heights[t], c.limits)) << c.length << " #" << t;
    }
  }
}

TEST(GlyphGridPlan, RefusesCellsThatDoNotFit) {
  GlyphGridPlan plan;
  EXPECT_FALSE(torv::plan_glyph_grid(3, 1, 14, torv::TextureLimits(2048, 2048), &plan));  // half width 0
  EXPECT_FALSE(torv::plan_glyph_grid(3, 14, 20, torv::TextureLimits(2048, 16), &plan));   // a line taller than a texture
  EXPECT_FALSE(torv::plan_glyph_grid(3, 14, 14, torv::TextureLimits(13, 2048), &plan));   // no cell beside the spare one
}

TEST(GlyphGrid, DoubleByteCharacterSamplesItsTwoCells) {
  // "abcd" + a double-byte character at byte 4 of a 10-byte string: u 28/128 .. 42/128.
  BlockFont font;
  GlyphGrid grid;
  ASSERT_EQ(grid.render(font, "block", "abcd\x8C\x8E" "efgh", 0xFFFFFFFF, TextureFormat::kA8R8G8B8, kLarge), 0);
  ASSERT_EQ(grid.textures().size(), 1u);
  const CharQuad q = grid.char_quad(4, 50, 60, true);
  EXPECT_EQ(q.texture, 0);
  EXPECT_EQ(q.u0, 28.0f / 128);
  EXPECT_EQ(q.u1, 42.0f / 128);
  EXPECT_EQ(q.v0, 0.0f);
  EXPECT_EQ(q.v1, 14.0f / 16);
  EXPECT_EQ(q.x, 50);
  EXPECT_EQ(q.width, 14);
  EXPECT_EQ(q.height, 14);
  EXPECT_EQ(grid.positions()[4], 28);
  EXPECT_EQ(grid.positions()[5], -1);  // trail byte
}

TEST(GlyphGrid, TexelsTakeTheColourWithCoverageAsAlpha) {
  const struct {
    TextureFormat format;
    int level;
    uint32_t texel;  // as 0xAARRGGBB, 4-bit channels repeated
  } cases[] = {
      {TextureFormat::kA8R8G8B8, 64, 0xFF336699},
      {TextureFormat::kA8R8G8B8, 32, 0x7F336699},  // (32 * 255) >> 6
      {TextureFormat::kA8R8G8B8, 1, 0x03336699},
      {TextureFormat::kA4R4G4B4, 64, 0xFF336699},
      {TextureFormat::kA4R4G4B4, 32, 0x77336699},  // 32 * 255 / 1024 = 7
      {TextureFormat::kA4R4G4B4, 5, 0x11336699},
      {TextureFormat::kA4R4G4B4, 4, 0x00000000},  // too faint for 4 bits
  };
  for (const auto& c : cases) {
    BlockFont font;
    font.level = c.level;
    GlyphGrid grid;
    ASSERT_EQ(grid.render(font, "block", "A", 0x80336699, c.format, kLarge), 0);
    const torv::TexturePixels& t = grid.textures()[0];
    EXPECT_EQ(torv::texel_argb(t, 3, 5), c.texel) << "level " << c.level;
    EXPECT_EQ(torv::texel_argb(t, 7, 5), 0u) << "outside the cell";
  }
}

TEST(GlyphGrid, OverlappingGlyphsMixTheColourAndKeepAlpha) {
  // '$' reaches 2 texels back into the cell before it, at half coverage.
  BlockFont font;
  torv::GlyphBitmap back{4, 1, -2, 11, 4, {32, 32, 32, 32}};
  font.shapes['$'] = back;
  font.level = 48;  // 'A': (48 * 255) >> 6 = 191
  GlyphGrid grid;
  ASSERT_EQ(grid.render(font, "block", "A$", 0xFF0000FF, TextureFormat::kA8R8G8B8, kLarge), 0);
  const torv::TexturePixels& t = grid.textures()[0];
  // Texel 5 of row 0: 'A' wrote blue 255 alpha 191; '$' (coverage 127) mixes blue in again.
  const int b = 127;
  const uint32_t mixed = static_cast<uint32_t>((255 * (255 - b) + 255 * b) >> 8);
  EXPECT_EQ(torv::texel_argb(t, 5, 0), 0xBF000000u | mixed);
  EXPECT_EQ(torv::texel_argb(t, 7, 0), 0x7F0000FFu);  // '$' over an empty texel
  EXPECT_EQ(torv::texel_argb(t, 4, 0), 0xBF0000FFu);  // 'A' alone
}

TEST(GlyphGrid, CellsWrapIntoRowsAndTextures) {
  // 32 x 32 textures: 3 cells a row plus the spare, 2 rows a texture.
  BlockFont font;
  GlyphGrid grid;
  ASSERT_EQ(grid.render(font, "block", "ab\x8C\x8E" "cdefghij", 0xFFFFFFFF, TextureFormat::kA8R8G8B8, kSmall), 0);
  ASSERT_EQ(grid.textures().size(), 2u);
  EXPECT_EQ(grid.textures()[1].width, 32);
  EXPECT_EQ(grid.textures()[1].height, 32);
  // The double-byte character starts in the last cell of row 0 and reaches into the spare cell.
  EXPECT_EQ(torv::texel_argb(grid.textures()[0], 14, 0) >> 24, 255u);
  EXPECT_EQ(torv::texel_argb(grid.textures()[0], 27, 0) >> 24, 255u);
  EXPECT_EQ(torv::texel_argb(grid.textures()[0], 28, 0) >> 24, 0u);
  const CharQuad db = grid.char_quad(2, 0, 0, true);
  EXPECT_EQ(db.u0, 14.0f / 32);
  EXPECT_EQ(db.u1, 28.0f / 32);
  // Byte 7 ('f'): texture 1, cell 1, row 0.
  EXPECT_EQ(grid.texture_of_byte()[7], 1);
  const CharQuad f = grid.char_quad(7, 0, 0, false);
  EXPECT_EQ(f.texture, 1);
  EXPECT_EQ(f.u0, 7.0f / 32);
  EXPECT_EQ(f.v0, 0.0f);
  // Byte 4 ('c'): texture 0, row 1, column 1.
  const CharQuad c = grid.char_quad(4, 0, 0, false);
  EXPECT_EQ(c.texture, 0);
  EXPECT_EQ(c.u0, 7.0f / 32);
  EXPECT_EQ(c.v0, 14.0f / 32);
  EXPECT_EQ(c.v1, 28.0f / 32);
}

TEST(GlyphGrid, SpacesHoldCellsLineBreaksNoneAndMissingGlyphsStayBlank) {
  BlockFont font;
  font.missing['x'] = true;
  GlyphGrid grid;
  ASSERT_EQ(grid.render(font, "block", "a b\r\nxc", 0xFFFFFFFF, TextureFormat::kA8R8G8B8, kLarge), 0);
  const std::vector<int> expected = {0, 7, 14, -1, -1, 35, 42, -1};
  EXPECT_EQ(grid.positions(), expected);
  EXPECT_EQ(torv::texel_argb(grid.textures()[0], 7 + 3, 5), 0u);   // the space
  EXPECT_EQ(torv::texel_argb(grid.textures()[0], 35 + 3, 5), 0u);  // 'x' has no glyph
  EXPECT_EQ(torv::texel_argb(grid.textures()[0], 42 + 3, 5) >> 24, 255u);  // 'c' after it is rendered

  // Drawn: no quad for the space; the line break starts a line below.
  const std::vector<CharQuad> quads = grid.lay_out(torv::TextRect{5, 0, 640, 480}, -1, true, false, font);
  ASSERT_EQ(quads.size(), 4u);
  EXPECT_EQ(quads[0].x, 5);
  EXPECT_EQ(quads[1].x, 5 + 14);  // 'b' after the space's cell
  EXPECT_EQ(quads[2].x, 5);       // 'x' (a blank quad) on the next line
  EXPECT_EQ(quads[2].y, 14);
  EXPECT_EQ(quads[3].x, 12);
}

TEST(GlyphGrid, LayoutAdvancesTwoCellsForADoubleByteCharacterAndHonoursCount) {
  BlockFont font;
  GlyphGrid grid;
  ASSERT_EQ(grid.render(font, "block", "\x8C\x8E" "ab", 0xFFFFFFFF, TextureFormat::kA8R8G8B8, kLarge), 0);
  std::vector<CharQuad> quads = grid.lay_out(torv::TextRect{0, 0, 640, 480}, -1, false, false, font);
  ASSERT_EQ(quads.size(), 3u);
  EXPECT_EQ(quads[0].width, 14);
  EXPECT_EQ(quads[1].x, 14);
  EXPECT_EQ(quads[2].x, 21);
  quads = grid.lay_out(torv::TextRect{0, 0, 640, 480}, 3, false, false, font);
  EXPECT_EQ(quads.size(), 2u);
}

TEST(GlyphGrid, MatchesOnlyItsOwnTextColourAndFont) {
  BlockFont font;
  GlyphGrid grid;
  EXPECT_FALSE(grid.matches("block", "", 0));
  ASSERT_EQ(grid.render(font, "block", "abc", 0xFF102030, TextureFormat::kA8R8G8B8, kLarge), 0);
  EXPECT_TRUE(grid.matches("block", "abc", 0xFF102030));
  EXPECT_FALSE(grid.matches("block", "abd", 0xFF102030));
  EXPECT_FALSE(grid.matches("block", "abc", 0x7F102030));
  EXPECT_FALSE(grid.matches("other", "abc", 0xFF102030));
  grid.release_pixels();
  EXPECT_TRUE(grid.textures()[0].bytes.empty());
  EXPECT_EQ(grid.textures()[0].width, 32);  // the size stays for the texture coordinates
  grid.clear();
  EXPECT_TRUE(grid.empty());
}

}  // namespace
