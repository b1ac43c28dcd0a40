// GameSystem: the one game object. The window thread creates it (the constructor
// binds the modules and loads everything), the game thread runs every screen on it,
// and the window thread destroys it after the game thread has unloaded the modules.
//
// Shared between the two threads without locks: the key table and the stop flag
// (32-bit values written whole) and the window handle.
#pragma once

#include <windows.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <string>

#include "game/frame_clock.h"
#include "game/game_progress.h"
#include "game/game_state.h"
#include "game/input_map.h"
#include "game/key_names.h"
#include "game/key_table.h"
#include "game/menu_host.h"
#include "game/menu_screen.h"
#include "game/play_mode.h"
#include "game/resource_tables.h"
#include "game/save_file.h"
#include "game/win32/module_canvas.h"
#include "game/win32/module_table.h"

namespace torv {

// The game's title: window caption and caption of the start-up boxes.
inline constexpr char kGameTitle[] = "TORV";

class GameSystem : public MenuHost, public PlayHost, public PadSource, public MillisecondClock {
public:
  explicit GameSystem(HWND window);
  GameSystem(const GameSystem&) = delete;
  GameSystem& operator=(const GameSystem&) = delete;
  virtual ~GameSystem();

  int32_t init_ok() const { return init_ok_; }

  // Window thread.
  void handle_key_message(const MSG& message);
  void check_fullscreen_toggle();
  void set_fullscreen(bool on);
  void request_stop() { stop_.store(1); }
  int32_t stop_flag() const { return stop_.load(); }

  // Game thread: the title loop; afterwards the modules are unloaded and the stop
  // flag is cleared, the last touch of this object by the game thread.
  void run_game_thread();

  // MenuHost and PlayHost.
  bool stop_requested() override { return stop_.load(std::memory_order_relaxed) != 0; }
  void wait_frame() override { frames_.wait_frame(60, *this, stop_); }

  // MenuHost.
  bool pressed(Input input) override { return input_.pressed(input); }
  void prepare_menu_text() override;
  void draw_menu_frame(const std::vector<ScreenText>& texts) override;
  bool saved_stage(int slot, int32_t& stage_number) override;
  void start_new_game() override;
  void continue_game(int slot) override;
  void run_key_option() override;
  void post_quit() override;
  KeyConfig& key_config() override { return key_config_; }
  int32_t pad_present() override { return pad_present_; }
  int first_held_key() override { return keys_.first_held(); }
  int pad_any_button() override;
  std::string key_name(int vk) override;
  void write_save_file() override;

  // PlayHost.
  int frame_counter() override { return frames_.frames_this_second(); }
  int measured_fps() override { return frames_.measured_fps(); }
  FrameInput read_input() override { return input_.read(); }
  PlayCanvas& canvas() override { return canvas_; }
  StageSource& stages() override { return stages_; }
  void loop_sound(Effect effect) override;
  void stop_sound(Effect effect) override;
  void start_music(const std::string& member) override;
  void stop_music() override;
  void save_progress(int slot, const GameProgress& progress) override;
  void play_sound(Effect effect) override;
  int image_width(int index) override { return canvas_.image_width(index); }
  int image_height(int index) override { return canvas_.image_height(index); }
  void reload_background(const std::string& member) override;
  uint32_t clock_ms() override { return now_ms(); }

  // PadSource.
  void get_xy(int32_t& x, int32_t& y) override;
  int get_button(int button) override;
  int get_any_button() override { return pad_any_button(); }

  // MillisecondClock: the multimedia timer.
  uint32_t now_ms() override;
  void sleep_1ms() override;

private:
  bool start_drawing();
  void show_draw_mode();
  int load_resources();
  std::string settings_path() const;

  int32_t init_ok_ = 0;
  std::atomic<int32_t> stop_{0};
  DEVMODEA display_request_{};
  RECT saved_window_rect_{};
  LONG saved_style_ = 0;
  LONG saved_ex_style_ = 0;
  HWND window_;
  FrameClock frames_;
  KeyTable keys_;
  int32_t pad_present_ = 0;
  KeyNameTable key_names_{};
  FullscreenToggleLatch alt_enter_;
  KeyConfig key_config_;
  uint8_t fullscreen_ = 0;
  int32_t music_ = 0;
  std::array<int32_t, kEffectCount> effects_{};
  std::array<int32_t, kImageSlotCount> images_{};
  // The stage world, the player, the objects and the current GameProgress.
  GameState state_;
  SaveSlots saved_;
  ModuleTable modules_;
  ModuleCanvas canvas_{modules_, images_};
  ArchiveStageSource stages_{modules_};
  InputMap input_{keys_, key_config_, *this, pad_present_};
  // Menu text colours in the drawing mode's layout.
  MenuColours menu_colours_;
};

}  // namespace torv
