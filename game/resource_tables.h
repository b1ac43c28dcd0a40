// What the game loads at start-up from "dat.tfa": the 12 sound effects and the
// music, and the 107-entry image slot table with the indices that share one image.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "game/image_indices.h"

namespace torv {

inline constexpr char kDataArchive[] = "dat.tfa";
inline constexpr char kStageArchive[] = "sdat.tfa";
inline constexpr char kFirstStage[] = "0001.afb";
inline constexpr char kStartMusic[] = "BGM1.ogg";

inline constexpr int kEffectCount = 12;
// Effect handles by number; the play mode names them.
enum Effect : int {
  kEffectBreak, kEffectDead, kEffectEnemyDead, kEffectJump, kEffectMenu, kEffectItem,
  kEffectDamage, kEffectLifeUp, kEffectFire, kEffectFreeze, kEffectClear, kEffectTimeBonus,
};
// Member names of the effects, by Effect.
extern const std::array<const char*, kEffectCount> kEffectFiles;

inline constexpr int kImageSlotCount = kImageTableSize;
inline constexpr int kNoImage = -1;

// One image load: the member, the index that receives its slot, and the indices
// that receive a copy of the same slot number.
struct ImageLoad {
  int index;
  const char* file;
  std::vector<int> copies;
};

// Every image load in the order the game performs them.
const std::vector<ImageLoad>& image_loads();

// Sets every index to kNoImage, then performs image_loads() in order through
// load(file, &slot) (0 = loaded) and copies each loaded slot. Answers the sum of
// the results (0 = all loaded).
int load_image_table(std::array<int32_t, kImageSlotCount>& slots,
                     const std::function<int(const char* file, int* slot)>& load);

// Creates the 12 effects in Effect order and then the music, through the two
// create functions (0 = created; the handle stored). Answers the sum of results.
int load_sound_table(int32_t& music, std::array<int32_t, kEffectCount>& effects,
                     const std::function<int(int* handle, const char* file)>& create_effect,
                     const std::function<int(int* handle, const char* file)>& create_music);

}  // namespace torv
