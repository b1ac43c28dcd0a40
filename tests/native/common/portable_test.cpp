#include "common/portable.h"

#include <gtest/gtest.h>

namespace {

TEST(AsciiStricmp, FollowsStricmpForAsciiLetters) {
  struct Case {
    const char* a;
    const char* b;
    int sign;
  };
  const Case cases[] = {
      {"menu.PNG", "MENU.png", 0}, {"0.PNG", "0.png", 0}, {"a", "B", -1}, {"B", "a", 1},
      {"abc", "ab", 1},            {"", "", 0},           {"_", "A", -1},  // folds to lower: 0x5F < 'a'
      {"\x82\xA0", "\x82\xA0", 0}, {"\x82\xA0", "\x82\xA1", -1},
  };
  for (const Case& c : cases) {
    int r = torv::ascii_stricmp(c.a, c.b);
    EXPECT_EQ((r > 0) - (r < 0), c.sign) << c.a << " vs " << c.b;
  }
}

}  // namespace
