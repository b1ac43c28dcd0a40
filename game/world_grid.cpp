// The two cell layers of a stage.
#include "game/world_grid.h"


namespace torv {

bool tile_is_solid_at_load(int code) {
  return (code >= kTileBreakable && code <= kTileFire) || (code >= kTileItemFirst && code <= kTileItemLast) ||
         code == kTileIndestructible;
}

void WorldGrid::clear() {
  tiles_.fill(0);
  solid_.fill(0);
  fingerprint_ = 0;
}

void WorldGrid::rebuild_solid_layer() {
  for (int i = 0; i < kCellCount; ++i) write(solid_, i, tile_is_solid_at_load(tiles_[i]) ? 1 : 0, kCellCount);
}

uint64_t WorldGrid::share(int place, uint8_t value) {
  if (value == 0) return 0;
  // splitmix64's finaliser over (place, value).
  uint64_t z = static_cast<uint64_t>(place) * 256u + value + 0x9E3779B97F4A7C15ull;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

}  // namespace torv
