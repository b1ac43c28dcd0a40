// What the Direct3D renderer's Windows tests share: a window of their own, the
// renderer's class driven directly (its back buffer read with GetRenderTargetData),
// pictures made in code and the expected frames built from them.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "draw_d3d/d3d_draw.h"
#include "tests/windows/draw/draw_fixture.h"
#include "tools/drawcheck/check_images.h"

namespace d3dtest {

// The frame size, the frame type (0x00RRGGBB per pixel), colours, frame comparison
// and temporary folders are those of the other drawing tests.
using drawtest::Frame;
using drawtest::kHeight;
using drawtest::kWidth;
using drawtest::Rgb;
using drawtest::RgbOf;
using drawtest::SameFrame;
using drawtest::TempDir;

// The renderer's window: away from the screen's top-left, where the other drawing
// tests keep their topmost window (the back buffer is read from the device, so how
// much of this window shows does not matter).
HWND RendererWindow();
// A further window of width x height with its client area at (x, y) of the screen,
// and its pixels read back through GDI (what the screen shows).
HWND OpenWindow(const char* title, int x, int y, int width, int height);
Frame CaptureWindow(HWND window, int width, int height);

// A picture of width x height whose every pixel differs (opaque unless alpha given).
torv::CheckImage Distinct(int width, int height, int alpha = 255);
// One colour all over.
torv::CheckImage Solid(int width, int height, int r, int g, int b, int a);
std::vector<uint8_t> Png(const torv::CheckImage& image);

// The pixels whose value is not black.
int LitPixels(const Frame& frame);

// The renderer started on the window for each test (32-bit textures, or 16-bit for
// a subclass that says so), with no cap on its texture size unless a test sets one.
class D3dTest : public ::testing::Test {
protected:
  void SetUp() override;
  virtual bool Force16() const { return false; }
  // Memory load of an encoded picture: the slot, or -1.
  int Load(const std::vector<uint8_t>& encoded);
  int Load(const torv::CheckImage& image) { return Load(Png(image)); }
  // The frame drawn by draw() after dllBeginDraw with origin (ox, oy), read back
  // before it is presented; then the frame is ended.
  Frame Show(const std::function<void()>& draw, int ox = 0, int oy = 0);

  CDx3DDraw d;
};

}  // namespace d3dtest
