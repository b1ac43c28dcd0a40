// The binary stage file (".afb") the game loads, all numbers little-endian:
//   "TORV", uint16 version 3000, complemented title, int32 background, int32 start
//   column, int32 start row, int32 time limit in seconds, complemented next-stage
//   base name, then 24000 tile codes column by column (120 rows each).
#pragma once

#include <cstdint>
#include <vector>

#include "tools/stagec/stage_source.h"

namespace stagec {

constexpr uint16_t kStageVersion = 3000;

std::vector<uint8_t> encode_stage(const Stage& stage);

}  // namespace stagec
