#include "game/host/input_script.h"

#include <gtest/gtest.h>

namespace torv {
namespace {

TEST(InputScript, ParsesRunLengthsCommentsAndBlankLines) {
  InputScript script;
  std::string error;
  ASSERT_TRUE(parse_input_script("# walk, then jump\n\n3 R\n2 RSJ  # dash jump\n1 -\n1 LUDACP\n", &script, &error))
      << error;
  ASSERT_EQ(script.frames.size(), 7u);
  EXPECT_TRUE(script.frames[0].right);
  EXPECT_FALSE(script.frames[0].jump);
  EXPECT_TRUE(script.frames[3].dash && script.frames[3].jump && script.frames[3].right);
  EXPECT_EQ(script.frames[5], FrameInput());
  const FrameInput& all = script.frames[6];
  EXPECT_TRUE(all.left && all.up && all.down && all.attack && all.attack_switch && all.pause);
  EXPECT_FALSE(all.right || all.dash || all.jump);
}

TEST(InputScript, FormattingRoundTripsAndMergesRuns) {
  std::vector<FrameInput> frames(5);
  frames[1].right = frames[2].right = true;
  frames[4].jump = frames[4].pause = true;
  const std::string text = format_input_script(frames);
  EXPECT_EQ(text, "1 -\n2 R\n1 -\n1 JP\n");
  InputScript back;
  std::string error;
  ASSERT_TRUE(parse_input_script(text, &back, &error));
  EXPECT_EQ(back.frames, frames);
}

TEST(InputScript, ErrorsNameTheLineAndLeaveTheOutputAlone) {
  struct Case {
    const char* text;
    const char* error;
  };
  const Case cases[] = {
      {"2 R\n3\n", "line 2: expected \"<frames> <keys>\", found only \"3\""},
      {"x R\n", "line 1: frame count \"x\" is not a number from 1 to 864000"},
      {"0 R\n", "line 1: frame count \"0\" is not a number from 1 to 864000"},
      {"-4 R\n", "line 1: frame count \"-4\" is not a number from 1 to 864000"},
      {"99999999999999999999 R\n", "line 1: frame count \"99999999999999999999\" is not a number from 1 to 864000"},
      {"1 R\n\n# c\n2 RX\n", "line 4: unknown key in \"RX\" (use - or LRUDSJACP)"},
      {"1 r\n", "line 1: unknown key in \"r\" (use - or LRUDSJACP)"},
      {"1 R J\n", "line 1: unexpected \"J\" after the keys"},
      // Runs within the limit one by one, past it together (found by fuzz_input_script).
      {"800000 -\n\n5 LR\n800000 -\n", "line 4: the script runs past 864000 frames"},
      {"864000 -\n1 R\n", "line 2: the script runs past 864000 frames"},
  };
  for (const Case& c : cases) {
    InputScript script;
    script.frames.resize(3);
    std::string error;
    EXPECT_FALSE(parse_input_script(c.text, &script, &error)) << c.text;
    EXPECT_EQ(error, c.error);
    EXPECT_EQ(script.frames.size(), 3u);
  }
}

}  // namespace
}  // namespace torv
