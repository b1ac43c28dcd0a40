#include "game/world_grid.h"

#include <gtest/gtest.h>

namespace torv {
namespace {

TEST(WorldGrid, CellsOutsideTheGridReadEmptyAndTakeNoWrites) {
  WorldGrid grid;
  for (int c = 0; c < kGridColumns; ++c) {
    for (int r = 0; r < kGridRows; ++r) {
      grid.set_tile(c, r, kTileIndestructible);
      grid.set_solid(c, r, true);
    }
  }
  const WorldGrid before = grid;
  struct Cell {
    int column, row;
  };
  // Just past each edge, and far out; with a column-major layout a row of 120
  // would otherwise read the next column's first cell.
  for (Cell cell : {Cell{-1, 0}, Cell{0, -1}, Cell{200, 0}, Cell{0, 120}, Cell{199, 120}, Cell{5, 121},
                    Cell{-1000, 50}, Cell{50, 100000}}) {
    SCOPED_TRACE(testing::Message() << cell.column << "," << cell.row);
    EXPECT_EQ(grid.tile(cell.column, cell.row), 0);
    EXPECT_FALSE(grid.solid(cell.column, cell.row));
    grid.set_tile(cell.column, cell.row, kTileGoal);
    grid.set_solid(cell.column, cell.row, false);
  }
  EXPECT_EQ(grid, before);
}

TEST(WorldGrid, PixelsMapToCellsTruncatingTowardsZero) {
  WorldGrid grid;
  grid.set_tile(0, 0, 9);
  grid.set_tile(1, 0, 8);
  grid.set_tile(199, 119, 34);
  struct Case {
    int x, y, code;
  };
  for (Case c : {Case{0, 0, 9}, Case{23, 23, 9}, Case{-23, -23, 9}, Case{24, 0, 8}, Case{-24, 0, 0},
                 Case{0, -24, 0}, Case{4799, 2879, 34}, Case{4800, 2879, 0}, Case{4799, 2880, 0}}) {
    EXPECT_EQ(grid.tile_at(c.x, c.y), c.code) << c.x << "," << c.y;
  }
}

TEST(WorldGrid, SolidLayerAtLoadBlocksExactlyTheBlockCodes) {
  WorldGrid grid;
  for (int code = 0; code < 256; ++code) grid.set_tile(code % kGridColumns, code / kGridColumns, code);
  grid.rebuild_solid_layer();
  for (int code = 0; code < 256; ++code) {
    const bool expected = (code >= 1 && code <= 4) || (code >= 28 && code <= 33) || code == 37;
    EXPECT_EQ(grid.solid(code % kGridColumns, code / kGridColumns), expected) << code;
  }
}

TEST(WorldGrid, FingerprintFollowsTheContentNotTheWayThere) {
  WorldGrid a, b;
  EXPECT_EQ(a.fingerprint(), b.fingerprint());
  a.set_tile(3, 4, kTileBurnable);
  a.set_solid(3, 4, true);
  a.set_tile(9, 9, kTileGoal);
  b.set_tile(9, 9, kTileGoal);
  b.set_solid(3, 4, true);
  b.set_tile(3, 4, kTileFire);
  EXPECT_NE(a.fingerprint(), b.fingerprint());  // same cells, one value differs
  b.set_tile(3, 4, kTileBurnable);
  EXPECT_EQ(a, b);
  EXPECT_EQ(a.fingerprint(), b.fingerprint());
  // The same value in the other layer is a different world.
  WorldGrid c;
  c.set_tile(3, 4, 1);
  WorldGrid d;
  d.set_solid(3, 4, true);
  EXPECT_NE(c.fingerprint(), d.fingerprint());
  // Undoing every change gives back the empty grid's fingerprint; so does clear().
  a.set_tile(3, 4, 0);
  a.set_solid(3, 4, false);
  a.set_tile(9, 9, 0);
  EXPECT_EQ(a.fingerprint(), WorldGrid().fingerprint());
  b.clear();
  EXPECT_EQ(b.fingerprint(), WorldGrid().fingerprint());
  // The load-time rebuild keeps it in step.
  c.rebuild_solid_layer();
  WorldGrid e;
  e.set_tile(3, 4, 1);
  e.set_solid(3, 4, true);
  EXPECT_EQ(c.fingerprint(), e.fingerprint());
}

}  // namespace
}  // namespace torv
