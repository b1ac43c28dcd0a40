// HostGame: the whole game (title menu, key configuration, play) over the portable
// pieces of game/host, for a front-end shell that adds only its platform: a window
// to present frames in, events that fill the key table, a clock, a pad and an audio
// stream. The SDL front-end and the headless runner's title mode are such shells, so
// both run the same game code and draw with the same software renderer.
//
// Everything runs on one thread, the one that calls run(): every screen is a modal
// loop, and each of its frames calls wait_frame, which waits for the frame's turn
// on the shell's clock and then lets the shell take its events. Only the mixer is
// also read by an audio thread, through its own lock.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "game/frame_clock.h"
#include "game/game_state.h"
#include "game/host/archive_files.h"
#include "game/host/freetype_glyphs.h"
#include "game/host/image_store.h"
#include "game/host/host_clock.h"
#include "game/host/software_canvas.h"
#include "game/host/sound_mixer.h"
#include "game/input_map.h"
#include "game/key_names.h"
#include "game/key_table.h"
#include "game/menu_host.h"
#include "game/menu_screen.h"
#include "game/play_mode.h"
#include "game/save_file.h"

namespace torv {

class HostGame;

// What a front-end gives the game.
class HostShell {
public:
  virtual ~HostShell() = default;
  // Takes the platform's pending events, once a frame after the wait: keys into
  // game.keys(), a closed window as game.request_stop(), pads plugged in or out.
  virtual void pump_events(HostGame& game) = 0;
  // Shows a finished 640 x 480 frame (B, G, R, x bytes).
  virtual void present(const FrameView& frame) = 0;
  // The clock the frames are paced by.
  virtual HostClock& clock() = 0;
  // The pad, asked only while pad_attached() answers true.
  virtual PadSource& pad() = 0;
  virtual bool pad_attached() = 0;
  // The title menu's exit item: end the program as a closed window does (the shell
  // then calls request_stop from pump_events).
  virtual void request_quit() = 0;
};

struct HostPaths {
  std::string data_dir;   // holds "dat.tfa" and "sdat.tfa"
  std::string save_file;  // "save.dat" with its folder
  std::string font_file;  // the TrueType font of the texts
};

class HostGame : public MenuHost, public PlayHost, private PadSource {
public:
  HostGame(HostShell& shell, HostPaths paths);
  ~HostGame() override;
  HostGame(const HostGame&) = delete;
  HostGame& operator=(const HostGame&) = delete;

  // Loads everything: both archives, every image, every sound, the font, the save
  // file (a missing or damaged one leaves the defaults). False when an archive, an
  // image or a sound is missing or damaged; *error then names the file.
  bool load(std::string* error);

  // Random numbers seeded with this value instead of the clock at every stage and
  // music choice, so that a run can be repeated exactly.
  void fix_random_seed(uint32_t seed) {
    fixed_seed_ = seed;
    seed_fixed_ = true;
  }

  // Runs the title menu until a stop is requested.
  void run();

  void request_stop() { stop_.store(1); }
  KeyTable& keys() { return keys_; }
  SoundMixer& mixer() { return mixer_; }
  const ImageStore& images() const { return images_; }
  const GameState& state() const { return state_; }
  const SaveSlots& saved() const { return saved_; }
  // Called with every finished frame after the shell has presented it.
  void on_frame(std::function<void(const FrameView&)> watcher) { frame_watcher_ = std::move(watcher); }
  // Called as each frame's wait ends, with the clock's millisecond at which the
  // schedule released it (for measuring how late frames start).
  void on_frame_released(std::function<void(uint32_t due_ms)> watcher) { release_watcher_ = std::move(watcher); }

  // MenuHost and PlayHost.
  bool stop_requested() override { return stop_.load(std::memory_order_relaxed) != 0; }
  void wait_frame() override;

  // MenuHost.
  bool pressed(Input input) override { return input_.pressed(input); }
  void prepare_menu_text() override;
  void draw_menu_frame(const std::vector<ScreenText>& texts) override;
  bool saved_stage(int slot, int32_t& stage_number) override;
  void start_new_game() override;
  void continue_game(int slot) override;
  void run_key_option() override;
  void post_quit() override { shell_.request_quit(); }
  KeyConfig& key_config() override { return key_config_; }
  int32_t pad_present() override { return pad_present_; }
  int first_held_key() override { return keys_.first_held(); }
  int pad_any_button() override { return get_any_button(); }
  std::string key_name(int vk) override;
  void write_save_file() override;

  // PlayHost.
  int frame_counter() override { return frames_.frames_this_second(); }
  int measured_fps() override { return frames_.measured_fps(); }
  FrameInput read_input() override { return input_.read(); }
  PlayCanvas& canvas() override { return canvas_; }
  StageSource& stages() override { return stages_; }
  void loop_sound(Effect effect) override { mixer_.play_effect(effect, true); }
  void stop_sound(Effect effect) override { mixer_.stop_effect(effect); }
  void start_music(const std::string& member) override;
  void stop_music() override { mixer_.stop_music(); }
  void save_progress(int slot, const GameProgress& progress) override;
  void play_sound(Effect effect) override { mixer_.play_effect(effect, false); }
  int image_width(int index) override { return images_.width(index); }
  int image_height(int index) override { return images_.height(index); }
  void reload_background(const std::string& member) override { images_.reload_background(member); }
  uint32_t clock_ms() override { return seed_fixed_ ? fixed_seed_ : shell_.clock().now_ms(); }

private:
  // PadSource: the shell's pad, centred and released while none is attached.
  void get_xy(int32_t& x, int32_t& y) override;
  int get_button(int button) override;
  int get_any_button() override;

  bool load_sounds(std::string* error);
  void frame_done(const FrameView& frame);

  HostShell& shell_;
  HostPaths paths_;
  std::atomic<int32_t> stop_{0};
  FrameClock frames_;
  KeyTable keys_;
  int32_t pad_present_ = 0;
  KeyNameTable key_names_{};
  KeyConfig key_config_;
  SaveSlots saved_;
  GameState state_;
  ArchiveReader reader_;
  ReaderStageSource stages_{reader_};
  ImageStore images_;
  FreeTypeGlyphs glyphs_;
  SoftwareCanvas canvas_{images_, &glyphs_};
  SoundMixer mixer_;
  InputMap input_{keys_, key_config_, *this, pad_present_};
  MenuColours menu_colours_;
  bool seed_fixed_ = false;
  uint32_t fixed_seed_ = 0;
  std::function<void(const FrameView&)> frame_watcher_;
  std::function<void(uint32_t)> release_watcher_;
};

// The one line a scripted run prints at its end: "result=... frames=... score=...
// lives=... x=... y=... time_left=... stage=... stage_number=...".
std::string outcome_line(const char* result, int frames, const GameState& state);

}  // namespace torv
