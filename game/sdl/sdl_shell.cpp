// Window, picture and events.
#include "game/sdl/sdl_shell.h"

#include <algorithm>
#include <cstring>

#include "game/host/script_keys.h"
#include "game/sdl/frame_timer.h"
#include "game/sdl/key_events.h"
#include "game/sdl/letterbox.h"
#include "game/sdl/sdl_keys.h"

namespace torv {

namespace {

// Room left around the drawable area for the window's frame when the real size of
// the decorations is not known before the window exists.
constexpr int kFrameAllowanceW = 16;
constexpr int kFrameAllowanceH = 64;

}  // namespace

SdlShell::SdlShell(HostClock& clock, SettingsStore& settings) : clock_(clock), settings_(settings) {}

SdlShell::~SdlShell() {
  if (texture_) SDL_DestroyTexture(texture_);
  if (renderer_) SDL_DestroyRenderer(renderer_);
  if (window_) SDL_DestroyWindow(window_);
}

bool SdlShell::open_window(const WindowOptions& options, const Image* icon, std::string* error) {
  int scale = options.scale;
  if (scale <= 0) {
    SDL_Rect usable{0, 0, kPictureWidth, kPictureHeight};
    SDL_GetDisplayUsableBounds(0, &usable);
    scale = initial_window_scale(usable.w, usable.h, kFrameAllowanceW, kFrameAllowanceH);
  }
  // Hidden until its renderer exists: making one may replace the system's window
  // (an OpenGL renderer needs a window made for it), which should not flicker.
  Uint32 flags = SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI | SDL_WINDOW_HIDDEN;
  if (options.fullscreen) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
  window_ = SDL_CreateWindow(kWindowTitle, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kPictureWidth * scale,
                             kPictureHeight * scale, flags);
  if (!window_) {
    *error = std::string("The game window cannot be opened: ") + SDL_GetError();
    return false;
  }
  SDL_SetWindowMinimumSize(window_, kPictureWidth, kPictureHeight);
  if (icon && !icon->pixels.empty()) {
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint8_t*>(icon->pixels.data()), icon->width,
                                                              icon->height, 32, icon->width * 4,
                                                              SDL_PIXELFORMAT_ARGB8888);
    if (surface) {
      SDL_SetWindowIcon(window_, surface);
      SDL_FreeSurface(surface);
    }
  }
  // Whole-number scaling of a pixel-art picture: nearest neighbour.
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
  renderer_ = SDL_CreateRenderer(window_, -1, 0);
  if (!renderer_) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
  if (!renderer_) {
    *error = std::string("The game window cannot be drawn in: ") + SDL_GetError();
    return false;
  }
  // The frame's bytes are blue, green, red and an unused fourth: XRGB as a 32-bit value.
  texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, kPictureWidth,
                               kPictureHeight);
  if (!texture_) {
    *error = std::string("The game picture cannot be made: ") + SDL_GetError();
    return false;
  }
  SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
  SDL_ShowWindow(window_);
  SDL_RenderClear(renderer_);
  SDL_RenderPresent(renderer_);
  return true;
}

void SdlShell::present(const FrameView& frame) {
  if (!texture_) return;
  // A picture like the one on screen (the title and the menus, frame after frame)
  // is not sent again, unless every presented picture is being read back.
  const size_t bytes = static_cast<size_t>(frame.pitch_bytes) * frame.height;
  if (!presented_watcher_ && have_picture_ && shown_.size() == bytes &&
      std::memcmp(shown_.data(), frame.bits, bytes) == 0) {
    return;
  }
  shown_.assign(frame.bits, frame.bits + bytes);
  SDL_UpdateTexture(texture_, nullptr, frame.bits, frame.pitch_bytes);
  have_picture_ = true;
  draw_picture(static_cast<bool>(presented_watcher_));
}

void SdlShell::draw_picture(bool read_back) {
  if (!have_picture_) return;
  int width = 0, height = 0;
  SDL_GetRendererOutputSize(renderer_, &width, &height);
  const PictureRect place = letterbox(width, height);
  const SDL_Rect target{place.x, place.y, place.w, place.h};
  SDL_RenderClear(renderer_);
  SDL_RenderCopy(renderer_, texture_, nullptr, &target);
  // Read before the present, while the picture is certainly in the back buffer; a
  // picture cut at the window's edges is not read.
  if (read_back && place.x >= 0 && place.y >= 0) {
    const int scale = place.w / kPictureWidth;
    read_back_.resize(static_cast<size_t>(place.w) * place.h * 4);
    if (SDL_RenderReadPixels(renderer_, &target, SDL_PIXELFORMAT_ARGB8888, read_back_.data(), place.w * 4) == 0) {
      game_pixels_.resize(static_cast<size_t>(kPictureWidth) * kPictureHeight * 4);
      for (int y = 0; y < kPictureHeight; ++y) {
        for (int x = 0; x < kPictureWidth; ++x) {
          const uint8_t* src = &read_back_[(static_cast<size_t>(y * scale) * place.w + x * scale) * 4];
          std::copy(src, src + 4, &game_pixels_[(static_cast<size_t>(y) * kPictureWidth + x) * 4]);
        }
      }
      const FrameView view{game_pixels_.data(), kPictureWidth, kPictureHeight, kPictureWidth * 4};
      presented_watcher_(view);
    }
  }
  SDL_RenderPresent(renderer_);
}

void SdlShell::pump_events(HostGame& game) {
  take_platform_turn();
  if (script_) send_script_frame(game);
  SDL_Event event;
  while (SDL_PollEvent(&event)) handle(event, game);
}

void SdlShell::send_script_frame(HostGame& game) {
  ++script_frame_;
  std::vector<int> keys;
  const bool ended = script_frame_ > static_cast<int>(script_->frames.size());
  if (!ended) keys = script_frame_keys(script_->frames[static_cast<size_t>(script_frame_ - 1)], game.key_config());
  auto send = [&](int vk, bool down) {
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.timestamp = SDL_GetTicks();
    event.key.windowID = window_ ? SDL_GetWindowID(window_) : 0;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    if (key_for_virtual_key(vk, &event.key.keysym)) SDL_PushEvent(&event);
  };
  for (int vk : script_keys_) {
    if (!std::binary_search(keys.begin(), keys.end(), vk)) send(vk, false);
  }
  for (int vk : keys) {
    if (!std::binary_search(script_keys_.begin(), script_keys_.end(), vk)) send(vk, true);
  }
  script_keys_ = keys;
  if (ended) push_quit();
}

void SdlShell::handle(const SDL_Event& event, HostGame& game) {
  switch (event.type) {
    case SDL_QUIT:
      game.request_stop();
      break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      handle_key(event.key, game);
      break;
    case SDL_WINDOWEVENT:
      if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
        // Nothing stays held while another window has the keyboard.
        game.keys().clear_all();
        enter_down_ = alt_down_ = false;
      } else if (event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED || event.window.event == SDL_WINDOWEVENT_EXPOSED) {
        draw_picture(false);
      }
      break;
    case SDL_CONTROLLERDEVICEADDED:
    case SDL_CONTROLLERDEVICEREMOVED:
      pad_.handle_event(event);
      break;
    default:
      break;
  }
}

void SdlShell::handle_key(const SDL_KeyboardEvent& key, HostGame& game) {
  const bool down = key.type == SDL_KEYDOWN;
  const int vk = virtual_key_of(key.keysym);
  if (vk == kVkReturn) enter_down_ = down;
  if (vk == kVkAlt) alt_down_ = down;
  if (down && !key.repeat && vk == kVkF11) {
    toggle_fullscreen();
    return;
  }
  apply_key_event(game.keys(), vk, down, key.repeat != 0, alt_down_ || (key.keysym.mod & KMOD_ALT) != 0);
  // Alt+Enter, once per press in whichever order the two go down.
  if (alt_enter_.check(enter_down_, alt_down_, game.keys())) toggle_fullscreen();
}

void SdlShell::toggle_fullscreen() {
  if (!window_) return;
  const bool on = (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN_DESKTOP) != SDL_WINDOW_FULLSCREEN_DESKTOP;
  if (SDL_SetWindowFullscreen(window_, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0) return;
  settings_.write(kKeyFullScreen, on ? "1" : "0");
  draw_picture(false);
}

void SdlShell::request_quit() {
  game_quit_ = true;
  push_quit();
}

void SdlShell::push_quit() {
  SDL_Event event{};
  event.type = SDL_QUIT;
  SDL_PushEvent(&event);
}

}  // namespace torv
