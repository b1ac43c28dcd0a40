// What the DirectDraw renderer's Windows tests share: the draw tests' window,
// capture and frame model (tests/windows/draw), the front-end started in mode 2,
// and the renderer's own rule where it differs from the model's: a plain fast copy
// shows a fully transparent pixel as the image's colour key, not black.
#pragma once

#include <cstdint>

#include "tests/windows/draw/draw_fixture.h"

namespace drawtest {

// The front-end loaded and started in mode 2 (DirectDraw) for each test.
class DDrawTest : public DibTest {
protected:
  void SetUp() override;
};

// A plain (unkeyed) fast copy in the model, transparent pixels arriving as key
// (0x00RRGGBB).
void DrawFastUnkeyed(Model& m, const torv::CheckImage& image, int x, int y, int sx, int sy, int w, int h,
                     uint32_t key);

// An image of w x h pixels, all fully transparent and green (a colour that must
// never show), to be painted by the test.
torv::CheckImage Blank(int w, int h);
void Set(torv::CheckImage& image, int x, int y, uint32_t rgb, int alpha);

}  // namespace drawtest
