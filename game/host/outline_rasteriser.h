// Anti-aliased coverage of a filled outline (nonzero winding), as the font's glyph
// bitmaps need it. Every step is fixed-width integer arithmetic, so a glyph comes out
// the same bit for bit on every target: 64-bit Linux, 32-bit WebAssembly, anything.
// (A font library's own rasteriser is not: its precision may follow the width of
// `long`, and one edge pixel of a glyph then differs between word sizes.)
//
// Points are 26.6 fixed-point pixels with y growing upwards, as a font's hinted
// outline gives them. The bitmap covers whole pixels: columns [left, left + width)
// and the rows below top, the first row being the one just under y = top. Parts of
// the outline outside that box are clipped.
#pragma once

#include <cstdint>
#include <vector>

namespace torv {

struct OutlinePoint {
  int32_t x = 0;
  int32_t y = 0;
};

class OutlineRasteriser {
public:
  // Boxes larger than this on either side are refused (coverage() gives nothing).
  static constexpr int kMaxSide = 2048;

  OutlineRasteriser(int left, int top, int width, int height);

  // Starts a contour; the open one is closed with a straight line first.
  void move_to(OutlinePoint p);
  void line_to(OutlinePoint p);
  // A quadratic Bézier through control point c, as TrueType outlines have.
  void conic_to(OutlinePoint c, OutlinePoint p);
  void cubic_to(OutlinePoint c1, OutlinePoint c2, OutlinePoint p);

  bool usable() const { return width_ > 0 && height_ > 0; }
  int width() const { return width_; }
  int height() const { return height_; }

  // Closes the open contour and gives width x height coverages, 0 (outside) to 255
  // (inside), row by row from the top; empty for an unusable box or an outline
  // reaching more than 65536 pixels away.
  std::vector<uint8_t> coverage();

private:
  struct Point {
    int64_t x;
    int64_t y;
  };
  struct Segment {
    Point from;
    Point to;
  };
  Point to_box(OutlinePoint p);
  void add_line(Point to);
  void close_contour();

  int left_;
  int top_;
  int width_;
  int height_;
  Point current_{0, 0};
  Point contour_start_{0, 0};
  bool contour_open_ = false;
  bool too_far_ = false;
  // The flattened outline, in subpixels (256 per pixel) from the box's bottom-left.
  std::vector<Segment> segments_;
};

}  // namespace torv
