// Pictures written as PNG files: game frames (8-bit RGB, the unused fourth byte of
// each pixel left out) and images with their transparency (8-bit RGBA).
#pragma once

#include <string>

#include "common/blend.h"
#include "common/image_decode.h"

namespace torv {

// False when the file cannot be written.
bool write_frame_png(const std::string& path, const FrameView& frame);
bool write_image_png(const std::string& path, const Image& image);

}  // namespace torv
