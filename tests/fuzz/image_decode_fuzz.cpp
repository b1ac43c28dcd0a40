// The PNG and BMP decoders on arbitrary bytes; whatever decodes is also drawn,
// scaled and clipped, so the blending loops see arbitrary images too.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "common/blend.h"
#include "common/image_decode.h"

namespace {

void check(const torv::Image& img) {
  if (img.width <= 0 || img.height <= 0 || img.width > torv::kMaxImageSide ||
      img.height > torv::kMaxImageSide ||
      img.pixels.size() != size_t(img.width) * size_t(img.height) * 4)
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const torv::Blender blender;
  torv::Image png, bmp, any;
  if (torv::decode_png(data, size, &png) == 0) check(png);
  if (torv::decode_bmp(data, size, &bmp) == 0) check(bmp);
  if (torv::decode_image(data, size, &any) != 0) return 0;
  check(any);

  std::vector<uint8_t> frame(48 * 40 * 4 + 4, 0);
  const torv::FrameView view{frame.data(), 48, 40, 48 * 4};
  const uint8_t alpha = size > 0 ? data[size - 1] : 255;
  const int w = 1 + int(size % 97), h = 1 + int(size % 61);
  const int x = int(size % 29) - 14, y = int(size % 23) - 11;
  torv::clear_transparent_pixels(&any);
  blender.draw_image_scaled(view, torv::view_of(any), x, y, w, h, alpha);
  blender.draw_image_detail(view, torv::view_of(any), x, y, -y, -x, w, h, alpha);
  blender.copy_image_keyed(view, torv::view_of(any), y, x, x, y, w, h);
  return 0;
}
