// A GlyphSource for the string cache drawn with FreeType from a TrueType font, so
// that the headless runner's pictures show the game's Shift-JIS texts. An
// approximation of the Windows font: one em per double-byte character, half an em
// per single byte, the font's own ascent.
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

  // False when the font file cannot be opened; texts then draw nothing.
  bool open(const std::string& font_path);
  void set_height(int pixels);
  // Advance width of a Shift-JIS text in pixels.
  int text_width(const std::string& text);

  std::string font_description() override;
  bool font_metrics(FontMetrics* out) override;
  bool glyph(unsigned code, GlyphBitmap* out) override;
  bool is_lead_byte(uint8_t byte) override;

private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// Where Debian keeps the Japanese Gothic font the Windows tests use too.
constexpr char kDefaultFontPath[] = "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf";

}  // namespace torv
