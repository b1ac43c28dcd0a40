// A text stage: a header of "key: value" lines, then "map:" and 120 lines of 200
// map characters (data/stages/README.md has the legend).
//
//     title: <stage title, UTF-8; stored as Shift-JIS>
//     background: <N: the stage shows "N.png">
//     start: <column> <row>
//     time: <seconds>
//     next: <base name of the next stage file, without ".afb">
//     map:
// Lines starting with ";" before "map:" are comments.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/stagec/stage_legend.h"

namespace stagec {

// Widest title the status bar shows after its fixed text, in half-width columns
// (a double-byte character takes two).
constexpr int kMaxTitleColumns = 54;
constexpr int kMaxTimeSeconds = 999;  // the status bar shows three digits

struct Stage {
  std::string title_sjis;  // as stored: Shift-JIS bytes
  int background = 0;
  int start_column = 0;
  int start_row = 0;
  int time_seconds = 0;
  std::string next;        // base name
  // tiles[column][row], tile codes.
  std::array<std::array<uint8_t, kRows>, kColumns> tiles{};
};

// Parses a text stage. "" on success, else "file:line:column: message".
std::string parse_stage(const std::string& text, const std::string& file, Stage& out);

// UTF-8 to Shift-JIS (code page 932). False when a character has no Shift-JIS form
// or the input is not valid UTF-8.
bool utf8_to_sjis(const std::string& utf8, std::string& sjis);

// Display width of Shift-JIS text in half-width columns.
int sjis_columns(const std::string& sjis);

}  // namespace stagec
