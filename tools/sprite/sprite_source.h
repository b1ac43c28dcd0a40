// Pixel art as text: a palette file maps one character to one colour, and sprite
// files draw each image as a grid of those characters.
//
// Palette file, one entry a line ("#" starts a comment line):
//     k #1b1623   outline       <character> <#rrggbb[aa] | transparent> [note]
// Sprite file statements ("#" comment lines and blank lines between them):
//     sprite NAME [WxH]         then the grid: one line per row, ended by a blank
//                               line or the end of the file; WxH, when given, is
//                               checked against the grid
//     mirror NAME SOURCE        SOURCE flipped left to right
//     rotate NAME SOURCE cw|ccw|180
//     recolor NAME SOURCE ab .. SOURCE with every character a replaced by b
// A derived sprite may name any sprite defined before it, in this file or an
// earlier one. Names are output file names and must be unique.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "tools/contentkit/image.h"

namespace sprite {

using Palette = std::map<char, contentkit::Rgba>;

struct Sprite {
  std::string name;
  std::vector<std::string> rows;  // equal lengths, palette characters only
};

// Each answers "" on success, else "file:line:column: message".
std::string parse_palette(const std::string& text, const std::string& file, Palette& out);
std::string parse_sprites(const std::string& text, const std::string& file, const Palette& palette,
                          std::vector<Sprite>& sprites);

contentkit::Image render_sprite(const Sprite& sprite, const Palette& palette);

// All sprites enlarged by scale on a neutral backdrop, in rows, for review.
contentkit::Image contact_sheet(const std::vector<Sprite>& sprites, const Palette& palette, int scale);

}  // namespace sprite
