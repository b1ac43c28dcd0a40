// Speed of the software drawing core on 640x480 frames, with memcpy and pixman's
// OVER composite measured in the same run as anchors; the ratios to them are
// printed at the end (absolute figures drift between machines, ratios less so).
//
// Images carry a realistic alpha mix: 30 % transparent, 40 % partial, 30 % opaque,
// either pixel by pixel ("random") or in sprite-like runs ("runs").
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "common/blend.h"
#include "common/string_cache.h"

namespace {

constexpr int kW = 640, kH = 480;

struct Pixels {
  int width = 0, height = 0;
  std::vector<uint8_t> bits;
  Pixels(int w, int h) : width(w), height(h), bits(size_t(w) * size_t(h) * 4) {}
  torv::FrameView frame() { return {bits.data(), width, height, width * 4}; }
  torv::ImageView view() const { return {bits.data(), width, height, width * 4}; }
};

// 30 % alpha 0, 40 % alpha 1..254, 30 % alpha 255.
Pixels alpha_mix(int w, int h, bool runs, unsigned seed) {
  Pixels p(w, h);
  std::mt19937 rng(seed);
  std::uniform_int_distribution<int> byte(0, 255), partial(1, 254), percent(0, 99), run(4, 40);
  int left = 0, kind = 0;
  for (size_t i = 0; i < size_t(w) * size_t(h); ++i) {
    if (!runs || left-- <= 0) {
      const int r = percent(rng);
      kind = r < 30 ? 0 : r < 70 ? 1 : 2;
      left = run(rng);
    }
    uint8_t* px = &p.bits[i * 4];
    px[0] = uint8_t(byte(rng));
    px[1] = uint8_t(byte(rng));
    px[2] = uint8_t(byte(rng));
    px[3] = uint8_t(kind == 0 ? 0 : kind == 1 ? partial(rng) : 255);
  }
  return p;
}

Pixels opaque(int w, int h, unsigned seed) {
  Pixels p = alpha_mix(w, h, false, seed);
  for (size_t i = 3; i < p.bits.size(); i += 4) p.bits[i] = 255;
  return p;
}

void count_pixels(benchmark::State& state, int64_t pixels_per_iteration) {
  state.SetItemsProcessed(state.iterations() * pixels_per_iteration);
}

// ---- anchors ---------------------------------------------------------------

void memcpy_frame(benchmark::State& state) {
  const Pixels src = opaque(kW, kH, 1);
  Pixels dst(kW, kH);
  for (auto _ : state) {
    std::memcpy(dst.bits.data(), src.bits.data(), src.bits.size());
    benchmark::DoNotOptimize(dst.bits.data());
    benchmark::ClobberMemory();
  }
  count_pixels(state, kW * kH);
}

// pixman works on premultiplied colour, so the source is premultiplied first: the
// result differs from our rule, only the speed is compared.
void pixman_over(benchmark::State& state, bool runs) {
  Pixels src = alpha_mix(kW, kH, runs, 2);
  for (size_t i = 0; i < src.bits.size(); i += 4)
    for (int c = 0; c < 3; ++c) src.bits[i + size_t(c)] = uint8_t(src.bits[i + size_t(c)] * src.bits[i + 3] / 255);
  Pixels dst = opaque(kW, kH, 3);
  pixman_image_t* s = pixman_image_create_bits(PIXMAN_a8r8g8b8, kW, kH,
                                               reinterpret_cast<uint32_t*>(src.bits.data()), kW * 4);
  pixman_image_t* d = pixman_image_create_bits(PIXMAN_a8r8g8b8, kW, kH,
                                               reinterpret_cast<uint32_t*>(dst.bits.data()), kW * 4);
  for (auto _ : state) {
    pixman_image_composite32(PIXMAN_OP_OVER, s, nullptr, d, 0, 0, 0, 0, 0, 0, kW, kH);
    benchmark::ClobberMemory();
  }
  pixman_image_unref(s);
  pixman_image_unref(d);
  count_pixels(state, kW * kH);
}

// ---- the core's draws --------------------------------------------------------

void blend_frame(benchmark::State& state, torv::BlendKernels k, double percent, bool runs) {
  const torv::Blender blender(k);
  const Pixels src = alpha_mix(kW, kH, runs, 4);
  Pixels dst = opaque(kW, kH, 5);
  const uint8_t alpha = torv::alpha_byte_from_percent(percent);
  for (auto _ : state) {
    blender.draw_image_detail(dst.frame(), src.view(), 0, 0, 0, 0, kW, kH, alpha);
    benchmark::ClobberMemory();
  }
  count_pixels(state, kW * kH);
}

void keyed_copy_frame(benchmark::State& state, torv::BlendKernels k, bool runs) {
  const torv::Blender blender(k);
  const Pixels src = alpha_mix(kW, kH, runs, 6);
  Pixels dst = opaque(kW, kH, 7);
  for (auto _ : state) {
    blender.copy_image_keyed(dst.frame(), src.view(), 0, 0, 0, 0, kW, kH);
    benchmark::ClobberMemory();
  }
  count_pixels(state, kW * kH);
}

// A 320x240 image stretched to the whole frame (8.8 step 128 on both axes).
void scaled_frame(benchmark::State& state, torv::BlendKernels k) {
  const torv::Blender blender(k);
  const Pixels src = alpha_mix(kW / 2, kH / 2, true, 8);
  Pixels dst = opaque(kW, kH, 9);
  for (auto _ : state) {
    blender.draw_image_scaled(dst.frame(), src.view(), 0, 0, kW, kH, 255);
    benchmark::ClobberMemory();
  }
  count_pixels(state, kW * kH);
}

// ---- a typical play frame ----------------------------------------------------

// Glyphs for the cached text: a 7x14 cell with a coverage pattern.
class BenchFont : public torv::GlyphSource {
public:
  std::string font_description() override { return "bench"; }
  bool font_metrics(torv::FontMetrics* m) override {
    *m = torv::FontMetrics{14, 11, 14};
    return true;
  }
  bool is_lead_byte(uint8_t) override { return false; }
  bool glyph(unsigned code, torv::GlyphBitmap* g) override {
    g->width = 7;
    g->height = 14;
    g->origin_x = 0;
    g->origin_y = 11;
    g->pitch = 8;
    g->levels.assign(8 * 14, 0);
    for (int i = 0; i < 8 * 14; ++i) g->levels[size_t(i)] = uint8_t((i * 7 + code) % 65);
    return true;
  }
};

// The rectangles of one play frame: background 640x432, 560 keyed 24x24 tiles,
// 40 blended 24x24 sprites, a 640x48 bar, 120 glyphs of 7x14 (6 strings of 20).
struct PlayScene {
  Pixels background = opaque(kW, 432, 10);
  Pixels tiles = alpha_mix(24 * 16, 24, true, 11);
  Pixels sprites = alpha_mix(24 * 8, 24, true, 12);
  Pixels bar = alpha_mix(kW, 48, true, 13);
  struct Place {
    int x, y, src_x;
  };
  std::vector<Place> tile_places, sprite_places;
  std::vector<std::string> texts;
  static constexpr int kGlyphPixels = 120 * 7 * 14;

  PlayScene() {
    for (int i = 0; i < 560; ++i)  // the grid of visible cells, some with two layers
      tile_places.push_back({(i % 27) * 24 - 12, (i / 27 % 18) * 24, (i % 16) * 24});
    for (int i = 0; i < 40; ++i) sprite_places.push_back({(i * 97) % 616, (i * 53) % 408, (i % 8) * 24});
    for (int i = 0; i < 6; ++i)  // 20 visible characters each
      texts.push_back("SCORE:" + std::to_string(10000000 + i * 777) + "/T:300");
  }
  int64_t pixels() const { return int64_t(kW) * 432 + (560 + 40) * 24 * 24 + int64_t(kW) * 48 + kGlyphPixels; }
};

void play_frame(benchmark::State& state, torv::BlendKernels k) {
  const torv::Blender blender(k);
  PlayScene scene;
  Pixels frame(kW, kH);
  BenchFont font;
  torv::StringCache cache;
  const torv::FrameView f = frame.frame();
  for (auto _ : state) {
    blender.copy_image_opaque(f, scene.background.view(), 0, 0, 0, 0, kW, 432);
    for (const auto& t : scene.tile_places)
      blender.copy_image_keyed(f, scene.tiles.view(), t.x, t.y, t.src_x, 0, 24, 24);
    for (const auto& s : scene.sprite_places)
      blender.draw_image_detail(f, scene.sprites.view(), s.src_x, 0, s.x, s.y, 24, 24, 255);
    blender.draw_image_scaled(f, scene.bar.view(), 0, 432, kW, 48, 255);
    for (size_t i = 0; i < scene.texts.size(); ++i)
      cache.draw_text(blender, f, font, {8, 436 + int(i % 3) * 14, 632, 480}, scene.texts[i].c_str(), -1,
                      true, false, 0xFFFFFF);
    benchmark::ClobberMemory();
  }
  count_pixels(state, scene.pixels());
}

// The same rectangles copied row by row with memcpy: the floor for this frame.
void play_frame_memcpy(benchmark::State& state) {
  PlayScene scene;
  Pixels frame(kW, kH);
  const Pixels glyph_source = opaque(7 * 20, 14, 14);
  auto copy = [&](const Pixels& src, int x, int y, int src_x, int w, int h) {
    x = x < 0 ? 0 : x;
    for (int j = 0; j < h; ++j)
      std::memcpy(&frame.bits[(size_t(y + j) * kW + size_t(x)) * 4],
                  &src.bits[(size_t(j) * size_t(src.width) + size_t(src_x)) * 4], size_t(w) * 4);
  };
  for (auto _ : state) {
    copy(scene.background, 0, 0, 0, kW, 432);
    for (const auto& t : scene.tile_places) copy(scene.tiles, t.x, t.y, t.src_x, 24, 24);
    for (const auto& s : scene.sprite_places) copy(scene.sprites, s.x, s.y, s.src_x, 24, 24);
    copy(scene.bar, 0, 432, 0, kW, 48);
    for (int i = 0; i < 6; ++i) copy(glyph_source, 8, 436 + (i % 3) * 14, 0, 7 * 20, 14);
    benchmark::ClobberMemory();
  }
  count_pixels(state, scene.pixels());
}

// ---- ratios ------------------------------------------------------------------

// Keeps each benchmark's CPU time (the median when repetitions are aggregated):
// on a shared machine it is steadier than the wall clock.
class RatioReporter : public benchmark::ConsoleReporter {
public:
  std::map<std::string, double> seconds;
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& r : runs)
      if (r.aggregate_name.empty() || r.aggregate_name == "median")
        seconds[r.run_name.str()] = r.GetAdjustedCPUTime();
    ConsoleReporter::ReportRuns(runs);
  }
};

void print_ratio(const RatioReporter& r, const char* what, const std::string& a, const std::string& b,
                 const char* goal) {
  const auto ia = r.seconds.find(a), ib = r.seconds.find(b);
  if (ia == r.seconds.end() || ib == r.seconds.end()) return;
  std::printf("  %-52s %6.2fx   (%s)\n", what, ib->second / ia->second, goal);
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<torv::BlendKernels> kernels;
  for (torv::BlendKernels k : {torv::BlendKernels::kScalar, torv::BlendKernels::kSse2, torv::BlendKernels::kAvx2})
    if (torv::blend_kernels_supported(k)) kernels.push_back(k);

  benchmark::RegisterBenchmark("memcpy_frame", memcpy_frame);
  benchmark::RegisterBenchmark("pixman_over/random", pixman_over, false);
  benchmark::RegisterBenchmark("pixman_over/runs", pixman_over, true);
  benchmark::RegisterBenchmark("play_frame_memcpy", play_frame_memcpy);
  for (torv::BlendKernels k : kernels) {
    const std::string n = torv::blend_kernels_name(k);
    benchmark::RegisterBenchmark(("blend_100/random/" + n).c_str(), blend_frame, k, 100.0, false);
    benchmark::RegisterBenchmark(("blend_100/runs/" + n).c_str(), blend_frame, k, 100.0, true);
    benchmark::RegisterBenchmark(("blend_50/random/" + n).c_str(), blend_frame, k, 50.0, false);
    benchmark::RegisterBenchmark(("blend_50/runs/" + n).c_str(), blend_frame, k, 50.0, true);
    benchmark::RegisterBenchmark(("keyed_copy/random/" + n).c_str(), keyed_copy_frame, k, false);
    benchmark::RegisterBenchmark(("keyed_copy/runs/" + n).c_str(), keyed_copy_frame, k, true);
    benchmark::RegisterBenchmark(("scaled_2x/" + n).c_str(), scaled_frame, k);
    benchmark::RegisterBenchmark(("play_frame/" + n).c_str(), play_frame, k);
  }

  // Repetitions run interleaved in random order unless the caller chooses: on a
  // shared machine a busy spell then slows the anchors and the kernels alike
  // instead of whichever benchmarks happened to run during it.
  std::vector<char*> args(argv, argv + argc);
  bool order_chosen = false;
  for (int i = 1; i < argc; ++i)
    if (std::strncmp(argv[i], "--benchmark_enable_random_interleaving", 38) == 0) order_chosen = true;
  char interleave[] = "--benchmark_enable_random_interleaving=true";
  if (!order_chosen) args.push_back(interleave);
  args.push_back(nullptr);
  argc = static_cast<int>(args.size()) - 1;
  argv = args.data();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);

  std::printf("\nRatios in this run (goal in brackets; %s is the kernel set chosen on this CPU):\n",
              torv::blend_kernels_name(torv::best_blend_kernels()));
  for (torv::BlendKernels k : kernels) {
    const std::string n = torv::blend_kernels_name(k);
    print_ratio(reporter, ("blend 100% random vs pixman OVER, " + n).c_str(), "blend_100/random/" + n,
                "pixman_over/random", ">= 2x");
    print_ratio(reporter, ("keyed copy random vs memcpy, " + n).c_str(), "keyed_copy/random/" + n,
                "memcpy_frame", ">= 0.9x");
    print_ratio(reporter, ("keyed copy runs vs memcpy, " + n).c_str(), "keyed_copy/runs/" + n, "memcpy_frame",
                ">= 0.9x");
    print_ratio(reporter, ("play frame: memcpy time / its time, " + n).c_str(), "play_frame/" + n,
                "play_frame_memcpy", ">= 0.67x, i.e. within 1.5x");
  }
  benchmark::Shutdown();
  return 0;
}
