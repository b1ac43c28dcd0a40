// DirectInput 8: the first attached game controller, read as DIJOYSTATE2.
#include "joystick/di_pad.h"

#include <windows.h>
#include <dinput.h>

#include <cstring>

#include "common/trace.h"

namespace torv {

namespace {

constexpr LONG kAxisRange = 1000;  // the axes report -1000 .. +1000

BOOL CALLBACK take_first(LPCDIDEVICEINSTANCEA instance, LPVOID user) {
  *static_cast<GUID*>(user) = instance->guidInstance;
  return DIENUM_STOP;
}

void set_axis_range(IDirectInputDevice8A* device, DWORD offset) {
  DIPROPRANGE range = {};
  range.diph.dwSize = sizeof range;
  range.diph.dwHeaderSize = sizeof range.diph;
  range.diph.dwObj = offset;
  range.diph.dwHow = DIPH_BYOFFSET;
  range.lMin = -kAxisRange;
  range.lMax = kAxisRange;
  device->SetProperty(DIPROP_RANGE, &range.diph);  // a pad without this axis refuses: fine
}

class CDirectInputPad : public IPadSource {
public:
  CDirectInputPad(IDirectInput8A* di, IDirectInputDevice8A* device) : di_(di), device_(device) {}
  ~CDirectInputPad() override {
    device_->Unacquire();
    device_->Release();
    di_->Release();
  }

  bool Poll(PadState* state) override {
    DIJOYSTATE2 js;
    if (!ReadState(&js)) {
      // Lost (another program, a focus change) or unplugged: acquire once more.
      if (FAILED(device_->Acquire()) || !ReadState(&js)) return false;
    }
    state->x = js.lX;
    state->y = js.lY;
    state->axis_min = -kAxisRange;
    state->axis_max = kAxisRange;
    state->pov = static_cast<uint32_t>(js.rgdwPOV[0]);
    static_assert(sizeof js.rgbButtons == kPadButtons, "DIJOYSTATE2 has 128 buttons");
    std::memcpy(state->buttons, js.rgbButtons, kPadButtons);
    return true;
  }

private:
  bool ReadState(DIJOYSTATE2* js) {
    device_->Poll();  // pads that need no polling answer DI_NOEFFECT
    return SUCCEEDED(device_->GetDeviceState(sizeof *js, js));
  }

  IDirectInput8A* di_;
  IDirectInputDevice8A* device_;
};

}  // namespace

std::unique_ptr<IPadSource> open_direct_input_pad(void* module, void* window) {
  IDirectInput8A* di = nullptr;
  if (FAILED(DirectInput8Create(static_cast<HINSTANCE>(module), DIRECTINPUT_VERSION, IID_IDirectInput8A,
                                reinterpret_cast<void**>(&di), nullptr)) ||
      !di) {
    torv_trace("tamDIJoy: DirectInput8Create failed\n");
    return nullptr;
  }
  GUID guid = GUID_NULL;
  IDirectInputDevice8A* device = nullptr;
  if (FAILED(di->EnumDevices(DI8DEVCLASS_GAMECTRL, take_first, &guid, DIEDFL_ATTACHEDONLY)) ||
      IsEqualGUID(guid, GUID_NULL) || FAILED(di->CreateDevice(guid, &device, nullptr)) || !device) {
    torv_trace("tamDIJoy: no game controller\n");
    di->Release();
    return nullptr;
  }
  if (FAILED(device->SetDataFormat(&c_dfDIJoystick2))) {
    device->Release();
    di->Release();
    return nullptr;
  }
  // Non-exclusive and in the background: the pad is shared and reads while the
  // window is not in front, as the keyboard table does.
  if (window) {
    device->SetCooperativeLevel(static_cast<HWND>(window), DISCL_BACKGROUND | DISCL_NONEXCLUSIVE);
  }
  set_axis_range(device, DIJOFS_X);
  set_axis_range(device, DIJOFS_Y);
  device->Acquire();  // may fail now and succeed at the first poll
  std::unique_ptr<IPadSource> pad(new (std::nothrow) CDirectInputPad(di, device));
  if (!pad) {
    device->Release();
    di->Release();
  }
  return pad;
}

}  // namespace torv
