// Rendering of a stage overview.
#include "tools/stagec/stage_overview.h"

#include <algorithm>
#include <map>

namespace stagec {

namespace {

// Player start offset inside the start cell, as the game places it.
constexpr int kPlayerInset = 4;

class ImageCache {
public:
  explicit ImageCache(std::string dir) : dir_(std::move(dir)) {}
  // Null and error set when the file cannot be read.
  const contentkit::Image* get(const std::string& name, std::string& error) {
    auto it = images_.find(name);
    if (it != images_.end()) return &it->second;
    contentkit::Image img;
    if (std::string e = contentkit::read_png(dir_ + "/" + name, img); !e.empty()) {
      error = e;
      return nullptr;
    }
    return &images_.emplace(name, std::move(img)).first->second;
  }

private:
  std::string dir_;
  std::map<std::string, contentkit::Image> images_;
};

// Copies the w x h top-left part of src (the game draws with that source rectangle).
void draw_part(contentkit::Image& dst, const contentkit::Image& src, int x, int y, int w, int h) {
  for (int sy = 0; sy < h && sy < src.height(); ++sy)
    for (int sx = 0; sx < w && sx < src.width(); ++sx) {
      const contentkit::Rgba c = src.at(sx, sy);
      if (c.a != 0) dst.put(x + sx, y + sy, contentkit::Rgba{c.r, c.g, c.b, 255});
    }
}

}  // namespace

std::string render_overview(const Stage& stage, const std::string& images_dir, contentkit::Image& out) {
  ImageCache cache(images_dir);
  std::string error;
  const contentkit::Image* bg = cache.get(std::to_string(stage.background) + ".png", error);
  if (!bg) return error;
  contentkit::Image img(kColumns * kCell, kRows * kCell, contentkit::Rgba{0, 0, 0, 255});
  // The background scrolls at half the camera's speed: stage pixel (x, y) sees
  // background pixel (x / 2, y / 2) when that spot is at the screen's top-left.
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) {
      const int bx = x / 2, by = y / 2;
      if (bg->inside(bx, by)) img.at(x, y) = contentkit::Rgba{bg->at(bx, by).r, bg->at(bx, by).g, bg->at(bx, by).b, 255};
    }
  const contentkit::Rgba hidden{255, 255, 255, 110};
  for (int c = 0; c < kColumns; ++c)
    for (int r = 0; r < kRows; ++r) {
      const int code = stage.tiles[c][r];
      const LegendEntry* e = find_code(code);
      if (!e) continue;
      const int x = c * kCell, y = r * kCell;
      if (code == 6 || code == 7) {
        for (int k = 0; k < kCell; k += 2) {  // a dotted outline
          contentkit::blend(img, x + k, y, hidden);
          contentkit::blend(img, x + k, y + kCell - 1, hidden);
          contentkit::blend(img, x, y + k, hidden);
          contentkit::blend(img, x + kCell - 1, y + k, hidden);
        }
        continue;
      }
      if (e->image[0] == '\0') continue;
      const contentkit::Image* tile = cache.get(e->image, error);
      if (!tile) return error;
      draw_part(img, *tile, x, y + e->draw_dy, e->draw_w, e->draw_h);
    }
  const contentkit::Image* player = cache.get("---0.png", error);
  if (!player) return error;
  draw_part(img, *player, stage.start_column * kCell + kPlayerInset, stage.start_row * kCell + kPlayerInset, 16, 16);
  out = std::move(img);
  return "";
}

void used_rows(const Stage& stage, int& first, int& last) {
  constexpr int kMargin = 2;
  first = stage.start_row;
  for (int c = 0; c < kColumns; ++c)
    for (int r = 0; r < first; ++r)
      if (stage.tiles[c][r] != 0) {
        first = r;
        break;
      }
  first = std::max(0, first - kMargin);
  last = kRows - 1;
}

}  // namespace stagec
