// GameSystem's start-up, the menus' drawing and the game thread's body.
#include "game/win32/game_system.h"

#include <mmsystem.h>

#include "game/draw_mode_fallback.h"
#include "game/game_texts.h"
#include "game/key_config.h"
#include "game/menu_screen.h"
#include "game/settings.h"
#include "game/title_menu.h"

namespace torv {

namespace {

constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;
constexpr int kSoundReadBufferSize = 500;
constexpr float kSoundBufferSeconds = 0.1f;

// "Setting.ini" through the Windows profile functions.
class ProfileSettings : public SettingsStore {
public:
  explicit ProfileSettings(std::string path) : path_(std::move(path)) {}
  std::string read(const char* key, const char* fallback) override {
    char value[kSettingValueChars + 1] = {};
    GetPrivateProfileStringA(kSettingsSection, key, fallback, value, sizeof value, path_.c_str());
    return value;
  }
  void write(const char* key, const char* value) override {
    WritePrivateProfileStringA(kSettingsSection, key, value, path_.c_str());
  }

private:
  std::string path_;
};

}  // namespace

GameSystem::GameSystem(HWND window) : window_(window) {
  images_.fill(kNoImage);
  ProfileSettings settings(settings_path());

  switch (modules_.bind()) {
    case BindResult::kBound:
      break;
    case BindResult::kModuleMissing:
      modules_.unload();
      return;
    case BindResult::kEntryMissing:
      MessageBoxA(window_, text::kDllLoadFailed, kGameTitle, MB_OK);
      modules_.unload();
      return;
  }

  if (read_setting_number(settings, kKeyFullScreen, kDefaultFullScreen) == 1) set_fullscreen(true);

  if (!start_drawing()) {
    MessageBoxA(window_, text::kDrawInitFailed, kGameTitle, MB_OK);
    modules_.unload();
    return;
  }
  show_draw_mode();

  const int sum = load_resources();
  if (modules_.get<kJoyInit>()(window_) == 0) pad_present_ = 1;
  if (sum != 0) {
    MessageBoxA(window_, text::kInitNg, "", MB_OK);
    modules_.unload();
  } else {
    init_ok_ = 1;
  }

  build_key_names(key_names_);
  read_save_file(kSaveFile, key_config_, saved_);
}

GameSystem::~GameSystem() {
  // Normally the game thread has unloaded the modules already and this does
  // nothing; it matters only when the game thread could not be started.
  modules_.unload();
}

std::string GameSystem::settings_path() const {
  char directory[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, directory);
  return std::string(directory) + "\\" + kSettingsFile;
}

bool GameSystem::start_drawing() {
  ProfileSettings settings(settings_path());
  const auto init = modules_.get<kDrawInit>();
  return torv::start_drawing(
             read_setting_number(settings, kKeyDraw, kDefaultDraw),
             [&](DRAW_INIT_MODE mode, int use_16bit) {
               return init(window_, kScreenWidth, kScreenHeight, mode, use_16bit);
             },
             settings) != nullptr;
}

void GameSystem::show_draw_mode() {
  // This frame stays on screen while the resources load.
  ProfileSettings settings(settings_path());
  const int draw = read_setting_number(settings, kKeyDraw, kDefaultDraw);
  canvas_.begin_draw();
  canvas_.draw_text_simple(0, 0, canvas_.rgb(255, 255, 255), true, draw_mode_text(draw));
  canvas_.end_draw();
}

int GameSystem::load_resources() {
  modules_.get<kSoundInit>()(window_);
  modules_.get<kSoundSetReadBufferSize>()(kSoundReadBufferSize);
  modules_.get<kSoundSetSoundBufferSec>()(kSoundBufferSeconds);
  const auto effect = modules_.get<kSoundCreateOggSoundBufferNonStreamingFromTfa>();
  const auto music = modules_.get<kSoundCreateOggSoundBufferFromTfa>();
  int sum = load_sound_table(
      music_, effects_, [&](int* handle, const char* file) { return effect(handle, file, kDataArchive); },
      [&](int* handle, const char* file) { return music(handle, file, kDataArchive); });
  const auto image = modules_.get<kDrawCreateImageLoadFromExpTfaFile>();
  sum += load_image_table(images_, [&](const char* file, int* slot) { return image(slot, file, kDataArchive); });
  return sum;
}

void GameSystem::run_game_thread() {
  try {
    torv::run_title_menu(*this);
  } catch (...) {
    // Out of memory in a menu text: end the program in order rather than abort it.
    PostMessageA(window_, WM_QUIT, 0, 0);
  }
  modules_.unload();
  stop_.store(0);
}

void GameSystem::prepare_menu_text() { menu_colours_ = prepare_menu_canvas(canvas_); }

void GameSystem::draw_menu_frame(const std::vector<ScreenText>& texts) {
  draw_menu_screen(canvas_, menu_colours_, texts);
}

bool GameSystem::saved_stage(int slot, int32_t& stage_number) {
  stage_number = saved_[slot].stage_number;
  return !saved_[slot].stage_file.empty();
}

void GameSystem::start_new_game() {
  // The load's result is not examined: a missing first stage leaves the world as it
  // was and the play mode runs on it.
  torv::start_new_game(state_, *this);
  run_play(state_, *this);
}

void GameSystem::continue_game(int slot) {
  torv::continue_game(state_, saved_[slot], *this);
  run_play(state_, *this);
}

void GameSystem::run_key_option() { torv::run_key_option(*this); }

void GameSystem::post_quit() { PostMessageA(window_, WM_QUIT, 0, 0); }

int GameSystem::pad_any_button() { return modules_.get<kJoyGetJoy>()(); }

std::string GameSystem::key_name(int vk) { return vk >= 0 && vk < 256 ? key_names_[vk].data() : ""; }

void GameSystem::write_save_file() { torv::write_save_file(kSaveFile, key_config_, saved_); }

void GameSystem::play_sound(Effect effect) { modules_.get<kSoundPlay>()(effects_[effect]); }

void GameSystem::loop_sound(Effect effect) { modules_.get<kSoundPlayLoop>()(effects_[effect]); }

void GameSystem::stop_sound(Effect effect) { modules_.get<kSoundStop>()(effects_[effect]); }

void GameSystem::start_music(const std::string& member) {
  modules_.get<kSoundReCreateOggSoundBufferFromTfa>()(music_, member.c_str(), kDataArchive);
  modules_.get<kSoundPlayLoop>()(music_);
}

void GameSystem::stop_music() { modules_.get<kSoundStop>()(music_); }

void GameSystem::save_progress(int slot, const GameProgress& progress) {
  saved_[slot] = progress;
  write_save_file();
}

void GameSystem::reload_background(const std::string& member) {
  modules_.get<kDrawReCreateImageLoadFromExpTfaFile>()(images_[kImageBackground], member.c_str(), kDataArchive);
}

void GameSystem::get_xy(int32_t& x, int32_t& y) {
  const uint64_t both = static_cast<uint64_t>(modules_.get<kJoyGetJoyXY>()());
  x = static_cast<int32_t>(static_cast<uint32_t>(both));
  y = static_cast<int32_t>(static_cast<uint32_t>(both >> 32));
}

int GameSystem::get_button(int button) { return modules_.get<kJoyGetJoyBtn>()(button); }

uint32_t GameSystem::now_ms() { return timeGetTime(); }

void GameSystem::sleep_1ms() { Sleep(1); }

void GameSystem::handle_key_message(const MSG& message) {
  torv::handle_key_message(keys_, message.message, message.wParam, message.lParam);
}

void GameSystem::check_fullscreen_toggle() {
  const bool enter = (GetKeyState(VK_RETURN) & 0x8000) != 0;
  const bool alt = (GetKeyState(VK_MENU) & 0x8000) != 0;
  if (alt_enter_.check(enter, alt, keys_)) set_fullscreen(fullscreen_ == 0);
}

void GameSystem::set_fullscreen(bool on) {
  static_assert(sizeof(DEVMODEA) == 156, "the display request is the 156-byte DEVMODEA");
  ProfileSettings settings(settings_path());
  if (on) {
    display_request_ = DEVMODEA{};
    display_request_.dmSize = sizeof(DEVMODEA);
    display_request_.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT | DM_DISPLAYFREQUENCY;
    display_request_.dmPelsWidth = kScreenWidth;
    display_request_.dmPelsHeight = kScreenHeight;
    ShowWindow(window_, SW_SHOWNORMAL);
    RECT desktop{};
    GetClientRect(GetDesktopWindow(), &desktop);
    if (ChangeDisplaySettingsA(&display_request_, CDS_FULLSCREEN) != DISP_CHANGE_SUCCESSFUL) return;
    GetWindowRect(window_, &saved_window_rect_);
    saved_style_ = GetWindowLongA(window_, GWL_STYLE);
    saved_ex_style_ = GetWindowLongA(window_, GWL_EXSTYLE);
    SetWindowPos(window_, nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE);
    SetWindowLongA(window_, GWL_STYLE, saved_style_ & ~(WS_CAPTION | WS_THICKFRAME));
    SetWindowLongA(window_, GWL_EXSTYLE, saved_ex_style_ & ~(WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE));
    SetWindowPos(window_, HWND_NOTOPMOST, 0, 0, kScreenWidth, kScreenHeight, SWP_SHOWWINDOW);
    // The request now describes the mode to return to.
    display_request_.dmPelsWidth = desktop.right - desktop.left;
    display_request_.dmPelsHeight = desktop.bottom - desktop.top;
    settings.write(kKeyFullScreen, "1");
    fullscreen_ = 1;
  } else {
    if (ChangeDisplaySettingsA(&display_request_, CDS_FULLSCREEN) != DISP_CHANGE_SUCCESSFUL) return;
    SetWindowLongA(window_, GWL_STYLE, saved_style_);
    SetWindowLongA(window_, GWL_EXSTYLE, saved_ex_style_);
    SetWindowPos(window_, HWND_NOTOPMOST, saved_window_rect_.left, saved_window_rect_.top,
                 saved_window_rect_.right - saved_window_rect_.left, saved_window_rect_.bottom - saved_window_rect_.top,
                 SWP_SHOWWINDOW);
    settings.write(kKeyFullScreen, "0");
    fullscreen_ = 0;
  }
}

}  // namespace torv
