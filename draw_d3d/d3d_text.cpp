// The cached strings' textures and the plain text path of the Direct3D renderer.
#include "draw_d3d/d3d_text.h"

#include <algorithm>
#include <cstring>

#include "common/trace.h"
#include "draw/backend_text.h"
#include "draw_d3d/d3d_texture.h"

namespace {

// GDI's anti-aliasing may reach a pixel or two past the extent it measures.
constexpr int kPlainTextMargin = 2;

}  // namespace

int CDx3dStringCacheInfo::CachedString(const std::string& font_description, const char* text, DWORD colour) const {
  return !NoUse() && grid_.matches(font_description, text, colour) ? 1 : 0;
}

void CDx3dStringCacheInfo::FreeMember() {
  for (IDirect3DTexture9*& t : textures_) ReleaseCom(t);
  textures_.clear();
  grid_.clear();
}

int CDx3dStringCacheInfo::String2Texture(IDirect3DDevice9* device, torv::GlyphSource& font,
                                         const std::string& font_description, const char* text, DWORD colour,
                                         torv::TextureFormat format, const torv::TextureLimits& limits) {
  FreeMember();
  if (!device || grid_.render(font, font_description, text, colour, format, limits) != 0) {
    grid_.clear();
    return -1;
  }
  // "Cache texture for a font (%d textures)"
  torv_trace("\x83\x74\x83\x48\x83\x93\x83\x67\x97\x70\x83\x4C\x83\x83\x83\x62\x83\x56\x83\x85\x83\x65\x83\x4E"
             "\x83\x58\x83\x60\x83\x83\x81\x69%d\x96\x87)\n",
             static_cast<int>(grid_.textures().size()));
  for (const torv::TexturePixels& pixels : grid_.textures()) {
    int width = pixels.width, height = pixels.height;
    IDirect3DTexture9* texture = nullptr;
    if (CreateTextureOrg(device, limits, &width, &height, format, &texture) != 0 || width != pixels.width ||
        height != pixels.height || UploadTexture(texture, pixels) != 0) {
      torv_trace("Font Texture Create Fail\n");
      ReleaseCom(texture);
      FreeMember();
      return -1;
    }
    textures_.push_back(texture);
  }
  grid_.release_pixels();  // the device has them now
  return 0;
}

bool RenderPlainText(HFONT font, const char* text, int count, RECT rect, int noClip, int centre, DWORD colour,
                     int frame_width, int frame_height, torv::Image* out, int* left, int* top) {
  const int length = static_cast<int>(std::strlen(text));
  if (count < 0 || count > length) count = length;
  if (count == 0 || (colour >> 24) == 0) return false;

  HDC dc = CreateCompatibleDC(nullptr);
  if (!dc) return false;
  // The text's extent as GDI lays it out, then the box it is drawn in.
  HGDIOBJ old_font = font ? SelectObject(dc, font) : nullptr;
  RECT extent = rect;
  UINT flags = DT_CALCRECT | (noClip ? DT_NOCLIP : 0);
  flags |= centre ? DT_SINGLELINE : DT_WORDBREAK;
  DrawTextA(dc, text, count, &extent, flags);
  if (old_font && old_font != HGDI_ERROR) SelectObject(dc, old_font);
  const int text_w = extent.right - extent.left, text_h = extent.bottom - extent.top;
  RECT box = extent;
  if (centre) {
    box.left = rect.left + (rect.right - rect.left - text_w) / 2;
    box.top = rect.top + (rect.bottom - rect.top - text_h) / 2;
    box.right = box.left + text_w;
    box.bottom = box.top + text_h;
  }
  InflateRect(&box, kPlainTextMargin, kPlainTextMargin);
  if (!noClip) IntersectRect(&box, &box, &rect);
  const RECT frame = {0, 0, frame_width, frame_height};
  IntersectRect(&box, &box, &frame);
  const int w = box.right - box.left, h = box.bottom - box.top;
  if (w <= 0 || h <= 0) {
    DeleteDC(dc);
    return false;
  }

  // White text on black in a DIB of the box: the grey level is GDI's coverage.
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = -h;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!dib || !bits) {
    if (dib) DeleteObject(dib);
    DeleteDC(dc);
    return false;
  }
  HGDIOBJ old_bitmap = SelectObject(dc, dib);
  std::memset(bits, 0, static_cast<size_t>(w) * static_cast<size_t>(h) * 4);
  RECT placed = rect;
  OffsetRect(&placed, -box.left, -box.top);
  DrawBackendPlainText(dc, font, placed, text, count, 0x00FFFFFF, noClip, centre);
  GdiFlush();

  out->width = w;
  out->height = h;
  out->pixels.assign(static_cast<size_t>(w) * static_cast<size_t>(h) * 4, 0);
  const uint32_t alpha = colour >> 24;
  for (size_t i = 0; i < out->pixels.size(); i += 4) {
    const uint8_t* p = static_cast<const uint8_t*>(bits) + i;
    const uint32_t coverage = std::max({p[0], p[1], p[2]});
    if (coverage == 0) continue;
    const uint8_t bgra[4] = {static_cast<uint8_t>(colour), static_cast<uint8_t>(colour >> 8),
                             static_cast<uint8_t>(colour >> 16), static_cast<uint8_t>(coverage * alpha / 255)};
    std::memcpy(&out->pixels[i], bgra, 4);
  }
  SelectObject(dc, old_bitmap);
  DeleteObject(dib);
  DeleteDC(dc);
  *left = box.left;
  *top = box.top;
  return true;
}
