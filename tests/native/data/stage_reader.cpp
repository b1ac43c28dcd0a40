// Stage file reading for the tests.
#include "tests/native/data/stage_reader.h"

#include <cstring>

#include "common/complemented_text.h"

namespace stage_test {

std::string read_stage(const uint8_t* data, size_t size, StageFile& out) {
  if (size < 6 || std::memcmp(data, "TORV", 4) != 0) return "bad magic";
  const int version = data[4] | (data[5] << 8);
  if (version != 3000) return "version " + std::to_string(version);
  torv::ByteReader in(data + 6, size - 6);
  StageFile s;
  if (!in.read_complemented_text(s.title)) return "short title";
  if (!in.read_int32(s.background) || !in.read_int32(s.start_column) || !in.read_int32(s.start_row) ||
      !in.read_int32(s.time_seconds))
    return "short numbers";
  if (!in.read_complemented_text(s.next)) return "short next-stage name";
  s.tiles.resize(static_cast<size_t>(kColumns) * kRows);
  if (!in.read_bytes(s.tiles.data(), s.tiles.size())) return "short tile layer";
  if (in.remaining() != 0) return std::to_string(in.remaining()) + " bytes after the tiles";
  out = std::move(s);
  return "";
}

bool solid_code(int code) { return (code >= 1 && code <= 4) || (code >= 28 && code <= 33) || code == 37; }

bool valid_sjis(const std::string& text) {
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if ((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC)) {
      if (i + 1 >= text.size()) return false;
      const unsigned char t = static_cast<unsigned char>(text[++i]);
      if (t < 0x40 || t == 0x7F || t > 0xFC) return false;
    } else if (c == 0x80 || c == 0xA0 || c >= 0xFD || c < 0x20) {
      return false;
    }
  }
  return true;
}

}  // namespace stage_test
