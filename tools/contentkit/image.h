// RGBA images for the content tools: a plain pixel buffer, PNG files in and out
// (through libpng), and the few drawing helpers the tools share.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace contentkit {

struct Rgba {
  uint8_t r = 0, g = 0, b = 0, a = 0;
  bool operator==(const Rgba& o) const { return r == o.r && g == o.g && b == o.b && a == o.a; }
  bool operator!=(const Rgba& o) const { return !(*this == o); }
};

// Parses "#rrggbb" or "#rrggbbaa" (alpha 255 when absent). False on anything else.
bool parse_hex_colour(const std::string& text, Rgba& out);

class Image {
public:
  Image() = default;
  Image(int width, int height, Rgba fill = Rgba{});

  int width() const { return width_; }
  int height() const { return height_; }
  bool empty() const { return width_ == 0 || height_ == 0; }

  Rgba& at(int x, int y) { return pixels_[static_cast<size_t>(y) * width_ + x]; }
  const Rgba& at(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }
  bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
  // Writes c when (x, y) is inside; drawing code may run off the edges freely.
  void put(int x, int y, Rgba c) {
    if (inside(x, y)) at(x, y) = c;
  }
  const std::vector<Rgba>& pixels() const { return pixels_; }

private:
  int width_ = 0;
  int height_ = 0;
  std::vector<Rgba> pixels_;
};

// Source-over blend of c onto the pixel at (x, y), weighted by c's alpha and
// coverage (0..1). Outside the image nothing happens.
void blend(Image& img, int x, int y, Rgba c, double coverage = 1.0);

// Copies src onto dst with its top-left at (x, y): alpha 0 pixels are skipped,
// others blended by their alpha.
void draw_image(Image& dst, const Image& src, int x, int y);

// Nearest-neighbour enlargement by a whole factor (for previews).
Image scale_up(const Image& src, int factor);
// Box-filter reduction by a whole factor; a partial block at the right or bottom
// edge averages what it has.
Image scale_down(const Image& src, int factor);

Image flip_horizontal(const Image& src);
// Quarter turns: 1 = clockwise, -1 = counter-clockwise, 2 = half turn.
Image rotate_quarter(const Image& src, int turns);

// PNG files. with_alpha false writes 8-bit RGB (alpha dropped), true 8-bit RGBA.
// Answer "" on success, else a message naming the file.
std::string write_png(const std::string& path, const Image& img, bool with_alpha);
std::string read_png(const std::string& path, Image& out);

}  // namespace contentkit
