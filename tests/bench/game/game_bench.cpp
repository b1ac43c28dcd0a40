// One play frame of the simulation, and one drawn play frame, on the busiest of the
// shipped stages with every object awake.
#include <benchmark/benchmark.h>

#include <string>

#include "game/camera.h"
#include "game/play_draw.h"
#include "game/play_frame.h"
#include "game/resource_tables.h"
#include "game/host/archive_files.h"
#include "tools/torvsim/headless_host.h"
#include "game/host/software_canvas.h"

namespace torv {
namespace {

class BenchServices : public SimServices {
public:
  explicit BenchServices(const ImageStore& images) : images_(images) {}
  void play_sound(Effect) override {}
  int image_width(int index) override { return images_.width(index); }
  int image_height(int index) override { return images_.height(index); }
  void reload_background(const std::string&) override {}
  uint32_t clock_ms() override { return 1; }

private:
  const ImageStore& images_;
};

// The shipped stage with the most objects, loaded, every object awake.
struct BusyStage {
  ArchiveReader reader{TORV_DATA_DIR};
  ReaderStageSource stages{reader};
  ImageStore images;
  GameState state;
  std::string name;
  std::string error;

  explicit BusyStage(bool decode_pixels) {
    if (!images.load(reader, decode_pixels, &error)) {
      error += " (build the archives first: make native)";
      return;
    }
    BenchServices services(images);
    size_t most = 0;
    for (const std::string& member : reader.members(kStageArchive)) {
      GameState candidate;
      reset_progress(candidate);
      if (load_stage(candidate, member, kStageArchive, stages, services) != 0) continue;
      if (name.empty() || candidate.objects.size() > most) {
        most = candidate.objects.size();
        state = candidate;
        name = member;
      }
    }
    if (name.empty()) error = "no stage in " + std::string(TORV_DATA_DIR) + "/sdat.tfa";
    for (MovingObject& o : state.objects) o.awake = 1;
  }
};

// Walks right and back with jumps so that the player meets the stage's objects.
FrameInput input_for(int frame) {
  FrameInput in;
  const int phase = frame % 600;
  in.right = phase < 300;
  in.left = phase >= 300;
  in.jump = frame % 40 < 20;
  return in;
}

void BM_SimulationFrame(benchmark::State& bench) {
  BusyStage busy(false);
  if (!busy.error.empty()) {
    bench.SkipWithError(busy.error.c_str());
    return;
  }
  BenchServices services(busy.images);
  GameState state = busy.state;
  int frame = 0;
  for (auto _ : bench) {
    step_play_frame(state, input_for(frame), frame % 61, services);
    ++frame;
    if (state.player.status != kStatusPlaying || frame % 3000 == 0) {
      bench.PauseTiming();  // start over: a lost life would freeze nothing here
      state = busy.state;
      bench.ResumeTiming();
    }
  }
  bench.SetLabel(busy.name + ", " + std::to_string(busy.state.objects.size()) + " objects awake");
}
BENCHMARK(BM_SimulationFrame);

void BM_DrawnPlayFrame(benchmark::State& bench) {
  BusyStage busy(true);
  if (!busy.error.empty()) {
    bench.SkipWithError(busy.error.c_str());
    return;
  }
  FreeTypeGlyphs glyphs;
  const bool text = glyphs.open(kDefaultFontPath);
  SoftwareCanvas canvas(busy.images, text ? &glyphs : nullptr);
  GameState state = busy.state;
  // A view in the middle of the stage's action: the camera on the first objects.
  if (!state.objects.empty()) {
    state.player.x = state.objects[state.objects.size() / 2].x;
    state.player.y = state.objects[state.objects.size() / 2].y;
  }
  update_camera(state.player);
  int frame = 0;
  for (auto _ : bench) {
    draw_frame(canvas, state, frame % 61, 60);
    benchmark::DoNotOptimize(canvas.frame().bits[0]);
    ++frame;
  }
  bench.SetLabel(std::string(blend_kernels_name(Blender().kernels())) + " kernels" + (text ? "" : ", no font"));
}
BENCHMARK(BM_DrawnPlayFrame)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace torv

BENCHMARK_MAIN();
