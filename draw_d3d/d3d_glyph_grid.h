// One cached string of the Direct3D renderer in plain memory: its glyphs rendered
// into textures laid out as a grid of half-width character cells, and the quad
// that draws each character from them. The Windows layer copies the textures to
// the device and draws the quads; the cell arithmetic and the glyph pixels are
// here, portable.
//
// Byte p of the string owns cell p of the grid: texture t = p / cells per texture,
// and within it cell c = p - t * cells per texture at column c % cells per row,
// row c / cells per row. A cell is half the font's maximum character width wide
// and one line high; a double-byte character uses its cell and the next. Each row
// keeps one spare cell at its right, so a double-byte character that starts in a
// row's last cell still fits.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/string_cache.h"
#include "draw_d3d/d3d_texture_limits.h"
#include "draw_d3d/d3d_texture_pixels.h"

namespace torv {

// The grid for a string of length bytes.
struct GlyphGridPlan {
  int half_width = 0;
  int line_height = 0;
  int cells_per_row = 0;     // largest width / half width - 1 (the spare cell)
  int rows_per_texture = 0;  // largest height / line height
  int text_rows = 0;         // length / cells per row + 1
  int cells_per_texture() const { return cells_per_row * rows_per_texture; }
  // Texture sizes in order: full textures of the largest size the device takes,
  // then the smallest it takes that holds the rest (a string that fills its full
  // textures exactly has no rest texture; an empty string gets one 2 x 2 texture,
  // or the smallest the device takes).
  std::vector<int> widths;
  std::vector<int> heights;
};
// False when the font's cell or line does not fit the largest texture even once.
bool plan_glyph_grid(int length, int max_char_width, int line_height, const TextureLimits& limits,
                     GlyphGridPlan* out);

// Where a character is drawn from and to.
struct CharQuad {
  int texture = -1;
  double x = 0, y = 0, width = 0, height = 0;  // screen pixels
  float u0 = 0, v0 = 0, u1 = 0, v1 = 0;
};

class GlyphGrid {
public:
  // Renders text (zero-terminated, in the font's code page) in colour (0xAARRGGBB)
  // into textures of format that the device's limits allow. Replaces what
  // the grid held. 0; -1 when the font gives no metrics or the grid does not fit
  // (the grid is then empty). A character whose glyph the font cannot give keeps
  // its cell, blank, and rendering goes on.
  //
  // A8R8G8B8 texels take the colour with the glyph's coverage as alpha (levels
  // 0..64 -> 0..255); where two glyphs overlap the colour mixes in by the new
  // coverage and the texel keeps its alpha. A4R4G4B4 texels take the colour's high
  // 4 bits and alpha level * 255 / 1024; levels 0..4 write nothing.
  int render(GlyphSource& font, const std::string& font_description, const char* text, uint32_t colour,
             TextureFormat format, const TextureLimits& limits);
  void clear();

  bool empty() const { return !in_use_; }
  bool matches(const std::string& font_description, const char* text, uint32_t colour) const;

  const std::string& text() const { return text_; }
  uint32_t colour() const { return colour_; }
  const GlyphGridPlan& plan() const { return plan_; }
  // The textures' contents (bytes dropped by release_pixels; the sizes stay).
  const std::vector<TexturePixels>& textures() const { return textures_; }
  void release_pixels();
  // One entry per byte plus one: byte p's cell x (p * half width) for a byte that
  // starts a character or a space, -1 otherwise; and the texture that holds it.
  const std::vector<int>& positions() const { return positions_; }
  const std::vector<int>& texture_of_byte() const { return texture_of_byte_; }

  // The quad of the character at byte q drawn with its cell's top-left at (x, y):
  // half width wide (full for a double-byte character) and one line high, its
  // texture coordinates exactly its cells.
  CharQuad char_quad(int q, int x, int y, bool double_byte) const;

  // The lines of the cached layout (common/string_cache.h) and, for each, the
  // quads of its characters, drawn byte by byte from the cursor.
  std::vector<CharQuad> lay_out(const TextRect& rect, int count, bool no_clip, bool centre, GlyphSource& font) const;

private:
  void put_glyph(const GlyphBitmap& glyph, int texture, int cell_x, int cell_y, int ascent);

  bool in_use_ = false;
  std::string text_;
  uint32_t colour_ = 0;
  std::string font_description_;
  TextureFormat format_ = TextureFormat::kA8R8G8B8;
  GlyphGridPlan plan_;
  std::vector<TexturePixels> textures_;
  std::vector<int> positions_;
  std::vector<int> texture_of_byte_;
};

}  // namespace torv
