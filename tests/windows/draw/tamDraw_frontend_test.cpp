// "tamDraw.dll" bound by name: starting and refusing back-ends, colour values, the
// stop switch, text measuring and screen shake, seen through the window.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/windows/draw/draw_fixture.h"

namespace drawtest {
namespace {

bool FileExists(const char* name) { return GetFileAttributesA(name) != INVALID_FILE_ATTRIBUTES; }

// What a front-end with no back-end answers, whatever happened before.
void ExpectNoBackEnd(torv::DrawFrontEnd& fe, const std::string& what) {
  SCOPED_TRACE(what);
  EXPECT_EQ(fe.GetInitMode(), DRAW_INIT_NONE);
  EXPECT_EQ(GetModuleHandleA("tamDIBDraw.dll"), nullptr) << "the back-end is still loaded";
  std::vector<uint8_t> bmp = Bmp(torv::make_tile());
  int slot = 77;
  EXPECT_EQ(fe.CreateImageLoadFromMemory(&slot, reinterpret_cast<char*>(bmp.data()), static_cast<int>(bmp.size())), -1);
  EXPECT_EQ(slot, 77);
  EXPECT_EQ(fe.GetImageWidth(0), -1);
  EXPECT_EQ(fe.GetImageHeight(0), -1);
  const RECT r = fe.GetImageRect(0);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.right, -1);
  EXPECT_EQ(r.bottom, -1);
  EXPECT_EQ(fe.BeginDraw(), -1);
  EXPECT_EQ(fe.DrawImage(0, 0, 0, 10, 10, 100), -1);
  EXPECT_EQ(fe.DrawImageFast(0, 0, 0, 0, 0, 10, 10, 1), -1);
  EXPECT_EQ(fe.DrawTextSimple(0, 0, 0, 1, "x"), -1);
  EXPECT_EQ(fe.EndDraw(), -1);
  EXPECT_EQ(fe.SetFont("IPAGothic", 20), -1);
  SIZE size = {5, 5};
  EXPECT_EQ(fe.GetTextSize("abc", &size), -1);
  EXPECT_EQ(size.cx, 5);
  EXPECT_EQ(fe.GetRGB(1, 2, 3), 0u);
  EXPECT_EQ(fe.GetARGB(1, 2, 3, 4), 0u);
}

TEST(FrontEnd, StartsOnlyModesWhoseBackEndExists) {
  torv::DrawFrontEnd fe;
  std::string missing;
  ASSERT_TRUE(fe.Load(&missing)) << "not bound: " << missing;
  const HWND hwnd = TestWindow().hwnd();
  struct Case {
    const char* what;
    int mode;
    int use16;
    bool starts;
  };
  const Case cases[] = {
      {"Direct3D", DRAW_INIT_D3D, 0, FileExists("tamDx3DDraw.dll")},
      {"Direct3D, 16-bit", DRAW_INIT_D3D, 1, FileExists("tamDx3DDraw.dll")},
      {"DirectDraw", DRAW_INIT_DDRAW, 0, FileExists("tamDDDraw.dll")},
      {"DirectDraw refuses 16-bit", DRAW_INIT_DDRAW, 1, false},
      {"DIB refuses 16-bit", DRAW_INIT_DIB, 1, false},
      {"mode 0", DRAW_INIT_NONE, 0, false},
      {"mode 4", 4, 0, false},
      {"mode -1", -1, 0, false},
  };
  for (const Case& c : cases) {
    // A working DIB back-end first, so a refused start must also unload it.
    ASSERT_EQ(fe.Init(hwnd, kWidth, kHeight, DRAW_INIT_DIB, 0), 0);
    ASSERT_EQ(fe.GetInitMode(), DRAW_INIT_DIB);
    ASSERT_NE(GetModuleHandleA("tamDIBDraw.dll"), nullptr);
    const int result = fe.Init(hwnd, kWidth, kHeight, static_cast<DRAW_INIT_MODE>(c.mode), c.use16);
    if (c.starts) {
      EXPECT_EQ(result, 0) << c.what;
      EXPECT_EQ(fe.GetInitMode(), c.mode) << c.what;
      fe.Terminate();
    } else {
      EXPECT_EQ(result, -1) << c.what;
    }
    ExpectNoBackEnd(fe, c.what);
  }
  fe.Unload();
}

TEST(FrontEnd, TerminateUnloadsAndAStartAfterItGivesFreshSlots) {
  torv::DrawFrontEnd fe;
  std::string missing;
  ASSERT_TRUE(fe.Load(&missing)) << missing;
  ASSERT_EQ(fe.Init(TestWindow().hwnd(), kWidth, kHeight, DRAW_INIT_DIB, 0), 0);
  std::vector<uint8_t> bmp = Bmp(torv::make_tile());
  int slot = -1;
  ASSERT_EQ(fe.CreateImageLoadFromMemory(&slot, reinterpret_cast<char*>(bmp.data()), static_cast<int>(bmp.size())), 0);
  ASSERT_EQ(fe.CreateImageLoadFromMemory(&slot, reinterpret_cast<char*>(bmp.data()), static_cast<int>(bmp.size())), 0);
  EXPECT_EQ(slot, 1);
  fe.Terminate();
  ExpectNoBackEnd(fe, "after dllTerminate");
  fe.Terminate();  // a second terminate is harmless
  // A new start begins with an empty store: slot 0 again, the old slot 1 is gone.
  ASSERT_EQ(fe.Init(TestWindow().hwnd(), kWidth, kHeight, DRAW_INIT_DIB, 0), 0);
  EXPECT_EQ(fe.GetImageWidth(1), -1);
  ASSERT_EQ(fe.CreateImageLoadFromMemory(&slot, reinterpret_cast<char*>(bmp.data()), static_cast<int>(bmp.size())), 0);
  EXPECT_EQ(slot, 0);
  fe.Terminate();
  fe.Unload();
}

// A running shake keeps the library loaded: freeing it must not pull the code out
// from under the worker. The library goes once the shake has ended.
TEST(FrontEnd, ShakeWorkerKeepsTheLibraryUntilItEnds) {
  torv::DrawFrontEnd fe;
  std::string missing;
  ASSERT_TRUE(fe.Load(&missing)) << missing;
  ASSERT_EQ(fe.Init(TestWindow().hwnd(), kWidth, kHeight, DRAW_INIT_DIB, 0), 0);
  fe.Shake(1);
  fe.Unload();  // the game's last reference
  EXPECT_NE(GetModuleHandleA("tamDraw.dll"), nullptr) << "unloaded while its worker runs";
  bool gone = false;
  for (DWORD start = GetTickCount(); GetTickCount() - start < 2000 && !gone; Sleep(20)) {
    gone = GetModuleHandleA("tamDraw.dll") == nullptr;
  }
  EXPECT_TRUE(gone) << "still loaded after the shake ended";
  EXPECT_EQ(GetModuleHandleA("tamDIBDraw.dll"), nullptr);
}

TEST_F(DibTest, ColourValuesUseTheModesByteOrder) {
  EXPECT_EQ(fe.GetARGB(1, 2, 3, 4), 0x04030201u);
  EXPECT_EQ(fe.GetRGB(1, 2, 3), 0xFF030201u);
  EXPECT_EQ(fe.GetRGB(255, 0, 0), 0xFF0000FFu);
  fe.Terminate();
  EXPECT_EQ(fe.GetARGB(1, 2, 3, 4), 0u);
  EXPECT_EQ(fe.GetRGB(1, 2, 3), 0u);
}

TEST_F(DibTest, StoppedDrawingLeavesTheWindowAloneButLoadsStillWork) {
  const int plate = Load(Png(torv::make_plate(), false));
  ASSERT_EQ(plate, 0);
  const Frame before = Show([&] { fe.DrawImage(plate, 0, 0, 100, 50, 100); });
  fe.StopDraw(1);
  EXPECT_EQ(fe.BeginDraw(), -1);
  EXPECT_EQ(fe.DrawImage(plate, 200, 200, 100, 50, 100), -1);
  EXPECT_EQ(fe.DrawImageDetail(plate, 0, 0, 200, 200, 10, 10, 100), -1);
  EXPECT_EQ(fe.DrawImageFast(plate, 200, 200, 0, 0, 10, 10, 0), -1);
  RECT rect = {0, 0, 640, 480};
  EXPECT_EQ(fe.DrawTextRect(rect, -1, fe.GetRGB(255, 255, 255), 0, 0, 1, "stopped"), -1);
  EXPECT_EQ(fe.DrawTextSimple(0, 0, fe.GetRGB(255, 255, 255), 0, "stopped"), -1);
  EXPECT_EQ(fe.EndDraw(), -1);
  EXPECT_EQ(Load(Bmp(torv::make_tile())), 1);  // loads and queries go on
  EXPECT_EQ(fe.GetImageWidth(1), 24);
  EXPECT_TRUE(SameFrame(Capture(), before));
  fe.StopDraw(0);
  Model expected;
  expected.DrawScaled(torv::make_plate(), 300, 100, 100, 50, 100);
  EXPECT_TRUE(SameFrame(Show([&] { EXPECT_EQ(fe.DrawImage(plate, 300, 100, 100, 50, 100), 0); }), expected.frame));
}

TEST_F(DibTest, TextSizeIsOneLineInTheBackEndsFont) {
  SIZE one = {}, two = {}, japanese = {};
  ASSERT_EQ(fe.GetTextSize("A", &one), 0);
  ASSERT_EQ(fe.GetTextSize("AA", &two), 0);
  ASSERT_EQ(fe.GetTextSize("\x8C\x8E", &japanese), 0);  // 月
  EXPECT_GT(one.cx, 0);
  EXPECT_EQ(two.cx, 2 * one.cx);
  EXPECT_EQ(one.cy, 14);  // the default font's height
  EXPECT_EQ(japanese.cy, 14);
  EXPECT_EQ(japanese.cx, 2 * one.cx);  // a full-width character is two half widths
  ASSERT_EQ(fe.SetFont("IPAGothic", 24), 0);
  SIZE big = {};
  ASSERT_EQ(fe.GetTextSize("A", &big), 0);
  EXPECT_EQ(big.cy, 23);  // the size follows the font set last
  EXPECT_GT(big.cx, one.cx);
  EXPECT_EQ(fe.GetTextSize(nullptr, &big), -1);
  EXPECT_EQ(fe.GetTextSize("A", nullptr), -1);
}

TEST_F(DibTest, TextEntriesAnswerTheFormattedLength) {
  const DWORD white = fe.GetRGB(255, 255, 255);
  RECT rect = {0, 0, 640, 480};
  EXPECT_EQ(fe.BeginDraw(), 0);
  EXPECT_EQ(fe.DrawTextSimple(10, 10, white, 1, "%d%%", 50), 3);
  EXPECT_EQ(fe.DrawTextSimple(10, 30, white, 0, "%s-%05d", "\x8C\x8E", 42), 8);
  EXPECT_EQ(fe.DrawTextRect(rect, 2, white, 0, 0, 1, "%s", "abcdef"), 6);  // the whole text's length
  const std::string long_text(1000, 'x');
  EXPECT_EQ(fe.DrawTextRect(rect, -1, white, 0, 0, 0, "%s!", long_text.c_str()), 1001);
  EXPECT_EQ(fe.EndDraw(), 0);
}

// The horizontal offset at which the frame showing one white block at (300, 200)
// was placed, or 999 when the block is not found where a shake can put it.
int BlockOffset(const Frame& f) {
  for (int x = 300 - 40; x <= 300 + 40; ++x) {
    if (f[200 * kWidth + x] == 0xFFFFFF && f[200 * kWidth + x - 1] != 0xFFFFFF) return x - 300;
  }
  return 999;
}

TEST_F(DibTest, ShakeMovesThePictureThroughThePatternAndBack) {
  torv::CheckImage block;
  block.width = block.height = 8;
  block.bgra.assign(8 * 8 * 4, 255);
  const int slot = Load(Bmp(block));
  ASSERT_EQ(slot, 0);
  auto frame = [&] { return Show([&] { fe.DrawImageFast(slot, 300, 200, 0, 0, 8, 8, 0); }); };
  ASSERT_EQ(BlockOffset(frame()), 0);

  fe.Shake(1);
  fe.Shake(5);  // ignored while shaking: the shake stays one swing long
  std::vector<int> seen;
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < 700) {
    const int offset = BlockOffset(frame());
    if (seen.empty() || seen.back() != offset) seen.push_back(offset);
  }
  // What a one-swing shake shows, in order, starting from rest; frames may skip a
  // step but never show one out of order (five swings would come back to -40).
  const std::vector<int> pattern = {0, -20, -40, -20, 0, 20, 40, 30, 20, 10, 0};
  size_t at = 0;
  for (int o : seen) {
    while (at < pattern.size() && pattern[at] != o) ++at;
    EXPECT_LT(at, pattern.size()) << "offset " << o << " out of order";
  }
  int moved = 0;
  for (int o : seen) moved += o != 0;
  EXPECT_GE(moved, 3);
  EXPECT_EQ(seen.back(), 0) << "the shake ended at rest";
}

TEST_F(DibTest, StopShakeRestsTheNextFrameAndAllowsANewShake) {
  torv::CheckImage block;
  block.width = block.height = 8;
  block.bgra.assign(8 * 8 * 4, 255);
  const int slot = Load(Bmp(block));
  auto frame = [&] { return Show([&] { fe.DrawImageFast(slot, 300, 200, 0, 0, 8, 8, 0); }); };
  fe.Shake(-1);  // until stopped
  bool moved = false;
  for (DWORD start = GetTickCount(); GetTickCount() - start < 400 && !moved;) moved = BlockOffset(frame()) != 0;
  EXPECT_TRUE(moved);
  fe.StopShake();
  EXPECT_EQ(BlockOffset(frame()), 0);
  Sleep(100);  // the stopped worker ends within one step
  EXPECT_EQ(BlockOffset(frame()), 0);
  fe.Shake(0);  // accepted again: the shake shows -20 first
  moved = false;
  for (DWORD start = GetTickCount(); GetTickCount() - start < 400 && !moved;) moved = BlockOffset(frame()) != 0;
  EXPECT_TRUE(moved);
}

}  // namespace
}  // namespace drawtest
