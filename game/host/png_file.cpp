// PNG writing with libpng.
#include "game/host/png_file.h"

#include <png.h>

#include <cstdio>
#include <vector>

namespace torv {

namespace {

// rows(y) gives row y as B, G, R, A bytes; alpha: keep the fourth byte.
template <typename Rows>
bool write_png(const std::string& path, int width, int height, bool alpha, Rows rows) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  const int channels = alpha ? 4 : 3;
  std::vector<uint8_t> row(static_cast<size_t>(width) * channels);
  bool ok = false;
  if (png && info && setjmp(png_jmpbuf(png)) == 0) {
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) {
      const uint8_t* src = rows(y);
      for (int x = 0; x < width; ++x) {  // B, G, R, A to R, G, B (, A)
        uint8_t* dst = &row[static_cast<size_t>(x) * channels];
        dst[0] = src[x * 4 + 2];
        dst[1] = src[x * 4 + 1];
        dst[2] = src[x * 4];
        if (alpha) dst[3] = src[x * 4 + 3];
      }
      png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    ok = true;
  }
  png_destroy_write_struct(&png, &info);
  return std::fclose(file) == 0 && ok;
}

}  // namespace

bool write_frame_png(const std::string& path, const FrameView& frame) {
  return write_png(path, frame.width, frame.height, false,
                   [&](int y) { return frame.bits + static_cast<ptrdiff_t>(y) * frame.pitch_bytes; });
}

bool write_image_png(const std::string& path, const Image& image) {
  return write_png(path, image.width, image.height, true,
                   [&](int y) { return &image.pixels[static_cast<size_t>(y) * image.width * 4]; });
}

}  // namespace torv
