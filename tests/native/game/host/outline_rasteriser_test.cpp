// The glyph rasteriser: exact coverage of simple shapes, winding, clipping at the
// box, curves, and outlines it must refuse.
#include "game/host/outline_rasteriser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace torv {
namespace {

// 26.6 from pixels given in quarters.
constexpr int32_t Q(int quarters) { return quarters * 16; }

struct Shape {
  std::string name;
  std::vector<std::vector<OutlinePoint>> contours;  // straight edges, closed
  int width, height;                                 // box at left 0, top = height
  std::vector<int> expected;                         // rows from the top
};

std::vector<uint8_t> draw(const Shape& shape, bool backwards) {
  OutlineRasteriser r(0, shape.height, shape.width, shape.height);
  for (std::vector<OutlinePoint> contour : shape.contours) {
    if (backwards) std::reverse(contour.begin(), contour.end());
    r.move_to(contour[0]);
    for (size_t i = 1; i < contour.size(); ++i) r.line_to(contour[i]);
  }
  return r.coverage();
}

std::vector<OutlinePoint> square(int x0, int y0, int x1, int y1) {
  return {{Q(x0), Q(y0)}, {Q(x1), Q(y0)}, {Q(x1), Q(y1)}, {Q(x0), Q(y1)}};
}

TEST(OutlineRasteriser, CoversEachPixelByTheShareOfItInside) {
  const std::vector<Shape> shapes = {
      {"whole-pixel square", {square(4, 4, 12, 12)}, 4, 4,
       {0, 0, 0, 0,  0, 255, 255, 0,  0, 255, 255, 0,  0, 0, 0, 0}},
      {"half-pixel offset square", {square(2, 2, 10, 10)}, 3, 3,
       {64, 128, 64,  128, 255, 128,  64, 128, 64}},
      {"right triangle", {{{0, 0}, {Q(8), 0}, {0, Q(8)}}}, 2, 2,
       {128, 0,  255, 128}},
      {"quarter-pixel sliver", {square(5, 0, 6, 8)}, 2, 2,
       {0, 64,  0, 64}},
      // Same direction twice: winding 2 is still just inside.
      {"overlapping squares", {square(0, 0, 8, 8), square(4, 0, 12, 8)}, 3, 2,
       {255, 255, 255,  255, 255, 255}},
      // Outside the box: the left part still fills the row to its right; the rest is cut.
      {"square past every border", {square(-8, -8, 6, 20)}, 3, 3,
       {255, 128, 0,  255, 128, 0,  255, 128, 0}},
  };
  for (const Shape& shape : shapes) {
    for (bool backwards : {false, true}) {
      const std::vector<uint8_t> got = draw(shape, backwards);
      ASSERT_EQ(got.size(), shape.expected.size()) << shape.name;
      for (size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(got[i], shape.expected[i]) << shape.name << (backwards ? " backwards" : "") << " pixel " << i;
      }
    }
  }
}

TEST(OutlineRasteriser, AnInnerContourTheOtherWayIsAHole) {
  OutlineRasteriser r(0, 4, 4, 4);
  const std::vector<OutlinePoint> outer = square(0, 0, 16, 16);
  const std::vector<OutlinePoint> inner = square(4, 4, 12, 12);
  r.move_to(outer[0]);
  for (size_t i = 1; i < outer.size(); ++i) r.line_to(outer[i]);
  r.move_to(inner[0]);
  for (size_t i = inner.size() - 1; i > 0; --i) r.line_to(inner[i]);
  const std::vector<uint8_t> got = r.coverage();
  const std::vector<uint8_t> ring = {255, 255, 255, 255, 255, 0, 0, 255, 255, 0, 0, 255, 255, 255, 255, 255};
  EXPECT_EQ(got, ring);
}

constexpr double kPi = 3.14159265358979323846;

// A circle of radius 5 pixels drawn with curves covers about pi r² pixels, and its
// pixels are symmetric about both axes.
TEST(OutlineRasteriser, CurvesFollowTheCircle) {
  const int32_t radius = 5 * 64, centre = 6 * 64;
  // The conic control of an eighth of the circle lies tan(22.5°) along its tangent.
  const int32_t tangent = static_cast<int32_t>(std::lround(radius * std::tan(kPi / 8)));
  const int32_t diagonal = static_cast<int32_t>(std::lround(radius * std::sqrt(0.5)));
  struct Case {
    const char* name;
    void (*draw)(OutlineRasteriser&, int32_t, int32_t, int32_t, int32_t);
  };
  const Case cases[] = {
      {"conics",
       [](OutlineRasteriser& ras, int32_t c, int32_t r, int32_t t, int32_t d) {
         ras.move_to({c + r, c});
         const int sx[] = {1, -1, -1, 1}, sy[] = {1, 1, -1, -1};
         for (int q = 0; q < 4; ++q) {
           // From angle 90q to 90q + 45 to 90q + 90, counter-clockwise.
           const bool even = q % 2 == 0;
           const OutlinePoint start = even ? OutlinePoint{c + sx[q] * r, c} : OutlinePoint{c, c + sy[q] * r};
           const OutlinePoint mid{c + sx[q] * d, c + sy[q] * d};
           const OutlinePoint end = even ? OutlinePoint{c, c + sy[q] * r} : OutlinePoint{c + sx[q] * r, c};
           const OutlinePoint c1 = even ? OutlinePoint{start.x, c + sy[q] * t} : OutlinePoint{c + sx[q] * t, start.y};
           const OutlinePoint c2 = even ? OutlinePoint{c + sx[q] * t, end.y} : OutlinePoint{end.x, c + sy[q] * t};
           ras.conic_to(c1, mid);
           ras.conic_to(c2, end);
         }
       }},
      {"cubics",
       [](OutlineRasteriser& ras, int32_t c, int32_t r, int32_t, int32_t) {
         const int32_t k = static_cast<int32_t>(std::lround(r * 0.5522847498));
         ras.move_to({c + r, c});
         ras.cubic_to({c + r, c + k}, {c + k, c + r}, {c, c + r});
         ras.cubic_to({c - k, c + r}, {c - r, c + k}, {c - r, c});
         ras.cubic_to({c - r, c - k}, {c - k, c - r}, {c, c - r});
         ras.cubic_to({c + k, c - r}, {c + r, c - k}, {c + r, c});
       }},
  };
  for (const Case& cs : cases) {
    OutlineRasteriser ras(0, 12, 12, 12);
    cs.draw(ras, centre, radius, tangent, diagonal);
    const std::vector<uint8_t> got = ras.coverage();
    ASSERT_EQ(got.size(), 144u) << cs.name;
    double covered = 0;
    for (uint8_t v : got) covered += v / 255.0;
    EXPECT_NEAR(covered, kPi * 25, kPi * 25 * 0.01) << cs.name;
    for (int y = 0; y < 12; ++y) {
      for (int x = 0; x < 12; ++x) {
        const int v = got[static_cast<size_t>(y * 12 + x)];
        EXPECT_NEAR(v, got[static_cast<size_t>(y * 12 + 11 - x)], 2) << cs.name << " mirror x " << x << "," << y;
        EXPECT_NEAR(v, got[static_cast<size_t>((11 - y) * 12 + x)], 2) << cs.name << " mirror y " << x << "," << y;
      }
    }
    EXPECT_EQ(got[6 * 12 + 6], 255) << cs.name;  // the middle
    EXPECT_EQ(got[0], 0) << cs.name;             // a corner
  }
}

TEST(OutlineRasteriser, RefusesWhatItCannotDrawSafely) {
  struct Case {
    const char* name;
    int width, height;
    OutlinePoint far;
  };
  const Case cases[] = {
      {"empty box", 0, 4, {Q(4), Q(4)}},
      {"box too large", OutlineRasteriser::kMaxSide + 1, 4, {Q(4), Q(4)}},
      {"point a million pixels away", 4, 4, {1000000 * 64, Q(4)}},
  };
  for (const Case& c : cases) {
    OutlineRasteriser r(0, c.height, c.width, c.height);
    r.move_to({0, 0});
    r.line_to(c.far);
    r.line_to({0, Q(4)});
    EXPECT_TRUE(r.coverage().empty()) << c.name;
  }
  // An outline with no area draws an empty bitmap, not nothing.
  OutlineRasteriser flat(0, 2, 2, 2);
  flat.move_to({0, Q(4)});
  flat.line_to({Q(8), Q(4)});
  EXPECT_EQ(flat.coverage(), std::vector<uint8_t>(4, 0));
}

}  // namespace
}  // namespace torv
