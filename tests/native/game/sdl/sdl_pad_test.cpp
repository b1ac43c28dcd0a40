// Controller buttons numbered as the Windows joystick module numbers a pad's.
#include "game/sdl/sdl_pad.h"

#include <gtest/gtest.h>

#include <set>

namespace torv {
namespace {

TEST(PadButtonNumber, XInputOrderOfDirectInputThenTheRest) {
  struct Case {
    SDL_GameControllerButton button;
    int number;
  };
  // The game's default pad buttons 0 to 4 (dash, jump, attack, switch, pause) are
  // A, B, X, Y and the left shoulder, as on Windows.
  const Case cases[] = {
      {SDL_CONTROLLER_BUTTON_A, 0},          {SDL_CONTROLLER_BUTTON_B, 1},
      {SDL_CONTROLLER_BUTTON_X, 2},          {SDL_CONTROLLER_BUTTON_Y, 3},
      {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, 4}, {SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, 5},
      {SDL_CONTROLLER_BUTTON_BACK, 6},       {SDL_CONTROLLER_BUTTON_START, 7},
      {SDL_CONTROLLER_BUTTON_LEFTSTICK, 8},  {SDL_CONTROLLER_BUTTON_RIGHTSTICK, 9},
      {SDL_CONTROLLER_BUTTON_DPAD_UP, -1},   {SDL_CONTROLLER_BUTTON_DPAD_LEFT, -1},
  };
  for (const Case& c : cases) EXPECT_EQ(pad_button_number(c.button), c.number) << c.button;
  std::set<int> used = {kLeftTriggerButton, kRightTriggerButton};
  for (int b = 0; b < SDL_CONTROLLER_BUTTON_MAX; ++b) {
    const int n = pad_button_number(static_cast<SDL_GameControllerButton>(b));
    if (n < 0) continue;
    EXPECT_LT(n, kPadButtons);
    EXPECT_TRUE(used.insert(n).second) << "button number " << n << " given twice";
  }
}

}  // namespace
}  // namespace torv
