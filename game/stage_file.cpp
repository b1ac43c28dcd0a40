// Reading and writing the stage file format.
#include "game/stage_file.h"

#include <cstdint>
#include <cstring>

#include "common/complemented_text.h"

namespace torv {

namespace {

constexpr char kMagic[4] = {'T', 'O', 'R', 'V'};

// The start cell's pixel coordinate (cell * 24 + 4) must be a 32-bit int; where it
// lies is the play's business (above the grid the player falls in, beyond its
// sides it is brought back on the first frame).
bool start_fits(int32_t cell) {
  const int64_t pixel = int64_t{cell} * kCellSize + kStartInset;
  return pixel >= INT32_MIN && pixel <= INT32_MAX;
}

}  // namespace

StageFileError read_stage_file(const uint8_t* data, size_t size, StageFile* out) {
  ByteReader reader(data, size);
  uint8_t head[6];
  if (!reader.read_bytes(head, sizeof head)) return StageFileError::kTruncated;
  const unsigned version = head[4] | (head[5] << 8);
  if (std::memcmp(head, kMagic, 4) != 0) return StageFileError::kBadMagic;
  if (version != kStageFormatVersion) return StageFileError::kBadVersion;

  StageFile stage;
  if (!reader.read_complemented_text(stage.title) || !reader.read_int32(stage.background) ||
      !reader.read_int32(stage.start_column) || !reader.read_int32(stage.start_row) ||
      !reader.read_int32(stage.time_limit_seconds) || !reader.read_complemented_text(stage.next_base_name) ||
      !reader.read_bytes(stage.tiles.data(), stage.tiles.size())) {
    return StageFileError::kTruncated;
  }
  if (!start_fits(stage.start_column) || !start_fits(stage.start_row)) return StageFileError::kBadStart;
  if (stage.time_limit_seconds < 0 || stage.time_limit_seconds > kMaxStageSeconds) {
    return StageFileError::kBadTimeLimit;
  }
  if (stage.title.size() > kMaxStageTextBytes || stage.next_base_name.size() > kMaxStageTextBytes) {
    return StageFileError::kLongText;
  }
  *out = std::move(stage);
  return StageFileError::kNone;
}

std::vector<uint8_t> write_stage_file(const StageFile& stage) {
  std::vector<uint8_t> out(kMagic, kMagic + 4);
  out.push_back(static_cast<uint8_t>(kStageFormatVersion & 0xFF));
  out.push_back(static_cast<uint8_t>(kStageFormatVersion >> 8));
  write_complemented_text(out, stage.title);
  write_int32(out, stage.background);
  write_int32(out, stage.start_column);
  write_int32(out, stage.start_row);
  write_int32(out, stage.time_limit_seconds);
  write_complemented_text(out, stage.next_base_name);
  out.insert(out.end(), stage.tiles.begin(), stage.tiles.end());
  return out;
}

const char* stage_file_error_text(StageFileError error) {
  switch (error) {
    case StageFileError::kNone: return "ok";
    case StageFileError::kTruncated: return "the file ends before the stage does";
    case StageFileError::kBadMagic: return "not a stage file (magic is not \"TORV\")";
    case StageFileError::kBadVersion: return "unsupported stage format version (not 3000)";
    case StageFileError::kBadStart: return "the start cell's pixel position does not fit a 32-bit integer";
    case StageFileError::kBadTimeLimit: return "the time limit is negative or too long";
    case StageFileError::kLongText: return "the title or the next stage name is longer than 255 bytes";
  }
  return "unknown error";
}

}  // namespace torv
