// Keeps what a run drew, for comparing two runs frame by frame: every Nth frame as a
// PNG file DIR/frame_NNNNNN.png (N counted from 0), and a checksum line per frame
// ("NNNNNN <16 hex digits>", FNV-1a 64 over each pixel's red, green and blue).
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "common/blend.h"

namespace torv {

// FNV-1a, 64 bits, over the frame's pixels as R, G, B bytes (the unused fourth byte
// of each pixel left out).
uint64_t frame_checksum(const FrameView& frame);

class FrameRecorder {
public:
  FrameRecorder() = default;
  ~FrameRecorder();
  FrameRecorder(const FrameRecorder&) = delete;
  FrameRecorder& operator=(const FrameRecorder&) = delete;

  // png_dir empty: no pictures; every: 1 = each frame. The folder is created.
  void keep_pictures(const std::string& png_dir, int every);
  // False when the checksum file cannot be created.
  bool keep_checksums(const std::string& path);
  bool active() const { return !png_dir_.empty() || sums_ != nullptr; }

  void record(const FrameView& frame);
  int frames() const { return count_; }

private:
  std::string png_dir_;
  int every_ = 1;
  std::FILE* sums_ = nullptr;
  int count_ = 0;
};

}  // namespace torv
