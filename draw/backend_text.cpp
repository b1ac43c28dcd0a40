#include "draw/backend_text.h"

#include <cstring>

#include "draw/gdi_glyph_source.h"

const char kBackendDefaultFace[] = "\x82\x6C\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4E";

namespace {
constexpr BYTE kNaturalClearTypeQuality = 6;  // CLEARTYPE_NATURAL_QUALITY
}  // namespace

HFONT CreateBackendFont(const char* face, int height) {
  return CreateFontA(height, 0, 0, 0, FW_DONTCARE, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_TT_ONLY_PRECIS,
                     CLIP_DEFAULT_PRECIS, kNaturalClearTypeQuality, 0, face);
}

int ReplaceBackendFont(HFONT* font, const char* face, int height) {
  HFONT made = CreateBackendFont(face, height);
  if (!made) return -1;
  if (*font) DeleteObject(*font);
  *font = made;
  return 0;
}

void DrawBackendPlainText(HDC dc, HFONT font, RECT rect, const char* text, int count, DWORD colour, int noClip,
                          int centre) {
  const int length = static_cast<int>(std::strlen(text));
  if (count < 0 || count > length) count = length;  // never past the text's end
  UINT flags = noClip ? DT_NOCLIP : 0;
  flags |= centre ? DT_CENTER | DT_VCENTER | DT_SINGLELINE : DT_WORDBREAK;
  HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
  SetTextColor(dc, colour & 0x00FFFFFF);  // a COLORREF's top byte is a flag, not alpha
  SetBkMode(dc, TRANSPARENT);
  DrawTextA(dc, text, count, &rect, flags);
  if (old && old != HGDI_ERROR) SelectObject(dc, old);
}

int DrawBackendCachedText(torv::StringCache& cache, const torv::Blender& blender, const torv::FrameView& frame,
                          HWND window, HFONT font, RECT rect, const char* text, int count, int noClip, int centre,
                          DWORD colour) {
  GdiGlyphSource glyphs(window, font);
  const torv::TextRect area = {rect.left, rect.top, rect.right, rect.bottom};
  return cache.draw_text(blender, frame, glyphs, area, text, count, noClip != 0, centre != 0, colour) == 0 ? 0 : -1;
}
