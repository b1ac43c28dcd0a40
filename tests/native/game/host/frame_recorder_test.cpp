// Frame checksums and the kept pictures.
#include "game/host/frame_recorder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <string>
#include <vector>

namespace torv {
namespace {

TEST(FrameChecksum, CoversEveryColourByteButNotTheUnusedOne) {
  std::vector<uint8_t> pixels(4 * 3 * 2, 0x40);
  const FrameView frame{pixels.data(), 3, 2, 12};
  const uint64_t base = frame_checksum(frame);
  pixels[3] = 0xFF;  // the fourth byte of the first pixel
  EXPECT_EQ(frame_checksum(frame), base);
  for (size_t i = 0; i < pixels.size(); ++i) {
    if (i % 4 == 3) continue;
    const uint8_t old = pixels[i];
    pixels[i] ^= 1;
    EXPECT_NE(frame_checksum(frame), base) << "byte " << i;
    pixels[i] = old;
  }
  // Row padding beyond the width is not part of the picture.
  std::vector<uint8_t> padded(16 * 2, 0x40);
  const FrameView wide{padded.data(), 3, 2, 16};
  padded[12] = 0x99;
  EXPECT_EQ(frame_checksum(wide), base);
}

TEST(FrameRecorder, WritesOneLinePerFrameAndEveryNthPicture) {
  const std::string dir = testing::TempDir() + "frame_recorder_test";
  const std::string sums = dir + ".sums";
  std::vector<uint8_t> pixels(4 * 4 * 4, 0);
  const FrameView frame{pixels.data(), 4, 4, 16};
  {
    FrameRecorder recorder;
    recorder.keep_pictures(dir, 2);
    ASSERT_TRUE(recorder.keep_checksums(sums));
    for (int i = 0; i < 5; ++i) {
      pixels[0] = static_cast<uint8_t>(i);
      recorder.record(frame);
    }
    EXPECT_EQ(recorder.frames(), 5);
  }
  std::ifstream in(sums);
  std::string line;
  int lines = 0;
  while (std::getline(in, line)) {
    EXPECT_EQ(line.size(), 6u + 1 + 16);
    EXPECT_EQ(line.substr(0, 6), "00000" + std::to_string(lines));
    ++lines;
  }
  EXPECT_EQ(lines, 5);
  struct stat st;
  for (int i = 0; i < 5; ++i) {
    const std::string png = dir + "/frame_00000" + std::to_string(i) + ".png";
    EXPECT_EQ(stat(png.c_str(), &st) == 0, i % 2 == 0) << png;
  }
}

}  // namespace
}  // namespace torv
