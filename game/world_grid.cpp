// The two cell layers of a stage.
#include "game/world_grid.h"

#include <cstddef>

namespace torv {

bool tile_is_solid_at_load(int code) {
  return (code >= kTileBreakable && code <= kTileFire) || (code >= kTileItemFirst && code <= kTileItemLast) ||
         code == kTileIndestructible;
}

void WorldGrid::clear() {
  tiles_.fill(0);
  solid_.fill(0);
}

void WorldGrid::rebuild_solid_layer() {
  for (std::size_t i = 0; i < tiles_.size(); ++i) solid_[i] = tile_is_solid_at_load(tiles_[i]) ? 1 : 0;
}

}  // namespace torv
