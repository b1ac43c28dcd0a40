// What the Windows draw tests share: one 640 x 480 window for the whole run, the
// front-end bound by name as the game binds it, and a straightforward model of the
// DIB renderer's pixel rules that expected frames are built with.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tools/drawcheck/check_images.h"
#include "tools/drawcheck/check_window.h"
#include "tools/drawcheck/draw_frontend.h"

namespace drawtest {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

torv::CheckWindow& TestWindow();

// A frame as read back from the window: 0x00RRGGBB per pixel.
using Frame = std::vector<uint32_t>;

inline uint32_t Rgb(int r, int g, int b) {
  return static_cast<uint32_t>(r) << 16 | static_cast<uint32_t>(g) << 8 | static_cast<uint32_t>(b);
}
inline uint32_t RgbOf(const uint8_t* bgra) { return Rgb(bgra[2], bgra[1], bgra[0]); }

// Encoded copies of a check image.
std::vector<uint8_t> Png(const torv::CheckImage& image, bool with_alpha);
std::vector<uint8_t> Bmp(const torv::CheckImage& image);

// The frame model: the rules of the DIB renderer written out pixel by pixel with
// T[i][j] = i * j / 255, clipping to both the frame and the image.
class Model {
public:
  Model() : frame(static_cast<size_t>(kWidth) * kHeight, 0) {}
  Frame frame;

  uint32_t& at(int x, int y) { return frame[static_cast<size_t>(y) * kWidth + x]; }
  static int AlphaByte(double percent);
  void Blend(int x, int y, const uint8_t* s, int alpha);
  void DrawScaled(const torv::CheckImage& image, int x, int y, int w, int h, double percent);
  void DrawDetail(const torv::CheckImage& image, int sx, int sy, int x, int y, int w, int h, double percent);
  void DrawFast(const torv::CheckImage& image, int x, int y, int sx, int sy, int w, int h, bool keyed);
};

// Compares two frames; on a difference names the first differing pixel and the count.
::testing::AssertionResult SameFrame(const Frame& shown, const Frame& expected);

// The front-end loaded and started in mode 3 for each test; unloaded after it.
class DibTest : public ::testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;

  // Loads an encoded image from memory; the slot, or -1.
  int Load(std::vector<uint8_t> encoded);
  // Presents the frame drawn by draw() between dllBeginDraw and dllEndDraw and
  // reads the window back.
  template <class F>
  Frame Show(F draw) {
    EXPECT_EQ(fe.BeginDraw(), 0);
    draw();
    EXPECT_EQ(fe.EndDraw(), 0);
    return Capture();
  }
  Frame Capture();

  torv::DrawFrontEnd fe;
};

// A directory of its own under the system's temp directory, removed with its files.
class TempDir {
public:
  TempDir();
  ~TempDir();
  const std::string& path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "\\" + name; }
  void Write(const std::string& name, const std::vector<uint8_t>& data) const;

private:
  std::string path_;
};

// Copies files (probe among them) from the test program's directory into dir, runs
// probe there with dir's "probe.txt" as its argument and answers what it wrote
// there; the test fails when it cannot run it or the probe exits non-zero.
std::string RunProbe(const TempDir& dir, const std::vector<std::string>& files, const std::string& probe);

}  // namespace drawtest
