// Starting games and stages: reset_progress, reset_player and load_stage, which
// reads a stage file and puts it in play (grid, objects, player, background).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "game/game_state.h"
#include "game/stage_file.h"

namespace torv {

// Where stage files come from. fetch answers 0 and the file's whole content, or a
// negative value (no such archive or member, a file that cannot be read).
class StageSource {
public:
  virtual ~StageSource() = default;
  // archive empty: file is a path on disk; else file is a member of that archive.
  virtual int fetch(const std::string& file, const std::string& archive, std::vector<uint8_t>& bytes) = 0;
};

// A new game's progress: 15 fire and 15 ice ammunition, 5 lives, stage 1, all
// texts empty; then the player is cleared as by reset_player, and the attack mode
// and its switch timer as well (a new game starts in fire mode).
void reset_progress(GameState& state);

// Clears the player's per-stage values. Keeps the attack mode and its switch timer,
// so the chosen mode carries over from stage to stage and across lost lives.
void reset_player(PlayerState& player);

// Puts a stage that has been read whole in play: resets the player, records the
// file names and title, places the player (a start cell more than 2^30 pixels
// beyond the grid counts as that far), fills the grid and its solid layer,
// turns the markers into objects (column-major scan order), reloads the
// background picture "<b>.png" and seeds the random numbers from the clock.
// archive may be empty (a file read from disk keeps the recorded archive name).
void install_stage(GameState& state, const StageFile& stage, const std::string& file,
                   const std::string& archive, SimServices& services);

// Reads file (a member of archive, or a path when archive is empty) and installs
// it. 0 on success; -1 when the file cannot be had or is not a whole, valid stage,
// and then nothing in state has changed: the stage in play stays as it was.
int load_stage(GameState& state, const std::string& file, const std::string& archive, StageSource& source,
               SimServices& services);

}  // namespace torv
