// The cache of anti-aliased rendered strings shared by the software renderers.
//
// Each distinct (font, text, colour) is rendered once into a private B,G,R,A
// bitmap whose alpha is the glyph coverage, and then only blended into the frame.
// 50 strings are kept; a new one replaces the least recently used.
//
// Layout is fixed-pitch by byte: every byte of a string occupies half the font's
// maximum character width (half = tmMaxCharWidth / 2), so a Shift-JIS double-byte
// character occupies two halves. A double-byte character advances by exactly 2 *
// half everywhere (bitmap, drawing and line layout), so odd maximum widths leave
// no gap and read nothing outside the bitmap.
//
// The glyphs come from a GlyphSource, so everything here is portable: the Windows
// renderers implement it with GetTextMetricsA, GetObjectA (LOGFONTA),
// GetGlyphOutlineA (GGO_GRAY8_BITMAP) and IsDBCSLeadByteEx; tests use a fake.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "common/blend.h"

namespace torv {

// The font's text metrics, in pixels.
struct FontMetrics {
  int height = 0;          // tmHeight: line height and bitmap height
  int ascent = 0;          // tmAscent: baseline distance from the top of a line
  int max_char_width = 0;  // tmMaxCharWidth: a byte's cell is max_char_width / 2 wide
};

// One character's grey-level bitmap: width x height levels 0..64 (64 = fully
// covered), rows top to bottom, pitch bytes apart. The origin is where the black
// box's top-left lies relative to the pen: origin_x to the right of the
// character's cell start, origin_y above the baseline (gmptGlyphOrigin).
struct GlyphBitmap {
  int width = 0;
  int height = 0;
  int origin_x = 0;
  int origin_y = 0;
  int pitch = 0;
  std::vector<uint8_t> levels;  // at least pitch * height bytes
};

// The font a string is rendered in. The cache calls it only from inside
// StringCache::draw_text, on the calling thread.
class GlyphSource {
public:
  virtual ~GlyphSource() = default;

  // Bytes that identify the font (e.g. its LOGFONTA): two fonts are the same for
  // the cache when these are equal byte for byte. Asked on every cached draw.
  virtual std::string font_description() = 0;

  // Asked only when a string is rendered. False: no font (the draw then fails).
  virtual bool font_metrics(FontMetrics* out) = 0;

  // The glyph of a character: a single byte's value, or lead * 256 + trail for a
  // double-byte character. False when the character has no bitmap (a blank such
  // as the full-width space, or a character the font lacks): the cache then
  // leaves its cell blank and goes on with the next character.
  virtual bool glyph(unsigned code, GlyphBitmap* out) = 0;

  // Whether a byte starts a double-byte character in the text's code page.
  virtual bool is_lead_byte(uint8_t byte) = 0;
};

// A rectangle in frame pixels; right and bottom are coordinates, not sizes.
struct TextRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

// One line of a laid-out string: the bytes from .. to-1, drawn with the line's
// top-left corner at (x, y).
struct TextLine {
  int x = 0;
  int y = 0;
  int from = 0;
  int to = 0;
};

// The layout of a cached string (see StringCache::draw_text) as the lines to draw,
// in order: text laid out in cells of half_width per byte (2 * half_width for a
// double-byte character) and lines of line_height. Every renderer that draws
// cached strings, whatever it keeps them in, places them by this.
std::vector<TextLine> lay_out_text(const std::string& text, int half_width, int line_height,
                                   const TextRect& rect, int count, bool no_clip, bool centre,
                                   GlyphSource& font);

// One rendered string: its bitmap, its text and colour, the font it was
// rendered with, and its use rank in the cache.
class RenderedString {
public:
  bool empty() const { return !in_use_; }
  int rank() const { return rank_; }

  const std::string& text() const { return text_; }
  uint32_t colour() const { return colour_; }
  const std::string& font_description() const { return font_description_; }

  int bitmap_width() const { return bitmap_width_; }    // length * half width
  int bitmap_height() const { return bitmap_height_; }  // the font's height
  int half_width() const { return half_width_; }
  int line_height() const { return line_height_; }
  // bitmap_width * bitmap_height pixels, B,G,R,A, rows top to bottom, no padding.
  const std::vector<uint8_t>& bitmap() const { return bitmap_; }
  // One entry per byte plus one: the x offset in the bitmap of the character
  // that starts at that byte, or -1 for a byte with no cell of its own (a trail
  // byte, a line break, the terminating position).
  const std::vector<int>& positions() const { return positions_; }

  // Whether this entry holds exactly this string.
  bool matches(const std::string& font_description, const char* text, uint32_t colour) const;

private:
  friend class StringCache;
  int render(GlyphSource& font, const std::string& font_description, const char* text,
             uint32_t colour, const ProductTable& table);
  void draw(const Blender& blender, const FrameView& frame, const TextRect& rect, int count,
            bool no_clip, bool centre, GlyphSource& font) const;
  void draw_line(const Blender& blender, const FrameView& frame, int x, int y, int from, int to,
                 GlyphSource& font) const;
  void free_member();  // back to empty; the rank stays

  int rank_ = 0;
  bool in_use_ = false;
  std::vector<uint8_t> bitmap_;
  int bitmap_width_ = 0;
  int bitmap_height_ = 0;
  int half_width_ = 0;
  int line_height_ = 0;
  std::string text_;
  uint32_t colour_ = 0;
  std::vector<int> positions_;
  std::string font_description_;
};

// The 50 entries and the cached text path of a renderer's text call.
class StringCache {
public:
  static constexpr int kEntryCount = 50;

  StringCache();  // all entries empty, entry i with rank i

  // Draws text (a zero-terminated byte string in the font's code page) through
  // the cache, in colour (red in bits 0-7, green 8-15, blue 16-23, as the GDI
  // and DirectDraw renderers pack it; the alpha byte takes part in matching but
  // does not change the rendering). The entry is the first that matches (font
  // description, text, colour) in entry order, else the first empty one, else
  // the least recently used; it then gets rank 0 and every entry that was more
  // recent moves one rank down.
  //
  // Layout, from (rect.left, rect.top): "\r" is ignored; "\n" starts a new line
  // (ignored when centre); with no_clip false a character that would pass
  // rect.right starts a new line, and a line whose bottom would pass rect.bottom
  // is not drawn and ends the text. centre: one line centred horizontally and
  // vertically in rect. count: the number of bytes to lay out (-1 = all; a
  // double-byte character that starts before count is drawn whole).
  //
  // Returns 0. -1 with nothing drawn: when frame.bits or text is null (no entry
  // changes), or when the string cannot be rendered because the font gives no
  // metrics or the bitmap cannot be allocated (the chosen entry is left empty
  // and the ranks stay).
  int draw_text(const Blender& blender, const FrameView& frame, GlyphSource& font,
                const TextRect& rect, const char* text, int count, bool no_clip, bool centre,
                uint32_t colour);

  // Empties every entry (ranks stay). Changing the font needs no clear: entries
  // of the old font stop matching and age out.
  void clear();

  const RenderedString& entry(int i) const { return entries_[i]; }

private:
  RenderedString entries_[kEntryCount];
};

}  // namespace torv
