#include "tools/drawcheck/image_encode.h"

#include <png.h>

#include <csetjmp>

namespace torv {

namespace {

void append_to_vector(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

void no_flush(png_structp) {}

void put_le(std::vector<uint8_t>& out, size_t at, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out[at + static_cast<size_t>(i)] = static_cast<uint8_t>(value >> (8 * i));
}

}  // namespace

std::vector<uint8_t> encode_png(const BgraPixels& pixels, bool with_alpha) {
  std::vector<uint8_t> out;
  if (!pixels.bits || pixels.width <= 0 || pixels.height <= 0) return out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    return out;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    out.clear();
    return out;
  }
  png_set_write_fn(png, &out, append_to_vector, no_flush);
  png_set_IHDR(png, info, static_cast<png_uint_32>(pixels.width), static_cast<png_uint_32>(pixels.height), 8,
               with_alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  png_set_bgr(png);
  if (!with_alpha) png_set_filler(png, 0, PNG_FILLER_AFTER);  // rows keep 4 bytes a pixel; the 4th is dropped
  for (int y = 0; y < pixels.height; ++y) {
    png_write_row(png, const_cast<png_bytep>(pixels.bits + static_cast<size_t>(y) * static_cast<size_t>(pixels.pitch)));
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

std::vector<uint8_t> encode_bmp24(const BgraPixels& pixels) {
  std::vector<uint8_t> out;
  if (!pixels.bits || pixels.width <= 0 || pixels.height <= 0) return out;
  const size_t row = (static_cast<size_t>(pixels.width) * 3 + 3) & ~static_cast<size_t>(3);
  const size_t data = row * static_cast<size_t>(pixels.height);
  out.assign(54 + data, 0);
  out[0] = 'B';
  out[1] = 'M';
  put_le(out, 2, static_cast<uint32_t>(out.size()), 4);
  put_le(out, 10, 54, 4);  // pixel data offset
  put_le(out, 14, 40, 4);  // info header size
  put_le(out, 18, static_cast<uint32_t>(pixels.width), 4);
  put_le(out, 22, static_cast<uint32_t>(pixels.height), 4);
  put_le(out, 26, 1, 2);   // planes
  put_le(out, 28, 24, 2);  // bits per pixel
  put_le(out, 34, static_cast<uint32_t>(data), 4);
  for (int y = 0; y < pixels.height; ++y) {
    // The file's first row is the picture's bottom row.
    const uint8_t* src = pixels.bits + static_cast<size_t>(pixels.height - 1 - y) * static_cast<size_t>(pixels.pitch);
    uint8_t* dst = out.data() + 54 + static_cast<size_t>(y) * row;
    for (int x = 0; x < pixels.width; ++x) {
      dst[x * 3 + 0] = src[x * 4 + 0];
      dst[x * 3 + 1] = src[x * 4 + 1];
      dst[x * 3 + 2] = src[x * 4 + 2];
    }
  }
  return out;
}

}  // namespace torv
