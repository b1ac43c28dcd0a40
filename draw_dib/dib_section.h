// A 32-bit top-down DIB section selected into its own memory DC: the GDI side of the
// software renderer's frames. The pixels are plain memory the core draws into.
#pragma once

#include <cstdint>

#include "common/blend.h"
#include "draw/draw_contract.h"

class DibSection {
public:
  DibSection() = default;
  ~DibSection() { Release(); }
  DibSection(const DibSection&) = delete;
  DibSection& operator=(const DibSection&) = delete;

  // width x height pixels, B,G,R,A, all 0. False (and nothing held) on failure.
  bool Create(int width, int height);
  void Release();

  HDC dc() const { return dc_; }
  uint8_t* bits() const { return bits_; }
  int width() const { return width_; }
  int height() const { return height_; }
  // The pixels as the core draws on them. GDI work on dc() must be flushed
  // (GdiFlush) before the memory is touched directly.
  torv::FrameView view() const;

private:
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_bitmap_ = nullptr;
  uint8_t* bits_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};
