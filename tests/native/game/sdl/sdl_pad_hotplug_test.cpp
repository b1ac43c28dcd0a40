// Pads through SDL's game controller interface, with SDL's virtual controllers
// standing in for real ones: plugged in while the game runs, read as the Windows
// joystick module reads a pad, unplugged with another one taking over.
#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include "game/sdl/sdl_pad.h"

namespace torv {
namespace {

class SdlPadHotplug : public testing::Test {
protected:
  void SetUp() override { ASSERT_EQ(SDL_Init(SDL_INIT_GAMECONTROLLER), 0) << SDL_GetError(); }
  void TearDown() override {
    pad_.reset();
    SDL_Quit();
  }

  // A virtual controller with every standard button and axis; answers its device index.
  int plug_in() {
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    desc.name = "test pad";
    const int index = SDL_JoystickAttachVirtualEx(&desc);
    EXPECT_GE(index, 0) << SDL_GetError();
    return index;
  }
  // The joystick behind a device index, opened by the test to move its controls.
  SDL_Joystick* hand_on(int index) { return SDL_JoystickOpen(index); }
  // What the game does once a frame: take the events.
  void frame() {
    SDL_Event event;
    while (SDL_PollEvent(&event)) pad_->handle_event(event);
    SDL_JoystickUpdate();
  }
  std::pair<int32_t, int32_t> xy() {
    int32_t x = 9, y = 9;
    pad_->get_xy(x, y);
    return {x, y};
  }

  std::unique_ptr<SdlPad> pad_ = std::make_unique<SdlPad>();
};

TEST_F(SdlPadHotplug, APadPluggedInMidGameIsReadAtOnce) {
  pad_->open_first();
  frame();
  EXPECT_FALSE(pad_->attached());
  EXPECT_EQ(pad_->get_any_button(), -1);

  const int index = plug_in();
  SDL_Joystick* stick = hand_on(index);
  ASSERT_NE(stick, nullptr);
  frame();
  ASSERT_TRUE(pad_->attached());
  EXPECT_EQ(xy(), std::make_pair(0, 0));

  SDL_JoystickSetVirtualButton(stick, SDL_CONTROLLER_BUTTON_B, 1);
  frame();
  EXPECT_EQ(pad_->get_button(1), 1);
  EXPECT_EQ(pad_->get_button(0), 0);
  EXPECT_EQ(pad_->get_any_button(), 1);

  // The stick beyond its dead zone, the cross pad while the stick is centred, a
  // trigger pressed half way.
  SDL_JoystickSetVirtualButton(stick, SDL_CONTROLLER_BUTTON_B, 0);
  SDL_JoystickSetVirtualAxis(stick, SDL_CONTROLLER_AXIS_LEFTX, -32768);
  SDL_JoystickSetVirtualButton(stick, SDL_CONTROLLER_BUTTON_DPAD_DOWN, 1);
  SDL_JoystickSetVirtualAxis(stick, SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 20000);
  frame();
  EXPECT_EQ(xy(), std::make_pair(-1, 1));
  EXPECT_EQ(pad_->get_any_button(), kRightTriggerButton);

  SDL_JoystickSetVirtualAxis(stick, SDL_CONTROLLER_AXIS_LEFTX, 4000);  // inside the dead zone
  SDL_JoystickSetVirtualButton(stick, SDL_CONTROLLER_BUTTON_DPAD_DOWN, 0);
  SDL_JoystickSetVirtualButton(stick, SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 1);
  SDL_JoystickSetVirtualAxis(stick, SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 0);
  frame();
  EXPECT_EQ(xy(), std::make_pair(1, 0));
  EXPECT_EQ(pad_->get_any_button(), -1);
  SDL_JoystickClose(stick);
}

TEST_F(SdlPadHotplug, UnpluggingHandsOverToTheNextPadOrToNone) {
  const int first = plug_in();
  const int second = plug_in();
  pad_->open_first();
  frame();
  ASSERT_TRUE(pad_->attached());
  SDL_Joystick* other = hand_on(second);
  SDL_JoystickSetVirtualButton(other, SDL_CONTROLLER_BUTTON_START, 1);
  frame();
  EXPECT_EQ(pad_->get_any_button(), -1) << "the second pad is not the one read";

  ASSERT_EQ(SDL_JoystickDetachVirtual(first), 0);
  frame();
  ASSERT_TRUE(pad_->attached());
  EXPECT_EQ(pad_->get_any_button(), 7) << "Start of the pad that took over";
  SDL_JoystickClose(other);

  ASSERT_EQ(SDL_JoystickDetachVirtual(0), 0);
  frame();
  EXPECT_FALSE(pad_->attached());
  EXPECT_EQ(pad_->get_button(7), 0);
  EXPECT_EQ(xy(), std::make_pair(0, 0));
}

}  // namespace
}  // namespace torv
