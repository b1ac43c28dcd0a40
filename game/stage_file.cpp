// Reading and writing the stage file format.
#include "game/stage_file.h"

#include <cstring>

#include "common/complemented_text.h"

namespace torv {

namespace {
constexpr char kMagic[4] = {'T', 'O', 'R', 'V'};
}

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
  if (!WorldGrid::in_grid(stage.start_column, stage.start_row)) return StageFileError::kBadStart;
  if (stage.time_limit_seconds < 0 || stage.time_limit_seconds > kMaxStageSeconds) {
    return StageFileError::kBadTimeLimit;
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
    case StageFileError::kBadStart: return "the start cell lies outside the grid";
    case StageFileError::kBadTimeLimit: return "the time limit is negative or too long";
  }
  return "unknown error";
}

}  // namespace torv
