// A reader of stage files (".afb") for the tests, written apart from the stage
// compiler so a round trip checks the compiler against the format, not against
// itself.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace stage_test {

constexpr int kColumns = 200;
constexpr int kRows = 120;

struct StageFile {
  std::string title;  // Shift-JIS bytes as stored
  int32_t background = 0;
  int32_t start_column = 0, start_row = 0;
  int32_t time_seconds = 0;
  std::string next;   // base name
  std::vector<uint8_t> tiles;  // column-major, kColumns * kRows
  int tile(int column, int row) const { return tiles[static_cast<size_t>(column) * kRows + row]; }
};

// "" on success, else what is wrong (bad magic, version, a short field, extra bytes).
std::string read_stage(const uint8_t* data, size_t size, StageFile& out);

// Tile codes that block the player when a stage loads.
bool solid_code(int code);

// True when every double-byte character of text is a well-formed Shift-JIS pair.
bool valid_sjis(const std::string& text);

}  // namespace stage_test
