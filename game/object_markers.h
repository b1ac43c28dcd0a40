// The object markers of the tile layer: each marker cell becomes one MovingObject
// when a stage is loaded, with the start values of its row in the marker table.
#pragma once

#include <cstdint>

#include "game/moving_object.h"
#include "game/sim_services.h"

namespace torv {

// Markers are the codes 10 to 23, 35, 36 and 38 to 40.
bool is_object_marker(int code);

// The object made from a marker in the cell (column, row). Markers 12 and 40 draw
// one random number for their start direction. Answers false for a code that is
// not a marker.
bool object_from_marker(int code, int column, int row, GameRandom& random, MovingObject* out);

}  // namespace torv
