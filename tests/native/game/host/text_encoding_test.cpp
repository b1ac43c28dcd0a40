// Game texts handed to the system in UTF-8.
#include "game/host/text_encoding.h"

#include <gtest/gtest.h>

#include "game/game_texts.h"

namespace torv {
namespace {

TEST(Utf8FromShiftJis, ConvertsTheGamesTextsAndMarksBrokenBytes) {
  EXPECT_EQ(utf8_from_shift_jis(text::kAlreadyRunning), "既に起動しています");
  EXPECT_EQ(utf8_from_shift_jis(text::kKeyWindowsLeft), "Windows左");
  EXPECT_EQ(utf8_from_shift_jis("plain"), "plain");
  EXPECT_EQ(utf8_from_shift_jis(""), "");
  // A lead byte at the end has no trail: it becomes "?" and the rest stays.
  EXPECT_EQ(utf8_from_shift_jis("ab\x82"), "ab?");
  EXPECT_EQ(utf8_from_shift_jis("A\x8C\x8E" "B"), "A月B");
}

}  // namespace
}  // namespace torv
