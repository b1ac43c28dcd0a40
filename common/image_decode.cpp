// PNG (through libpng) and 24-bit BMP decoding into B,G,R,A pixels.
#include "common/image_decode.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

namespace torv {

namespace {

const uint8_t kPngSignature[8] = {137, 80, 78, 71, 13, 10, 26, 10};

// Deflate cannot expand its input by more than 1032 to 1 (a 258-byte match in
// 2 bits). A PNG that claims more raw image data than its size could carry is
// cut short; rejecting it before allocating keeps a tiny damaged file from
// asking for a gigabyte.
constexpr uint64_t kMaxDeflateRatio = 1032;

// Everything the libpng callbacks and the error path touch. It lives outside the
// setjmp frame and is only reached through a pointer, so no local variable is
// read after a longjmp.
struct PngRead {
  const uint8_t* data = nullptr;
  size_t size = 0;
  size_t pos = 0;
  png_structp png = nullptr;
  png_infop info = nullptr;
  std::vector<uint8_t> pixels;
  std::vector<png_bytep> rows;
  int width = 0;
  int height = 0;

  ~PngRead() {
    if (png) png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
  }
};

void png_read_from_memory(png_structp png, png_bytep out, size_t length) {
  PngRead* r = static_cast<PngRead*>(png_get_io_ptr(png));
  if (length > r->size - r->pos) png_error(png, "data end early");
  std::memcpy(out, r->data + r->pos, length);
  r->pos += length;
}

void png_silent_warning(png_structp, png_const_charp) {}

[[noreturn]] void png_fail(png_structp png, png_const_charp) {
  png_longjmp(png, 1);
}

// The work between setjmp and the end of the read; returns only on success
// (every libpng failure longjmps back to decode_png).
void png_decode_into(PngRead* r) {
  png_set_read_fn(r->png, r, png_read_from_memory);
#ifdef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
  // Lets mutated inputs past the checksums, to the decoding behind them.
  png_set_crc_action(r->png, PNG_CRC_QUIET_USE, PNG_CRC_QUIET_USE);
  png_set_option(r->png, PNG_IGNORE_ADLER32, PNG_OPTION_ON);
#endif
  png_set_user_limits(r->png, kMaxImageSide, kMaxImageSide);
  png_read_info(r->png, r->info);

  png_uint_32 width = 0, height = 0;
  int bit_depth = 0, colour_type = 0, interlace = 0;
  png_get_IHDR(r->png, r->info, &width, &height, &bit_depth, &colour_type, &interlace, nullptr,
               nullptr);
  if (width == 0 || height == 0 || width > kMaxImageSide || height > kMaxImageSide)
    png_error(r->png, "bad size");

  // Raw (filtered) bytes the image data must inflate to, one filter byte a row.
  const uint64_t channels = png_get_channels(r->png, r->info);
  const uint64_t raw_row = (uint64_t{width} * channels * static_cast<uint64_t>(bit_depth) + 7) / 8;
  const uint64_t raw_bytes = uint64_t{height} * (raw_row + 1);
  if (raw_bytes > uint64_t{r->size} * kMaxDeflateRatio) png_error(r->png, "data too short");

  // Bring every kind to 8-bit B,G,R,A.
  if (colour_type == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(r->png);
  if (colour_type == PNG_COLOR_TYPE_GRAY && bit_depth < 8) png_set_expand_gray_1_2_4_to_8(r->png);
  if (png_get_valid(r->png, r->info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(r->png);
  if (bit_depth == 16) png_set_strip_16(r->png);
  if (colour_type == PNG_COLOR_TYPE_GRAY || colour_type == PNG_COLOR_TYPE_GRAY_ALPHA)
    png_set_gray_to_rgb(r->png);
  png_set_filler(r->png, 0xFF, PNG_FILLER_AFTER);  // only adds alpha where there is none
  png_set_bgr(r->png);
  png_set_interlace_handling(r->png);
  png_read_update_info(r->png, r->info);

  const size_t pitch = size_t{width} * 4;
  if (png_get_rowbytes(r->png, r->info) != pitch) png_error(r->png, "unexpected row layout");

  r->pixels.resize(pitch * height);
  r->rows.resize(height);
  for (png_uint_32 y = 0; y < height; ++y) r->rows[y] = r->pixels.data() + pitch * y;
  png_read_image(r->png, r->rows.data());
  png_read_end(r->png, nullptr);
  r->width = static_cast<int>(width);
  r->height = static_cast<int>(height);
}

uint32_t le32(const uint8_t* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}
uint16_t le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

}  // namespace

bool has_png_signature(const void* data, size_t size) {
  const size_t n = size < sizeof kPngSignature ? size : sizeof kPngSignature;
  return n == 0 || std::memcmp(data, kPngSignature, n) == 0;
}

int decode_png(const void* data, size_t size, Image* out) {
  if (!data || !out) return -1;
  std::unique_ptr<PngRead> r(new (std::nothrow) PngRead);
  if (!r) return -1;
  r->data = static_cast<const uint8_t*>(data);
  r->size = size;
  r->png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, png_fail, png_silent_warning);
  if (!r->png) return -1;
  r->info = png_create_info_struct(r->png);
  if (!r->info) return -1;

  PngRead* const reader = r.get();
  if (setjmp(png_jmpbuf(reader->png))) return -1;  // the destructor frees libpng's state
  try {
    png_decode_into(reader);
  } catch (const std::bad_alloc&) {
    return -1;
  }

  out->width = reader->width;
  out->height = reader->height;
  out->pixels.swap(reader->pixels);
  return 0;
}

int decode_bmp(const void* data, size_t size, Image* out) {
  constexpr size_t kFileHeader = 14;
  constexpr uint32_t kInfoHeader = 40;
  if (!data || !out || size < kFileHeader + kInfoHeader) return -1;
  const uint8_t* p = static_cast<const uint8_t*>(data);

  const uint32_t info_size = le32(p + 14);
  const int32_t width = static_cast<int32_t>(le32(p + 18));
  const int32_t raw_height = static_cast<int32_t>(le32(p + 22));
  const uint16_t bits = le16(p + 28);
  const uint32_t compression = le32(p + 30);
  if (info_size < kInfoHeader || bits != 24 || compression != 0) return -1;
  if (width <= 0 || width > kMaxImageSide) return -1;
  if (raw_height == 0 || raw_height < -kMaxImageSide || raw_height > kMaxImageSide) return -1;
  const bool top_down = raw_height < 0;
  const int height = top_down ? -raw_height : raw_height;

  const uint64_t headers = kFileHeader + uint64_t{info_size};
  uint64_t offset = le32(p + 10);
  if (offset == 0) offset = headers;
  if (offset < headers) return -1;

  const uint64_t row_bytes = (uint64_t(width) * 3 + 3) & ~uint64_t{3};
  // The last row needs only its pixels; some writers drop its padding.
  const uint64_t needed = offset + row_bytes * uint64_t(height - 1) + uint64_t(width) * 3;
  if (needed > size) return -1;

  std::vector<uint8_t> pixels;
  try {
    pixels.resize(size_t(width) * size_t(height) * 4);
  } catch (const std::bad_alloc&) {
    return -1;
  }
  for (int y = 0; y < height; ++y) {
    const int file_row = top_down ? y : height - 1 - y;
    const uint8_t* src = p + offset + row_bytes * uint64_t(file_row);
    uint8_t* dst = pixels.data() + size_t(y) * size_t(width) * 4;
    for (int x = 0; x < width; ++x, src += 3, dst += 4) {
      dst[0] = src[0];
      dst[1] = src[1];
      dst[2] = src[2];
      dst[3] = 255;
    }
  }
  out->width = width;
  out->height = height;
  out->pixels.swap(pixels);
  return 0;
}

int decode_image(const void* data, size_t size, Image* out) {
  if (!data) return -1;
  return has_png_signature(data, size) ? decode_png(data, size, out) : decode_bmp(data, size, out);
}

int load_image_file(const char* path, Image* out) {
  if (!path || !out) return -1;
  std::FILE* f = std::fopen(path, "rb");
  if (!f) return -1;
  std::vector<uint8_t> data;
  bool ok = true;
  try {
    uint8_t chunk[65536];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) data.insert(data.end(), chunk, chunk + n);
    ok = !std::ferror(f);
  } catch (const std::bad_alloc&) {
    ok = false;
  }
  std::fclose(f);
  if (!ok) return -1;
  return decode_image(data.data(), data.size(), out);
}

}  // namespace torv
