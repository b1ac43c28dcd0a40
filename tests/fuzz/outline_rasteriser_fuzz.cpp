// Feeds arbitrary outlines to the glyph rasteriser, as a damaged or hostile font's
// hinted outlines would reach it: any box, any points (near ones and ones up to the
// 32-bit limit), lines, conics and cubics in any order. The bitmap must have the
// box's size unless the box or the outline is refused, and an outline of straight
// contours drawn backwards must give the same bitmap (the cut points may not depend
// on an edge's direction).
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "game/host/outline_rasteriser.h"

namespace {

using torv::OutlinePoint;
using torv::OutlineRasteriser;

struct Reader {
  const uint8_t* data;
  size_t size;
  size_t at = 0;
  uint8_t byte() { return at < size ? data[at++] : 0; }
  int32_t coordinate() {
    // Mostly near the box (a byte of 26.6 around it), sometimes anything at all.
    const uint8_t kind = byte();
    if (kind < 224) return static_cast<int32_t>(kind) * 8 - 256;
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v = v << 8 | byte();
    int32_t out;
    std::memcpy(&out, &v, sizeof out);
    return out;
  }
  OutlinePoint point() {
    const int32_t x = coordinate();
    return OutlinePoint{x, coordinate()};
  }
};

struct Step {
  int op;  // 0 move, 1 line, 2 conic, 3 cubic
  OutlinePoint p[3];
};

void draw(OutlineRasteriser& r, const std::vector<Step>& steps) {
  for (const Step& s : steps) {
    switch (s.op) {
      case 0: r.move_to(s.p[0]); break;
      case 1: r.line_to(s.p[0]); break;
      case 2: r.conic_to(s.p[0], s.p[1]); break;
      default: r.cubic_to(s.p[0], s.p[1], s.p[2]); break;
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Reader in{data, size};
  const int left = static_cast<int8_t>(in.byte());
  const int top = static_cast<int8_t>(in.byte());
  const int width = in.byte() % 40;
  const int height = in.byte() % 40;
  std::vector<Step> steps;
  bool straight = true;
  while (in.at < in.size && steps.size() < 512) {
    Step s{in.byte() % 4, {}};
    const int points = s.op == 0 || s.op == 1 ? 1 : s.op;
    for (int i = 0; i < points; ++i) s.p[i] = in.point();
    straight = straight && s.op < 2;
    steps.push_back(s);
  }

  OutlineRasteriser forward(left, top, width, height);
  draw(forward, steps);
  const std::vector<uint8_t> bitmap = forward.coverage();
  if (!bitmap.empty() && bitmap.size() != static_cast<size_t>(width) * static_cast<size_t>(height)) std::abort();
  if (bitmap.empty() && width > 0 && height > 0) {
    // Refused: only an outline reaching further than the rasteriser sums safely.
    bool far = false;
    for (const Step& s : steps)
      for (const OutlinePoint& p : s.p) far = far || p.x > (1 << 20) || p.x < -(1 << 20) || p.y > (1 << 20) || p.y < -(1 << 20);
    if (!far) std::abort();
  }
  if (!straight || bitmap.empty()) return 0;

  // Each contour backwards: from its start along its points in reverse.
  std::vector<Step> backwards;
  size_t i = 0;
  while (i < steps.size()) {
    size_t end = i + 1;
    while (end < steps.size() && steps[end].op != 0) ++end;
    const bool moved = steps[i].op == 0;
    // Only the first contour can begin without a move: the pen is then at the box's
    // bottom-left corner.
    const OutlinePoint start = moved ? steps[i].p[0] : OutlinePoint{left * 64, (top - height) * 64};
    const size_t first_line = moved ? i + 1 : i;
    backwards.push_back(Step{0, {start}});
    for (size_t k = end; k > first_line; --k) backwards.push_back(Step{1, {steps[k - 1].p[0]}});
    i = end;
  }
  OutlineRasteriser reverse(left, top, width, height);
  draw(reverse, backwards);
  if (reverse.coverage() != bitmap) std::abort();
  return 0;
}
