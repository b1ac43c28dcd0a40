// The DirectSound device behind ISoundDevice (Windows only).
#pragma once

#include <memory>

#include "sound/sound_output.h"

namespace torv {

// Opens the default DirectSound device for window (null: the desktop window).
// Null when there is no device or driver: the module then runs silent.
std::unique_ptr<ISoundDevice> open_direct_sound(void* window);

}  // namespace torv
