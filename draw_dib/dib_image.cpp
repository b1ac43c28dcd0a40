#include "draw_dib/dib_image.h"

#include <utility>

int CImageMaintain::Keep(torv::Image& decoded) {
  // Fully transparent pixels become black once, so a plain copy shows them black.
  torv::clear_transparent_pixels(&decoded);
  image_ = std::move(decoded);
  return 0;
}

int CImageMaintain::LoadFromFile(const char* path) {
  if (!path) return -1;
  torv::Image decoded;
  if (torv::load_image_file(path, &decoded) != 0) return -1;
  return Keep(decoded);
}

int CImageMaintain::LoadFromMemory(const void* data, int size) {
  if (!data || size < 0) return -1;
  torv::Image decoded;
  if (torv::decode_image(data, static_cast<size_t>(size), &decoded) != 0) return -1;
  return Keep(decoded);
}
