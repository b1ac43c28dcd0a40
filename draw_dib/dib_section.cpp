#include "draw_dib/dib_section.h"

#include <cstring>

bool DibSection::Create(int width, int height) {
  Release();
  if (width <= 0 || height <= 0 || width > torv::kMaxImageSide || height > torv::kMaxImageSide) return false;
  BITMAPV4HEADER header;
  std::memset(&header, 0, sizeof header);
  header.bV4Size = sizeof header;
  header.bV4Width = width;
  header.bV4Height = -height;  // top-down: row 0 is the top
  header.bV4Planes = 1;
  header.bV4BitCount = 32;
  header.bV4V4Compression = BI_BITFIELDS;
  header.bV4RedMask = 0x00FF0000;
  header.bV4GreenMask = 0x0000FF00;
  header.bV4BlueMask = 0x000000FF;
  header.bV4AlphaMask = 0xFF000000;
  void* bits = nullptr;
  bitmap_ = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &bits, nullptr, 0);
  dc_ = CreateCompatibleDC(nullptr);
  if (!bitmap_ || !bits || !dc_) {
    Release();
    return false;
  }
  old_bitmap_ = SelectObject(dc_, bitmap_);
  bits_ = static_cast<uint8_t*>(bits);
  width_ = width;
  height_ = height;
  std::memset(bits_, 0, static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
  return true;
}

void DibSection::Release() {
  if (dc_) {
    if (old_bitmap_) SelectObject(dc_, old_bitmap_);
    DeleteDC(dc_);
  }
  if (bitmap_) DeleteObject(bitmap_);
  dc_ = nullptr;
  bitmap_ = nullptr;
  old_bitmap_ = nullptr;
  bits_ = nullptr;
  width_ = height_ = 0;
}

torv::FrameView DibSection::view() const {
  torv::FrameView v;
  v.bits = bits_;
  v.width = width_;
  v.height = height_;
  v.pitch_bytes = width_ * 4;
  return v;
}
