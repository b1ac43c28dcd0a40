// WorldGrid: the stage's two layers of 200 x 120 cells of 24 x 24 pixels. The tile
// layer says what is drawn and touched, the solid layer what blocks the player, the
// objects and the shots.
//
// World coordinates are whole pixels, x right and y down from the stage's top-left.
// A point's cell is (x / 24, y / 24) with C++ division, which truncates towards
// zero: every x from -23 to 23 lies in column 0. Every access to a cell outside the
// grid reads as empty and not solid and writes nothing, so a position near or past
// an edge can never reach a neighbouring column or memory outside the layers.
#pragma once

#include <array>
#include <cstdint>

namespace torv {

constexpr int kCellSize = 24;
constexpr int kGridColumns = 200;
constexpr int kGridRows = 120;
constexpr int kWorldWidth = kGridColumns * kCellSize;  // 4800
constexpr int kWorldHeight = kGridRows * kCellSize;    // 2880

// Tile codes of the tile layer (0 to 40; anything else is unknown and inert).
enum TileCode : uint8_t {
  kTileEmpty = 0,
  kTileBreakable = 1,     // broken by the head from below, dug by the close-range attack
  kTilePlain = 2,         // what revealed, opened and frozen blocks become
  kTileBurnable = 3,      // removed by a fire shot
  kTileFire = 4,          // hazard; an ice shot turns it into kTilePlain
  kTileSpikes = 5,        // hazard, not solid
  kTileHidden = 6,        // invisible until hit from below
  kTileHiddenLife = 7,    // as kTileHidden, and a 1UP appears above
  kTileHolyWater = 8,
  kTileExtraLife = 9,
  kTileFireAmmo5 = 24,
  kTileFireAmmo15 = 25,
  kTileIceAmmo5 = 26,
  kTileIceAmmo15 = 27,
  kTileItemFirst = 28,    // item blocks 28 to 33
  kTileItemLast = 33,
  kTileGoal = 34,
  kTileIndestructible = 37,
  kLastKnownTileCode = 40,
};

// True for the codes that block at load time: 1 to 4, 28 to 33 and 37.
bool tile_is_solid_at_load(int code);

class WorldGrid {
public:
  WorldGrid() { clear(); }

  void clear();

  static bool in_grid(int column, int row) {
    return column >= 0 && column < kGridColumns && row >= 0 && row < kGridRows;
  }

  uint8_t tile(int column, int row) const { return in_grid(column, row) ? tiles_[index(column, row)] : 0; }
  bool solid(int column, int row) const { return in_grid(column, row) && solid_[index(column, row)] != 0; }
  void set_tile(int column, int row, uint8_t code) {
    if (in_grid(column, row)) write(tiles_, index(column, row), code, 0);
  }
  void set_solid(int column, int row, bool value) {
    if (in_grid(column, row)) write(solid_, index(column, row), value ? 1 : 0, kCellCount);
  }

  // The same by world pixel.
  uint8_t tile_at(int x, int y) const { return tile(x / kCellSize, y / kCellSize); }
  bool solid_at(int x, int y) const { return solid(x / kCellSize, y / kCellSize); }
  void set_tile_at(int x, int y, uint8_t code) { set_tile(x / kCellSize, y / kCellSize, code); }
  void set_solid_at(int x, int y, bool value) { set_solid(x / kCellSize, y / kCellSize, value); }

  // Recomputes the whole solid layer from the tile layer (the load-time rule).
  void rebuild_solid_layer();

  // A fingerprint of both layers, kept up to date with every write: equal grids
  // have equal fingerprints, and different ones almost surely differ. Lets a search
  // over game states tell changed worlds apart without comparing 48 KB.
  uint64_t fingerprint() const { return fingerprint_; }

  bool operator==(const WorldGrid& o) const { return tiles_ == o.tiles_ && solid_ == o.solid_; }

private:
  static constexpr int kCellCount = kGridColumns * kGridRows;
  // Column by column, as the stage file stores the tiles.
  static int index(int column, int row) { return column * kGridRows + row; }
  // The fingerprint's share of one byte: 0 for an empty cell, else a mixed hash of
  // its place (layer_offset tells the layers apart) and value.
  static uint64_t share(int place, uint8_t value);
  void write(std::array<uint8_t, kCellCount>& layer, int i, uint8_t value, int layer_offset) {
    fingerprint_ ^= share(layer_offset + i, layer[i]) ^ share(layer_offset + i, value);
    layer[i] = value;
  }

  std::array<uint8_t, kCellCount> tiles_;
  std::array<uint8_t, kCellCount> solid_;
  uint64_t fingerprint_ = 0;
};

}  // namespace torv
