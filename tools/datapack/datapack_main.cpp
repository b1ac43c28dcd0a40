// datapack: packs files into a ".tfa" archive with the archive writer, each member
// titled by its file name. Seeds come from the titles, not the clock, so the same
// inputs always give the same archive bytes.
//   datapack OUT.tfa FILE...
#include <cstdio>
#include <set>
#include <string>

#include "archive/tam_archive_create.h"
#include "tools/contentkit/text_source.h"

namespace {

uint8_t title_seed(const std::string& title) {
  uint32_t h = 2166136261u;  // FNV-1a
  for (unsigned char c : title) h = (h ^ c) * 16777619u;
  return static_cast<uint8_t>(h ^ (h >> 8) ^ (h >> 16) ^ (h >> 24));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: datapack OUT.tfa FILE...\n");
    return 2;
  }
  CTamArchiveCreate archive;
  std::set<std::string> titles;  // lowercase: lookups ignore case
  for (int i = 2; i < argc; ++i) {
    const std::string path = argv[i];
    const std::string title = path.substr(path.find_last_of('/') + 1);
    std::string folded = title;
    for (char& c : folded)
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (!titles.insert(folded).second) {
      std::fprintf(stderr, "datapack: %s: a member of that name (ignoring case) is already packed\n", path.c_str());
      return 1;
    }
    std::string bytes;
    if (!contentkit::read_text_file(path, bytes)) {
      std::fprintf(stderr, "datapack: cannot read %s\n", path.c_str());
      return 1;
    }
    if (bytes.size() > 0x7FFFFFF0u ||
        archive.AddMemory(reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<int>(bytes.size()),
                          title.c_str(), title_seed(title)) != 0) {
      std::fprintf(stderr, "datapack: cannot add %s\n", path.c_str());
      return 1;
    }
  }
  if (archive.SaveArchive(argv[1]) != 0) {
    std::fprintf(stderr, "datapack: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
