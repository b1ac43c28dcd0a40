#include "common/format_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(FormatText, FormatsAtEveryLengthAroundTheBufferDoublings) {
  // 127/128/129 and 255/256/257 sit on the edges of the 128-byte start and its doubling.
  for (size_t n : {0u, 1u, 127u, 128u, 129u, 255u, 256u, 257u, 100000u}) {
    std::string filler(n, 'x');
    std::string got = torv::format_text("%s|%d", filler.c_str(), 42);
    EXPECT_EQ(got, filler + "|42") << n;
  }
}

TEST(FormatText, KeepsShiftJisBytesAndHandlesNullFormat) {
  const char sjis[] = "\x83\x58\x83\x5E\x81\x5B\x83\x67";  // "スタート"
  EXPECT_EQ(torv::format_text("%s %05d", sjis, 7), std::string(sjis) + " 00007");
  EXPECT_EQ(torv::format_text_v(nullptr, nullptr), "");
}

}  // namespace
