#include "draw_d3d/d3d_geometry.h"

#include <gtest/gtest.h>

#include "draw_d3d/d3d_error_names.h"

namespace {

using torv::DetailRect;
using torv::QuadSpec;
using torv::QuadVertex;
using torv::TileGrid;
using torv::TileQuad;

TEST(TextureSide, SmallestPowerOfTwoOfAtLeastTwo) {
  const struct {
    int n, side;
  } cases[] = {{-5, 2}, {0, 2}, {1, 2}, {2, 2}, {3, 4}, {37, 64}, {100, 128}, {128, 128}, {129, 256}, {16384, 16384}};
  for (const auto& c : cases) EXPECT_EQ(torv::texture_side_for(c.n), c.side) << c.n;
}

TEST(TextureSide, PowerOfTwoFloor) {
  const struct {
    int n, side;
  } cases[] = {{0, 0}, {-1, 0}, {1, 1}, {2, 2}, {3, 2}, {255, 128}, {256, 256}, {300, 256}, {16384, 16384}};
  for (const auto& c : cases) EXPECT_EQ(torv::power_of_two_floor(c.n), c.side) << c.n;
}

TEST(TileGrid, SplitsOnlyWhatExceedsTheLargestTexture) {
  const struct {
    int w, h, max_w, max_h;
    int columns, rows, tile_w, tile_h;
  } cases[] = {
      {1, 1, 16384, 16384, 1, 1, 2, 2},      // the smallest texture is 2 x 2
      {100, 37, 16384, 16384, 1, 1, 128, 64},
      {256, 256, 256, 256, 1, 1, 256, 256},  // exactly the limit: one texture
      {300, 200, 256, 256, 2, 1, 256, 256},
      {257, 513, 256, 256, 2, 3, 256, 256},
      {300, 200, 300, 300, 2, 1, 256, 256},  // a limit that is no power of two counts as the one below
      {64, 16, 64, 8, 1, 2, 64, 8},
  };
  for (const auto& c : cases) {
    TileGrid g;
    ASSERT_TRUE(torv::plan_tile_grid(c.w, c.h, c.max_w, c.max_h, &g)) << c.w << "x" << c.h;
    EXPECT_EQ(g.columns, c.columns) << c.w << "x" << c.h;
    EXPECT_EQ(g.rows, c.rows) << c.w << "x" << c.h;
    EXPECT_EQ(g.tile_width, c.tile_w) << c.w << "x" << c.h;
    EXPECT_EQ(g.tile_height, c.tile_h) << c.w << "x" << c.h;
  }
}

// A device whose largest texture is side x side, with the rules given.
torv::TextureLimits Device(int side, bool square, int aspect, bool pow2) {
  return torv::TextureLimits(side, side, square, aspect, pow2);
}

TEST(TileGrid, EveryTileTextureIsOneTheDeviceTakes) {
  const struct {
    int w, h;
    torv::TextureLimits limits;
    int columns, rows, tile_w, tile_h;
  } cases[] = {
      {100, 37, Device(256, true, 0, false), 1, 1, 128, 128},    // one square texture
      {3, 200, Device(256, false, 1, false), 1, 1, 256, 256},
      {3, 200, Device(256, false, 8, false), 1, 1, 32, 256},     // the narrow side grown to the ratio
      {640, 480, Device(256, true, 1, true), 3, 2, 256, 256},    // the backdrop of a 256 x 256 device
      {640, 20, Device(256, true, 0, false), 3, 1, 256, 256},
      {640, 20, Device(1024, false, 4, false), 1, 1, 1024, 256},
      {1000, 10, Device(2048, false, 0, true), 1, 1, 1024, 16},
  };
  for (const auto& c : cases) {
    TileGrid g;
    ASSERT_TRUE(torv::plan_tile_grid(c.w, c.h, c.limits, &g)) << c.w << "x" << c.h;
    EXPECT_EQ(g.columns, c.columns) << c.w << "x" << c.h;
    EXPECT_EQ(g.rows, c.rows) << c.w << "x" << c.h;
    EXPECT_EQ(g.tile_width, c.tile_w) << c.w << "x" << c.h;
    EXPECT_EQ(g.tile_height, c.tile_h) << c.w << "x" << c.h;
  }
}

TEST(TileGrid, AnyImageSplitsForAnyDeviceWithA256Texture) {
  // Devices whose largest texture is 256 x 256 or more, with every rule; images
  // from 1 x 1 to four times the frame in uneven steps.
  const torv::TextureLimits devices[] = {
      Device(256, true, 1, true), Device(256, false, 2, true), Device(512, true, 0, false),
      Device(300, false, 1, false), Device(4096, false, 4, true), Device(16384, false, 0, false),
  };
  for (const torv::TextureLimits& device : devices) {
    for (int w = 1; w <= 2560; w += 37) {
      for (int h = 1; h <= 1920; h += 53) {
        TileGrid g;
        ASSERT_TRUE(torv::plan_tile_grid(w, h, device, &g)) << w << "x" << h << " on " << device.max_width;
        ASSERT_TRUE(torv::texture_size_allowed(g.tile_width, g.tile_height, device))
            << w << "x" << h << " on " << device.max_width << ": " << g.tile_width << "x" << g.tile_height;
        // The tiles cover the image, and the last column and row hold some of it.
        ASSERT_GE(g.columns * g.tile_width, w);
        ASSERT_GE(g.rows * g.tile_height, h);
        ASSERT_LT((g.columns - 1) * g.tile_width, w);
        ASSERT_LT((g.rows - 1) * g.tile_height, h);
      }
    }
  }
}

TEST(TileGrid, RefusesWhatHasNoSize) {
  TileGrid g;
  EXPECT_FALSE(torv::plan_tile_grid(0, 10, 256, 256, &g));
  EXPECT_FALSE(torv::plan_tile_grid(10, -1, 256, 256, &g));
  EXPECT_FALSE(torv::plan_tile_grid(10, 10, 0, 256, &g));
}

TEST(TileGrid, SourcePartsCoverTheImageOnce) {
  TileGrid g;
  ASSERT_TRUE(torv::plan_tile_grid(300, 600, 256, 256, &g));
  ASSERT_EQ(g.columns, 2);
  ASSERT_EQ(g.rows, 3);
  const struct {
    int c, r, left, top, right, bottom;
  } cases[] = {{0, 0, 0, 0, 256, 256}, {1, 0, 256, 0, 300, 256}, {0, 1, 0, 256, 256, 512},
               {1, 2, 256, 512, 300, 600}, {0, 2, 0, 512, 256, 600}};
  for (const auto& c : cases) {
    const torv::SourceRect s = torv::tile_source(300, 600, g, c.c, c.r);
    EXPECT_EQ(s.left, c.left);
    EXPECT_EQ(s.top, c.top);
    EXPECT_EQ(s.right, c.right);
    EXPECT_EQ(s.bottom, c.bottom);
  }
  EXPECT_EQ(torv::tile_index(g, 1, 2), 5);  // column by column
  EXPECT_EQ(torv::tile_index(g, 0, 2), 2);
}

TEST(Quad, UnscaledQuadSpansItsPixelsWithoutHalfPixelOffset) {
  QuadSpec s;
  s.x = 10;
  s.y = 20;
  s.width = 32;
  s.height = 32;
  s.alpha = 255;
  QuadVertex v[4];
  torv::fill_quad(s, v);
  const float xs[4] = {10, 42, 10, 42}, ys[4] = {20, 20, 52, 52}, us[4] = {0, 1, 0, 1}, vs[4] = {0, 0, 1, 1};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(v[i].x, xs[i]) << i;
    EXPECT_EQ(v[i].y, ys[i]) << i;
    EXPECT_EQ(v[i].u, us[i]) << i;
    EXPECT_EQ(v[i].v, vs[i]) << i;
    EXPECT_EQ(v[i].z, 0.1f);
    EXPECT_EQ(v[i].rhw, 10.0f);
    EXPECT_EQ(v[i].diffuse, 0xFFFFFFFFu);
    EXPECT_EQ(v[i].specular, 0u);
  }
}

TEST(Quad, OriginMovesEveryVertexAndAlphaGoesToDiffuse) {
  QuadSpec s;
  s.x = 10;
  s.y = 20;
  s.width = 32;
  s.height = 16;
  s.origin_x = 3;
  s.origin_y = -2;
  s.alpha = 127;
  s.left_u = 0.25f;
  s.top_v = 0.5f;
  s.right_inset = 0.5f;
  s.bottom_inset = 0.25f;
  QuadVertex v[4];
  torv::fill_quad(s, v);
  EXPECT_EQ(v[0].x, 13);
  EXPECT_EQ(v[0].y, 18);
  EXPECT_EQ(v[3].x, 45);
  EXPECT_EQ(v[3].y, 34);
  EXPECT_EQ(v[0].diffuse, 0x7FFFFFFFu);
  EXPECT_EQ(v[0].u, 0.25f);
  EXPECT_EQ(v[0].v, 0.5f);
  EXPECT_EQ(v[3].u, 0.5f);
  EXPECT_EQ(v[3].v, 0.75f);
}

TEST(ScaledDraw, OneTileSpreadsTheWholeTextureSoTheImageFillsTheSize) {
  // 32 x 32 image in a 32 x 32 texture; 100 x 37 in 128 x 64.
  const struct {
    int iw, ih, w, h;
    double qw, qh;
  } cases[] = {{32, 32, 32, 32, 32, 32}, {32, 32, 64, 16, 64, 16}, {100, 37, 100, 37, 128, 64},
               {100, 37, 50, 74, 64, 128}};
  for (const auto& c : cases) {
    TileGrid g;
    ASSERT_TRUE(torv::plan_tile_grid(c.iw, c.ih, 16384, 16384, &g));
    const std::vector<TileQuad> q = torv::scaled_image_quads(c.iw, c.ih, g, 10, 20, c.w, c.h, 255);
    ASSERT_EQ(q.size(), 1u);
    EXPECT_EQ(q[0].quad.x, 10);
    EXPECT_EQ(q[0].quad.y, 20);
    EXPECT_DOUBLE_EQ(q[0].quad.width, c.qw) << c.iw << "x" << c.ih << " at " << c.w << "x" << c.h;
    EXPECT_DOUBLE_EQ(q[0].quad.height, c.qh);
    EXPECT_EQ(q[0].quad.left_u, 0);
    EXPECT_EQ(q[0].quad.right_inset, 0);
  }
}

TEST(ScaledDraw, SplitImageTilesMeetWhereTheirSourcesMeet) {
  // 300 x 200 with 256 x 256 tiles: tile 0 covers columns 0-255 (x scale 1),
  // tile 1 columns 256-299 (x scale 256 / 44); both have y scale 256 / 200.
  TileGrid g;
  ASSERT_TRUE(torv::plan_tile_grid(300, 200, 256, 256, &g));
  for (int zoom = 1; zoom <= 2; ++zoom) {
    const std::vector<TileQuad> q = torv::scaled_image_quads(300, 200, g, 10, 5, 300 * zoom, 200 * zoom, 200);
    ASSERT_EQ(q.size(), 2u);
    EXPECT_EQ(q[0].column, 0);
    EXPECT_EQ(q[1].column, 1);
    EXPECT_DOUBLE_EQ(q[0].quad.x, 10);
    EXPECT_DOUBLE_EQ(q[0].quad.width, 256.0 * zoom);
    EXPECT_DOUBLE_EQ(q[1].quad.x, 10 + 256.0 * zoom);
    EXPECT_NEAR(q[1].quad.width, 44.0 * zoom * 256 / 44, 1e-9);
    for (const TileQuad& t : q) {
      EXPECT_DOUBLE_EQ(t.quad.y, 5);
      EXPECT_NEAR(t.quad.height, 200.0 * zoom * 256 / 200, 1e-9);
      EXPECT_EQ(t.quad.alpha, 200);
    }
  }
}

TEST(ScaledDraw, ImageThatFillsItsLastTileExactly) {
  TileGrid g;
  ASSERT_TRUE(torv::plan_tile_grid(512, 10, 256, 256, &g));
  const std::vector<TileQuad> q = torv::scaled_image_quads(512, 10, g, 0, 0, 256, 10, 255);
  ASSERT_EQ(q.size(), 2u);
  EXPECT_DOUBLE_EQ(q[1].quad.x, 128);
  EXPECT_DOUBLE_EQ(q[1].quad.width, 128);
}

TEST(ScaledDraw, NothingForAnEmptySize) {
  TileGrid g;
  ASSERT_TRUE(torv::plan_tile_grid(32, 32, 256, 256, &g));
  EXPECT_TRUE(torv::scaled_image_quads(32, 32, g, 0, 0, 0, 32, 255).empty());
  EXPECT_TRUE(torv::scaled_image_quads(32, 32, g, 0, 0, 32, -4, 255).empty());
}

TEST(DetailDraw, SheetFrameSamplesItsOwnTexels) {
  // A 16 x 16 frame at (16, 0) of a 64 x 16 sheet: u 0.25 .. 0.5, v 0 .. 1.
  TileGrid g;
  ASSERT_TRUE(torv::plan_tile_grid(64, 16, 16384, 16384, &g));
  const std::vector<TileQuad> q = torv::detail_quads(g, DetailRect{16, 0, 100, 50, 16, 16}, 255);
  ASSERT_EQ(q.size(), 1u);
  QuadVertex v[4];
  torv::fill_quad(q[0].quad, v);
  EXPECT_EQ(v[0].x, 100);
  EXPECT_EQ(v[3].x, 116);
  EXPECT_EQ(v[3].y, 66);
  EXPECT_EQ(v[0].u, 0.25f);
  EXPECT_EQ(v[3].u, 0.5f);
  EXPECT_EQ(v[0].v, 0.0f);
  EXPECT_EQ(v[3].v, 1.0f);
}

TEST(DetailDraw, RectangleAcrossTwoTilesIsCutAtTheSeam) {
  TileGrid g;
  ASSERT_TRUE(torv::plan_tile_grid(300, 200, 256, 256, &g));
  const std::vector<TileQuad> q = torv::detail_quads(g, DetailRect{250, 10, 40, 60, 20, 5}, 255);
  ASSERT_EQ(q.size(), 2u);
  QuadVertex a[4], b[4];
  torv::fill_quad(q[0].quad, a);
  torv::fill_quad(q[1].quad, b);
  EXPECT_EQ(q[0].column, 0);
  EXPECT_EQ(a[0].x, 40);
  EXPECT_EQ(a[1].x, 46);  // source columns 250-255
  EXPECT_EQ(a[0].u, 250.0f / 256);
  EXPECT_EQ(a[1].u, 1.0f);
  EXPECT_EQ(q[1].column, 1);
  EXPECT_EQ(b[0].x, 46);
  EXPECT_EQ(b[1].x, 60);  // source columns 256-269
  EXPECT_EQ(b[0].u, 0.0f);
  EXPECT_EQ(b[1].u, 14.0f / 256);
  for (const QuadVertex* v : {a, b}) {
    EXPECT_EQ(v[0].y, 60);
    EXPECT_EQ(v[2].y, 65);
    EXPECT_EQ(v[0].v, 10.0f / 256);
    EXPECT_EQ(v[2].v, 15.0f / 256);
  }
}

TEST(DetailDraw, ClipsTheSourceToTheImage) {
  const struct {
    DetailRect in;
    bool inside;
    DetailRect out;
  } cases[] = {
      {{0, 0, 5, 6, 10, 10}, true, {0, 0, 5, 6, 10, 10}},
      {{-3, -4, 5, 6, 10, 10}, true, {0, 0, 8, 10, 7, 6}},    // the visible part stays where it was
      {{28, 30, 0, 0, 10, 10}, true, {28, 30, 0, 0, 4, 2}},  // cut at the right and bottom
      {{40, 0, 0, 0, 10, 10}, false, {}},
      {{-10, 0, 0, 0, 10, 10}, false, {}},
      {{0, 0, 0, 0, 0, 10}, false, {}},
  };
  for (const auto& c : cases) {
    DetailRect r = c.in;
    ASSERT_EQ(torv::clip_detail(32, 32, &r), c.inside) << c.in.src_x << "," << c.in.src_y;
    if (!c.inside) continue;
    EXPECT_EQ(r.src_x, c.out.src_x);
    EXPECT_EQ(r.src_y, c.out.src_y);
    EXPECT_EQ(r.x, c.out.x);
    EXPECT_EQ(r.y, c.out.y);
    EXPECT_EQ(r.width, c.out.width);
    EXPECT_EQ(r.height, c.out.height);
  }
}

TEST(ErrorNames, KnownCodesByNameAndTheRestUnknown) {
  const struct {
    uint32_t code;
    const char* name;
  } cases[] = {{0, "D3D_OK"},
               {0x88760868, "D3DERR_DEVICELOST"},
               {0x88760869, "D3DERR_DEVICENOTRESET"},
               {0x8876086C, "D3DERR_INVALIDCALL"},
               {0x8876017C, "D3DERR_OUTOFVIDEOMEMORY"},
               {0x8007000E, "E_OUTOFMEMORY"},
               {0x80004005, "E_FAIL"},
               {0x12345678, "UNKNOWN"},
               {1, "UNKNOWN"}};
  for (const auto& c : cases) EXPECT_STREQ(torv::d3d_error_name(c.code), c.name) << std::hex << c.code;
}

}  // namespace
