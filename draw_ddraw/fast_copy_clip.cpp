#include "draw_ddraw/fast_copy_clip.h"

#include <algorithm>
#include <cstdint>

namespace torv {

namespace {

// One axis: the run of length n from src in the image to dst in the frame, cut to
// both. 64-bit so that no argument, however far out, can overflow.
bool clip_axis(int64_t dst, int64_t src, int64_t n, int64_t frame, int64_t image, int* out_dst, int* out_src,
               int* out_n) {
  if (dst < 0) {
    src -= dst;
    n += dst;
    dst = 0;
  }
  if (src < 0) {
    dst -= src;
    n += src;
    src = 0;
  }
  n = std::min({n, frame - dst, image - src});
  if (n <= 0) return false;
  *out_dst = static_cast<int>(dst);
  *out_src = static_cast<int>(src);
  *out_n = static_cast<int>(n);
  return true;
}

}  // namespace

bool clip_fast_copy(int x, int y, int src_x, int src_y, int w, int h, int frame_w, int frame_h, int image_w,
                    int image_h, FastCopy* out) {
  FastCopy c;
  int cw = 0, ch = 0;
  if (!clip_axis(x, src_x, w, frame_w, image_w, &c.x, &c.left, &cw)) return false;
  if (!clip_axis(y, src_y, h, frame_h, image_h, &c.y, &c.top, &ch)) return false;
  c.right = c.left + cw;
  c.bottom = c.top + ch;
  *out = c;
  return true;
}

}  // namespace torv
