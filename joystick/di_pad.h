// The DirectInput 8 pad source (Windows only).
#pragma once

#include <memory>

#include "joystick/pad_mapping.h"

namespace torv {

// Opens the first attached game controller for window (null accepted). Null when
// DirectInput cannot start or no controller is attached.
std::unique_ptr<IPadSource> open_direct_input_pad(void* module, void* window);

}  // namespace torv
