// The SDL shell around HostGame: the window and its one streaming texture, the
// events (keyboard into the key table, window closing, full-screen switching, pads
// plugged in and out), and optionally an input script fed through the same event
// queue. Everything runs on the main thread, inside the game's wait_frame.
//
// Window: resizable; the picture is scaled by the largest whole number that fits
// (nearest neighbour) and centred with black bars (letterbox.h). Alt+Enter and F11
// switch to the desktop's full screen and back; the choice is kept in "Setting.ini"
// ("FullScreen" of section "Init", as on Windows) for the next start.
#pragma once

#include <SDL2/SDL.h>

#include <functional>
#include <string>
#include <vector>

#include "common/image_decode.h"
#include "game/host/host_game.h"
#include "game/host/ini_settings.h"
#include "game/host/input_script.h"
#include "game/sdl/sdl_pad.h"

namespace torv {

inline constexpr char kWindowTitle[] = "TORV";

struct WindowOptions {
  int scale = 0;  // 0: the largest multiple that fits the desktop's usable area
  bool fullscreen = false;
};

class SdlShell : public HostShell {
public:
  SdlShell(HostClock& clock, SettingsStore& settings);
  ~SdlShell() override;
  SdlShell(const SdlShell&) = delete;
  SdlShell& operator=(const SdlShell&) = delete;

  // Opens the window, its renderer and the picture's texture, with icon (may be
  // null). False with *error saying why (no display, no renderer).
  bool open_window(const WindowOptions& options, const Image* icon, std::string* error);
  SDL_Window* window() const { return window_; }

  // Plays script through the event queue: at each frame the keys that frame holds
  // (script_keys.h) are pressed and released as key events, then the events are
  // handled as a player's would be; after the last frame the window is closed.
  void feed_script(const InputScript* script) { script_ = script; }
  // Reads every presented picture back from the renderer, at the game's 640 x 480
  // (one pixel of each scaled square), and hands it to watcher.
  void watch_presented(std::function<void(const FrameView&)> watcher) { presented_watcher_ = std::move(watcher); }

  // HostShell.
  void pump_events(HostGame& game) override;
  void present(const FrameView& frame) override;
  HostClock& clock() override { return clock_; }
  PadSource& pad() override { return pad_; }
  bool pad_attached() override { return pad_.attached(); }
  void request_quit() override;

  SdlPad& pads() { return pad_; }
  // Script frames sent so far; whether the game itself asked to end (the title's exit).
  int script_frames() const { return script_frame_; }
  bool game_quit() const { return game_quit_; }

private:
  void handle(const SDL_Event& event, HostGame& game);
  void handle_key(const SDL_KeyboardEvent& key, HostGame& game);
  void toggle_fullscreen();
  void send_script_frame(HostGame& game);
  void draw_picture(bool read_back);
  void push_quit();

  HostClock& clock_;
  SettingsStore& settings_;
  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  bool have_picture_ = false;
  SdlPad pad_;
  bool enter_down_ = false;
  bool alt_down_ = false;
  FullscreenToggleLatch alt_enter_;
  const InputScript* script_ = nullptr;
  int script_frame_ = 0;
  bool game_quit_ = false;
  std::vector<int> script_keys_;  // held by the last script frame
  std::function<void(const FrameView&)> presented_watcher_;
  std::vector<uint8_t> shown_;  // the picture on screen
  std::vector<uint8_t> read_back_;
  std::vector<uint8_t> game_pixels_;
};

}  // namespace torv
