// Reading stage files through a temporary file.
#include "game/stage_extract.h"

#include <atomic>
#include <cstdio>

#include "common/format_text.h"
#include "common/portable.h"

namespace torv {

bool read_whole_file(const std::string& path, std::vector<uint8_t>& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  std::vector<uint8_t> data;
  uint8_t buffer[16384];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) data.insert(data.end(), buffer, buffer + n);
  const bool ok = !std::ferror(f);
  std::fclose(f);
  if (ok) bytes.swap(data);
  return ok;
}

std::string unused_temp_name() {
  // Started from the clock so that another instance of the program (or one before
  // it that crashed) does not pick the same names; checked against the disk.
  static std::atomic<uint32_t> counter{tick_ms()};
  for (;;) {
    const std::string name = format_text("torv_stage_%08x.tmp", counter.fetch_add(1));
    if (!file_readable(name.c_str())) return name;
  }
}

int fetch_stage_file(const std::string& file, const std::string& archive, const OpenArchiveCall& open_archive,
                     const SaveMemberCall& save_member, std::vector<uint8_t>& bytes) {
  if (archive.empty()) return read_whole_file(file, bytes) ? 0 : -1;
  if (open_archive(archive.c_str()) != 0) return -1;
  const std::string temp = unused_temp_name();
  const int saved = save_member(file.c_str(), temp.c_str());
  const bool read = saved == 0 && read_whole_file(temp, bytes);
  std::remove(temp.c_str());  // whatever happened, nothing stays behind
  return read ? 0 : -1;
}

}  // namespace torv
