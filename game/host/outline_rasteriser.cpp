// Exact-area coverage: each straight edge is cut at every pixel border it crosses,
// and each piece adds to its cell the height it spans (cover) and that height times
// twice its mean distance from the cell's left side (area). Sweeping a row from the
// left, the cover summed so far says how much of the pixel the edges on its left
// fill, and the cell's own area takes off the part left of its own edges.
//
// Cut points are rounded from the edge's end points, never from the previous cut,
// and always from the same end (the lower one, then the left one), so neighbouring
// pieces meet exactly, every row's covers sum to whole windings, and an edge drawn
// backwards gives the same pieces with the opposite sign.
#include "game/host/outline_rasteriser.h"

#include <algorithm>

namespace torv {
namespace {

constexpr int64_t kOne = 256;           // subpixels per pixel
constexpr int64_t kFromOutline = 4;     // 26.6 units to subpixels
constexpr int64_t kTolerance = kOne / 32;  // how far a chord may stray from its curve
constexpr int kMaxChords = 256;
// Outlines reaching further than this (in subpixels, 65536 pixels) are refused, which
// keeps every product below in 64 bits.
constexpr int64_t kMaxReach = int64_t{1} << 24;

int64_t floor_div(int64_t n, int64_t d) {  // d > 0
  int64_t q = n / d;
  if (n % d != 0 && n < 0) --q;
  return q;
}

int64_t round_div(int64_t n, int64_t d) { return floor_div(2 * n + d, 2 * d); }

int64_t magnitude(int64_t v) { return v < 0 ? -v : v; }

// Chords needed so that n equal steps stray at most kTolerance: the fewest n with
// n² x scale >= bend.
int chords_for(int64_t bend, int64_t scale) {
  int n = 1;
  while (n < kMaxChords && int64_t{n} * n * scale < bend) ++n;
  return n;
}

// Cover and area cells of the box's rows; column 0 gathers everything left of the
// box, whose only effect inside is the cover it hands on.
class Cells {
public:
  Cells(int width, int height)
      : width_(width),
        height_(height),
        cover_(static_cast<size_t>(width + 1) * static_cast<size_t>(height), 0),
        area_(cover_.size(), 0) {}

  // A straight edge in box subpixels; rows outside the box are dropped.
  void edge(int64_t ax, int64_t ay, int64_t bx, int64_t by) {
    if (ay == by) return;
    const int direction = by > ay ? 1 : -1;
    const int64_t lo_x = direction > 0 ? ax : bx, lo_y = direction > 0 ? ay : by;
    const int64_t hi_x = direction > 0 ? bx : ax, hi_y = direction > 0 ? by : ay;
    const int64_t top = int64_t{height_} * kOne;
    if (hi_y <= 0 || lo_y >= top) return;
    const auto x_at = [&](int64_t y) { return lo_x + round_div((hi_x - lo_x) * (y - lo_y), hi_y - lo_y); };
    int64_t y = std::max<int64_t>(lo_y, 0);
    const int64_t y_end = std::min(hi_y, top);
    int64_t x = x_at(y);
    while (y < y_end) {
      const int64_t row = y / kOne;
      const int64_t next_y = std::min((row + 1) * kOne, y_end);
      const int64_t next_x = x_at(next_y);
      row_piece(static_cast<int>(row), x, y - row * kOne, next_x, next_y - row * kOne, direction);
      x = next_x;
      y = next_y;
    }
  }

  std::vector<uint8_t> sweep() const {
    std::vector<uint8_t> out(static_cast<size_t>(width_) * static_cast<size_t>(height_), 0);
    constexpr int64_t kFull = 2 * kOne * kOne;
    for (int row = 0; row < height_; ++row) {
      const size_t cells = static_cast<size_t>(row) * static_cast<size_t>(width_ + 1);
      int64_t cover = cover_[cells];
      uint8_t* pixels = out.data() + static_cast<size_t>(height_ - 1 - row) * static_cast<size_t>(width_);
      for (int col = 0; col < width_; ++col) {
        cover += cover_[cells + 1 + static_cast<size_t>(col)];
        const int64_t filled = magnitude(cover * 2 * kOne - area_[cells + 1 + static_cast<size_t>(col)]);
        pixels[col] = static_cast<uint8_t>(std::min<int64_t>(255, (filled * 255 + kFull / 2) / kFull));
      }
    }
    return out;
  }

private:
  // A piece of an edge inside one row, fy in 0..kOne, going upwards from (ax, ay)
  // to (bx, by); direction is the edge's own.
  void row_piece(int row, int64_t ax, int64_t ay, int64_t bx, int64_t by, int direction) {
    const bool a_left = ax <= bx;
    const int64_t left_x = a_left ? ax : bx, left_y = a_left ? ay : by;
    const int64_t right_x = a_left ? bx : ax, right_y = a_left ? by : ay;
    if (left_x == right_x) {
      add(row, left_x, left_x, magnitude(by - ay) * direction);
      return;
    }
    const auto y_at = [&](int64_t x) {
      return left_y + round_div((right_y - left_y) * (x - left_x), right_x - left_x);
    };
    const int64_t right_border = int64_t{width_} * kOne;
    int64_t x = left_x;
    int64_t y = left_y;
    while (x < right_x && x < right_border) {
      const int64_t next_x = x < 0 ? std::min<int64_t>(right_x, 0)
                                   : std::min(right_x, (x / kOne + 1) * kOne);
      const int64_t next_y = y_at(next_x);
      add(row, x, next_x, magnitude(next_y - y) * direction);
      x = next_x;
      y = next_y;
    }
  }

  // A piece from x0 to x1 (x0 <= x1, one cell) spanning dy.
  void add(int row, int64_t x0, int64_t x1, int64_t dy) {
    if (dy == 0) return;
    const size_t cells = static_cast<size_t>(row) * static_cast<size_t>(width_ + 1);
    if (x0 < 0) {
      cover_[cells] += dy;
      return;
    }
    const int64_t col = x0 / kOne;
    if (col >= width_) return;
    const size_t cell = cells + 1 + static_cast<size_t>(col);
    cover_[cell] += dy;
    area_[cell] += (x0 - col * kOne + x1 - col * kOne) * dy;
  }

  int width_;
  int height_;
  std::vector<int64_t> cover_;
  std::vector<int64_t> area_;
};

}  // namespace

OutlineRasteriser::OutlineRasteriser(int left, int top, int width, int height)
    : left_(left), top_(top), width_(width), height_(height) {
  if (width_ <= 0 || height_ <= 0 || width_ > kMaxSide || height_ > kMaxSide) width_ = height_ = 0;
}

OutlineRasteriser::Point OutlineRasteriser::to_box(OutlinePoint p) {
  Point box{(int64_t{p.x} - int64_t{left_} * 64) * kFromOutline,
            (int64_t{p.y} - (int64_t{top_} - height_) * 64) * kFromOutline};
  if (magnitude(box.x) > kMaxReach || magnitude(box.y) > kMaxReach) {
    // Too far to sum safely: coverage() refuses the whole outline.
    too_far_ = true;
    return Point{0, 0};
  }
  return box;
}

void OutlineRasteriser::move_to(OutlinePoint p) {
  close_contour();
  current_ = contour_start_ = to_box(p);
  contour_open_ = true;
}

void OutlineRasteriser::line_to(OutlinePoint p) { add_line(to_box(p)); }

void OutlineRasteriser::conic_to(OutlinePoint c, OutlinePoint p) {
  const Point p0 = current_, p1 = to_box(c), p2 = to_box(p);
  // n equal chords stray at most |p0 - 2 p1 + p2| / (4 n²) from the curve.
  const int64_t bend = std::max(magnitude(p0.x - 2 * p1.x + p2.x), magnitude(p0.y - 2 * p1.y + p2.y));
  const int64_t n = chords_for(bend, 4 * kTolerance);
  for (int64_t i = 1; i < n; ++i) {
    const int64_t a = (n - i) * (n - i), b = 2 * i * (n - i), c2 = i * i, d = n * n;
    add_line(Point{round_div(a * p0.x + b * p1.x + c2 * p2.x, d), round_div(a * p0.y + b * p1.y + c2 * p2.y, d)});
  }
  add_line(p2);
}

void OutlineRasteriser::cubic_to(OutlinePoint c1, OutlinePoint c2, OutlinePoint p) {
  const Point p0 = current_, p1 = to_box(c1), p2 = to_box(c2), p3 = to_box(p);
  // The second derivative stays within 6 x the larger of the two control bends, so
  // n equal chords stray at most 3 x bend / (4 n²).
  const int64_t bend = std::max({magnitude(p0.x - 2 * p1.x + p2.x), magnitude(p0.y - 2 * p1.y + p2.y),
                                 magnitude(p1.x - 2 * p2.x + p3.x), magnitude(p1.y - 2 * p2.y + p3.y)});
  const int64_t n = chords_for(3 * bend, 4 * kTolerance);
  for (int64_t i = 1; i < n; ++i) {
    const int64_t j = n - i;
    const int64_t a = j * j * j, b = 3 * i * j * j, c = 3 * i * i * j, e = i * i * i, d = n * n * n;
    add_line(Point{round_div(a * p0.x + b * p1.x + c * p2.x + e * p3.x, d),
                   round_div(a * p0.y + b * p1.y + c * p2.y + e * p3.y, d)});
  }
  add_line(p3);
}

void OutlineRasteriser::add_line(Point to) {
  if (!contour_open_) {
    // An outline that starts without a move begins where the pen is.
    contour_start_ = current_;
    contour_open_ = true;
  }
  if (to.x != current_.x || to.y != current_.y) segments_.push_back(Segment{current_, to});
  current_ = to;
}

void OutlineRasteriser::close_contour() {
  if (contour_open_) add_line(contour_start_);
  contour_open_ = false;
}

std::vector<uint8_t> OutlineRasteriser::coverage() {
  close_contour();
  if (!usable() || too_far_) return {};
  Cells cells(width_, height_);
  for (const Segment& s : segments_) cells.edge(s.from.x, s.from.y, s.to.x, s.to.y);
  return cells.sweep();
}

}  // namespace torv
