// A whole stage drawn as one picture with the game's own images, for designers
// and the README: background, tiles, objects where the loader puts them, the
// player at the start cell; hidden blocks show as faint outlines.
#pragma once

#include <string>

#include "tools/contentkit/image.h"
#include "tools/stagec/stage_source.h"

namespace stagec {

// Draws stage at full size (4800x2880) with the images found in images_dir (the
// background "N.png", tile and object images, "---0.png"). "" or a message naming
// the image that could not be read.
std::string render_overview(const Stage& stage, const std::string& images_dir, contentkit::Image& out);

// The rows a stage uses: from two rows above its highest non-empty cell (or the
// start cell) down to the bottom row. Stages mostly keep to the lower rows, so a
// cropped overview shows the play instead of empty sky.
void used_rows(const Stage& stage, int& first, int& last);

}  // namespace stagec
