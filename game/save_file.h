// "save.dat": the key configuration and nine save slots.
//
// Layout (integers 32-bit signed little-endian; texts complemented, see
// common/complemented_text.h): the tag "TORVSaveData" as a text, the 10 key
// configuration bytes as they are, then for each of the nine slots its four texts
// (stage file, archive, stage title, next stage file) and six integers (fire, ice,
// score, lives, holy water, stage number). Nine empty slots make 386 bytes.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "game/game_progress.h"
#include "game/input_map.h"

namespace torv {

inline constexpr char kSaveFile[] = "save.dat";
inline constexpr char kSaveTag[] = "TORVSaveData";
inline constexpr int kSaveSlots = 9;
using SaveSlots = std::array<GameProgress, kSaveSlots>;

std::vector<uint8_t> encode_save(const KeyConfig& keys, const SaveSlots& slots);

enum class SaveReadResult {
  kLoaded,     // keys and slots replaced
  kNoFile,     // nothing to read: defaults stay
  kForeign,    // not a save file (tag differs): defaults stay
  kReadError,  // truncated or damaged: defaults stay, nothing half-read is kept
};

// Decodes a whole file. Keys and slots change only on kLoaded, so a damaged file
// never leaves a mix of read and default values.
SaveReadResult decode_save(const uint8_t* data, size_t size, KeyConfig& keys, SaveSlots& slots);

// Writes the file atomically: the bytes go to "<path>.tmp" beside it, are flushed,
// and the temporary file is renamed over path, so a crash while saving leaves
// either the old or the new file, never a torn one. Answers false on failure
// (nothing is reported to the player; the in-memory values stay).
bool write_save_file(const std::string& path, const KeyConfig& keys, const SaveSlots& slots);

// Reads path into keys and slots by the rules of decode_save. A file larger than
// any save file could be (every text bounded by the file's own size) is read no
// further than its size; nothing is allocated beyond it.
SaveReadResult read_save_file(const std::string& path, KeyConfig& keys, SaveSlots& slots);

}  // namespace torv
