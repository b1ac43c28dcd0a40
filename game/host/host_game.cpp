// HostGame: loading, the menus' drawing and the hosts' services.
#include "game/host/host_game.h"

#include "common/format_text.h"
#include "game/key_config.h"
#include "game/menu_screen.h"
#include "game/title_menu.h"

namespace torv {

namespace {

constexpr int kFrameRate = 60;

std::string archive_path(const std::string& dir, const char* archive) {
  return dir.empty() ? archive : dir + "/" + archive;
}

}  // namespace

std::string outcome_line(const char* result, int frames, const GameState& state) {
  const PlayerState& p = state.player;
  const GameProgress& g = state.progress;
  return format_text("result=%s frames=%d score=%d lives=%d x=%d y=%d time_left=%d stage=%s stage_number=%d", result,
                     frames, g.score, g.lives, p.x, p.y, p.time_left, g.stage_file.c_str(), g.stage_number);
}

HostGame::HostGame(HostShell& shell, HostPaths paths)
    : shell_(shell), paths_(std::move(paths)), reader_(paths_.data_dir) {
  canvas_.on_frame([this](const FrameView& frame) { frame_done(frame); });
}

HostGame::~HostGame() = default;

bool HostGame::load(std::string* error) {
  for (const char* archive : {kDataArchive, kStageArchive}) {
    if (!reader_.intact(archive)) {
      *error = "The archive \"" + archive_path(paths_.data_dir, archive) + "\" is missing or damaged.";
      return false;
    }
  }
  std::vector<uint8_t> first_stage;
  if (reader_.read(kStageArchive, kFirstStage, first_stage) != 0) {
    *error = "The archive \"" + archive_path(paths_.data_dir, kStageArchive) + "\" lacks the first stage \"" +
             kFirstStage + "\".";
    return false;
  }
  std::string images_error;
  if (!images_.load(reader_, true, &images_error)) {
    *error = "The archive " + images_error + ".";
    return false;
  }
  if (!load_sounds(error)) return false;
  if (!glyphs_.open(paths_.font_file)) {
    *error = "The font \"" + paths_.font_file + "\" cannot be opened.";
    return false;
  }
  build_key_names(key_names_);
  // A missing, foreign or damaged file leaves the default keys and empty slots.
  read_save_file(paths_.save_file, key_config_, saved_);
  return true;
}

bool HostGame::load_sounds(std::string* error) {
  std::string failed;
  auto note = [&](const char* member) { failed += failed.empty() ? member : std::string(", ") + member; };
  for (int i = 0; i < kEffectCount; ++i) {
    auto bytes = std::make_shared<std::vector<uint8_t>>();
    if (reader_.read(kDataArchive, kEffectFiles[i], *bytes) != 0 ||
        !mixer_.load_effect(static_cast<Effect>(i), bytes)) {
      note(kEffectFiles[i]);
    }
  }
  // The music pieces are decoded as they play; here only whether the first decodes.
  auto music = std::make_shared<std::vector<uint8_t>>();
  COggMemoryDecoder probe;
  if (reader_.read(kDataArchive, kStartMusic, *music) != 0 || !probe.Open(music)) note(kStartMusic);
  if (failed.empty()) return true;
  *error = "The archive \"" + archive_path(paths_.data_dir, kDataArchive) + "\" lacks or cannot decode: " + failed + ".";
  return false;
}

void HostGame::run() {
  try {
    run_title_menu(*this);
  } catch (...) {
    // Out of memory in a menu text: end in order rather than abort.
  }
  mixer_.stop_music();
}

void HostGame::wait_frame() {
  // Sleep to the frame's due millisecond in one go; the game's own schedule then
  // finds the frame due and only rolls the second over.
  const bool waiting = !stop_requested();
  // The schedule releases the frame at the first millisecond after it is due.
  const uint32_t release = FrameClock::due_offset(frames_.frames_this_second() + 1, kFrameRate) + 1;
  const uint32_t release_ms = frames_.second_start() + release;
  if (waiting) {
    HostClock& clock = shell_.clock();
    const uint32_t elapsed = clock.now_ms() - frames_.second_start();
    if (elapsed < release) clock.sleep_ms(release - elapsed);
  }
  frames_.wait_frame(kFrameRate, shell_.clock(), stop_);
  if (waiting && release_watcher_) release_watcher_(release_ms);
  shell_.pump_events(*this);
  pad_present_ = shell_.pad_attached() ? 1 : 0;
}

void HostGame::frame_done(const FrameView& frame) {
  shell_.present(frame);
  if (frame_watcher_) frame_watcher_(frame);
}

void HostGame::prepare_menu_text() { menu_colours_ = prepare_menu_canvas(canvas_); }

void HostGame::draw_menu_frame(const std::vector<ScreenText>& texts) {
  draw_menu_screen(canvas_, menu_colours_, texts);
}

bool HostGame::saved_stage(int slot, int32_t& stage_number) {
  stage_number = saved_[slot].stage_number;
  return !saved_[slot].stage_file.empty();
}

void HostGame::start_new_game() {
  // As on Windows, a first stage that does not load leaves the world as it was.
  torv::start_new_game(state_, *this);
  run_play(state_, *this);
}

void HostGame::continue_game(int slot) {
  torv::continue_game(state_, saved_[slot], *this);
  run_play(state_, *this);
}

void HostGame::run_key_option() { torv::run_key_option(*this); }

std::string HostGame::key_name(int vk) { return vk >= 0 && vk < 256 ? key_names_[vk].data() : ""; }

void HostGame::write_save_file() { torv::write_save_file(paths_.save_file, key_config_, saved_); }

void HostGame::start_music(const std::string& member) {
  // A piece that cannot be read or decoded leaves the music silent, as on Windows.
  auto bytes = std::make_shared<std::vector<uint8_t>>();
  if (reader_.read(kDataArchive, member, *bytes) != 0) {
    mixer_.stop_music();
    return;
  }
  mixer_.start_music(bytes);
}

void HostGame::save_progress(int slot, const GameProgress& progress) {
  saved_[slot] = progress;
  write_save_file();
}

void HostGame::get_xy(int32_t& x, int32_t& y) {
  x = 0;
  y = 0;
  if (shell_.pad_attached()) shell_.pad().get_xy(x, y);
}

int HostGame::get_button(int button) { return shell_.pad_attached() ? shell_.pad().get_button(button) : 0; }

int HostGame::get_any_button() { return shell_.pad_attached() ? shell_.pad().get_any_button() : -1; }

}  // namespace torv
