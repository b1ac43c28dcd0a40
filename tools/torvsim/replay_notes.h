// What a replay file says about the stage it was recorded for: a header comment
// "# stage-fingerprint: <16 hex digits>" with a hash of the stage file's bytes, so
// that a replay that no longer finishes its stage can tell whether the stage was
// changed since (and the replays need recording again).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace torv {

// FNV-1a, 64 bits, of the bytes.
uint64_t stage_fingerprint(const std::vector<uint8_t>& bytes);

// The header line for a stage file's bytes, with its newline.
std::string fingerprint_line(const std::vector<uint8_t>& bytes);

// The fingerprint a replay file records; false when it has none.
bool recorded_fingerprint(const std::string& script_text, uint64_t* out);

}  // namespace torv
