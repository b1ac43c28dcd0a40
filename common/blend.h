// The software renderers' pixel work on plain memory: alpha blending through the
// product table, 8.8 fixed-point scaling, clipping, and the colour-keyed and plain
// copies. Used on a DIB section by the GDI renderer and on locked surface memory
// (with its own pitch) by the DirectDraw renderer; nothing here knows about either.
//
// Pixels everywhere are 4 bytes blue, green, red, alpha (see image_decode.h).
//
// The blend rule, for a source pixel s, a destination pixel d, the call's alpha
// byte a and T[i][j] = floor(i * j / 255) (common/product_table.h):
//   B = T[alpha of s][a];
//   B = 255: d becomes s, all four bytes;
//   B = 0:   d is left as it is;
//   else:    each of blue, green, red: d = T[s][B] + T[d][255 - B]; d's alpha stays.
// The vector kernels produce exactly the same bytes as the table (tests compare
// them over random images and every edge alpha).
#pragma once

#include <cstdint>

#include "common/image_decode.h"
#include "common/product_table.h"

namespace torv {

// Where drawing lands: width x height pixels, rows pitch_bytes apart (pitch_bytes
// >= width * 4; a surface may pad its rows). The memory belongs to the caller.
struct FrameView {
  uint8_t* bits = nullptr;
  int width = 0;
  int height = 0;
  int pitch_bytes = 0;
};

// What is drawn from: the same layout, read only.
struct ImageView {
  const uint8_t* bits = nullptr;
  int width = 0;
  int height = 0;
  int pitch_bytes = 0;
};

// A view of a decoded image (valid while the image is neither changed nor freed).
ImageView view_of(const Image& image);

// The alpha byte of a draw from its percentage: trunc(percent * 255 / 100),
// clamped to 0..255 (NaN gives 0). So 100 -> 255, 50 -> 127, 1 -> 2, 0 -> 0; an
// opaque image drawn at 100 % is therefore a byte-exact copy.
uint8_t alpha_byte_from_percent(double percent);

// Sets every pixel whose alpha is 0 to 0 (black, alpha 0). Stored images get this
// once after loading, so that a plain copy shows transparent pixels as black.
void clear_transparent_pixels(Image* image);

// Sets every pixel of the frame to 0 (the start of a frame).
void clear_frame(const FrameView& frame);

// The pixel loops that do the work. kScalar is the table implementation that the
// others are checked against; it runs everywhere. kSse2 and kAvx2 need the CPU
// feature (the Windows builds target a generic processor, so the choice is made
// at run time). A WebAssembly build made with -msimd128 -msse2 has kSse2 built in
// as SIMD128 code; one made without it has only kScalar.
enum class BlendKernels { kScalar, kSse2, kAvx2 };

bool blend_kernels_supported(BlendKernels kernels);
BlendKernels best_blend_kernels();        // AVX2, else SSE2, else scalar
const char* blend_kernels_name(BlendKernels kernels);  // "scalar", "sse2", "avx2"

// Draws images into frames. Holds the product table (64 KiB: build one per
// renderer, not per draw) and the chosen kernels; it keeps no other state, so the
// draws are const and one Blender serves any number of frames.
//
// Arguments follow the renderer entry points. Positions and sizes may lie partly
// or wholly outside the frame or the image: every draw clips and never reads or
// writes outside either. A width or height <= 0 draws nothing.
class Blender {
public:
  // Unsupported kernels fall back to the best supported ones (see kernels()).
  explicit Blender(BlendKernels kernels = best_blend_kernels());

  BlendKernels kernels() const { return kernels_; }
  const ProductTable& table() const { return table_; }

  // The whole image scaled to w x h at (x, y) and blended with the alpha byte.
  // Steps through the image in 8.8 fixed point: u = trunc(image.width / w * 256),
  // v likewise; the visible pixel (x + i, y + j) of the w x h rectangle shows
  // image pixel ((i * u) >> 8, (j * v) >> 8), with i, j counted from the
  // rectangle's own top-left, so a rectangle that starts left of or above the
  // frame shows the part of the image that lies inside the frame.
  void draw_image_scaled(const FrameView& frame, const ImageView& image, int x, int y, int w,
                         int h, uint8_t alpha) const;

  // The w x h part of the image at (src_x, src_y), unscaled, blended at (x, y).
  // Clipped to both the frame and the image: only pixels that exist in both are
  // touched, each at its own place.
  void draw_image_detail(const FrameView& frame, const ImageView& image, int src_x, int src_y,
                         int x, int y, int w, int h, uint8_t alpha) const;

  // The w x h part at (src_x, src_y) copied to (x, y) without blending, clipped
  // like draw_image_detail. Keyed: pixels with alpha 0 are left out, all others
  // are copied as they are (four bytes; the frame's alpha is never shown).
  void copy_image_keyed(const FrameView& frame, const ImageView& image, int x, int y, int src_x,
                        int src_y, int w, int h) const;
  // Opaque: every pixel of the rectangle is copied as it is.
  void copy_image_opaque(const FrameView& frame, const ImageView& image, int x, int y, int src_x,
                         int src_y, int w, int h) const;

private:
  BlendKernels kernels_;
  ProductTable table_;
};

}  // namespace torv
