// Clipping, scaling and kernel choice for the software draws; the per-row loops
// are in blend_scalar.cpp, blend_sse2.cpp and blend_avx2.cpp.
#include "common/blend.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "common/blend_kernels.h"

namespace torv {

using blend_internal::RowKernels;

namespace {

const RowKernels& rows_for(BlendKernels kernels) {
#ifdef TORV_BLEND_X86
  if (kernels == BlendKernels::kAvx2) return blend_internal::kAvx2Rows;
#endif
#ifdef TORV_BLEND_SSE2
  if (kernels == BlendKernels::kSse2) return blend_internal::kSse2Rows;
#endif
#ifndef TORV_BLEND_SSE2
  (void)kernels;
#endif
  return blend_internal::kScalarRows;
}

bool usable(const FrameView& f) { return f.bits && f.width > 0 && f.height > 0; }
bool usable(const ImageView& v) { return v.bits && v.width > 0 && v.height > 0; }

uint8_t* frame_pixel(const FrameView& f, int64_t x, int64_t y) {
  return f.bits + y * f.pitch_bytes + x * 4;
}
const uint8_t* image_pixel(const ImageView& v, int64_t x, int64_t y) {
  return v.bits + y * v.pitch_bytes + x * 4;
}

// One axis of an unscaled draw: the destination span [pos, pos + size) and the
// source span [src, src + size) are both cut to what exists (the frame's
// 0..frame_size and the image's 0..image_size), keeping them in step.
// Returns false when nothing is left. 64-bit, so no argument can overflow.
bool clip_span(int64_t& pos, int64_t& src, int64_t& size, int frame_size, int image_size) {
  const int64_t cut = std::max<int64_t>({0, -pos, -src});
  pos += cut;
  src += cut;
  size -= cut;
  size = std::min<int64_t>({size, frame_size - pos, image_size - src});
  return size > 0;
}

// The visible rectangle of an unscaled draw, or false.
struct Span2 {
  int64_t x, y, src_x, src_y, w, h;
};
bool clip_unscaled(const FrameView& frame, const ImageView& image, int src_x, int src_y, int x,
                   int y, int w, int h, Span2* out) {
  if (!usable(frame) || !usable(image) || w <= 0 || h <= 0) return false;
  Span2 s{x, y, src_x, src_y, w, h};
  if (!clip_span(s.x, s.src_x, s.w, frame.width, image.width)) return false;
  if (!clip_span(s.y, s.src_y, s.h, frame.height, image.height)) return false;
  *out = s;
  return true;
}

}  // namespace

ImageView view_of(const Image& image) {
  ImageView v;
  v.bits = image.pixels.empty() ? nullptr : image.pixels.data();
  v.width = image.width;
  v.height = image.height;
  v.pitch_bytes = image.width * 4;
  return v;
}

uint8_t alpha_byte_from_percent(double percent) {
  // "percent * 2.55" in binary floating point gives 254 for 100; this form is
  // exact for every whole percentage.
  const double a = percent * 255.0 / 100.0;
  if (!(a > 0.0)) return 0;  // also NaN
  if (a >= 255.0) return 255;
  return static_cast<uint8_t>(a);
}

void clear_transparent_pixels(Image* image) {
  if (!image) return;
  uint8_t* p = image->pixels.data();
  for (size_t i = 0; i + 4 <= image->pixels.size(); i += 4)
    if (p[i + 3] == 0) std::memset(p + i, 0, 4);
}

void clear_frame(const FrameView& frame) {
  if (!usable(frame)) return;
  for (int y = 0; y < frame.height; ++y)
    std::memset(frame_pixel(frame, 0, y), 0, size_t(frame.width) * 4);
}

bool blend_kernels_supported(BlendKernels kernels) {
  switch (kernels) {
    case BlendKernels::kScalar:
      return true;
#ifdef TORV_BLEND_X86
    case BlendKernels::kSse2:
      __builtin_cpu_init();
      return __builtin_cpu_supports("sse2");
    case BlendKernels::kAvx2:
      __builtin_cpu_init();
      return __builtin_cpu_supports("avx2");
#elif defined(TORV_BLEND_SSE2_BUILT_IN)
    case BlendKernels::kSse2:
      return true;
    case BlendKernels::kAvx2:
      return false;
#else
    case BlendKernels::kSse2:
    case BlendKernels::kAvx2:
      return false;
#endif
  }
  return false;
}

BlendKernels best_blend_kernels() {
  if (blend_kernels_supported(BlendKernels::kAvx2)) return BlendKernels::kAvx2;
  if (blend_kernels_supported(BlendKernels::kSse2)) return BlendKernels::kSse2;
  return BlendKernels::kScalar;
}

const char* blend_kernels_name(BlendKernels kernels) {
  switch (kernels) {
    case BlendKernels::kScalar:
      return "scalar";
    case BlendKernels::kSse2:
      return "sse2";
    case BlendKernels::kAvx2:
      return "avx2";
  }
  return "?";
}

Blender::Blender(BlendKernels kernels)
    : kernels_(blend_kernels_supported(kernels) ? kernels : best_blend_kernels()) {}

void Blender::draw_image_scaled(const FrameView& frame, const ImageView& image, int x, int y, int w,
                                int h, uint8_t alpha) const {
  if (alpha == 0 || !usable(frame) || !usable(image) || w <= 0 || h <= 0) return;
  // 8.8 steps through the image: 256 = one image pixel per frame pixel.
  const int64_t u = static_cast<int64_t>(static_cast<double>(image.width) / w * 256.0);
  const int64_t v = static_cast<int64_t>(static_cast<double>(image.height) / h * 256.0);

  const int64_t x0 = std::max<int64_t>(x, 0), x1 = std::min<int64_t>(int64_t{x} + w, frame.width);
  const int64_t y0 = std::max<int64_t>(y, 0), y1 = std::min<int64_t>(int64_t{y} + h, frame.height);
  if (x1 <= x0 || y1 <= y0) return;
  const int64_t skip_x = x0 - x, skip_y = y0 - y;
  const int n = static_cast<int>(x1 - x0);

  const RowKernels& rows = rows_for(kernels_);
  const uint8_t* table = table_.Row(0);

  // Source columns; a row of them is gathered once per source row when the
  // horizontal step is not 1:1.
  std::vector<uint8_t> gathered;
  std::vector<int32_t> columns;
  if (u != 256) {
    columns.resize(size_t(n));
    for (int i = 0; i < n; ++i)
      columns[size_t(i)] = static_cast<int32_t>(std::min<int64_t>(((skip_x + i) * u) >> 8, image.width - 1));
    gathered.resize(size_t(n) * 4);
  }
  int64_t gathered_row = -1;
  for (int64_t j = 0; j < y1 - y0; ++j) {
    const int64_t sy = std::min<int64_t>(((skip_y + j) * v) >> 8, image.height - 1);
    const uint8_t* src;
    if (u == 256) {
      src = image_pixel(image, skip_x, sy);
    } else {
      if (sy != gathered_row) {
        const uint8_t* row = image_pixel(image, 0, sy);
        for (int i = 0; i < n; ++i) std::memcpy(&gathered[size_t(i) * 4], row + size_t(columns[size_t(i)]) * 4, 4);
        gathered_row = sy;
      }
      src = gathered.data();
    }
    rows.blend(frame_pixel(frame, x0, y0 + j), src, n, alpha, table);
  }
}

void Blender::draw_image_detail(const FrameView& frame, const ImageView& image, int src_x,
                                int src_y, int x, int y, int w, int h, uint8_t alpha) const {
  Span2 s;
  if (alpha == 0 || !clip_unscaled(frame, image, src_x, src_y, x, y, w, h, &s)) return;
  const RowKernels& rows = rows_for(kernels_);
  for (int64_t j = 0; j < s.h; ++j)
    rows.blend(frame_pixel(frame, s.x, s.y + j), image_pixel(image, s.src_x, s.src_y + j),
               static_cast<int>(s.w), alpha, table_.Row(0));
}

void Blender::copy_image_keyed(const FrameView& frame, const ImageView& image, int x, int y,
                               int src_x, int src_y, int w, int h) const {
  Span2 s;
  if (!clip_unscaled(frame, image, src_x, src_y, x, y, w, h, &s)) return;
  const RowKernels& rows = rows_for(kernels_);
  for (int64_t j = 0; j < s.h; ++j)
    rows.copy_keyed(frame_pixel(frame, s.x, s.y + j), image_pixel(image, s.src_x, s.src_y + j),
                    static_cast<int>(s.w));
}

void Blender::copy_image_opaque(const FrameView& frame, const ImageView& image, int x, int y,
                                int src_x, int src_y, int w, int h) const {
  Span2 s;
  if (!clip_unscaled(frame, image, src_x, src_y, x, y, w, h, &s)) return;
  for (int64_t j = 0; j < s.h; ++j)
    std::memmove(frame_pixel(frame, s.x, s.y + j), image_pixel(image, s.src_x, s.src_y + j),
                 size_t(s.w) * 4);
}

}  // namespace torv
