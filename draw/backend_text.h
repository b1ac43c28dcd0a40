// What the drawing back-ends do alike with GDI text: the font they create for
// dllSetFont and at dllInit (the same CreateFontA arguments in each, so one text
// looks alike in every mode), and the plain, uncached text path on a DC.
#pragma once

#include "common/string_cache.h"
#include "draw/draw_contract.h"

// The default face, "ＭＳ ゴシック", as Shift-JIS bytes, and its height in pixels.
extern const char kBackendDefaultFace[];
constexpr int kBackendDefaultFontHeight = 14;

// face at height pixels (width chosen by the font), SHIFTJIS_CHARSET, TrueType only,
// natural ClearType quality. Null when GDI cannot make it.
HFONT CreateBackendFont(const char* face, int height);

// Replaces *font by a new one of face at height: 0, or -1 with *font kept when
// GDI cannot make it.
int ReplaceBackendFont(HFONT* font, const char* face, int height);

// A shell over one entry of the core's string cache: what a renderer may ask of a
// rendered string (CDibStringCacheInfo, CDxddStringCacheInfo).
class BackendStringCacheInfo {
public:
  explicit BackendStringCacheInfo(const torv::RenderedString& entry) : entry_(entry) {}
  bool NoUse() const { return entry_.empty(); }
  int Rank() const { return entry_.rank(); }
  const char* Text() const { return entry_.text().c_str(); }
  DWORD Colour() const { return entry_.colour(); }
  int Width() const { return entry_.bitmap_width(); }  // pixels: length * half width

private:
  const torv::RenderedString& entry_;
};

// DrawTextA of count bytes of text (count < 0 or past the end: all of it) in font
// and colour (0x00BBGGRR; the alpha byte is dropped) on dc, transparent background.
// Flags: DT_NOCLIP for noClip; DT_CENTER | DT_VCENTER | DT_SINGLELINE for centre,
// else DT_WORDBREAK. The DC's font is restored afterwards.
void DrawBackendPlainText(HDC dc, HFONT font, RECT rect, const char* text, int count, DWORD colour, int noClip,
                          int centre);

// The cached text path: text through cache into frame, glyphs from font on a DC of
// window when a string must be rendered. 0, or -1 when nothing could be drawn.
int DrawBackendCachedText(torv::StringCache& cache, const torv::Blender& blender, const torv::FrameView& frame,
                          HWND window, HFONT font, RECT rect, const char* text, int count, int noClip, int centre,
                          DWORD colour);
