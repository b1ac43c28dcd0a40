// Pixel buffer, blending and quarter-turn helpers of the content tools.
#include "tools/contentkit/image.h"

#include <algorithm>
#include <cmath>

namespace contentkit {

namespace {

int hex_digit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

bool parse_hex_colour(const std::string& text, Rgba& out) {
  if ((text.size() != 7 && text.size() != 9) || text[0] != '#') return false;
  uint8_t bytes[4] = {0, 0, 0, 255};
  for (size_t i = 1, k = 0; i < text.size(); i += 2, ++k) {
    const int hi = hex_digit(text[i]), lo = hex_digit(text[i + 1]);
    if (hi < 0 || lo < 0) return false;
    bytes[k] = static_cast<uint8_t>(hi * 16 + lo);
  }
  out = Rgba{bytes[0], bytes[1], bytes[2], bytes[3]};
  return true;
}

Image::Image(int width, int height, Rgba fill)
    : width_(std::max(width, 0)), height_(std::max(height, 0)),
      pixels_(static_cast<size_t>(width_) * height_, fill) {}

void blend(Image& img, int x, int y, Rgba c, double coverage) {
  if (!img.inside(x, y)) return;
  const double a = std::clamp(coverage, 0.0, 1.0) * c.a / 255.0;
  if (a <= 0.0) return;
  Rgba& d = img.at(x, y);
  const double da = d.a / 255.0;
  const double out_a = a + da * (1.0 - a);
  auto mix = [&](uint8_t s, uint8_t t) {
    return static_cast<uint8_t>(std::lround((s * a + t * da * (1.0 - a)) / out_a));
  };
  d = Rgba{mix(c.r, d.r), mix(c.g, d.g), mix(c.b, d.b), static_cast<uint8_t>(std::lround(out_a * 255.0))};
}

void draw_image(Image& dst, const Image& src, int x, int y) {
  for (int sy = 0; sy < src.height(); ++sy)
    for (int sx = 0; sx < src.width(); ++sx) {
      const Rgba c = src.at(sx, sy);
      if (c.a == 255)
        dst.put(x + sx, y + sy, c);
      else if (c.a != 0)
        blend(dst, x + sx, y + sy, c);
    }
}

Image scale_up(const Image& src, int factor) {
  if (factor < 1) factor = 1;
  Image out(src.width() * factor, src.height() * factor);
  for (int y = 0; y < out.height(); ++y)
    for (int x = 0; x < out.width(); ++x) out.at(x, y) = src.at(x / factor, y / factor);
  return out;
}

Image scale_down(const Image& src, int factor) {
  if (factor < 1) factor = 1;
  const int w = (src.width() + factor - 1) / factor, h = (src.height() + factor - 1) / factor;
  Image out(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      unsigned sum[4] = {0, 0, 0, 0};
      unsigned n = 0;
      for (int sy = y * factor; sy < std::min(src.height(), (y + 1) * factor); ++sy)
        for (int sx = x * factor; sx < std::min(src.width(), (x + 1) * factor); ++sx) {
          const Rgba c = src.at(sx, sy);
          sum[0] += c.r;
          sum[1] += c.g;
          sum[2] += c.b;
          sum[3] += c.a;
          ++n;
        }
      auto avg = [&](unsigned s) { return static_cast<uint8_t>((s + n / 2) / n); };
      out.at(x, y) = Rgba{avg(sum[0]), avg(sum[1]), avg(sum[2]), avg(sum[3])};
    }
  return out;
}

Image flip_horizontal(const Image& src) {
  Image out(src.width(), src.height());
  for (int y = 0; y < src.height(); ++y)
    for (int x = 0; x < src.width(); ++x) out.at(src.width() - 1 - x, y) = src.at(x, y);
  return out;
}

Image rotate_quarter(const Image& src, int turns) {
  turns = ((turns % 4) + 4) % 4;
  if (turns == 0) return src;
  if (turns == 2) {
    Image out(src.width(), src.height());
    for (int y = 0; y < src.height(); ++y)
      for (int x = 0; x < src.width(); ++x) out.at(src.width() - 1 - x, src.height() - 1 - y) = src.at(x, y);
    return out;
  }
  Image out(src.height(), src.width());
  for (int y = 0; y < src.height(); ++y)
    for (int x = 0; x < src.width(); ++x) {
      if (turns == 1)
        out.at(src.height() - 1 - y, x) = src.at(x, y);  // clockwise
      else
        out.at(y, src.width() - 1 - x) = src.at(x, y);  // counter-clockwise
    }
  return out;
}

}  // namespace contentkit
