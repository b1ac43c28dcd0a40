#include "draw/gdi_glyph_source.h"

#include <algorithm>
#include <cstring>

GdiGlyphSource::~GdiGlyphSource() {
  if (!dc_) return;
  if (old_font_) SelectObject(dc_, old_font_);
  ReleaseDC(window_, dc_);
}

bool GdiGlyphSource::Ready() {
  if (dc_) return true;
  if (!font_) return false;
  HDC dc = GetDC(window_);
  if (!dc) return false;
  HGDIOBJ old = SelectObject(dc, font_);
  if (!old || old == HGDI_ERROR) {
    ReleaseDC(window_, dc);
    return false;
  }
  dc_ = dc;
  old_font_ = old;
  return true;
}

std::string GdiGlyphSource::font_description() {
  LOGFONTA logfont;
  if (!font_ || GetObjectA(font_, sizeof logfont, &logfont) != sizeof logfont) return std::string();
  // The bytes after the face name's terminator are whatever GDI left there (Wine
  // converts from the wide form on every call): they must not make one font two.
  char* face = logfont.lfFaceName;
  const size_t length = strnlen(face, LF_FACESIZE);
  std::fill(face + length, face + LF_FACESIZE, '\0');
  return std::string(reinterpret_cast<const char*>(&logfont), sizeof logfont);
}

bool GdiGlyphSource::font_metrics(torv::FontMetrics* out) {
  TEXTMETRICA tm;
  if (!Ready() || !GetTextMetricsA(dc_, &tm)) return false;
  out->height = tm.tmHeight;
  out->ascent = tm.tmAscent;
  out->max_char_width = tm.tmMaxCharWidth;
  return true;
}

bool GdiGlyphSource::glyph(unsigned code, torv::GlyphBitmap* out) {
  if (!Ready()) return false;
  static const MAT2 kIdentity = {{0, 1}, {0, 0}, {0, 0}, {0, 1}};
  GLYPHMETRICS gm;
  const DWORD size = GetGlyphOutlineA(dc_, code, GGO_GRAY8_BITMAP, &gm, 0, nullptr, &kIdentity);
  if (size == 0 || size == GDI_ERROR) return false;  // a blank, or a character the font lacks
  const int width = static_cast<int>(gm.gmBlackBoxX);
  const int height = static_cast<int>(gm.gmBlackBoxY);
  const int pitch = (width + 3) & ~3;  // rows are padded to whole DWORDs
  if (width <= 0 || height <= 0 || static_cast<DWORD>(pitch) * static_cast<DWORD>(height) > size) return false;
  out->levels.assign(size, 0);
  if (GetGlyphOutlineA(dc_, code, GGO_GRAY8_BITMAP, &gm, size, out->levels.data(), &kIdentity) == GDI_ERROR) {
    return false;
  }
  out->width = width;
  out->height = height;
  out->pitch = pitch;
  out->origin_x = gm.gmptGlyphOrigin.x;
  out->origin_y = gm.gmptGlyphOrigin.y;
  return true;
}

bool GdiGlyphSource::is_lead_byte(uint8_t byte) { return IsDBCSLeadByteEx(CP_ACP, byte) != 0; }
