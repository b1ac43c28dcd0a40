// The source colour key of a DirectDraw image: the colour its fully transparent
// pixels are set to, so that a colour-keyed copy leaves exactly them out.
// Portable: works on plain pixel memory (4 bytes blue, green, red, alpha a pixel).
#pragma once

#include <cstdint>

#include "common/blend.h"

namespace torv {

// The smallest colour 0x00RRGGBB that no visible pixel (alpha != 0) of the image
// has. This is what searching from key 0 gives when every visible pixel equal to
// the key raises the key by one and starts the search again from the first pixel,
// found without the repeated passes. An image that uses all 2^24 colours gets 0.
uint32_t find_colour_key(const ImageView& image);

// Sets every pixel whose alpha is 0 to the key: blue, green, red from its low 24
// bits, alpha 0. Visible pixels are left as they are.
void fill_transparent_with_key(const FrameView& image, uint32_t key);

}  // namespace torv
