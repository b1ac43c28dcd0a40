// Writing of stage files.
#include "tools/stagec/stage_file.h"

#include "common/complemented_text.h"

namespace stagec {

std::vector<uint8_t> encode_stage(const Stage& stage) {
  std::vector<uint8_t> out = {'T', 'O', 'R', 'V', static_cast<uint8_t>(kStageVersion & 0xFF),
                              static_cast<uint8_t>(kStageVersion >> 8)};
  torv::write_complemented_text(out, stage.title_sjis);
  torv::write_int32(out, stage.background);
  torv::write_int32(out, stage.start_column);
  torv::write_int32(out, stage.start_row);
  torv::write_int32(out, stage.time_seconds);
  torv::write_complemented_text(out, stage.next);
  for (int c = 0; c < kColumns; ++c) out.insert(out.end(), stage.tiles[c].begin(), stage.tiles[c].end());
  return out;
}

}  // namespace stagec
