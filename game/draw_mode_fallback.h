// The drawing-mode choice at start-up: the "Draw" setting names a row of attempts,
// tried in order until the drawing module starts; the number of the mode that
// started is written back so the next start begins with it.
#pragma once

#include <functional>
#include <vector>

#include "draw/draw_mode.h"
#include "game/settings.h"

namespace torv {

// Values of the "Draw" setting.
enum DrawSetting : int { kDrawSettingDIB = 0, kDrawSettingDDraw = 1, kDrawSettingD3D = 2, kDrawSettingD3D16 = 3 };

struct DrawAttempt {
  DRAW_INIT_MODE mode;
  int use_16bit;
  // "Draw" value written after this attempt succeeds; nullptr: nothing written.
  const char* written;
};

// The attempts for a "Draw" value, in order.
const std::vector<DrawAttempt>& draw_attempts(int draw_setting);

// Calls init(mode, use_16bit) (0 = started) for each attempt of the row until one
// starts; writes that attempt's value to "Draw". Answers the attempt that started,
// or nullptr when none did (nothing is written then).
const DrawAttempt* start_drawing(int draw_setting, const std::function<int(DRAW_INIT_MODE, int)>& init,
                                 SettingsStore& settings);

// The one-frame text that names the mode, by "Draw" value (values outside 0..3 name
// no mode: empty).
const char* draw_mode_text(int draw_setting);

}  // namespace torv
