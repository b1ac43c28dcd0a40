// Where an unblended copy lands: DirectDraw's BltFast does not clip (a rectangle
// that reaches outside either surface is refused whole), so the back-end cuts the
// request to what lies inside both the frame and the image first. Portable.
#pragma once

namespace torv {

// A copy of the source rectangle {left, top, right, bottom} (right and bottom
// exclusive) to (x, y) of the frame.
struct FastCopy {
  int x = 0;
  int y = 0;
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

// The w x h part of an image_w x image_h image at (src_x, src_y), to be copied to
// (x, y) of a frame_w x frame_h frame, cut to the pixels that exist in both: each
// visible pixel keeps its place (source column src_x + i lands on frame column
// x + i). False when nothing is left to copy (w or h <= 0, or wholly outside).
bool clip_fast_copy(int x, int y, int src_x, int src_y, int w, int h, int frame_w, int frame_h, int image_w,
                    int image_h, FastCopy* out);

}  // namespace torv
