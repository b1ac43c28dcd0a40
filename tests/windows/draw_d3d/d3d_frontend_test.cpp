// "tamDx3DDraw.dll" behind "tamDraw.dll", bound by name as the game binds it: mode
// 1 starts with and without 16-bit textures and shows its frames in the window.
#include <gtest/gtest.h>

#include "tests/windows/draw_d3d/d3d_fixture.h"
#include "tools/drawcheck/draw_frontend.h"

namespace d3dtest {
namespace {

constexpr int kSmallWidth = 160;
constexpr int kSmallHeight = 120;

// A shown_window window where no other test's window lies (those sit at the screen's
// top-left), so that reading it back through GDI sees only this renderer.
constexpr int kSmallX = 700;
constexpr int kSmallY = 560;

TEST(D3dFrontEnd, ModeOneStartsAndShowsItsFramesWithAndWithoutSixteenBits) {
  HWND shown_window = OpenWindow("TORV Direct3D mode 1", kSmallX, kSmallY, kSmallWidth, kSmallHeight);
  ASSERT_NE(shown_window, nullptr);
  const torv::CheckImage plate = torv::make_plate();
  const std::vector<uint8_t> png = Png(plate);
  for (int use16 = 0; use16 <= 1; ++use16) {
    torv::DrawFrontEnd fe;
    std::string missing;
    ASSERT_TRUE(fe.Load(&missing)) << missing;
    ASSERT_EQ(fe.Init(shown_window, kSmallWidth, kSmallHeight, DRAW_INIT_D3D, use16), 0) << use16;
    EXPECT_EQ(fe.GetInitMode(), DRAW_INIT_D3D);
    EXPECT_EQ(fe.GetARGB(1, 2, 3, 4), 0x04010203u);
    std::vector<char> bytes(png.begin(), png.end());
    int slot = -1;
    ASSERT_EQ(fe.CreateImageLoadFromMemory(&slot, bytes.data(), static_cast<int>(bytes.size())), 0);
    EXPECT_EQ(fe.GetImageWidth(slot), 100);
    // Present a few frames (the first may not reach the window), then read it back.
    std::vector<uint32_t> shown;
    for (int i = 0; i < 6; ++i) {
      ASSERT_EQ(fe.BeginDraw(), 0);
      EXPECT_EQ(fe.DrawImage(slot, 10, 20, 100, 50, 100), 0);
      ASSERT_EQ(fe.EndDraw(), 0);
      MSG msg;
      while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
      Sleep(20);
    }
    shown = CaptureWindow(shown_window, kSmallWidth, kSmallHeight);
    ASSERT_EQ(shown.size(), static_cast<size_t>(kSmallWidth) * kSmallHeight);
    int wrong = 0;
    for (int y = 0; y < kSmallHeight; ++y) {
      for (int x = 0; x < kSmallWidth; ++x) {
        uint32_t expected = 0;
        if (x >= 10 && x < 110 && y >= 20 && y < 70) {
          const uint8_t* p = plate.at(x - 10, y - 20);
          expected = use16 ? Rgb(p[2] >> 4 << 4 | p[2] >> 4, p[1] >> 4 << 4 | p[1] >> 4, p[0] >> 4 << 4 | p[0] >> 4)
                           : RgbOf(p);
        }
        wrong += shown[static_cast<size_t>(y) * kSmallWidth + x] != expected;
      }
    }
    EXPECT_EQ(wrong, 0) << "16-bit " << use16;
    fe.Terminate();
    fe.Unload();
  }
  DestroyWindow(shown_window);
}

}  // namespace
}  // namespace d3dtest
