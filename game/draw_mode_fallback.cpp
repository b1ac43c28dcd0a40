// Ordered fallback table of the drawing modes.
#include "game/draw_mode_fallback.h"

namespace torv {

const std::vector<DrawAttempt>& draw_attempts(int draw_setting) {
  // Direct3D forced to 16 bits falls straight back to the DIB section: a machine
  // whose 16-bit device fails is not expected to fare better with DirectDraw.
  static const std::vector<DrawAttempt> d3d16 = {{DRAW_INIT_D3D, 1, nullptr}, {DRAW_INIT_DIB, 0, "0"}};
  static const std::vector<DrawAttempt> d3d = {{DRAW_INIT_D3D, 0, "2"}, {DRAW_INIT_DDRAW, 0, "1"}, {DRAW_INIT_DIB, 0, "0"}};
  static const std::vector<DrawAttempt> ddraw = {{DRAW_INIT_DDRAW, 0, "1"}, {DRAW_INIT_DIB, 0, "0"}};
  static const std::vector<DrawAttempt> dib = {{DRAW_INIT_DIB, 0, "0"}};
  switch (draw_setting) {
    case kDrawSettingD3D16: return d3d16;
    case kDrawSettingD3D: return d3d;
    case kDrawSettingDDraw: return ddraw;
    default: return dib;
  }
}

const DrawAttempt* start_drawing(int draw_setting, const std::function<int(DRAW_INIT_MODE, int)>& init,
                                 SettingsStore& settings) {
  for (const DrawAttempt& attempt : draw_attempts(draw_setting)) {
    if (init(attempt.mode, attempt.use_16bit) != 0) continue;
    if (attempt.written != nullptr) settings.write(kKeyDraw, attempt.written);
    return &attempt;
  }
  return nullptr;
}

const char* draw_mode_text(int draw_setting) {
  switch (draw_setting) {
    case kDrawSettingDIB: return "DrawMode:DIBSection & GDI...";
    case kDrawSettingDDraw: return "DrawMode:DirectDraw & DirectMemoryAccess...";
    case kDrawSettingD3D: return "DrawMode:Direct3D...";
    case kDrawSettingD3D16: return "DrawMode:Direct3D...(Force16Bit)";
    default: return "";
  }
}

}  // namespace torv
