// Feeds arbitrary bytes to the archive reader as an archive file and reads every
// member by index and by title, and writes each out: nothing may crash, leak or
// read past the file.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "archive/tam_archive_expand.h"
#include "scratch_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const fuzz::ScratchFile archive("fuzz_archive_reader");
  static const fuzz::ScratchFile member("fuzz_archive_reader_member");
  archive.Write(data, size);

  CTamArchiveExpand reader;
  if (reader.OpenArchive(archive.c_str()) != 0) {
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
    reader.SaveFile(i, member.c_str());
  }
  return 0;
}
