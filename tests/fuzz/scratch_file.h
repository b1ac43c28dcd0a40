// A file of its own for one fuzzing process: made empty under /tmp with a unique
// name, removed when the process ends. Targets that pass their input to a reader
// of files write it here.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace fuzz {

class ScratchFile {
public:
  explicit ScratchFile(const std::string& name) {
    std::string pattern = "/tmp/" + name + "_XXXXXX";
    const int fd = mkstemp(pattern.data());
    if (fd < 0) std::abort();
    close(fd);
    path_ = pattern;
  }
  ~ScratchFile() { std::remove(path_.c_str()); }
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;

  const std::string& path() const { return path_; }
  const char* c_str() const { return path_.c_str(); }

  // Replaces the file's content with size bytes of data.
  void Write(const uint8_t* data, size_t size) const {
    std::FILE* f = std::fopen(path_.c_str(), "wb");
    if (!f) std::abort();
    if (size > 0 && std::fwrite(data, 1, size, f) != size) std::abort();
    std::fclose(f);
  }

private:
  std::string path_;
};

}  // namespace fuzz
