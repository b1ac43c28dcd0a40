// "tamDx3DDraw.dll" behind "tamDraw.dll", bound by name as the game binds it: mode
// 1 starts with and without 16-bit textures and shows its frames in the window,
// and a frame bracket broken once does not stop the frames after it.
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

// The plate drawn at (10, 20) over black, in the window; 16-bit textures keep four
// bits a channel.
constexpr int kPlateX = 10;
constexpr int kPlateY = 20;

// Mode 1 started on shown_window, with the plate loaded.
class ModeOne {
public:
  ModeOne(HWND window, int use16) : window_(window) {
    std::string missing;
    loaded_ = fe.Load(&missing);
    EXPECT_TRUE(loaded_) << missing;
    if (!loaded_) return;
    EXPECT_EQ(fe.Init(window, kSmallWidth, kSmallHeight, DRAW_INIT_D3D, use16), 0) << use16;
    const std::vector<uint8_t> png = Png(plate_);
    std::vector<char> bytes(png.begin(), png.end());
    EXPECT_EQ(fe.CreateImageLoadFromMemory(&slot_, bytes.data(), static_cast<int>(bytes.size())), 0);
  }
  ~ModeOne() {
    if (!loaded_) return;
    fe.Terminate();
    fe.Unload();
  }
  bool started() const { return loaded_ && slot_ >= 0; }
  int slot() const { return slot_; }

  // Presents the plate's frame a few times (the first may not reach the window)
  // and answers the pixels of the window that differ from it.
  int WrongPixelsOfPlateFrame(int use16) {
    for (int i = 0; i < 6; ++i) {
      EXPECT_EQ(fe.BeginDraw(), 0);
      EXPECT_EQ(fe.DrawImage(slot_, kPlateX, kPlateY, 100, 50, 100), 0);
      EXPECT_EQ(fe.EndDraw(), 0);
      MSG msg;
      while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
      Sleep(20);
    }
    const Frame shown = CaptureWindow(window_, kSmallWidth, kSmallHeight);
    if (shown.size() != static_cast<size_t>(kSmallWidth) * kSmallHeight) return kSmallWidth * kSmallHeight;
    int wrong = 0;
    for (int y = 0; y < kSmallHeight; ++y) {
      for (int x = 0; x < kSmallWidth; ++x) {
        uint32_t expected = 0;
        if (x >= kPlateX && x < kPlateX + 100 && y >= kPlateY && y < kPlateY + 50) {
          const uint8_t* p = plate_.at(x - kPlateX, y - kPlateY);
          expected = use16 ? Rgb(p[2] >> 4 << 4 | p[2] >> 4, p[1] >> 4 << 4 | p[1] >> 4, p[0] >> 4 << 4 | p[0] >> 4)
                           : RgbOf(p);
        }
        wrong += shown[static_cast<size_t>(y) * kSmallWidth + x] != expected;
      }
    }
    return wrong;
  }

  torv::DrawFrontEnd fe;

private:
  HWND window_;
  const torv::CheckImage plate_ = torv::make_plate();
  bool loaded_ = false;
  int slot_ = -1;
};

class D3dFrontEnd : public ::testing::Test {
protected:
  void SetUp() override {
    window_ = OpenWindow("TORV Direct3D mode 1", kSmallX, kSmallY, kSmallWidth, kSmallHeight);
    ASSERT_NE(window_, nullptr);
  }
  void TearDown() override { DestroyWindow(window_); }
  HWND window_ = nullptr;
};

TEST_F(D3dFrontEnd, ModeOneStartsAndShowsItsFramesWithAndWithoutSixteenBits) {
  for (int use16 = 0; use16 <= 1; ++use16) {
    ModeOne mode(window_, use16);
    ASSERT_TRUE(mode.started());
    EXPECT_EQ(mode.fe.GetInitMode(), DRAW_INIT_D3D);
    EXPECT_EQ(mode.fe.GetARGB(1, 2, 3, 4), 0x04010203u);
    EXPECT_EQ(mode.fe.GetImageWidth(mode.slot()), 100);
    EXPECT_EQ(mode.WrongPixelsOfPlateFrame(use16), 0) << "16-bit " << use16;
  }
}

// Frame brackets the game can leave unpaired: a frame begun twice, a frame
// stopped half way (dllStopDraw holds back its dllEndDraw), a frame ended twice.
// The next ordinary frame must draw and show as if nothing had happened.
TEST_F(D3dFrontEnd, UnpairedFrameLeavesTheNextFrameWhole) {
  enum Step { kBegin, kEnd, kStop, kGo, kDraw };
  const struct {
    const char* name;
    std::vector<Step> steps;
  } cases[] = {
      {"begin begin end", {kBegin, kDraw, kBegin, kDraw, kEnd}},
      {"begin stop go begin end", {kBegin, kDraw, kStop, kGo, kBegin, kDraw, kEnd}},
      {"begin stop end go begin end", {kBegin, kStop, kEnd, kGo, kBegin, kEnd}},
      {"begin end end", {kBegin, kDraw, kEnd, kEnd}},
      {"begin, never ended", {kBegin, kDraw}},
  };
  for (const auto& c : cases) {
    ModeOne mode(window_, 0);
    ASSERT_TRUE(mode.started()) << c.name;
    bool stopped = false;  // the front-end then answers -1 and forwards nothing
    for (Step step : c.steps) {
      const int expected = stopped ? -1 : 0;
      switch (step) {
        case kBegin: EXPECT_EQ(mode.fe.BeginDraw(), expected) << c.name; break;
        case kEnd: EXPECT_EQ(mode.fe.EndDraw(), expected) << c.name; break;
        case kStop:
        case kGo:
          stopped = step == kStop;
          mode.fe.StopDraw(stopped ? 1 : 0);
          break;
        // A draw inside each begun frame: every begin opens a frame that draws.
        case kDraw: EXPECT_EQ(mode.fe.DrawImage(mode.slot(), 40, 40, 30, 30, 100), expected) << c.name; break;
      }
    }
    EXPECT_EQ(mode.WrongPixelsOfPlateFrame(0), 0) << c.name;
  }
}

}  // namespace
}  // namespace d3dtest
