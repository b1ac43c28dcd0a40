#include <gtest/gtest.h>

#include <map>
#include <string>

#include "game/draw_mode_fallback.h"
#include "game/settings.h"

namespace torv {
namespace {

TEST(SettingNumber, LeadingDigitsOfTheFirstSevenCharacters) {
  struct Case {
    const char* value;
    int number;
  } cases[] = {
      {"0", 0},          {"1", 1},        {"2", 2},          {"3", 3},         {"abc", 0},
      {"", 0},           {"12abc", 12},   {" 3", 3},         {"-1", -1},       {"+2", 2},
      {"x3", 0},         {"1234567", 1234567}, {"123456789", 1234567}, {"-999999999", -999999},
      {"2 ", 2},
  };
  for (const Case& c : cases) EXPECT_EQ(parse_setting_number(c.value), c.number) << '"' << c.value << '"';
}

}  // namespace
}  // namespace torv
