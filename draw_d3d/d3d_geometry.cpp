// Tile grids, quads and texture coordinates of the Direct3D renderer.
#include "draw_d3d/d3d_geometry.h"

#include <algorithm>

namespace torv {

namespace {

constexpr float kQuadZ = 0.1f;
constexpr float kQuadRhw = 1.0f / kQuadZ;  // 10, formed in single precision
constexpr uint32_t kWhite = 0x00FFFFFF;

// The drawn share of column (or row) i of a whole-image draw: drawn / image pixels
// per source pixel, times the source pixels the tile covers.
double scaled_share(int drawn, int image, int tile, int count, int i) {
  if (count == 1) return drawn;
  const double per_pixel = static_cast<double>(drawn) / image;
  if (i == count - 1) {
    const double share = per_pixel * (image % tile);
    return share != 0 ? share : per_pixel * tile;
  }
  return per_pixel * tile;
}

// Cuts one axis of a detail rectangle to 0 .. size.
bool clip_axis(int size, int* src, int* dst, int* length) {
  if (*src < 0) {
    *dst -= *src;
    *length += *src;
    *src = 0;
  }
  if (*src + *length > size) *length = size - *src;
  return *length > 0;
}

// The first and last tile of one axis of a detail draw, with the texture
// coordinate inset at each end and each tile's drawn length.
struct AxisSpan {
  int first = 0;
  int last = 0;
};
AxisSpan detail_span(int src, int length, int tile) {
  return AxisSpan{src / tile, (src + length - 1) / tile};
}
// Texture coordinate where tile i starts being drawn, the inset at its far end,
// and the pixels it covers.
void detail_cut(int src, int length, int tile, const AxisSpan& span, int i, float* near_coord, float* far_inset,
                int* drawn) {
  *drawn = tile;
  *near_coord = 0;
  *far_inset = 0;
  const float t = static_cast<float>(tile);
  if (i == span.first) {
    *near_coord = static_cast<float>(src - i * tile) / t;
    *drawn -= static_cast<int>(t * *near_coord);
  }
  if (i == span.last) {
    *far_inset = 1.0f - static_cast<float>(src + length - i * tile) / t;
    *drawn -= static_cast<int>(t * *far_inset);
  }
}

}  // namespace

int texture_side_for(int n) {
  int side = 2;
  while (side < n && side < (1 << 30)) side <<= 1;
  return side;
}

int power_of_two_floor(int n) {
  if (n < 1) return 0;
  int side = 1;
  while (side <= n / 2) side <<= 1;
  return side;
}

bool plan_tile_grid(int width, int height, const TextureLimits& limits, TileGrid* out) {
  int mw = 0, mh = 0;
  if (width < 1 || height < 1 || !largest_texture(limits, &mw, &mh)) return false;
  TileGrid grid;
  grid.columns = (width - 1) / mw + 1;
  grid.rows = (height - 1) / mh + 1;
  if (grid.count() == 1) {
    // Fits within the largest texture, so a texture the device takes holds it.
    if (!fit_texture(width, height, limits, &grid.tile_width, &grid.tile_height)) return false;
  } else {
    grid.tile_width = mw;
    grid.tile_height = mh;
  }
  *out = grid;
  return true;
}

bool plan_tile_grid(int width, int height, int max_width, int max_height, TileGrid* out) {
  return plan_tile_grid(width, height, TextureLimits(max_width, max_height), out);
}

SourceRect tile_source(int width, int height, const TileGrid& grid, int column, int row) {
  SourceRect r;
  r.left = column * grid.tile_width;
  r.top = row * grid.tile_height;
  r.right = column == grid.columns - 1 ? width : (column + 1) * grid.tile_width;
  r.bottom = row == grid.rows - 1 ? height : (row + 1) * grid.tile_height;
  return r;
}

void fill_quad(const QuadSpec& s, QuadVertex out[kQuadVertexCount]) {
  // Each operand is made single precision before the sum, as the device will see it.
  const float x0 = static_cast<float>(s.origin_x) + static_cast<float>(s.x);
  const float y0 = static_cast<float>(s.origin_y) + static_cast<float>(s.y);
  const float x1 = x0 + static_cast<float>(s.width);
  const float y1 = y0 + static_cast<float>(s.height);
  const uint32_t diffuse = static_cast<uint32_t>(s.alpha) << 24 | kWhite;
  const float u0 = 0 + s.left_u, v0 = 0 + s.top_v, u1 = 1 - s.right_inset, v1 = 1 - s.bottom_inset;
  out[0] = QuadVertex{x0, y0, kQuadZ, kQuadRhw, diffuse, 0, u0, v0};
  out[1] = QuadVertex{x1, y0, kQuadZ, kQuadRhw, diffuse, 0, u1, v0};
  out[2] = QuadVertex{x0, y1, kQuadZ, kQuadRhw, diffuse, 0, u0, v1};
  out[3] = QuadVertex{x1, y1, kQuadZ, kQuadRhw, diffuse, 0, u1, v1};
}

std::vector<TileQuad> scaled_image_quads(int image_width, int image_height, const TileGrid& grid, int x, int y,
                                         int width, int height, uint8_t alpha) {
  std::vector<TileQuad> quads;
  if (width <= 0 || height <= 0 || image_width <= 0 || image_height <= 0 || grid.count() <= 0) return quads;
  quads.reserve(static_cast<size_t>(grid.count()));
  double left = x;
  for (int i = 0; i < grid.columns; ++i) {
    const double l = scaled_share(width, image_width, grid.tile_width, grid.columns, i);
    double top = y;
    for (int j = 0; j < grid.rows; ++j) {
      const double a = scaled_share(height, image_height, grid.tile_height, grid.rows, j);
      const SourceRect src = tile_source(image_width, image_height, grid, i, j);
      TileQuad q;
      q.column = i;
      q.row = j;
      q.quad.x = left;
      q.quad.y = top;
      // The whole texture over the tile's share: its transparent rest falls outside.
      q.quad.width = l * (static_cast<double>(grid.tile_width) / (src.right - src.left));
      q.quad.height = a * (static_cast<double>(grid.tile_height) / (src.bottom - src.top));
      q.quad.alpha = alpha;
      quads.push_back(q);
      top += a;
    }
    left += l;
  }
  return quads;
}

bool clip_detail(int image_width, int image_height, DetailRect* r) {
  return clip_axis(image_width, &r->src_x, &r->x, &r->width) && clip_axis(image_height, &r->src_y, &r->y, &r->height);
}

std::vector<TileQuad> detail_quads(const TileGrid& grid, const DetailRect& r, uint8_t alpha) {
  std::vector<TileQuad> quads;
  if (r.width <= 0 || r.height <= 0 || grid.tile_width <= 0 || grid.tile_height <= 0) return quads;
  const AxisSpan cols = detail_span(r.src_x, r.width, grid.tile_width);
  const AxisSpan rows = detail_span(r.src_y, r.height, grid.tile_height);
  int left = r.x;
  for (int i = cols.first; i <= cols.last; ++i) {
    TileQuad q;
    int cw = 0;
    detail_cut(r.src_x, r.width, grid.tile_width, cols, i, &q.quad.left_u, &q.quad.right_inset, &cw);
    int top = r.y;
    for (int j = rows.first; j <= rows.last; ++j) {
      int ch = 0;
      detail_cut(r.src_y, r.height, grid.tile_height, rows, j, &q.quad.top_v, &q.quad.bottom_inset, &ch);
      q.column = i;
      q.row = j;
      q.quad.x = left;
      q.quad.y = top;
      q.quad.width = cw;
      q.quad.height = ch;
      q.quad.alpha = alpha;
      quads.push_back(q);
      top += ch;
    }
    left += cw;
  }
  return quads;
}

}  // namespace torv
