// torv: the game on SDL. One instance per player; the player's files in the
// platform's data folder; the archives found beside the build, in the installed data
// folder or with --data; the game's modes run on the main thread, paced to 60 frames
// a second, presented through one streaming texture, with sound through SDL's audio
// callback (silent without a device). Errors a player can meet get a message box
// and exit status 1.
#include <SDL2/SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "game/game_texts.h"
#include "game/host/frame_recorder.h"
#include "game/host/freetype_glyphs.h"
#include "game/host/host_game.h"
#include "game/host/ini_settings.h"
#include "game/host/input_script.h"
#include "game/host/png_file.h"
#include "game/host/host_clock.h"
#include "game/host/text_encoding.h"
#include "game/host/window_icon.h"
#include "game/sdl/audio_output.h"
#include "game/sdl/file_locations.h"
#include "game/sdl/frame_timer.h"
#include "game/sdl/instance_lock.h"
#include "game/sdl/message_box.h"
#include "game/sdl/platform_files.h"
#include "game/sdl/run_measure.h"
#include "game/sdl/sdl_shell.h"

namespace torv {
namespace {

constexpr char kUsage[] =
    "usage: torv [--data DIR] [--font FILE] [--window-scale N]\n"
    "       torv --write-icon FILE [--data DIR]\n"
    "\n"
    "  --data DIR          the folder with \"dat.tfa\" and \"sdat.tfa\" (default: the build's\n"
    "                      data beside the program, else the installed data folder)\n"
    "  --font FILE         the TrueType font of the texts (default: IPA Gothic)\n"
    "  --window-scale N    start with the picture N times its size (default: the largest\n"
    "                      that fits the desktop)\n"
    "  --write-icon FILE   write the game's icon as a PNG file and exit\n"
    "\n"
    "For tests and measurements:\n"
    "  --script FILE       play an input script (game/host/input_script.h) through the\n"
    "                      event queue from the title menu on; close at its end and print\n"
    "                      the outcome line\n"
    "  --seed N            seed the random numbers with N instead of the clock (the\n"
    "                      stages and the choice of music repeat)\n"
    "  --deterministic     simulated time (every frame on time, no waiting) and a fixed\n"
    "                      seed (--seed, default 1), so a scripted run repeats exactly\n"
    "  --frames DIR        write every presented picture, read back from the window, as\n"
    "                      DIR/frame_NNNNNN.png (with --every N: every Nth)\n"
    "  --frame-sums FILE   write one checksum line per presented picture\n"
    "  --measure FILE      write when the first picture was presented and how late the\n"
    "                      frames began (game/sdl/run_measure.h)\n"
    "\n"
    "The player's files (\"save.dat\", \"Setting.ini\") are kept in $XDG_DATA_HOME/torv\n"
    "(default ~/.local/share/torv).\n";

struct Options {
  std::string data_dir;
  std::string font = kDefaultFontPath;
  int window_scale = 0;
  std::string icon_file;
  std::string script;
  bool deterministic = false;
  bool seeded = false;
  uint32_t seed = 1;
  std::string frames_dir;
  int every = 1;
  std::string sums_file;
  std::string measure_file;
};

bool parse_number(const char* text, long low, long high, long* out) {
  char* end = nullptr;
  const long value = std::strtol(text, &end, 10);
  if (!*text || *end || value < low || value > high) return false;
  *out = value;
  return true;
}

// 0 parsed, 2 bad usage (printed), -1 help printed.
int parse_options(int argc, char** argv, Options* o) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
    long number = 0;
    auto bad = [&](const char* why) {
      std::fprintf(stderr, "torv: %s\n\n%s", why, kUsage);
      return 2;
    };
    if (arg == "--help" || arg == "-h") {
      std::fputs(kUsage, stdout);
      return -1;
    } else if (arg == "--deterministic") {
      o->deterministic = true;
      continue;
    } else if (!value) {
      return bad(("unknown argument or missing value: \"" + arg + "\"").c_str());
    } else if (arg == "--data") {
      o->data_dir = value;
    } else if (arg == "--font") {
      o->font = value;
    } else if (arg == "--window-scale") {
      if (!parse_number(value, 1, 16, &number)) return bad("--window-scale needs a number from 1 to 16");
      o->window_scale = static_cast<int>(number);
    } else if (arg == "--write-icon") {
      o->icon_file = value;
    } else if (arg == "--script") {
      o->script = value;
    } else if (arg == "--seed") {
      if (!parse_number(value, 0, 0xFFFFFFFFL, &number)) return bad("--seed needs a number from 0 to 4294967295");
      o->seed = static_cast<uint32_t>(number);
      o->seeded = true;
    } else if (arg == "--frames") {
      o->frames_dir = value;
    } else if (arg == "--every") {
      if (!parse_number(value, 1, 1000000, &number)) return bad("--every needs a number from 1 to 1000000");
      o->every = static_cast<int>(number);
    } else if (arg == "--frame-sums") {
      o->sums_file = value;
    } else if (arg == "--measure") {
      o->measure_file = value;
    } else {
      return bad(("unknown argument \"" + arg + "\"").c_str());
    }
    ++i;
  }
  return 0;
}

int fail(SDL_Window* window, const std::string& text) {
  show_message(MessageKind::kError, window, kWindowTitle, text);
  return 1;
}

int write_icon(const Options& o) {
  std::string searched;
  const std::string data = locate_archives(o.data_dir, &searched);
  ArchiveReader reader(data);
  ImageStore images;
  std::string error;
  Image icon;
  if (data.empty() || !images.load(reader, true, &error) || !make_window_icon(images, &icon)) {
    std::fprintf(stderr, "torv: the icon cannot be made from the archives (%s)\n",
                 data.empty() ? searched.c_str() : error.c_str());
    return 1;
  }
  if (!write_image_png(o.icon_file, icon)) {
    std::fprintf(stderr, "torv: cannot write \"%s\"\n", o.icon_file.c_str());
    return 1;
  }
  return 0;
}

int run(int argc, char** argv) {
  Options o;
  if (const int parsed = parse_options(argc, argv, &o)) return parsed < 0 ? 0 : parsed;
  if (!o.icon_file.empty()) return write_icon(o);

  InputScript script;
  std::string error;
  if (!o.script.empty() && !load_input_script(o.script, &script, &error)) {
    std::fprintf(stderr, "torv: %s\n", error.c_str());
    return 2;
  }
  FrameRecorder recorder;
  recorder.keep_pictures(o.frames_dir, o.every);
  if (!o.sums_file.empty() && !recorder.keep_checksums(o.sums_file)) {
    std::fprintf(stderr, "torv: cannot write \"%s\"\n", o.sums_file.c_str());
    return 2;
  }
  RunMeasure measure;
  if (!o.measure_file.empty() && !measure.open(o.measure_file)) {
    std::fprintf(stderr, "torv: cannot write \"%s\"\n", o.measure_file.c_str());
    return 2;
  }

  const std::string user_folder = prepare_user_folder();
  if (user_folder.empty()) {
    return fail(nullptr, "The folder for the save file cannot be made (is HOME or XDG_DATA_HOME set?).");
  }
  InstanceLock lock;
  if (!lock.acquire(path_in(user_folder, kInstanceLockFile))) {
    // As on Windows: the second start says so and ends quietly.
    show_message(MessageKind::kInformation, nullptr, kWindowTitle, utf8_from_shift_jis(text::kAlreadyRunning));
    return 0;
  }
  std::string searched;
  const std::string data = locate_archives(o.data_dir, &searched);
  if (data.empty()) {
    return fail(nullptr, std::string("The game's archives \"") + kDataArchive + "\" and \"" + kStageArchive +
                             "\" were not found in: " + searched + ".");
  }

  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
    return fail(nullptr, std::string("The game needs a display: ") + SDL_GetError());
  }
  // Pads are optional: without the subsystem the game reads the keyboard alone.
  SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER);

  PerformanceClock real_time;
  SimulatedClock simulated_time;
  HostClock& clock = o.deterministic ? static_cast<HostClock&>(simulated_time) : real_time;
  IniFileSettings settings(path_in(user_folder, kSettingsFile));
  int status = 0;
  {
    SdlShell shell(clock, settings);
    HostGame game(shell, {data, path_in(user_folder, kSaveFile), o.font});
    if (!game.load(&error)) {
      status = fail(nullptr, error);
    } else {
      if (o.deterministic || o.seeded) game.fix_random_seed(o.seed);
      Image icon;
      const bool have_icon = make_window_icon(game.images(), &icon);
      WindowOptions window;
      window.scale = o.window_scale;
      window.fullscreen = read_setting_number(settings, kKeyFullScreen, kDefaultFullScreen) == 1;
      if (!shell.open_window(window, have_icon ? &icon : nullptr, &error)) {
        status = fail(nullptr, error);
      } else {
        AudioOutput audio;
        std::string audio_error;
        if (!audio.open(game.mixer(), &audio_error)) {
          std::fprintf(stderr, "torv: no sound (%s); the game plays silent\n", audio_error.c_str());
        }
        shell.pads().open_first();
        if (recorder.active()) shell.watch_presented([&](const FrameView& frame) { recorder.record(frame); });
        if (!o.script.empty()) shell.feed_script(&script);
        if (measure.active()) {
          game.on_frame([&](const FrameView&) { measure.picture_presented(); });
          // Lateness means something on the real clock only.
          if (!o.deterministic) {
            game.on_frame_released([&](uint32_t due_ms) { measure.frame_released(real_time.seconds() * 1000.0 - due_ms); });
          }
        }
        game.run();
        audio.close();
        if (!o.script.empty()) {
          const int frames = std::min(shell.script_frames(), static_cast<int>(script.frames.size()));
          std::printf("%s\n", outcome_line(shell.game_quit() ? "quit" : "stopped", frames, game.state()).c_str());
        }
      }
    }
  }
  SDL_Quit();
  return status;
}

}  // namespace
}  // namespace torv

int main(int argc, char** argv) { return torv::run(argc, argv); }
