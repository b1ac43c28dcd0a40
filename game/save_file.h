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
#include "game/stage_file.h"

namespace torv {

inline constexpr char kSaveFile[] = "save.dat";
inline constexpr char kSaveTag[] = "TORVSaveData";
inline constexpr int kSaveSlots = 9;
using SaveSlots = std::array<GameProgress, kSaveSlots>;

// The longest text a slot holds. Stage files keep their title and next stage name
// to kMaxStageTextBytes (a stage file name adds ".afb"); the archive name is a path
// the archive reader takes, at most 1023 bytes.
inline constexpr size_t kMaxSaveTextBytes = 1023;
static_assert(kMaxStageTextBytes + 4 <= kMaxSaveTextBytes, "every stage text fits a slot");
// The largest valid save file: every text of every slot at its longest (37214 bytes).
inline constexpr size_t kMaxSaveFileBytes =
    4 + sizeof kSaveTag - 1 + 2 * kButtonCount + kSaveSlots * (4 * (4 + kMaxSaveTextBytes) + 6 * 4);

std::vector<uint8_t> encode_save(const KeyConfig& keys, const SaveSlots& slots);

enum class SaveReadResult {
  kLoaded,     // keys and slots replaced
  kNoFile,     // nothing to read: defaults stay
  kForeign,    // not a save file (tag differs): defaults stay
  kReadError,  // truncated, damaged or too long: defaults stay, nothing half-read is kept
};

// Decodes a whole file. Keys and slots change only on kLoaded, so a damaged file
// never leaves a mix of read and default values. Data longer than
// kMaxSaveFileBytes, and a text longer than kMaxSaveTextBytes, are read errors.
SaveReadResult decode_save(const uint8_t* data, size_t size, KeyConfig& keys, SaveSlots& slots);

// Writes the file atomically: the bytes go to "<path>.tmp" beside it, are flushed
// to the disk (fsync; _commit on Windows), and the temporary file is renamed over
// path, so a process killed while saving leaves either the old or the new file,
// never a torn one, and at most the one temporary file, which the next save
// reuses and renames away. Answers false on failure (nothing is reported to the
// player; the in-memory values stay).
bool write_save_file(const std::string& path, const KeyConfig& keys, const SaveSlots& slots);

// Reads path into keys and slots by the rules of decode_save. No more than one
// byte past kMaxSaveFileBytes is ever read or allocated, however long the file is:
// a longer file is a read error and the defaults stay.
SaveReadResult read_save_file(const std::string& path, KeyConfig& keys, SaveSlots& slots);

}  // namespace torv
