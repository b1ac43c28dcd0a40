// Feeds arbitrary bytes to the archive reader as an archive file and reads every
// member by index and by title, and writes each out: nothing may crash, leak or
// read past the file.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "archive/tam_archive_expand.h"

namespace {

// One scratch file pair per fuzzing process.
struct ScratchFiles {
  std::string archive, member;
  ScratchFiles() {
    char pattern[] = "/tmp/fuzz_archive_reader_XXXXXX";
    const int fd = mkstemp(pattern);
    if (fd < 0) std::abort();
    close(fd);
    archive = pattern;
    member = archive + ".member";
  }
  ~ScratchFiles() {
    std::remove(archive.c_str());
    std::remove(member.c_str());
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static ScratchFiles files;
  std::FILE* f = std::fopen(files.archive.c_str(), "wb");
  if (!f) std::abort();
  if (size > 0 && std::fwrite(data, 1, size, f) != size) std::abort();
  std::fclose(f);

  CTamArchiveExpand reader;
  if (reader.OpenArchive(files.archive.c_str()) != 0) {
    if (reader.GetDataCount() != 0) std::abort();  // a failed open leaves no archive
    return 0;
  }
  const int count = reader.GetDataCount();
  if (count < 0 || static_cast<size_t>(count) > size / 264) std::abort();
  for (int i = 0; i < count; ++i) {
    unsigned char* payload = nullptr;
    const int n = reader.GetMemory(i, &payload);
    if (n >= 0) {
      if (n != reader.GetDataSize(i)) std::abort();
      volatile unsigned char sink = 0;
      for (int k = 0; k < n; ++k) sink = sink ^ payload[k];  // ASan checks every byte handed out
    }
    const std::string title = reader.GetFileTitle(i);
    if (title.size() > 255) std::abort();
    const int by_title = reader.GetMemory(title.c_str(), &payload);
    if (by_title >= 0 && by_title != reader.GetDataSize(reader.FindTitle(title.c_str()))) std::abort();
    reader.SaveFile(i, files.member.c_str());
  }
  return 0;
}
