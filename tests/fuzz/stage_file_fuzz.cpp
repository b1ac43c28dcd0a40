// Feeds arbitrary bytes to the stage file reader. A stage it accepts must write
// back to bytes that read as the same stage, keep its texts and start within their
// limits, and then be played: installed and run for some frames with every button,
// and drawn, so that no start position, tile or marker a file can hold makes the
// simulation overflow or index out of bounds.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "game/image_indices.h"
#include "game/play_draw.h"
#include "game/play_frame.h"
#include "game/stage_file.h"
#include "game/stage_loader.h"
#include "tests/native/game/game_fakes.h"

namespace {

using namespace torv;

class NullCanvas : public PlayCanvas {
public:
  void set_font(const char*, int) override {}
  void begin_draw() override {}
  void end_draw() override {}
  uint32_t rgb(uint8_t r, uint8_t g, uint8_t b) override { return uint32_t{r} << 16 | uint32_t{g} << 8 | b; }
  void draw_image(int, int, int, int, int, double) override {}
  void draw_image_fast(int, int, int, int, int, int, int, bool) override {}
  void draw_text_simple(int, int, uint32_t, bool, const std::string&) override {}
  void draw_text(const TextArea&, int, uint32_t, bool, bool, bool, const std::string&) override {}
  int text_width(const std::string& text) override { return static_cast<int>(text.size()) * 7; }
  int image_width(int image) override { return image >= 0 && image < kImageTableSize ? 24 : -1; }
  int image_height(int image) override { return image_width(image); }
};

bool same_stage(const StageFile& a, const StageFile& b) {
  return a.title == b.title && a.background == b.background && a.start_column == b.start_column &&
         a.start_row == b.start_row && a.time_limit_seconds == b.time_limit_seconds &&
         a.next_base_name == b.next_base_name && a.tiles == b.tiles;
}

// Held buttons frame by frame: walking, dashing, jumping, attacking both ways and
// switching the attack, so that every update path runs.
constexpr const char* kHeld[] = {"RSJ", "RSJ", "RA", "LJ", "LSA", "C", "DA", "UA", "", "RJA"};
constexpr int kFrames = 40;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  StageFile stage;
  stage.title = "untouched";
  const StageFileError error = read_stage_file(data, size, &stage);
  if (error != StageFileError::kNone) {
    if (stage.title != "untouched") std::abort();  // a refused file leaves the output alone
    return 0;
  }
  if (stage.title.size() > kMaxStageTextBytes || stage.next_base_name.size() > kMaxStageTextBytes) std::abort();
  const std::vector<uint8_t> again = write_stage_file(stage);
  StageFile reread;
  if (read_stage_file(again.data(), again.size(), &reread) != StageFileError::kNone || !same_stage(stage, reread))
    std::abort();

  test::FakeServices services;
  NullCanvas canvas;
  GameState state;
  reset_progress(state);
  install_stage(state, stage, "fuzz.afb", "sdat.tfa", services);
  for (int frame = 1; frame <= kFrames && state.player.status == kStatusPlaying; ++frame) {
    step_play_frame(state, test::pressed(kHeld[frame % 10]), frame, services);
    apply_time_out(state.player);
    draw_frame(canvas, state, frame, 60);
  }
  return 0;
}
