// A GlyphSource for the string cache drawn with FreeType from a TrueType font, laid
// out by the rules the Windows renderers' cached text follows with the same font:
//
// - a font of height h is made as GDI makes one from CreateFontA with a positive
//   height: h is the cell height (ascent + descent of the font's Windows metrics),
//   so the em is h x unitsPerEm / (usWinAscent + usWinDescent), rounded;
// - the metrics are GDI's text metrics of that font: tmAscent and tmDescent are the
//   Windows ascent and descent scaled and rounded, tmHeight their sum, and
//   tmMaxCharWidth the width of the font's bounding box (which exceeds the em for
//   fonts with wide glyphs, so the fixed-pitch layout is looser than one em);
// - glyph bitmaps are 0..64 grey levels placed by their origin as GGO_GRAY8_BITMAP;
// - a text's width (GetTextExtentPoint32A) is the sum of the glyphs' advances.
//
// With IPA Gothic this gives what GDI reports for it: height 14 → tmHeight 14,
// tmAscent 11, tmMaxCharWidth 19; height 24 → 23, 19, 32.
#pragma once

#include <memory>
#include <string>

#include "common/string_cache.h"

namespace torv {

class FreeTypeGlyphs : public GlyphSource {
public:
  FreeTypeGlyphs();
  ~FreeTypeGlyphs() override;
  FreeTypeGlyphs(const FreeTypeGlyphs&) = delete;
  FreeTypeGlyphs& operator=(const FreeTypeGlyphs&) = delete;

  // False when the font file cannot be opened or is not a scalable font; texts then
  // draw nothing.
  bool open(const std::string& font_path);
  // The cell height in pixels, as CreateFontA's positive height (14 when 0 or less).
  void set_height(int pixels);
  // Advance width of a Shift-JIS text in pixels.
  int text_width(const std::string& text);

  std::string font_description() override;
  bool font_metrics(FontMetrics* out) override;
  bool glyph(unsigned code, GlyphBitmap* out) override;
  bool is_lead_byte(uint8_t byte) override;

  // The em in pixels for a cell height (exposed for the tests).
  int em_pixels() const;

private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// Where Debian keeps the Japanese Gothic font the Windows tests use too.
constexpr char kDefaultFontPath[] = "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf";

}  // namespace torv
