// Stage fingerprints in replay files.
#include "tools/torvsim/replay_notes.h"

#include <cinttypes>
#include <cstdio>
#include <cstdlib>

namespace torv {

namespace {
constexpr char kTag[] = "# stage-fingerprint: ";
}

uint64_t stage_fingerprint(const std::vector<uint8_t>& bytes) {
  uint64_t h = 14695981039346656037ull;
  for (uint8_t b : bytes) h = (h ^ b) * 1099511628211ull;
  return h;
}

std::string fingerprint_line(const std::vector<uint8_t>& bytes) {
  char line[64];
  std::snprintf(line, sizeof line, "%s%016" PRIx64 "\n", kTag, stage_fingerprint(bytes));
  return line;
}

bool recorded_fingerprint(const std::string& script_text, uint64_t* out) {
  const size_t at = script_text.find(kTag);
  if (at == std::string::npos) return false;
  const char* digits = script_text.c_str() + at + sizeof kTag - 1;
  char* end = nullptr;
  const unsigned long long value = std::strtoull(digits, &end, 16);
  if (end != digits + 16) return false;
  *out = value;
  return true;
}

}  // namespace torv
