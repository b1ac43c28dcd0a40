// The ".tfa" archive layout shared by the reader, the writer and the tools.
//
//   0   int32 header size (always 8)   4   int32 member count N
//   8   N directory entries of 264 bytes: int32 stored size, int32 absolute
//       offset, 256-byte title stored bitwise inverted (padding included)
//   then the member blocks back to back: one seed byte, then the scrambled payload
//
// Integers are little-endian; there is no padding and no checksum.
#pragma once

#include <cstdint>

namespace torv {

constexpr int kArchiveHeaderSize = 8;
constexpr int kArchiveEntrySize = 264;
constexpr int kArchiveTitleSize = 256;  // a title is at most 255 bytes plus its terminator
constexpr int kArchivePathSize = 1024;  // the reader's archive path field
constexpr int kBinaryPathSize = 2048;   // CTamBinary's path field

// One directory entry as the reader holds it: integers in host order, title plain.
struct ArchiveEntry {
  int32_t size;    // stored size: payload length + 1 (the seed byte)
  int32_t offset;  // absolute file offset of the block
  char title[kArchiveTitleSize];
};
static_assert(sizeof(ArchiveEntry) == kArchiveEntrySize, "directory entries are packed on disk");

inline int32_t read_le32(const unsigned char* p) {
  return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
                              static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24);
}

inline void write_le32(unsigned char* p, int32_t value) {
  const uint32_t v = static_cast<uint32_t>(value);
  p[0] = static_cast<unsigned char>(v);
  p[1] = static_cast<unsigned char>(v >> 8);
  p[2] = static_cast<unsigned char>(v >> 16);
  p[3] = static_cast<unsigned char>(v >> 24);
}

}  // namespace torv
