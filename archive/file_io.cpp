// Portable file checks and writes for the archive library.
#include "archive/file_io.h"

#include <sys/stat.h>

namespace torv {

bool regular_file_readable(const char* path) {
  if (!path || !*path) return false;
#ifdef _WIN32
  struct _stat64 st;
  if (_stat64(path, &st) != 0) return false;
#else
  struct stat st;
  if (stat(path, &st) != 0) return false;
#endif
  if ((st.st_mode & S_IFMT) != S_IFREG) return false;
  std::FILE* f = std::fopen(path, "rb");
  if (!f) return false;
  std::fclose(f);
  return true;
}

int64_t file_length(std::FILE* f) {
#ifdef _WIN32
  if (_fseeki64(f, 0, SEEK_END) != 0) return -1;
  const int64_t length = _ftelli64(f);
  if (_fseeki64(f, 0, SEEK_SET) != 0) return -1;
#else
  if (fseeko(f, 0, SEEK_END) != 0) return -1;
  const int64_t length = ftello(f);
  if (fseeko(f, 0, SEEK_SET) != 0) return -1;
#endif
  return length;
}

int write_whole_file(const char* path, const unsigned char* data, int len) {
  if (!path || len < 0 || (len > 0 && !data)) return -1;
  std::FILE* f = std::fopen(path, "wb");
  if (!f) return -1;
  const bool written = len == 0 || std::fwrite(data, 1, static_cast<size_t>(len), f) == static_cast<size_t>(len);
  const bool closed = std::fclose(f) == 0;
  if (!written || !closed) {
    std::remove(path);
    return -1;
  }
  return 0;
}

}  // namespace torv
