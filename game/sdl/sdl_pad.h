// The pad: SDL's game controllers read as the Windows joystick module reads a
// DirectInput pad (joystick/pad_mapping.h: the left stick with a dead zone, the
// cross pad as the hat, buttons numbered as DirectInput numbers an XInput pad's),
// so the pad column of the key configuration means the same on both builds.
// Controllers may come and go at any time: the first one attached is used, and when
// it is unplugged the next attached one takes over at once.
#pragma once

#include <SDL2/SDL_events.h>
#include <SDL2/SDL_gamecontroller.h>

#include "game/input_map.h"
#include "joystick/pad_mapping.h"

namespace torv {

// The button number a controller button has for the game (DirectInput's for an
// XInput pad: A 0, B 1, X 2, Y 3, LB 4, RB 5, Back 6, Start 7, left stick 8, right
// stick 9; then Guide 10, Misc 11, the paddles 12 to 15, the touchpad 16). The cross
// pad is the hat, not buttons: -1.
int pad_button_number(SDL_GameControllerButton button);
// The triggers count as buttons 17 (left) and 18 (right) once pressed half way.
inline constexpr int kLeftTriggerButton = 17;
inline constexpr int kRightTriggerButton = 18;
inline constexpr int16_t kTriggerHalfWay = 16384;

class SdlPad : public PadSource {
public:
  SdlPad() = default;
  ~SdlPad() override;
  SdlPad(const SdlPad&) = delete;
  SdlPad& operator=(const SdlPad&) = delete;

  // Opens the first attached controller, if any (after SDL's game controller
  // subsystem has started).
  void open_first();
  // Takes controller added and removed events; others are ignored.
  void handle_event(const SDL_Event& event);
  bool attached() const { return controller_ != nullptr; }

  // PadSource.
  void get_xy(int32_t& x, int32_t& y) override;
  int get_button(int button) override { return reader_.GetJoyBtn(button); }
  int get_any_button() override { return reader_.GetJoy(); }

private:
  void open(int device_index);
  void close();

  SDL_GameController* controller_ = nullptr;
  SDL_JoystickID instance_ = -1;
  CPadReader reader_;
};

}  // namespace torv
