// torvsim: the game without a window. Plays one stage, the whole game from the
// first stage, or the whole program from its title menu, frame by frame from an
// input script with a fixed random seed, and prints the outcome; optionally draws
// frames to PNG files and checksums. With --verify-replays it proves that every
// stage of the chain is finished by its replay.
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "game/host/archive_files.h"
#include "game/host/frame_recorder.h"
#include "game/host/host_game.h"
#include "game/host/software_canvas.h"
#include "game/play_draw.h"
#include "game/resource_tables.h"
#include "game/stage_extract.h"
#include "tools/torvsim/headless_host.h"
#include "tools/torvsim/replay_notes.h"
#include "tools/torvsim/title_shell.h"

namespace torv {
namespace {

constexpr char kUsage[] =
    "usage: torvsim [--data DIR] (--stage NAME | --stage-file PATH | --game | --title)\n"
    "               [--script FILE] [--seed N] [--png DIR [--every N]] [--frame-sums FILE]\n"
    "               [--font PATH] [--save FILE] [--expect RESULT]\n"
    "       torvsim [--data DIR] [--seed N] --verify-replays DIR\n"
    "\n"
    "  --data DIR        folder with \"sdat.tfa\" and \"dat.tfa\" (default: build/data beside\n"
    "                    the build tree of this program, else the current folder)\n"
    "  --stage NAME      play one stage of \"sdat.tfa\" (e.g. 0003.afb) until the goal, a lost\n"
    "                    life, the time running out or the end of the script\n"
    "  --stage-file PATH the same for a stage file on disk\n"
    "  --game            play the whole game from \"0001.afb\" as the play mode does (lives,\n"
    "                    restarts, time bonus, next stages, pause menu) until game over, all\n"
    "                    clear or the end of the script\n"
    "  --title           run the whole program from its title menu, as the game front-ends\n"
    "                    do, the script's keys going through the key table and the key\n"
    "                    configuration, until the end of the script or the exit item\n"
    "  --script FILE     the input script (see game/host/input_script.h); default: none\n"
    "  --seed N          the clock value that seeds every random number (default 1)\n"
    "  --png DIR         draw frames with the software renderer into DIR/frame_NNNNNN.png\n"
    "  --every N         draw every Nth frame (default 1)\n"
    "  --frame-sums FILE draw every frame and write one checksum line per frame to FILE\n"
    "                    (\"NNNNNN <FNV-1a 64 of the pixels' R, G, B bytes>\")\n"
    "  --font PATH       TrueType font for the texts\n"
    "  --save FILE       the save file of --title (default: none; nothing is read or kept)\n"
    "  --expect RESULT   exit 1 unless the result is RESULT: cleared, lost, timeout,\n"
    "                    unfinished (one stage); allclear, gameover, stopped (--game);\n"
    "                    stopped, quit (--title)\n"
    "  --verify-replays DIR  for every stage of the chain from \"0001.afb\", run\n"
    "                    DIR/<stage>.txt (e.g. 0001.txt) expecting cleared, then DIR/game.txt\n"
    "                    expecting allclear\n"
    "\n"
    "Prints one line: result=... frames=... score=... lives=... x=... y=... time_left=...\n"
    "Exit status: 0 done (and as expected), 1 not as expected, 2 bad usage or data.\n";

struct Options {
  std::string data_dir;
  std::string stage;
  std::string stage_file;
  bool game = false;
  std::string script;
  uint32_t seed = 1;
  bool title = false;
  std::string png_dir;
  int every = 1;
  std::string sums_file;
  std::string font = kDefaultFontPath;
  std::string save_file;
  std::string expect;
  std::string verify_dir;
};

int usage_error(const std::string& message) {
  std::fprintf(stderr, "torvsim: %s\n\n%s", message.c_str(), kUsage);
  return 2;
}

std::string default_data_dir(const char* argv0) {
  // build/<tree>/bin/torvsim -> build/data
  std::string exe = argv0;
  const size_t slash = exe.rfind('/');
  if (slash != std::string::npos) {
    const std::string candidate = exe.substr(0, slash) + "/../../data";
    struct stat st;
    if (stat((candidate + "/sdat.tfa").c_str(), &st) == 0) return candidate;
  }
  return ".";
}

bool parse_number(const char* text, long low, long high, long* out) {
  char* end = nullptr;
  const long value = std::strtol(text, &end, 10);
  if (!*text || *end || value < low || value > high) return false;
  *out = value;
  return true;
}

// Everything one run needs, built from the options.
struct Session {
  explicit Session(const Options& o) : options(o), reader(o.data_dir), stages(reader) {}

  bool prepare(std::string* error) {
    recorder.keep_pictures(options.png_dir, options.every);
    if (!options.sums_file.empty() && !recorder.keep_checksums(options.sums_file)) {
      *error = "cannot write \"" + options.sums_file + "\"";
      return false;
    }
    if (options.title) return true;  // HostGame loads what it needs
    const bool drawing = recorder.active();
    if (!images.load(reader, drawing, error)) return false;
    if (drawing) {
      if (!glyphs.open(options.font)) {
        std::fprintf(stderr, "torvsim: font \"%s\" cannot be opened; the PNGs will have no text\n",
                     options.font.c_str());
      }
      software = std::make_unique<SoftwareCanvas>(images, &glyphs);
      software->on_frame([this](const FrameView& frame) { recorder.record(frame); });
    }
    return true;
  }
  PlayCanvas& canvas() { return software ? static_cast<PlayCanvas&>(*software) : sizes_only; }

  const Options& options;
  ArchiveReader reader;
  ReaderStageSource stages;
  ImageStore images;
  SizeOnlyCanvas sizes_only{images};
  FreeTypeGlyphs glyphs;
  std::unique_ptr<SoftwareCanvas> software;
  FrameRecorder recorder;
};

void print_outcome(const char* result, int frames, const GameState& state) {
  std::printf("%s\n", outcome_line(result, frames, state).c_str());
}

// One stage from a fresh game: answers the result's name, or null when the stage
// cannot be loaded.
const char* run_one_stage(Session& session, const std::string& file, const std::string& archive,
                          const InputScript& script, bool print) {
  HeadlessHost host(script, session.images, session.stages, session.canvas(), session.options.seed);
  GameState state;
  reset_progress(state);
  if (load_stage(state, file, archive, session.stages, host) != 0) return nullptr;
  const StageResult result = play_stage(state, host, session.software != nullptr);
  if (print) print_outcome(stage_result_name(result), host.frames(), state);
  return stage_result_name(result);
}

const char* run_game(Session& session, const InputScript& script, bool print) {
  HeadlessHost host(script, session.images, session.stages, session.canvas(), session.options.seed);
  GameState state;
  if (start_new_game(state, host) != 0) return nullptr;
  const PlayEnd end = run_play(state, host);
  if (print) print_outcome(play_end_name(end), std::min(host.frames(), host.script_frames()), state);
  return play_end_name(end);
}

// The whole program from the title menu; answers the result's name, or null when
// the game cannot load its files.
const char* run_title(Session& session, const InputScript& script) {
  TitleShell shell(script);
  HostGame game(shell, {session.options.data_dir, session.options.save_file, session.options.font});
  std::string error;
  if (!game.load(&error)) {
    std::fprintf(stderr, "torvsim: %s\n", error.c_str());
    return nullptr;
  }
  game.fix_random_seed(session.options.seed);
  game.on_frame([&](const FrameView& frame) { session.recorder.record(frame); });
  game.run();
  const char* result = shell.quit() ? "quit" : "stopped";
  print_outcome(result, std::min(shell.frames(), static_cast<int>(script.frames.size())), game.state());
  return result;
}

// When a replay fails: whether its stage (or chain) changed since it was recorded.
void explain_failure(const std::string& script_path, const std::vector<uint8_t>& stage_bytes) {
  std::vector<uint8_t> text;
  uint64_t recorded = 0;
  if (!read_whole_file(script_path, text) || !recorded_fingerprint(std::string(text.begin(), text.end()), &recorded)) {
    return;
  }
  if (recorded != stage_fingerprint(stage_bytes)) {
    std::printf("  the stage data changed after %s was recorded: record the replays again with\n"
                "  cmake --build build/native --target record_replays\n",
                script_path.c_str());
  }
}

int verify_replays(Session& session) {
  int failures = 0;
  std::string file = kFirstStage;
  std::vector<uint8_t> bytes, chain;
  for (int count = 0; session.reader.read(kStageArchive, file, bytes) == 0 && count < 10000; ++count) {
    chain.insert(chain.end(), bytes.begin(), bytes.end());
    const std::string base = file.substr(0, file.size() - 4);
    const std::string path = session.options.verify_dir + "/" + base + ".txt";
    InputScript script;
    std::string error;
    const char* result = nullptr;
    if (load_input_script(path, &script, &error)) {
      std::printf("%s: ", file.c_str());
      result = run_one_stage(session, file, kStageArchive, script, true);
      if (!result) std::printf("cannot be loaded\n");
    } else {
      std::printf("%s: no replay (%s)\n", file.c_str(), error.c_str());
    }
    if (!result || std::strcmp(result, "cleared") != 0) {
      ++failures;
      explain_failure(path, bytes);
    }
    StageFile stage;
    if (read_stage_file(bytes.data(), bytes.size(), &stage) != StageFileError::kNone) {
      std::printf("%s: not a valid stage file\n", file.c_str());
      ++failures;
      break;
    }
    file = stage.next_base_name + ".afb";
  }
  InputScript script;
  std::string error;
  const std::string game_path = session.options.verify_dir + "/game.txt";
  if (load_input_script(game_path, &script, &error)) {
    std::printf("whole game: ");
    const char* result = run_game(session, script, true);
    if (!result || std::strcmp(result, "allclear") != 0) {
      ++failures;
      explain_failure(game_path, chain);
    }
  } else {
    std::printf("whole game: no replay (%s)\n", error.c_str());
    ++failures;
  }
  std::printf("%s\n", failures == 0 ? "every stage is finished by its replay" : "REPLAYS FAILED");
  return failures == 0 ? 0 : 1;
}

int run(int argc, char** argv) {
  Options o;
  o.data_dir = default_data_dir(argv[0]);
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto value = [&](std::string* out) {
      if (i + 1 >= argc) return false;
      *out = argv[++i];
      return true;
    };
    long number = 0;
    std::string text;
    if (arg == "--help" || arg == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    } else if (arg == "--data") {
      if (!value(&o.data_dir)) return usage_error("--data needs a folder");
    } else if (arg == "--stage") {
      if (!value(&o.stage)) return usage_error("--stage needs a member name");
    } else if (arg == "--stage-file") {
      if (!value(&o.stage_file)) return usage_error("--stage-file needs a path");
    } else if (arg == "--game") {
      o.game = true;
    } else if (arg == "--title") {
      o.title = true;
    } else if (arg == "--script") {
      if (!value(&o.script)) return usage_error("--script needs a file");
    } else if (arg == "--seed") {
      if (!value(&text) || !parse_number(text.c_str(), 0, 0xFFFFFFFFL, &number)) {
        return usage_error("--seed needs a number from 0 to 4294967295");
      }
      o.seed = static_cast<uint32_t>(number);
    } else if (arg == "--png") {
      if (!value(&o.png_dir)) return usage_error("--png needs a folder");
    } else if (arg == "--every") {
      if (!value(&text) || !parse_number(text.c_str(), 1, 1000000, &number)) {
        return usage_error("--every needs a number from 1 to 1000000");
      }
      o.every = static_cast<int>(number);
    } else if (arg == "--frame-sums") {
      if (!value(&o.sums_file)) return usage_error("--frame-sums needs a file");
    } else if (arg == "--font") {
      if (!value(&o.font)) return usage_error("--font needs a path");
    } else if (arg == "--save") {
      if (!value(&o.save_file)) return usage_error("--save needs a file");
    } else if (arg == "--expect") {
      if (!value(&o.expect)) return usage_error("--expect needs a result");
    } else if (arg == "--verify-replays") {
      if (!value(&o.verify_dir)) return usage_error("--verify-replays needs a folder");
    } else {
      return usage_error("unknown argument \"" + arg + "\"");
    }
  }
  const int modes = !o.stage.empty() + !o.stage_file.empty() + o.game + o.title + !o.verify_dir.empty();
  if (modes != 1) return usage_error("choose one of --stage, --stage-file, --game, --title and --verify-replays");

  Session session(o);
  std::string error;
  if (!session.prepare(&error)) {
    std::fprintf(stderr, "torvsim: %s\n", error.c_str());
    return 2;
  }
  if (!o.verify_dir.empty()) return verify_replays(session);

  InputScript script;
  if (!o.script.empty() && !load_input_script(o.script, &script, &error)) {
    std::fprintf(stderr, "torvsim: %s\n", error.c_str());
    return 2;
  }
  const char* result = nullptr;
  if (o.title) {
    result = run_title(session, script);
  } else if (o.game) {
    result = run_game(session, script, true);
    if (!result) std::fprintf(stderr, "torvsim: \"%s\" cannot be loaded from \"%s/%s\"\n", kFirstStage, o.data_dir.c_str(), kStageArchive);
  } else if (!o.stage.empty()) {
    result = run_one_stage(session, o.stage, kStageArchive, script, true);
    if (!result) std::fprintf(stderr, "torvsim: \"%s\" cannot be loaded from \"%s/%s\"\n", o.stage.c_str(), o.data_dir.c_str(), kStageArchive);
  } else {
    result = run_one_stage(session, o.stage_file, "", script, true);
    if (!result) std::fprintf(stderr, "torvsim: \"%s\" is not a readable stage file\n", o.stage_file.c_str());
  }
  if (!result) return 2;
  if (!o.expect.empty() && o.expect != result) {
    std::fprintf(stderr, "torvsim: expected %s, got %s\n", o.expect.c_str(), result);
    return 1;
  }
  return 0;
}

}  // namespace
}  // namespace torv

int main(int argc, char** argv) { return torv::run(argc, argv); }
