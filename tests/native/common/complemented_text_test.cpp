#include "common/complemented_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using torv::ByteReader;

TEST(ComplementedText, EncodesLengthThenComplementedBytes) {
  std::vector<uint8_t> out;
  torv::write_complemented_text(out, "AB");
  EXPECT_EQ(out, (std::vector<uint8_t>{2, 0, 0, 0, 0xBE, 0xBD}));
  out.clear();
  torv::write_complemented_text(out, "");
  EXPECT_EQ(out, (std::vector<uint8_t>{0, 0, 0, 0}));
  out.clear();
  torv::write_int32(out, -2);
  EXPECT_EQ(out, (std::vector<uint8_t>{0xFE, 0xFF, 0xFF, 0xFF}));
}

TEST(ComplementedText, RoundTripsShiftJisAndIntegersByteForByte) {
  const std::string title = "\x82\xC6\x82\xE8\x82\xA0\x82\xA6\x82\xB8 stage 1";  // double-byte text
  std::vector<uint8_t> out;
  torv::write_complemented_text(out, title);
  torv::write_int32(out, 123456789);
  torv::write_complemented_text(out, "");
  ByteReader in(out.data(), out.size());
  std::string text = "stale";
  int32_t value = 0;
  ASSERT_TRUE(in.read_complemented_text(text));
  EXPECT_EQ(text, title);
  EXPECT_EQ(out[0], title.size());  // the length counts bytes, not characters
  ASSERT_TRUE(in.read_int32(value));
  EXPECT_EQ(value, 123456789);
  ASSERT_TRUE(in.read_complemented_text(text));
  EXPECT_EQ(text, "");
  EXPECT_EQ(in.remaining(), 0u);
}

TEST(ComplementedText, TextEndsAtFirstZeroByte) {
  std::vector<uint8_t> out{4, 0, 0, 0, static_cast<uint8_t>(~'a'), 0xFF, static_cast<uint8_t>(~'b'), 0xFF};
  ByteReader in(out.data(), out.size());
  std::string text;
  ASSERT_TRUE(in.read_complemented_text(text));
  EXPECT_EQ(text, "a");
  EXPECT_EQ(in.remaining(), 0u);  // all n bytes are consumed
}

TEST(ComplementedText, DamagedInputFailsWithoutReadingPastTheEnd) {
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
  };
  const Case cases[] = {
      {"length cut short", {3, 0, 0}},
      {"negative length", {0xFF, 0xFF, 0xFF, 0xFF, 0xBE}},
      {"length beyond the data", {5, 0, 0, 0, 0xBE, 0xBD}},
      {"absurd length", {0xFF, 0xFF, 0xFF, 0x7F}},
  };
  for (const Case& c : cases) {
    ByteReader in(c.bytes.data(), c.bytes.size());
    std::string text = "kept";
    EXPECT_FALSE(in.read_complemented_text(text)) << c.what;
    EXPECT_EQ(text, "kept") << c.what;
    EXPECT_TRUE(in.failed()) << c.what;
    int32_t v = 0;
    EXPECT_FALSE(in.read_int32(v)) << c.what << ": a failed reader stays failed";
  }
}

}  // namespace
