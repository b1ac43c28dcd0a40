// The characters of a text stage map and the tile codes they stand for, with what
// the overview draws for each. One table serves the compiler, the overview and
// the legend in data/stages/README.md.
#pragma once

#include <string>
#include <vector>

namespace stagec {

constexpr int kColumns = 200;
constexpr int kRows = 120;
constexpr int kCell = 24;

struct LegendEntry {
  char symbol;
  int code;                 // tile code 0..40 written to the stage file
  const char* image;        // member drawn for it in the overview ("" for none)
  int draw_dy;              // object markers: where the object's box starts below the cell top
  int draw_w, draw_h;       // size drawn (the object's box for markers)
  const char* meaning;
};

const std::vector<LegendEntry>& legend();
// The entry for a map character or a tile code; null when there is none.
const LegendEntry* find_symbol(char symbol);
const LegendEntry* find_code(int code);

// Solid at load time: what blocks the player.
bool code_is_solid(int code);
// Replaced by a moving object at load time.
bool code_is_marker(int code);

}  // namespace stagec
