// Test doubles for the game's services and a small fixture for building stages.
#pragma once

#include <array>
#include <map>
#include <string>
#include <vector>

#include "game/game_state.h"
#include "game/image_indices.h"
#include "game/stage_file.h"
#include "game/stage_loader.h"

namespace torv::test {

// Records every effect and answers image sizes from a table. The shot images get
// eight different sizes so that a test notices which one a rule measured.
class FakeServices : public SimServices {
public:
  FakeServices() {
    sizes.fill({-1, -1});
    // Tiles with an image, as the game's resource table loads them.
    for (int i : {1, 2, 3, 4, 5, 8, 9, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 37}) sizes[i] = {24, 24};
    const std::array<std::array<int, 2>, 8> shots = {
        {{20, 10}, {22, 12}, {10, 20}, {12, 22}, {18, 8}, {16, 6}, {8, 18}, {6, 16}}};
    for (int k = 0; k < 8; ++k) sizes[kImageShots + k] = shots[k];
    sizes[kImageStatusBar] = {640, 48};
    sizes[kImageBackground] = {2720, 1656};
    sizes[kImageBlack] = {640, 480};
    sizes[kImageWhite] = {640, 480};
  }

  void play_sound(Effect effect) override { sounds.push_back(effect); }
  int image_width(int index) override { return in_table(index) ? sizes[index][0] : -1; }
  int image_height(int index) override { return in_table(index) ? sizes[index][1] : -1; }
  void reload_background(const std::string& member) override { backgrounds.push_back(member); }
  uint32_t clock_ms() override { return clock; }

  int count(Effect effect) const {
    int n = 0;
    for (Effect e : sounds) n += e == effect;
    return n;
  }

  std::array<std::array<int, 2>, kImageTableSize> sizes;
  std::vector<Effect> sounds;
  std::vector<std::string> backgrounds;
  uint32_t clock = 12345;

private:
  static bool in_table(int index) { return index >= 0 && index < kImageTableSize; }
};

// Stage files kept in memory, by name; the archive name must match.
class MemoryStages : public StageSource {
public:
  int fetch(const std::string& file, const std::string& archive, std::vector<uint8_t>& bytes) override {
    ++fetches;
    if (archive != archive_name) return -1;
    auto it = files.find(file);
    if (it == files.end()) return -2;
    bytes = it->second;
    return 0;
  }
  std::map<std::string, std::vector<uint8_t>> files;
  std::string archive_name = "sdat.tfa";
  int fetches = 0;
};

// A stage with a floor of plain blocks along row 20 and the player standing on
// it in column 5 (x 124, y 463: y + 17 is the floor's top row 480).
inline StageFile flat_stage() {
  StageFile stage;
  stage.title = "test";
  stage.background = 1;
  stage.start_column = 5;
  stage.start_row = 19;
  stage.time_limit_seconds = 300;
  stage.next_base_name = "0002";
  for (int column = 0; column < kGridColumns; ++column) stage.set_tile(column, 20, kTilePlain);
  return stage;
}

constexpr int kFloorRow = 20;
constexpr int kFloorTop = kFloorRow * 24;
constexpr int kRestY = kFloorTop - 17;  // the player's y when standing on the floor

// A game state on a stage, the player at rest on its floor at x.
inline GameState state_on(const StageFile& stage, FakeServices& services, int x = 124) {
  GameState state;
  reset_progress(state);
  install_stage(state, stage, "test.afb", "sdat.tfa", services);
  state.player.x = x;
  state.player.y = kRestY;
  state.player.rise_fall = 12;
  state.player.speed_factor = 1;
  services.sounds.clear();
  return state;
}

inline FrameInput pressed(const std::string& keys) {
  FrameInput in;
  for (char c : keys) {
    switch (c) {
      case 'L': in.left = true; break;
      case 'R': in.right = true; break;
      case 'U': in.up = true; break;
      case 'D': in.down = true; break;
      case 'S': in.dash = true; break;
      case 'J': in.jump = true; break;
      case 'A': in.attack = true; break;
      case 'C': in.attack_switch = true; break;
      case 'P': in.pause = true; break;
      default: break;
    }
  }
  return in;
}

}  // namespace torv::test
