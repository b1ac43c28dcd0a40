// tamDIJoy.dll loaded by name, on a machine without a pad (Wine's DirectInput
// enumerates no game controller here): every call answers "no pad, nothing held".
#include <windows.h>

#include <gtest/gtest.h>

#include "joystick/tamDIJoy.h"

namespace {

struct JoyApi {
  HMODULE module = nullptr;
  TamJoyInitProc Init = nullptr;
  TamJoyGetXYProc GetJoyXY = nullptr;
  TamJoyGetBtnProc GetJoyBtn = nullptr;
  TamJoyGetProc GetJoy = nullptr;
  TamJoyTerminateProc TerminateDI = nullptr;
};

template <class T>
T bind(HMODULE m, const char* name) {
  return reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(m, name)));
}

class JoystickModule : public testing::Test {
protected:
  void SetUp() override {
    api_.module = LoadLibraryA("tamDIJoy.dll");
    ASSERT_NE(api_.module, nullptr);
    api_.Init = bind<TamJoyInitProc>(api_.module, "dllInit");
    api_.GetJoyXY = bind<TamJoyGetXYProc>(api_.module, "dllGetJoyXY");
    api_.GetJoyBtn = bind<TamJoyGetBtnProc>(api_.module, "dllGetJoyBtn");
    api_.GetJoy = bind<TamJoyGetProc>(api_.module, "dllGetJoy");
    api_.TerminateDI = bind<TamJoyTerminateProc>(api_.module, "dllTerminateDI");
    ASSERT_TRUE(api_.Init && api_.GetJoyXY && api_.GetJoyBtn && api_.GetJoy && api_.TerminateDI);
  }
  void TearDown() override {
    if (api_.module) FreeLibrary(api_.module);
  }
  void ExpectNothingHeld() {
    EXPECT_EQ(api_.GetJoyXY(), 0);
    for (int b = -1; b <= 256; ++b) ASSERT_EQ(api_.GetJoyBtn(b), 0) << b;
    EXPECT_EQ(api_.GetJoy(), -1);
  }
  JoyApi api_;
};

TEST_F(JoystickModule, WithoutAPadInitFailsAndEveryQueryAnswersNothingHeld) {
  ExpectNothingHeld();  // before dllInit
  EXPECT_NE(api_.Init(nullptr), 0);
  ExpectNothingHeld();
  EXPECT_EQ(api_.TerminateDI(), 0);
  EXPECT_EQ(api_.TerminateDI(), 0);
  ExpectNothingHeld();
}

TEST_F(JoystickModule, InitWithTheGamesWindowAndAgainAfterTerminate) {
  HWND window = CreateWindowExA(0, "STATIC", "pad test", WS_OVERLAPPEDWINDOW, 0, 0, 64, 64, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(window, nullptr);
  for (int round = 0; round < 3; ++round) {
    EXPECT_NE(api_.Init(window), 0) << round;
    EXPECT_NE(api_.Init(window), 0) << "a second init looks again";
    ExpectNothingHeld();
    EXPECT_EQ(api_.TerminateDI(), 0);
  }
  DestroyWindow(window);
}

}  // namespace
