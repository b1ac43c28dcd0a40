// The string cache's font on Windows: metrics, LOGFONTA bytes and grey-level glyph
// bitmaps of one HFONT through GDI, lead bytes by the system's ANSI code page.
#pragma once

#include "common/string_cache.h"
#include "draw/draw_contract.h"

class GdiGlyphSource : public torv::GlyphSource {
public:
  // font stays the caller's. A DC of window is taken on the first metrics or glyph
  // request (most cached draws find their string and need none) and given back by
  // the destructor; so use one source per draw call.
  GdiGlyphSource(HWND window, HFONT font) : window_(window), font_(font) {}
  ~GdiGlyphSource() override;
  GdiGlyphSource(const GdiGlyphSource&) = delete;
  GdiGlyphSource& operator=(const GdiGlyphSource&) = delete;

  std::string font_description() override;
  bool font_metrics(torv::FontMetrics* out) override;
  bool glyph(unsigned code, torv::GlyphBitmap* out) override;
  bool is_lead_byte(uint8_t byte) override;

private:
  bool Ready();

  HWND window_;
  HFONT font_;
  HDC dc_ = nullptr;
  HGDIOBJ old_font_ = nullptr;
};
