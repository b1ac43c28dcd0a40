// CTamBinary: loose files in and out of memory, and the member scrambling.
#include "archive/tam_binary.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "archive/file_io.h"
#include "common/portable.h"

namespace {

unsigned char rotate_left3(unsigned char v) { return static_cast<unsigned char>((v << 3) | (v >> 5)); }
unsigned char rotate_right3(unsigned char v) { return static_cast<unsigned char>((v >> 3) | (v << 5)); }

// Copies text into a zeroed field of size bytes; false when it does not fit with
// its terminator (a cut title or path would name a different file).
bool set_field(char* field, size_t size, const char* text) {
  std::memset(field, 0, size);
  if (!text) return true;
  const size_t n = std::strlen(text);
  if (n >= size) return false;
  std::memcpy(field, text, n);
  return true;
}

}  // namespace

CTamBinary::CTamBinary() : size_(0), data_(nullptr) {
  std::memset(title_, 0, sizeof title_);
  std::memset(path_, 0, sizeof path_);
}

CTamBinary::CTamBinary(const CTamBinary& other) : CTamBinary() { CopyFrom(other); }

CTamBinary::CTamBinary(const CTamBinary* other) : CTamBinary() {
  if (other) CopyFrom(*other);
}

CTamBinary& CTamBinary::operator=(const CTamBinary& other) {
  if (this != &other) CopyFrom(other);
  return *this;
}

CTamBinary::~CTamBinary() { std::free(data_); }

void CTamBinary::CopyFrom(const CTamBinary& other) {
  std::memcpy(title_, other.title_, sizeof title_);
  std::memcpy(path_, other.path_, sizeof path_);
  unsigned char* copy = nullptr;
  int size = 0;
  if (other.data_ && other.size_ > 0) {
    copy = static_cast<unsigned char*>(std::malloc(static_cast<size_t>(other.size_)));
    if (copy) {
      std::memcpy(copy, other.data_, static_cast<size_t>(other.size_));
      size = other.size_;
    }
  }
  ReplaceData(copy, size);
}

void CTamBinary::ReplaceData(unsigned char* data, int size) {
  std::free(data_);
  data_ = data;
  size_ = data ? size : 0;
}

int CTamBinary::OpenData(const char* path) {
  if (!path || std::strlen(path) >= sizeof path_) return -1;
  const char* slash = std::strrchr(path, '\\');
  const char* title = slash ? slash + 1 : path;
  if (std::strlen(title) >= sizeof title_) return -1;
  if (!torv::regular_file_readable(path)) return -1;

  std::FILE* f = std::fopen(path, "rb");
  if (!f) return -1;
  const int64_t length = torv::file_length(f);
  if (length < 0 || length > INT_MAX) {
    std::fclose(f);
    return -1;
  }
  unsigned char* data = nullptr;
  if (length > 0) {
    data = static_cast<unsigned char*>(std::malloc(static_cast<size_t>(length)));
    if (!data || std::fread(data, 1, static_cast<size_t>(length), f) != static_cast<size_t>(length)) {
      std::free(data);
      std::fclose(f);
      return -1;
    }
  }
  std::fclose(f);
  ReplaceData(data, static_cast<int>(length));
  set_field(path_, sizeof path_, path);
  set_field(title_, sizeof title_, title);
  return 0;
}

int CTamBinary::OpenDataFromMemory(const unsigned char* src, int len, const char* title) {
  if (!src || len <= 0) return -1;
  if (title && std::strlen(title) >= sizeof title_) return -1;
  unsigned char* data = static_cast<unsigned char*>(std::malloc(static_cast<size_t>(len)));
  if (!data) return -1;
  std::memcpy(data, src, static_cast<size_t>(len));
  ReplaceData(data, len);
  set_field(path_, sizeof path_, nullptr);
  set_field(title_, sizeof title_, title);
  return 0;
}

int CTamBinary::SaveData(const char* path) const {
  if (!data_) return -1;
  return torv::write_whole_file(path, data_, size_);
}

int CTamBinary::Encrypt() { return Encrypt(static_cast<uint8_t>(torv::tick_ms() & 0xFF)); }

int CTamBinary::Encrypt(uint8_t seed) {
  if (!data_) return 0;
  if (size_ == INT_MAX) return -1;
  unsigned char* block = static_cast<unsigned char*>(std::malloc(static_cast<size_t>(size_) + 1));
  if (!block) return -1;
  block[0] = seed;
  for (int i = 0; i < size_; ++i) block[i + 1] = rotate_left3(static_cast<unsigned char>(data_[i] + seed));
  ReplaceData(block, size_ + 1);
  return 0;
}

int CTamBinary::Decrypt() {
  if (!data_) return 0;
  const int payload_size = size_ - 1;
  unsigned char* payload = nullptr;
  if (payload_size > 0) {
    payload = static_cast<unsigned char*>(std::malloc(static_cast<size_t>(payload_size)));
    if (!payload) return -1;
    const unsigned char seed = data_[0];
    for (int i = 0; i < payload_size; ++i) payload[i] = static_cast<unsigned char>(rotate_right3(data_[i + 1]) - seed);
  }
  ReplaceData(payload, payload_size);
  return 0;
}
