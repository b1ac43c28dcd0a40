// The stage file (".afb"): reading and writing the format, nothing else. Numbers
// are little-endian; texts are complemented texts (common/complemented_text.h).
//
//   "TORV"              magic, 4 bytes
//   uint16 3000         format version
//   text                stage title
//   int32               background number b: the picture is "<b>.png" of "dat.tfa"
//   int32, int32        start column and row: the player starts at (c*24+4, r*24+4),
//                       which may lie outside the grid (a row of -1 drops the player
//                       in from above)
//   int32               time limit in seconds
//   text                next stage base name; ".afb" is appended
//   24000 bytes         tile codes column by column, row 0 first
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "game/world_grid.h"

namespace torv {

constexpr uint16_t kStageFormatVersion = 3000;
constexpr size_t kStageTileBytes = kGridColumns * kGridRows;
// The longest time limit whose frame count (seconds * 60) fits a 32-bit int.
constexpr int32_t kMaxStageSeconds = 35791394;
// The longest title and next stage base name, in bytes. A stage is named by an
// archive member title, which holds at most 255 bytes; the limit also bounds what
// a save slot keeps of a stage (game/save_file.h).
constexpr size_t kMaxStageTextBytes = 255;
// The player starts this many pixels right of and below its start cell's corner.
constexpr int kStartInset = 4;

struct StageFile {
  std::string title;
  int32_t background = 0;
  int32_t start_column = 0;
  int32_t start_row = 0;
  int32_t time_limit_seconds = 0;
  std::string next_base_name;
  std::array<uint8_t, kStageTileBytes> tiles{};  // column-major: tiles[column * 120 + row]

  uint8_t tile(int column, int row) const { return tiles[static_cast<size_t>(column * kGridRows + row)]; }
  void set_tile(int column, int row, uint8_t code) { tiles[static_cast<size_t>(column * kGridRows + row)] = code; }
};

enum class StageFileError {
  kNone = 0,
  kTruncated,    // a field or the tiles run past the end of the data
  kBadMagic,     // the first four bytes are not "TORV"
  kBadVersion,   // the version is not 3000
  kBadStart,     // the start cell's pixel position does not fit a 32-bit int
  kBadTimeLimit, // negative, or too long to count in frames
  kLongText      // the title or the next stage name is longer than kMaxStageTextBytes
};

// Reads a whole stage file. On success fills *out and answers kNone; on any error
// *out is left as it was. Bytes after the tiles are ignored.
StageFileError read_stage_file(const uint8_t* data, size_t size, StageFile* out);

// The bytes of a stage file (for tools and tests).
std::vector<uint8_t> write_stage_file(const StageFile& stage);

const char* stage_file_error_text(StageFileError error);

}  // namespace torv
