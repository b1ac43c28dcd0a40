// The game's text encoding inside its binary files (stage files, "save.dat"): a
// signed 32-bit little-endian byte count n, then the n bytes, each bitwise
// complemented. Plus the little-endian integer reads those files need.
//
// Readers work on a bounded byte range, so a damaged length can never allocate or
// read past the data that is really there.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace torv {

// Appends the encoding of text (its bytes as they are, Shift-JIS included).
void write_complemented_text(std::vector<uint8_t>& out, const std::string& text);
void write_int32(std::vector<uint8_t>& out, int32_t value);

// Sequential reader over a byte range. Every read answers false on a short or
// damaged read and then leaves the reader failed; nothing it returned before is
// affected.
class ByteReader {
public:
  ByteReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  bool read_int32(int32_t& value);
  bool read_bytes(uint8_t* dest, size_t n);
  // Reads a complemented text: a negative length, one that runs past the end or
  // one above max_bytes is an error; the text ends at the first zero byte, if any.
  bool read_complemented_text(std::string& text, size_t max_bytes = SIZE_MAX);

  size_t position() const { return pos_; }
  size_t remaining() const { return size_ - pos_; }
  bool failed() const { return failed_; }

private:
  bool fail() {
    failed_ = true;
    return false;
  }
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
  bool failed_ = false;
};

}  // namespace torv
