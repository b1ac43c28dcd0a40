// GameProgress: the record of one run through the chain of stages. It outlives the
// stages: load_stage fills the texts, play adds to the numbers, the save file keeps
// nine of them and the status bar shows the current one.
#pragma once

#include <cstdint>
#include <string>

namespace torv {

struct GameProgress {
  // Texts are byte strings in the game's code page (Shift-JIS); no terminator.
  std::string stage_file;       // current stage file name, e.g. "0001.afb"; empty = no game
  std::string archive_name;     // archive the stage was read from, e.g. "sdat.tfa"
  std::string stage_title;      // shown in the status bar
  std::string next_stage_file;  // the stage that follows, base name + ".afb"
  int32_t fire_ammo = 0;
  int32_t ice_ammo = 0;
  int32_t score = 0;
  int32_t lives = 0;
  int32_t holy_water = 0;
  int32_t stage_number = 0;

  bool operator==(const GameProgress& o) const {
    return stage_file == o.stage_file && archive_name == o.archive_name && stage_title == o.stage_title &&
           next_stage_file == o.next_stage_file && fire_ammo == o.fire_ammo && ice_ammo == o.ice_ammo &&
           score == o.score && lives == o.lives && holy_water == o.holy_water && stage_number == o.stage_number;
  }
  bool operator!=(const GameProgress& o) const { return !(*this == o); }
};

}  // namespace torv
