// The fixed test scene every renderer draws the same way: opaque, colour-keyed and
// half-transparent images, scaled draws, clipped draws at every edge, cached and
// plain Japanese and ASCII text.
#pragma once

#include <string>

#include "tools/drawcheck/draw_frontend.h"

namespace torv {

struct SceneSlots {
  int backdrop = -1, tile = -1, sprite = -1, glass = -1, plate = -1;
};

// Loads the scene's pictures (PNG and BMP, from memory) into the started front-end.
// False with *error set when one does not load.
bool load_scene(DrawFrontEnd& draw, SceneSlots* slots, std::string* error);

// Draws the whole scene between one dllBeginDraw and dllEndDraw.
void draw_scene(DrawFrontEnd& draw, const SceneSlots& slots);

}  // namespace torv
