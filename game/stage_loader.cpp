// reset_progress, reset_player, load_stage.
#include "game/stage_loader.h"

#include <algorithm>

#include "common/format_text.h"
#include "game/object_markers.h"

namespace torv {

namespace {
constexpr int32_t kStartFireAmmo = 15;
constexpr int32_t kStartIceAmmo = 15;
constexpr int32_t kStartLives = 5;
constexpr int kFramesPerSecond = 60;

// A start this far beyond the grid plays like one further out: the first frame
// brings the player back from the sides or loses the life below the grid, and a
// fall from this high lasts weeks. Taking a start further out as this far keeps
// every later sum of a position and an offset inside int.
constexpr int64_t kStartReach = int64_t{1} << 30;

int32_t start_pixel(int32_t cell) {
  const int64_t pixel = int64_t{cell} * kCellSize + kStartInset;
  return static_cast<int32_t>(std::clamp(pixel, -kStartReach, kStartReach));
}

}  // namespace

void reset_player(PlayerState& player) {
  const int32_t mode = player.attack_mode;
  const int32_t switch_timer = player.attack_switch_timer;
  player = PlayerState();
  player.attack_mode = mode;
  player.attack_switch_timer = switch_timer;
}

void reset_progress(GameState& state) {
  state.progress = GameProgress();
  state.progress.fire_ammo = kStartFireAmmo;
  state.progress.ice_ammo = kStartIceAmmo;
  state.progress.lives = kStartLives;
  state.progress.stage_number = 1;
  state.player = PlayerState();
}

void install_stage(GameState& state, const StageFile& stage, const std::string& file,
                   const std::string& archive, SimServices& services) {
  reset_player(state.player);
  GameProgress& progress = state.progress;
  progress.stage_file = file;
  if (!archive.empty()) progress.archive_name = archive;
  progress.stage_title = stage.title;
  progress.next_stage_file = stage.next_base_name + ".afb";

  PlayerState& player = state.player;
  player.x = start_pixel(stage.start_column);
  player.y = start_pixel(stage.start_row);
  player.time_left = stage.time_limit_seconds * kFramesPerSecond;

  WorldGrid& grid = state.grid;
  for (int column = 0; column < kGridColumns; ++column) {
    for (int row = 0; row < kGridRows; ++row) grid.set_tile(column, row, stage.tile(column, row));
  }
  grid.rebuild_solid_layer();

  // Column-major, like the file: this order is the objects' update and drawing order.
  state.objects.clear();
  for (int column = 0; column < kGridColumns; ++column) {
    for (int row = 0; row < kGridRows; ++row) {
      MovingObject object;
      if (object_from_marker(grid.tile(column, row), column, row, state.random, &object)) {
        state.objects.push_back(object);
        grid.set_tile(column, row, kTileEmpty);
      }
    }
  }

  services.reload_background(format_text("%d.png", stage.background));
  state.random.seed(services.clock_ms());
}

int load_stage(GameState& state, const std::string& file, const std::string& archive, StageSource& source,
               SimServices& services) {
  std::vector<uint8_t> bytes;
  if (source.fetch(file, archive, bytes) != 0) return -1;
  StageFile stage;
  if (read_stage_file(bytes.data(), bytes.size(), &stage) != StageFileError::kNone) return -1;
  install_stage(state, stage, file, archive, services);
  return 0;
}

}  // namespace torv
