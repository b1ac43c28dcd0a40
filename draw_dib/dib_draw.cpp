// CDIBDraw: frames, the image store and both text paths of the DIB renderer.
#include "draw_dib/dib_draw.h"

#include <string>

#include "common/format_text.h"
#include "draw/backend_text.h"

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
  SetFont(kBackendDefaultFace, kBackendDefaultFontHeight);
  archive_.Load();  // without it only the archive loads fail (-3)
  return 0;
}

namespace {

CImageMaintain* Fresh() { return new CImageMaintain; }

}  // namespace

int CDIBDraw::CreateImageLoadFromFile(int* slot, const char* path) {
  return images_.Create(slot, Fresh, [&](CImageMaintain& image) { return image.LoadFromFile(path); });
}

int CDIBDraw::CreateImageLoadFromMemory(int* slot, char* data, int size) {
  return images_.Create(slot, Fresh, [&](CImageMaintain& image) { return image.LoadFromMemory(data, size); });
}

int CDIBDraw::CreateImageLoadFromExpTfaFile(int* slot, const char* member, const char* archive) {
  return images_.Create(slot, Fresh,
                        [&](CImageMaintain& image) { return LoadArchiveMember(archive_, image, member, archive); });
}

int CDIBDraw::ReCreateImageLoadFromFile(int slot, const char* path) {
  return images_.ReCreate(slot, Fresh, [&](CImageMaintain& image) { return image.LoadFromFile(path); });
}

int CDIBDraw::ReCreateImageLoadFromMemory(int slot, char* data, int size) {
  return images_.ReCreate(slot, Fresh, [&](CImageMaintain& image) { return image.LoadFromMemory(data, size); });
}

int CDIBDraw::ReCreateImageLoadFromExpTfaFile(int slot, const char* member, const char* archive) {
  return images_.ReCreate(slot, Fresh,
                          [&](CImageMaintain& image) { return LoadArchiveMember(archive_, image, member, archive); });
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

int CDIBDraw::DrawTextV(RECT rect, int count, DWORD colour, int noClip, int centre, int cached, const char* format,
                        va_list args) {
  if (!work_.dc()) return -1;
  const std::string text = torv::format_text_v(format, args);
  if (!cached) {
    DrawBackendPlainText(work_.dc(), font_, rect, text.c_str(), count, colour, noClip, centre);
    GdiFlush();  // the core writes the bits directly next
    return 0;
  }
  return DrawBackendCachedText(cache_, blender_, work_.view(), window_, font_, rect, text.c_str(), count, noClip,
                               centre, colour);
}
