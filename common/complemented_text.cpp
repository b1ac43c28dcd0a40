#include "complemented_text.h"

#include <cstring>

namespace torv {

void write_int32(std::vector<uint8_t>& out, int32_t value) {
  uint32_t v = static_cast<uint32_t>(value);
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void write_complemented_text(std::vector<uint8_t>& out, const std::string& text) {
  write_int32(out, static_cast<int32_t>(text.size()));
  for (unsigned char c : text) out.push_back(static_cast<uint8_t>(~c));
}

bool ByteReader::read_bytes(uint8_t* dest, size_t n) {
  if (failed_ || n > size_ - pos_) return fail();
  if (n) std::memcpy(dest, data_ + pos_, n);
  pos_ += n;
  return true;
}

bool ByteReader::read_int32(int32_t& value) {
  uint8_t b[4];
  if (!read_bytes(b, 4)) return false;
  value = static_cast<int32_t>(static_cast<uint32_t>(b[0]) | static_cast<uint32_t>(b[1]) << 8 |
                               static_cast<uint32_t>(b[2]) << 16 | static_cast<uint32_t>(b[3]) << 24);
  return true;
}

bool ByteReader::read_complemented_text(std::string& text, size_t max_bytes) {
  int32_t n = 0;
  if (!read_int32(n)) return false;
  // Bounded by what is left before anything is allocated.
  if (n < 0 || static_cast<size_t>(n) > size_ - pos_ || static_cast<size_t>(n) > max_bytes) return fail();
  const uint8_t* p = data_ + pos_;
  pos_ += static_cast<size_t>(n);
  std::string result;
  for (int32_t i = 0; i < n; ++i) {
    char c = static_cast<char>(~p[i]);
    if (c == 0) break;
    result.push_back(c);
  }
  text.swap(result);
  return true;
}

}  // namespace torv
