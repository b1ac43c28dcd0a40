// replayplan: records the replays that prove every stage finishable. For each stage
// of the chain from "0001.afb" it searches inputs with the game's simulation
// (tools/replayplan/stage_search.h) and writes <out>/<stage>.txt; then it plays the
// whole game with those inputs, searching again wherever the game's own history
// (random numbers, ammunition) makes a stage play differently, and writes
// <out>/game.txt, which runs from the first stage to the all-clear screen.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/format_text.h"
#include "game/play_frame.h"
#include "game/resource_tables.h"
#include "tools/replayplan/stage_search.h"
#include "game/host/archive_files.h"
#include "tools/torvsim/headless_host.h"
#include "tools/torvsim/replay_notes.h"
#include "game/host/software_canvas.h"

namespace torv {
namespace {

constexpr char kUsage[] =
    "usage: replayplan [--data DIR] [--out DIR] [--seed N] [--width W] [--move N] [--force]\n"
    "                  [--only STAGE] [--verbose]\n"
    "  --data DIR    folder with \"sdat.tfa\" and \"dat.tfa\" (default build/data)\n"
    "  --out DIR     where the replays go (default data/replays)\n"
    "  --seed N      the clock value that seeds every random number, as torvsim's (default 1)\n"
    "  --width W     states kept per search step (default 400; doubled on a failed search)\n"
    "  --move N      frames per move (default 6)\n"
    "  --force       search again even where a replay already finishes its stage\n"
    "  --only STAGE  record only this stage's replay (e.g. 0003.afb), not the whole game\n";

// The simulation's services for searching: image sizes, no sound, the fixed seed.
class SearchServices : public SimServices {
public:
  SearchServices(ImageStore& images, uint32_t seed) : images_(images), seed_(seed) {}
  void play_sound(Effect) override {}
  int image_width(int index) override { return images_.width(index); }
  int image_height(int index) override { return images_.height(index); }
  void reload_background(const std::string&) override {}
  uint32_t clock_ms() override { return seed_; }

private:
  ImageStore& images_;
  uint32_t seed_;
};

struct Planner {
  std::string data_dir = "build/data";
  std::string out_dir = "data/replays";
  uint32_t seed = 1;
  SearchOptions search;
  bool force = false;
  std::string only;

  ArchiveReader* reader = nullptr;
  ReaderStageSource* stages = nullptr;
  ImageStore images;

  // Frames of input from state until the goal, or false.
  bool reaches_goal(GameState state, const std::vector<FrameInput>& frames) {
    SearchServices services(images, seed);
    for (const FrameInput& in : frames) {
      step_play_frame(state, in, 0, services);
      apply_time_out(state.player);
      if (state.player.status == kStatusGoal) return true;
      if (state.player.status != kStatusPlaying) return false;
    }
    return false;
  }

  bool find(const GameState& start, const std::string& what, std::vector<FrameInput>* frames) {
    SearchServices services(images, seed);
    SearchOptions options = search;
    for (int attempt = 0; attempt < 3; ++attempt) {
      std::fprintf(stderr, "%s: searching, %d states per step\n", what.c_str(), options.beam_width);
      const SearchResult r = search_stage(start, services, options);
      if (r.found) {
        std::fprintf(stderr, "%s: found, %zu frames (%d states simulated)\n", what.c_str(), r.frames.size(),
                     r.explored);
        *frames = r.frames;
        return true;
      }
      std::fprintf(stderr, "%s: not found, closest %d cells from the goal\n", what.c_str(), r.best_distance);
      options.beam_width *= 2;
    }
    return false;
  }

  // The stage as torvsim --stage starts it: a new game's progress, the stage loaded.
  bool fresh_start(const std::string& file, GameState* state) {
    SearchServices services(images, seed);
    *state = GameState();
    reset_progress(*state);
    return load_stage(*state, file, kStageArchive, *stages, services) == 0;
  }

  bool write_script(const std::string& name, const std::string& comment, const std::vector<FrameInput>& frames) {
    const std::string path = out_dir + "/" + name;
    std::FILE* f = std::fopen(path.c_str(), "w");
    if (!f) {
      std::fprintf(stderr, "replayplan: cannot write %s\n", path.c_str());
      return false;
    }
    std::fprintf(f, "%s", comment.c_str());
    std::fputs(format_input_script(frames).c_str(), f);
    return std::fclose(f) == 0;
  }

  bool load_existing(const std::string& name, std::vector<FrameInput>* frames) {
    InputScript script;
    std::string error;
    if (!load_input_script(out_dir + "/" + name, &script, &error)) return false;
    *frames = script.frames;
    return true;
  }

  // One stage's own replay (from a fresh start).
  bool stage_replay(const std::string& file, std::vector<FrameInput>* frames) {
    GameState start;
    if (!fresh_start(file, &start)) {
      std::fprintf(stderr, "%s: cannot be loaded\n", file.c_str());
      return false;
    }
    const std::string name = file.substr(0, file.size() - 4) + ".txt";
    if (!force && load_existing(name, frames) && reaches_goal(start, *frames)) {
      std::fprintf(stderr, "%s: the replay in %s still finishes it\n", file.c_str(), name.c_str());
      return true;
    }
    if (!find(start, file, frames)) return false;
    std::vector<uint8_t> bytes;
    reader->read(kStageArchive, file, bytes);
    const std::string comment =
        format_text("# Replay of %s: reaches the goal in %zu frames (%d of its %d frames left).\n"
                    "# Recorded by replayplan with seed %u; run with: torvsim --stage %s --script <this file>\n",
                    file.c_str(), frames->size(), start.player.time_left - static_cast<int>(frames->size()),
                    start.player.time_left, seed, file.c_str()) +
        fingerprint_line(bytes);
    return write_script(name, comment, *frames);
  }

  // Plays the game from the title's start with the script; answers the host's record.
  struct GameRun {
    PlayEnd end;
    GameState state;
    std::vector<int> music_frames;
  };
  GameRun play_game(const std::vector<FrameInput>& frames) {
    InputScript script{frames};
    SizeOnlyCanvas canvas(images);
    HeadlessHost host(script, images, *stages, canvas, seed);
    GameRun run;
    start_new_game(run.state, host);
    run.end = run_play(run.state, host);
    run.music_frames = host.music_frames;
    return run;
  }

  bool game_replay(const std::vector<std::string>& chain, const std::vector<std::vector<FrameInput>>& own) {
    std::vector<FrameInput> game;
    const FrameInput idle;
    for (size_t k = 0; k < chain.size(); ++k) {
      // The game exactly at the start of stage k.
      const GameRun at_start = play_game(game);
      if (at_start.state.progress.stage_file != chain[k]) {
        std::fprintf(stderr, "game: expected to start %s, found %s\n", chain[k].c_str(),
                     at_start.state.progress.stage_file.c_str());
        return false;
      }
      std::vector<FrameInput> segment = own[k];
      if (!reaches_goal(at_start.state, segment)) {
        std::fprintf(stderr, "game: %s plays differently after the earlier stages\n", chain[k].c_str());
        if (!find(at_start.state, "game " + chain[k], &segment)) return false;
      }
      game.insert(game.end(), segment.begin(), segment.end());
      if (k + 1 == chain.size()) break;
      // The goal's fanfare and time bonus take no input; the next stage starts
      // when its music does.
      std::vector<FrameInput> padded = game;
      padded.insert(padded.end(), kIdleAllowance, idle);
      const GameRun after = play_game(padded);
      if (after.music_frames.size() < k + 2) {
        std::fprintf(stderr, "game: %s does not lead to %s\n", chain[k].c_str(), chain[k + 1].c_str());
        return false;
      }
      game.resize(static_cast<size_t>(after.music_frames[k + 1]), idle);
    }
    if (!finish_all_clear(&game)) {
      std::fprintf(stderr, "game: the last stage does not end in the all clear\n");
      return false;
    }
    const std::string comment =
        format_text("# Replay of the whole game, %zu stages from %s to the all clear, %zu frames.\n"
                    "# Recorded by replayplan with seed %u; run with: torvsim --game --script <this file>\n",
                    chain.size(), kFirstStage, game.size(), seed) +
        fingerprint_line(chain_bytes(chain));
    std::fprintf(stderr, "game: %zu frames\n", game.size());
    return write_script("game.txt", comment, game);
  }

  // The stage files of the chain one after another: the whole game's fingerprint.
  std::vector<uint8_t> chain_bytes(const std::vector<std::string>& chain) {
    std::vector<uint8_t> all, bytes;
    for (const std::string& file : chain) {
      if (reader->read(kStageArchive, file, bytes) == 0) all.insert(all.end(), bytes.begin(), bytes.end());
    }
    return all;
  }

  // Whether the script ends the game in the all clear within its own frames.
  bool ends_in_all_clear(const std::vector<FrameInput>& frames) {
    InputScript script{frames};
    SizeOnlyCanvas canvas(images);
    HeadlessHost host(script, images, *stages, canvas, seed);
    GameState state;
    start_new_game(state, host);
    return run_play(state, host) == PlayEnd::kAllClear && host.frames() <= host.script_frames();
  }

  // Appends what the all clear needs after the last goal: idle frames until its
  // screen waits for the jump button, one jump, then the 50 frames of its fade.
  bool finish_all_clear(std::vector<FrameInput>* game) {
    FrameInput jump;
    jump.jump = true;
    auto with_wait = [&](int wait) {
      std::vector<FrameInput> trial = *game;
      trial.insert(trial.end(), static_cast<size_t>(wait), FrameInput());
      trial.push_back(jump);
      trial.insert(trial.end(), kAllClearFadeFrames, FrameInput());
      return trial;
    };
    // Too short a wait puts the jump where nothing reads it; any longer one works.
    int low = 0, high = kIdleAllowance;
    if (!ends_in_all_clear(with_wait(high))) return false;
    while (low < high) {
      const int mid = (low + high) / 2;
      if (ends_in_all_clear(with_wait(mid))) {
        high = mid;
      } else {
        low = mid + 1;
      }
    }
    *game = with_wait(low);
    return true;
  }

  // Frames allowed for a goal's bonus and the all-clear's fade-in: 60 + at most
  // a few thousand seconds of bonus + 30 + 225 at the most in any stage we ship.
  static constexpr int kIdleAllowance = 6000;
  static constexpr int kAllClearFadeFrames = 50;
};

int run(int argc, char** argv) {
  Planner p;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto next = [&]() -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
    const char* v = nullptr;
    if (arg == "--data" && (v = next())) {
      p.data_dir = v;
    } else if (arg == "--out" && (v = next())) {
      p.out_dir = v;
    } else if (arg == "--seed" && (v = next())) {
      p.seed = static_cast<uint32_t>(std::strtoul(v, nullptr, 10));
    } else if (arg == "--width" && (v = next())) {
      p.search.beam_width = std::max(1, std::atoi(v));
    } else if (arg == "--move" && (v = next())) {
      p.search.move_frames = std::max(1, std::atoi(v));
    } else if (arg == "--force") {
      p.force = true;
    } else if (arg == "--verbose") {
      p.search.verbose = true;
    } else if (arg == "--only" && (v = next())) {
      p.only = v;
    } else {
      std::fprintf(stderr, "%s", kUsage);
      return 2;
    }
  }
  ArchiveReader reader(p.data_dir);
  ReaderStageSource stages(reader);
  p.reader = &reader;
  p.stages = &stages;
  std::string error;
  if (!p.images.load(reader, false, &error)) {
    std::fprintf(stderr, "replayplan: %s\n", error.c_str());
    return 2;
  }
  if (!p.only.empty()) {
    std::vector<FrameInput> frames;
    return p.stage_replay(p.only, &frames) ? 0 : 1;
  }

  // The chain of stages, as the game follows it.
  std::vector<std::string> chain;
  std::vector<std::vector<FrameInput>> own;
  std::string file = kFirstStage;
  std::vector<uint8_t> bytes;
  while (reader.read(kStageArchive, file, bytes) == 0 && chain.size() < 1000) {
    StageFile stage;
    if (read_stage_file(bytes.data(), bytes.size(), &stage) != StageFileError::kNone) break;
    chain.push_back(file);
    std::vector<FrameInput> frames;
    if (!p.stage_replay(file, &frames)) return 1;
    own.push_back(frames);
    file = stage.next_base_name + ".afb";
  }
  if (chain.empty()) {
    std::fprintf(stderr, "replayplan: no \"%s\" in %s/%s\n", kFirstStage, p.data_dir.c_str(), kStageArchive);
    return 2;
  }
  return p.game_replay(chain, own) ? 0 : 1;
}

}  // namespace
}  // namespace torv

int main(int argc, char** argv) { return torv::run(argc, argv); }
