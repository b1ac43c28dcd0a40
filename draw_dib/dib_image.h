// CImageMaintain: one picture of the DIB renderer's image store, decoded by the core
// into plain memory. Every draw runs on that memory (the blends, and the fast draw's
// keyed copy in place of GDI mask blits), so an image holds no GDI objects.
#pragma once

#include "common/blend.h"
#include "common/image_decode.h"

class CImageMaintain {
public:
  // PNG or 24-bit BMP, chosen by the PNG signature. 0, or -1 with the image as it was.
  int LoadFromFile(const char* path);
  int LoadFromMemory(const void* data, int size);

  int width() const { return image_.width; }
  int height() const { return image_.height; }
  torv::ImageView view() const { return torv::view_of(image_); }

private:
  int Keep(torv::Image& decoded);

  torv::Image image_;
};
