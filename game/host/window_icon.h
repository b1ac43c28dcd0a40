// The game's mark for the window and the desktop: the hero's standing picture
// ("---0.png") scaled up by whole pixels, with its transparency. The same pixels
// become the window's icon at run time and the installed icon file.
#pragma once

#include "common/image_decode.h"
#include "game/host/image_store.h"

namespace torv {

inline constexpr int kWindowIconScale = 4;

// False when the picture is not loaded with its pixels.
bool make_window_icon(const ImageStore& images, Image* out);

}  // namespace torv
