#include "draw_ddraw/dd_image.h"

#include <cstring>

#include "draw/backend_image_store.h"
#include "draw_ddraw/colour_key.h"

int CDDSMaintain::CreateDDSByDIBImage(torv::Image& decoded) {
  torv::FrameView pixels{decoded.pixels.data(), decoded.width, decoded.height, decoded.width * 4};
  const uint32_t key = torv::find_colour_key(torv::ImageView{pixels.bits, pixels.width, pixels.height,
                                                             pixels.pitch_bytes});
  torv::fill_transparent_with_key(pixels, key);

  if (!*dd_ || !surface_.Create(*dd_, decoded.width, decoded.height)) return -1;
  {
    DdScopedLock lock(surface_);
    const torv::FrameView& to = lock.view();
    if (!to.bits) {
      surface_.Release();
      return -1;
    }
    const size_t row = static_cast<size_t>(decoded.width) * 4;
    for (int y = 0; y < decoded.height; ++y) {
      std::memcpy(to.bits + static_cast<size_t>(y) * to.pitch_bytes, pixels.bits + y * row, row);
    }
  }
  if (!surface_.SetSourceKey(key)) {
    surface_.Release();
    return -1;
  }
  key_ = key;
  return 0;
}

int CDDSMaintain::LoadFromFile(const char* path) {
  return DecodeImageFile(path, [this](torv::Image& decoded) { return CreateDDSByDIBImage(decoded); });
}

int CDDSMaintain::LoadFromMemory(const void* data, int size) {
  return DecodeImageMemory(data, size, [this](torv::Image& decoded) { return CreateDDSByDIBImage(decoded); });
}
