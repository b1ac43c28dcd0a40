#include "draw_dib/dib_image.h"

#include <utility>

#include "draw/backend_image_store.h"

int CImageMaintain::Keep(torv::Image& decoded) {
  // Fully transparent pixels become black once, so a plain copy shows them black.
  torv::clear_transparent_pixels(&decoded);
  image_ = std::move(decoded);
  return 0;
}

int CImageMaintain::LoadFromFile(const char* path) {
  return DecodeImageFile(path, [this](torv::Image& decoded) { return Keep(decoded); });
}

int CImageMaintain::LoadFromMemory(const void* data, int size) {
  return DecodeImageMemory(data, size, [this](torv::Image& decoded) { return Keep(decoded); });
}
