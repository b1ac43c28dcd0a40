// Helpers for the archive tests: a scratch directory, whole-file I/O, and an
// independent model of the archive format that builds archive bytes by hand, so
// the reader can be fed exact (and damaged) files and the writer's output compared.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace archive_test {

using Bytes = std::vector<uint8_t>;

// A fresh directory under the system's temp dir, removed with everything in it.
class ScratchDir {
public:
  ScratchDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "torv_archive_XXXXXX").string();
    if (!mkdtemp(pattern.data())) ADD_FAILURE() << "mkdtemp failed";
    path_ = pattern;
  }
  ~ScratchDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }
  const std::string& path() const { return path_; }

private:
  std::string path_;
};

inline void write_file(const std::string& path, const Bytes& data) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
  ASSERT_TRUE(out.good()) << path;
}

inline Bytes read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline bool file_exists(const std::string& path) { return std::filesystem::exists(path); }

inline Bytes random_bytes(size_t n, uint32_t seed) {
  std::mt19937 gen(seed);
  Bytes b(n);
  for (auto& x : b) x = static_cast<uint8_t>(gen());
  return b;
}

inline Bytes text_bytes(const std::string& s) { return Bytes(s.begin(), s.end()); }

// The block of a payload: the seed, then rotate-left-3 of (byte + seed).
inline Bytes encode_block(const Bytes& payload, uint8_t seed) {
  Bytes block{seed};
  for (uint8_t b : payload) {
    const uint8_t t = static_cast<uint8_t>(b + seed);
    block.push_back(static_cast<uint8_t>((t << 3) | (t >> 5)));
  }
  return block;
}

inline int32_t get32(const Bytes& b, size_t at) {
  return static_cast<int32_t>(b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24);
}

inline void put32(Bytes& b, size_t at, int32_t v) {
  for (int i = 0; i < 4; ++i) b[at + static_cast<size_t>(i)] = static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * i));
}

constexpr size_t kEntry = 264;
inline size_t entry_at(int index) { return 8 + kEntry * static_cast<size_t>(index); }

struct Member {
  std::string title;
  Bytes payload;
  uint8_t seed;
};

// Archive bytes laid out as the format describes, blocks back to back.
inline Bytes build_archive(const std::vector<Member>& members) {
  const int n = static_cast<int>(members.size());
  Bytes out(entry_at(n), 0);
  put32(out, 0, 8);
  put32(out, 4, n);
  for (int i = 0; i < n; ++i) {
    const Bytes block = encode_block(members[static_cast<size_t>(i)].payload, members[static_cast<size_t>(i)].seed);
    const size_t e = entry_at(i);
    put32(out, e, static_cast<int32_t>(block.size()));
    put32(out, e + 4, static_cast<int32_t>(out.size()));
    std::string title = members[static_cast<size_t>(i)].title;
    title.resize(256, '\0');
    for (size_t k = 0; k < 256; ++k) out[e + 8 + k] = static_cast<uint8_t>(~static_cast<uint8_t>(title[k]));
    out.insert(out.end(), block.begin(), block.end());
  }
  return out;
}

// A regular file at a path of exactly length bytes under dir (nested folders keep
// every component within the file system's 255-byte limit). The file name starts
// with a backslash, so the title taken from the path stays short.
inline std::string file_at_path_length(const std::string& dir, size_t length, const Bytes& content) {
  std::string path = dir;
  while (length - path.size() > 201) {
    path += "/" + std::string(199, 'd');
    std::filesystem::create_directory(path);
  }
  path += "/\\" + std::string(length - path.size() - 2, 'f');
  write_file(path, content);
  return path;
}

}  // namespace archive_test
