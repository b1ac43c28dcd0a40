// The Direct3D renderer's device-independent geometry: how an image is cut into
// power-of-two tile textures, and the screen quads and texture coordinates that
// draw it. No Direct3D header here, so all of it is tested natively.
//
// Screen coordinates follow Direct3D 9's rasterisation: pixel centres sit on whole
// coordinates and no half-pixel offset is applied, so texel k of an unscaled quad
// lands on pixel k (nearest sampling, clamped edges).
#pragma once

#include <cstdint>
#include <vector>

#include "draw_d3d/d3d_texture_limits.h"

namespace torv {

// The smallest power of two >= n, and at least 2 (the smallest texture made).
int texture_side_for(int n);
// The largest power of two <= n (n >= 1), or 0 for n < 1.
int power_of_two_floor(int n);

// How one image of width x height is split into textures the device takes (its
// largest size, square-only, aspect ratio; powers of two are used, so a largest
// size that is not one counts as the power of two below it).
struct TileGrid {
  int columns = 0;
  int rows = 0;
  // The texture size made for every tile: one tile is the smallest texture the
  // device takes that holds the whole image; several tiles are each the largest.
  int tile_width = 0;
  int tile_height = 0;
  int count() const { return columns * rows; }
};
// False when the image has no size or the device takes no texture.
bool plan_tile_grid(int width, int height, const TextureLimits& limits, TileGrid* out);
// The same for a device whose only limit is its largest size.
bool plan_tile_grid(int width, int height, int max_width, int max_height, TileGrid* out);

// The part of the image that tile (column, row) holds, right and bottom exclusive.
// It lands unscaled at the texture's top-left; the rest of the texture is
// transparent black.
struct SourceRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};
SourceRect tile_source(int width, int height, const TileGrid& grid, int column, int row);

// Tile textures are stored column by column: tile (c, r) at c * rows + r.
inline int tile_index(const TileGrid& grid, int column, int row) { return column * grid.rows + row; }

// One vertex of a pre-transformed quad: position with reciprocal w, diffuse,
// specular, one texture coordinate set (flexible vertex format 0x1C4), 32 bytes.
struct QuadVertex {
  float x, y, z, rhw;
  uint32_t diffuse;   // alpha in bits 24-31, white below
  uint32_t specular;  // 0
  float u, v;
};
static_assert(sizeof(QuadVertex) == 32, "the vertex layout is the device's");
constexpr uint32_t kQuadVertexFormat = 0x1C4;
constexpr int kQuadVertexCount = 4;
constexpr int kQuadBytes = kQuadVertexCount * static_cast<int>(sizeof(QuadVertex));

// A screen quad: top-left (x, y), size width x height, moved by the frame's origin;
// texture coordinates from (left_u, top_v) to (1 - right_inset, 1 - bottom_inset).
struct QuadSpec {
  double x = 0, y = 0, width = 0, height = 0;
  int origin_x = 0, origin_y = 0;
  uint8_t alpha = 255;
  float left_u = 0, top_v = 0, right_inset = 0, bottom_inset = 0;
};
// The four vertices, as a triangle strip: top-left, top-right, bottom-left,
// bottom-right.
void fill_quad(const QuadSpec& quad, QuadVertex out[kQuadVertexCount]);

// One quad of a draw: which tile and where.
struct TileQuad {
  int column = 0;
  int row = 0;
  QuadSpec quad;
};

// The image's tiles as the whole-image draw spreads them over width x height
// pixels at (x, y): each tile's whole texture over its share, so the image part
// lands on exactly width x height pixels. tile_width x tile_height is the texture
// size made. Columns outer, rows inner.
std::vector<TileQuad> scaled_image_quads(int image_width, int image_height, const TileGrid& grid, int x, int y,
                                         int width, int height, uint8_t alpha);

// A source rectangle cut to the image, and the destination moved with it.
struct DetailRect {
  int src_x = 0, src_y = 0, x = 0, y = 0, width = 0, height = 0;
};
// False when nothing of the rectangle lies inside the image.
bool clip_detail(int image_width, int image_height, DetailRect* rect);

// The quads of the unscaled draw of the source rectangle (already clipped) at
// (x, y): one per tile it touches, with texture coordinates cut to the rectangle.
std::vector<TileQuad> detail_quads(const TileGrid& grid, const DetailRect& rect, uint8_t alpha);

}  // namespace torv
