// Game controllers through the joystick module's pad mapping.
#include "game/sdl/sdl_pad.h"

namespace torv {

namespace {

struct ButtonNumber {
  SDL_GameControllerButton button;
  int number;
};

constexpr ButtonNumber kButtonNumbers[] = {
    {SDL_CONTROLLER_BUTTON_A, 0},
    {SDL_CONTROLLER_BUTTON_B, 1},
    {SDL_CONTROLLER_BUTTON_X, 2},
    {SDL_CONTROLLER_BUTTON_Y, 3},
    {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, 4},
    {SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, 5},
    {SDL_CONTROLLER_BUTTON_BACK, 6},
    {SDL_CONTROLLER_BUTTON_START, 7},
    {SDL_CONTROLLER_BUTTON_LEFTSTICK, 8},
    {SDL_CONTROLLER_BUTTON_RIGHTSTICK, 9},
    {SDL_CONTROLLER_BUTTON_GUIDE, 10},
    {SDL_CONTROLLER_BUTTON_MISC1, 11},
    {SDL_CONTROLLER_BUTTON_PADDLE1, 12},
    {SDL_CONTROLLER_BUTTON_PADDLE2, 13},
    {SDL_CONTROLLER_BUTTON_PADDLE3, 14},
    {SDL_CONTROLLER_BUTTON_PADDLE4, 15},
    {SDL_CONTROLLER_BUTTON_TOUCHPAD, 16},
};

constexpr uint8_t kHeld = 0x80;

// One reading of an open controller in the joystick module's terms.
class ControllerSource : public IPadSource {
public:
  explicit ControllerSource(SDL_GameController* controller) : controller_(controller) {}

  bool Poll(PadState* state) override {
    if (!SDL_GameControllerGetAttached(controller_)) return false;
    *state = PadState{};
    state->axis_min = SDL_JOYSTICK_AXIS_MIN;
    state->axis_max = SDL_JOYSTICK_AXIS_MAX;
    state->x = SDL_GameControllerGetAxis(controller_, SDL_CONTROLLER_AXIS_LEFTX);
    state->y = SDL_GameControllerGetAxis(controller_, SDL_CONTROLLER_AXIS_LEFTY);
    state->pov = cross_pad_as_hat();
    for (const ButtonNumber& b : kButtonNumbers) {
      if (SDL_GameControllerGetButton(controller_, b.button)) state->buttons[b.number] = kHeld;
    }
    if (SDL_GameControllerGetAxis(controller_, SDL_CONTROLLER_AXIS_TRIGGERLEFT) >= kTriggerHalfWay) {
      state->buttons[kLeftTriggerButton] = kHeld;
    }
    if (SDL_GameControllerGetAxis(controller_, SDL_CONTROLLER_AXIS_TRIGGERRIGHT) >= kTriggerHalfWay) {
      state->buttons[kRightTriggerButton] = kHeld;
    }
    return true;
  }

private:
  // The cross pad as DirectInput reports a hat: hundredths of a degree clockwise
  // from up, or centred.
  uint32_t cross_pad_as_hat() {
    const int dx = SDL_GameControllerGetButton(controller_, SDL_CONTROLLER_BUTTON_DPAD_RIGHT) -
                   SDL_GameControllerGetButton(controller_, SDL_CONTROLLER_BUTTON_DPAD_LEFT);
    const int dy = SDL_GameControllerGetButton(controller_, SDL_CONTROLLER_BUTTON_DPAD_DOWN) -
                   SDL_GameControllerGetButton(controller_, SDL_CONTROLLER_BUTTON_DPAD_UP);
    static constexpr uint32_t kAngles[3][3] = {
        {31500, 0, 4500},       // up-left, up, up-right
        {27000, kPovCentred, 9000},
        {22500, 18000, 13500},  // down-left, down, down-right
    };
    return kAngles[dy + 1][dx + 1];
  }

  SDL_GameController* controller_;
};

}  // namespace

int pad_button_number(SDL_GameControllerButton button) {
  for (const ButtonNumber& b : kButtonNumbers) {
    if (b.button == button) return b.number;
  }
  return -1;
}

SdlPad::~SdlPad() { close(); }

void SdlPad::open_first() {
  for (int i = 0; i < SDL_NumJoysticks() && !controller_; ++i) {
    if (SDL_IsGameController(i)) open(i);
  }
}

void SdlPad::handle_event(const SDL_Event& event) {
  if (event.type == SDL_CONTROLLERDEVICEADDED) {
    if (!controller_) open(event.cdevice.which);
  } else if (event.type == SDL_CONTROLLERDEVICEREMOVED) {
    if (controller_ && event.cdevice.which == instance_) {
      close();
      open_first();
    }
  }
}

void SdlPad::open(int device_index) {
  SDL_GameController* controller = SDL_GameControllerOpen(device_index);
  if (!controller) return;
  controller_ = controller;
  instance_ = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
  reader_.SetSource(std::make_unique<ControllerSource>(controller));
}

void SdlPad::close() {
  reader_.SetSource(nullptr);
  if (controller_) SDL_GameControllerClose(controller_);
  controller_ = nullptr;
  instance_ = -1;
}

void SdlPad::get_xy(int32_t& x, int32_t& y) {
  const int64_t both = reader_.GetJoyXY();
  x = static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(both)));
  y = static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(both) >> 32));
}

}  // namespace torv
