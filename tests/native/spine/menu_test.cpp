#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/game_texts.h"
#include "game/key_config.h"
#include "game/title_menu.h"

namespace torv {
namespace {

// A game stand-in driven by a timeline: keys held over ranges of frames, a stop
// request at a frame. It records every frame drawn and every action.
class ScriptedGame : public MenuHost, public PadSource {
public:
  struct Hold {
    int vk;
    int from, to;  // held on frames from .. to-1
  };
  std::vector<Hold> holds;
  int stop_at = 400;
  int frame = 0;
  int32_t pad = 0;
  int pad_button = -1;
  int pad_queries = 0;
  std::vector<int32_t> slot_stages = std::vector<int32_t>(9, -1);  // -1 = empty slot
  std::vector<std::vector<ScreenText>> frames_drawn;
  std::vector<std::string> actions;
  KeyConfig config;
  KeyTable keys;
  InputMap input{keys, config, *this, pad};

  bool stop_requested() override { return frame >= stop_at; }
  void wait_frame() override {
    ++frame;
    for (int vk = 0; vk < 256; ++vk) keys.set(vk, 0);
    for (const Hold& h : holds)
      if (frame >= h.from && frame < h.to) keys.set(h.vk, 1);
  }
  bool pressed(Input in) override { return input.pressed(in); }
  void prepare_menu_text() override { actions.push_back("font"); }
  void draw_menu_frame(const std::vector<ScreenText>& texts) override { frames_drawn.push_back(texts); }
  bool saved_stage(int slot, int32_t& stage) override {
    stage = slot_stages[slot];
    return stage >= 0;
  }
  void start_new_game() override { actions.push_back("start@" + std::to_string(frame)); }
  void continue_game(int slot) override { actions.push_back("continue" + std::to_string(slot)); }
  void run_key_option() override { actions.push_back("keyoption"); }
  void post_quit() override {
    actions.push_back("quit@" + std::to_string(frame));
    stop_at = frame + 2;  // the window thread answers within a frame or two
  }
  KeyConfig& key_config() override { return config; }
  int32_t pad_present() override { return pad; }
  int first_held_key() override { return keys.first_held(); }
  int pad_any_button() override {
    ++pad_queries;
    return pad_button;
  }
  std::string key_name(int vk) override { return "key" + std::to_string(vk); }
  void write_save_file() override { actions.push_back("save"); }

  void get_xy(int32_t& x, int32_t& y) override { x = y = 0; }
  int get_button(int) override { return 0; }
  int get_any_button() override { return pad_any_button(); }

  // Index of the red item in the last frame drawn (title layout: one item per line).
  int selected_title_item() const {
    const auto& texts = frames_drawn.back();
    for (size_t i = 0; i < texts.size(); ++i)
      if (texts[i].colour == TextColour::kRed) return static_cast<int>(i);
    return -1;
  }
};

TEST(TitleMenu, LayoutOfTheFirstFrameWithoutSaveData) {
  ScriptedGame game;
  game.stop_at = 1;
  run_title_menu(game);
  ASSERT_EQ(game.frames_drawn.size(), 1u);
  const std::vector<ScreenText> expected = {
      {50, 50, TextColour::kRed, text::kTitleStart},
      {50, 74, TextColour::kWhite, continue_text(0, false, 0)},
      {50, 98, TextColour::kWhite, text::kTitleKeyConfig},
      {50, 122, TextColour::kWhite, text::kTitleExit},
  };
  EXPECT_EQ(game.frames_drawn[0], expected);
  EXPECT_EQ(game.actions, std::vector<std::string>{"font"});
}

TEST(TitleMenu, ContinueTexts) {
  // "続きから(ファイル%d) ..." with the file number, then the stage or "データ無し".
  const std::string prefix = "\x91\xB1\x82\xAB\x82\xA9\x82\xE7(\x83t\x83@\x83" "C\x83\x8B";
  EXPECT_EQ(continue_text(0, false, 0), prefix + "1) \x83" "f\x81[\x83^\x96\xB3\x82\xB5");
  EXPECT_EQ(continue_text(4, true, 12), prefix + "5) \x83X\x83" "e\x81[\x83W" "12");
  EXPECT_EQ(continue_text(8, true, 0), prefix + "9) \x83X\x83" "e\x81[\x83W" "0");
}

TEST(TitleMenu, SelectionMovesOncePerPressAndWraps) {
  struct Case {
    const char* name;
    std::vector<ScriptedGame::Hold> holds;
    int selected;
  } cases[] = {
      {"down held for 30 frames moves one item", {{40, 3, 33}}, 1},
      {"two presses of down", {{40, 3, 6}, {40, 10, 12}}, 2},
      {"up from the first item wraps to exit", {{38, 3, 5}}, 3},
      {"down from exit wraps to start", {{40, 3, 5}, {40, 7, 9}, {40, 11, 13}, {40, 15, 17}}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedGame game;
    game.holds = c.holds;
    game.stop_at = 60;
    run_title_menu(game);
    EXPECT_EQ(game.selected_title_item(), c.selected);
  }
}

TEST(TitleMenu, LeftAndRightChangeTheSlotOnlyOnTheContinueItem) {
  struct Case {
    const char* name;
    std::vector<ScriptedGame::Hold> holds;
    int slot_shown;  // file number in the continue text, 1 to 9
  } cases[] = {
      {"right on the start item does nothing", {{39, 3, 5}}, 1},
      {"right on continue", {{40, 3, 5}, {39, 7, 9}}, 2},
      {"left from the first file wraps to the ninth", {{40, 3, 5}, {37, 7, 9}}, 9},
      {"right from the ninth wraps to the first", {{40, 3, 5}, {37, 7, 9}, {39, 11, 13}}, 1},
      {"held right moves one file", {{40, 3, 5}, {39, 7, 40}}, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedGame game;
    game.holds = c.holds;
    game.stop_at = 60;
    run_title_menu(game);
    EXPECT_EQ(game.frames_drawn.back()[1].text, continue_text(c.slot_shown - 1, false, 0));
  }
}

TEST(TitleMenu, DecideActsAfterReleaseAndReturnsToTheFirstItem) {
  struct Case {
    const char* name;
    std::vector<ScriptedGame::Hold> holds;
    int filled_slot;  // slot holding stage 3, or -1
    std::vector<std::string> actions;
    int selected_after;
  } cases[] = {
      {"start after the decide key is released", {{'Z', 3, 10}}, -1, {"font", "start@10"}, 0},
      {"continue on an empty slot does nothing", {{40, 3, 5}, {'Z', 7, 9}}, -1, {"font"}, 1},
      {"continue a saved slot", {{40, 3, 5}, {39, 7, 9}, {'Z', 11, 13}}, 1, {"font", "continue1"}, 0},
      {"key configuration", {{40, 3, 5}, {40, 7, 9}, {'Z', 11, 13}}, -1, {"font", "keyoption"}, 0},
      {"exit posts the quit and keeps running", {{38, 3, 5}, {'Z', 7, 9}}, -1, {"font", "quit@9"}, 3},
      {"the decide key held into the shutdown acts not", {{'Z', 3, 500}}, -1, {"font"}, 0},
      {"other keys do not decide", {{'X', 3, 5}, {13, 7, 9}, {32, 11, 13}}, -1, {"font"}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedGame game;
    game.holds = c.holds;
    if (c.filled_slot >= 0) game.slot_stages[c.filled_slot] = 3;
    game.stop_at = 40;
    run_title_menu(game);
    EXPECT_EQ(game.actions, c.actions);
    EXPECT_EQ(game.selected_title_item(), c.selected_after);
    if (c.filled_slot >= 0) {
      EXPECT_EQ(game.frames_drawn.back()[1].text, continue_text(0, false, 0));
    }
  }
}

TEST(KeyOption, LayoutWithAndWithoutPad) {
  for (int32_t pad : {0, 1}) {
    SCOPED_TRACE(pad);
    ScriptedGame game;
    game.pad = pad;
    game.stop_at = 1;
    run_key_option(game);
    ASSERT_EQ(game.frames_drawn.size(), 1u);
    std::vector<ScreenText> expected = {
        {50, 50, TextColour::kWhite, "Key Option"},
        {50, 100, TextColour::kWhite, text::kRowDash},
        {50, 124, TextColour::kWhite, text::kRowJump},
        {50, 148, TextColour::kWhite, text::kRowAttack},
        {50, 172, TextColour::kWhite, text::kRowAttackSwitch},
        {50, 196, TextColour::kWhite, text::kRowPause},
        {200, 76, TextColour::kWhite, text::kColumnKeyboard},
        {200, 100, TextColour::kRed, "key16"},
        {200, 124, TextColour::kWhite, "key90"},
        {200, 148, TextColour::kWhite, "key88"},
        {200, 172, TextColour::kWhite, "key67"},
        {200, 196, TextColour::kWhite, "key27"},
    };
    if (pad) {
      expected.push_back({350, 76, TextColour::kWhite, text::kColumnPad});
      for (int r = 0; r < 5; ++r)
        expected.push_back({350, 100 + 24 * r, TextColour::kWhite, "Btn(" + std::to_string(r) + ")"});
    }
    expected.push_back({200, 220, TextColour::kWhite, "Exit"});
    EXPECT_EQ(game.frames_drawn[0], expected);
  }
}

TEST(KeyOption, PadButtonTexts) {
  const struct {
    int button;
    const char* text;
  } cases[] = {{0, "Btn(0)"}, {9, "Btn(9)"}, {10, "Btn(:)"}, {17, "Btn(A)"}, {78, "Btn(~)"}, {79, "Btn(79)"},
               {208, "Btn(208)"}, {255, "Btn(255)"}};
  for (const auto& c : cases) EXPECT_EQ(pad_button_text(c.button), c.text);
}

TEST(KeyOption, CaptureAndExit) {
  struct Case {
    const char* name;
    std::vector<ScriptedGame::Hold> holds;
    int pad_button;
    bool saved;
    KeyConfig result;
  };
  auto keys = [](int row, int vk) {
    KeyConfig k;
    k.keys[row] = static_cast<uint8_t>(vk);
    return k;
  };
  KeyConfig pad_dash_and_pause_7;
  pad_dash_and_pause_7.pad_buttons[0] = 7;
  pad_dash_and_pause_7.pad_buttons[4] = 7;
  KeyConfig pad_dash_low_bits;
  pad_dash_low_bits.pad_buttons[0] = 300 & 0xFF;
  const KeyConfig defaults;
  // The decide key stays Z until "Exit" has stored the working copy.
  const Case cases[] = {
      {"A on the jump row, then Exit",
       {{40, 3, 5}, {'A', 8, 10}, {40, 20, 22}, {40, 24, 26}, {40, 28, 30}, {40, 32, 34}, {'Z', 38, 40}}, -1, true,
       keys(1, 'A')},
      {"the decide key itself is captured on a button row", {{'Z', 3, 5}, {38, 8, 10}, {'Z', 12, 14}}, -1, true,
       keys(0, 'Z')},
      {"up from the dash row wraps to Exit", {{38, 3, 5}, {'Z', 8, 10}}, -1, true, defaults},
      {"down from Exit wraps to the dash row", {{38, 3, 5}, {40, 7, 9}, {'X', 12, 14}, {38, 16, 18}, {'Z', 20, 22}},
       -1, true, keys(0, 'X')},
      {"the lowest held code wins", {{'X', 3, 5}, {'A', 3, 5}, {38, 8, 10}, {'Z', 12, 14}}, -1, true, keys(0, 'A')},
      {"the pad column captures pad buttons",
       {{39, 3, 5}, {38, 8, 10}, {38, 12, 14}, {40, 16, 18}, {'Z', 20, 22}}, 7, true, pad_dash_and_pause_7},
      {"pad button numbers keep their low 8 bits", {{39, 3, 5}, {38, 8, 10}, {'Z', 12, 14}}, 300, true,
       pad_dash_low_bits},
      {"keys are not captured in the pad column", {{39, 3, 5}, {'A', 6, 8}, {38, 9, 11}, {'Z', 13, 15}}, -1, true,
       defaults},
      {"left toggles back to the keyboard", {{39, 3, 5}, {37, 8, 10}, {'A', 12, 14}, {38, 16, 18}, {'Z', 20, 22}}, -1,
       true, keys(0, 'A')},
      {"shutdown discards the working copy", {{40, 3, 5}, {'A', 8, 10}}, -1, false, defaults},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedGame game;
    game.holds = c.holds;
    game.pad_button = c.pad_button;
    game.stop_at = 60;
    run_key_option(game);
    const bool saved = !game.actions.empty() && game.actions.back() == "save";
    EXPECT_EQ(saved, c.saved);
    EXPECT_TRUE(game.config == c.result);
    if (c.saved) {
      EXPECT_LT(game.frame, 60);  // "Exit" returns at once
    }
  }
}

TEST(KeyOption, TheWorkingCopyShowsAtOnce) {
  ScriptedGame game;
  game.pad = 1;
  game.holds = {{'Z', 3, 5}, {39, 7, 9}, {38, 11, 13}, {38, 15, 17}};  // Z on dash; pad column; up twice
  game.pad_button = 7;
  game.stop_at = 20;
  run_key_option(game);
  const auto& texts = game.frames_drawn.back();
  EXPECT_EQ(texts[7].text, "key90");   // dash key: Z
  EXPECT_EQ(texts[7].colour, TextColour::kWhite);
  EXPECT_EQ(texts[17].text, "Btn(7)");  // pause row, pad column
  EXPECT_EQ(texts[17].colour, TextColour::kRed);
  EXPECT_TRUE(game.config == KeyConfig{});  // nothing stored without "Exit"
}

}  // namespace
}  // namespace torv
