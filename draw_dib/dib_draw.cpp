// CDIBDraw: frames, the image store and both text paths of the DIB renderer.
#include "draw_dib/dib_draw.h"

#include <cstring>
#include <new>
#include <string>

#include "common/format_text.h"
#include "draw_dib/dib_glyph_source.h"

namespace {

// The default font: height 14, "ＭＳ ゴシック" as Shift-JIS bytes.
const char kDefaultFace[] = "\x82\x6C\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4E";
constexpr int kDefaultFontHeight = 14;
constexpr BYTE kNaturalClearTypeQuality = 6;  // CLEARTYPE_NATURAL_QUALITY

}  // namespace

CDIBDraw::~CDIBDraw() {
  if (font_) DeleteObject(font_);
}

int CDIBDraw::Init(int width, int height, HWND window) {
  if (!work_.Create(width, height) || !blank_.Create(width, height)) {
    work_.Release();
    blank_.Release();
    return -1;
  }
  width_ = width;
  height_ = height;
  window_ = window;
  SetFont(kDefaultFace, kDefaultFontHeight);
  archive_.Load();  // without it only the archive loads fail (-3)
  return 0;
}

const CImageMaintain* CDIBDraw::Image(int slot) const {
  return slot >= 0 && slot < images_.GetSize() ? images_[slot] : nullptr;
}

int CDIBDraw::GetImageWidth(int slot) const {
  const CImageMaintain* image = Image(slot);
  return image ? image->width() : -1;
}

int CDIBDraw::GetImageHeight(int slot) const {
  const CImageMaintain* image = Image(slot);
  return image ? image->height() : -1;
}

template <class Load>
int CDIBDraw::Create(int* slot, Load load) {
  if (!slot) return -1;
  CImageMaintain* image = new CImageMaintain;
  const int result = load(*image);
  if (result != 0) {
    delete image;  // a failed create uses no slot
    return result;
  }
  if (!images_.Add(image)) return -1;
  *slot = images_.GetSize() - 1;
  return 0;
}

template <class Load>
int CDIBDraw::ReCreate(int slot, Load load) {
  if (!Image(slot)) return -1;
  CImageMaintain* image = new CImageMaintain;
  const int result = load(*image);
  if (result != 0) {
    delete image;  // the old picture stays
    return result;
  }
  images_.SetAt(slot, image);
  return 0;
}

namespace {

int LoadMember(DibArchive& archive, CImageMaintain& image, const char* member, const char* path) {
  const unsigned char* data = nullptr;
  int size = 0;
  const int found = archive.Read(member, path, &data, &size);
  return found != 0 ? found : image.LoadFromMemory(data, size);
}

}  // namespace

int CDIBDraw::CreateImageLoadFromFile(int* slot, const char* path) {
  return Create(slot, [&](CImageMaintain& image) { return image.LoadFromFile(path); });
}

int CDIBDraw::CreateImageLoadFromMemory(int* slot, char* data, int size) {
  return Create(slot, [&](CImageMaintain& image) { return image.LoadFromMemory(data, size); });
}

int CDIBDraw::CreateImageLoadFromExpTfaFile(int* slot, const char* member, const char* archive) {
  return Create(slot, [&](CImageMaintain& image) { return LoadMember(archive_, image, member, archive); });
}

int CDIBDraw::ReCreateImageLoadFromFile(int slot, const char* path) {
  return ReCreate(slot, [&](CImageMaintain& image) { return image.LoadFromFile(path); });
}

int CDIBDraw::ReCreateImageLoadFromMemory(int slot, char* data, int size) {
  return ReCreate(slot, [&](CImageMaintain& image) { return image.LoadFromMemory(data, size); });
}

int CDIBDraw::ReCreateImageLoadFromExpTfaFile(int slot, const char* member, const char* archive) {
  return ReCreate(slot, [&](CImageMaintain& image) { return LoadMember(archive_, image, member, archive); });
}

int CDIBDraw::SetFont(const char* face, int height) {
  HFONT font = CreateFontA(height, 0, 0, 0, FW_DONTCARE, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_TT_ONLY_PRECIS,
                           CLIP_DEFAULT_PRECIS, kNaturalClearTypeQuality, 0, face);
  if (!font) return -1;  // the current font stays
  if (font_) DeleteObject(font_);
  font_ = font;
  return 0;
}

int CDIBDraw::BeginDraw(int offsetX, int offsetY) {
  if (!work_.dc()) return -1;
  BitBlt(work_.dc(), 0, 0, width_, height_, blank_.dc(), 0, 0, SRCCOPY);
  GdiFlush();  // the core writes the bits directly next
  offset_x_ = offsetX;
  offset_y_ = offsetY;
  return 0;
}

int CDIBDraw::DrawResult() {
  if (!work_.dc()) return -1;
  HDC dc = GetDC(window_);
  if (!dc) return -1;
  // Where a shake offset uncovers the window nothing is painted.
  BitBlt(dc, offset_x_, offset_y_, width_, height_, work_.dc(), 0, 0, SRCCOPY);
  ReleaseDC(window_, dc);
  return 0;
}

int CDIBDraw::DrawImage(int slot, int x, int y, int width, int height, double alpha) {
  const CImageMaintain* image = Image(slot);
  if (!image || !work_.bits()) return -1;
  blender_.draw_image_scaled(work_.view(), image->view(), x, y, width, height, torv::alpha_byte_from_percent(alpha));
  return 0;
}

int CDIBDraw::DrawImageDetail(int slot, int srcX, int srcY, int x, int y, int width, int height, double alpha) {
  const CImageMaintain* image = Image(slot);
  if (!image || !work_.bits()) return -1;
  blender_.draw_image_detail(work_.view(), image->view(), srcX, srcY, x, y, width, height,
                             torv::alpha_byte_from_percent(alpha));
  return 0;
}

int CDIBDraw::DrawImageFast(int slot, int x, int y, int srcX, int srcY, int width, int height, int transparent) {
  const CImageMaintain* image = Image(slot);
  if (!image || !work_.bits()) return -1;
  // On the frame's memory instead of GDI's mask AND / image OR blits: the same
  // visible result (transparent pixels were made black at load) without a mask.
  if (transparent) {
    blender_.copy_image_keyed(work_.view(), image->view(), x, y, srcX, srcY, width, height);
  } else {
    blender_.copy_image_opaque(work_.view(), image->view(), x, y, srcX, srcY, width, height);
  }
  return 0;
}

void CDIBDraw::DrawSystemText(RECT rect, const char* text, int count, DWORD colour, int noClip, int centre) {
  const int length = static_cast<int>(std::strlen(text));
  if (count < 0 || count > length) count = length;  // never past the text's end
  UINT flags = noClip ? DT_NOCLIP : 0;
  flags |= centre ? DT_CENTER | DT_VCENTER | DT_SINGLELINE : DT_WORDBREAK;
  HDC dc = work_.dc();
  HGDIOBJ old = font_ ? SelectObject(dc, font_) : nullptr;
  SetTextColor(dc, colour & 0x00FFFFFF);  // a COLORREF's top byte is a flag, not alpha
  SetBkMode(dc, TRANSPARENT);
  DrawTextA(dc, text, count, &rect, flags);
  if (old && old != HGDI_ERROR) SelectObject(dc, old);
  GdiFlush();
}

int CDIBDraw::DrawTextV(RECT rect, int count, DWORD colour, int noClip, int centre, int cached, const char* format,
                        va_list args) {
  if (!work_.dc()) return -1;
  const std::string text = torv::format_text_v(format, args);
  if (!cached) {
    DrawSystemText(rect, text.c_str(), count, colour, noClip, centre);
    return 0;
  }
  GdiGlyphSource glyphs(window_, font_);
  const torv::TextRect area = {rect.left, rect.top, rect.right, rect.bottom};
  return cache_.draw_text(blender_, work_.view(), glyphs, area, text.c_str(), count, noClip != 0, centre != 0,
                          colour) == 0
             ? 0
             : -1;
}
