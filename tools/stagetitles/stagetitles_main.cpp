// stagetitles: writes the title of every stage in a stage archive, one a line, as
// the Shift-JIS bytes the game shows in its status bar. The page's font is cut down
// to the characters of these and of the game's own texts (web/subset_font.py).
//   stagetitles ARCHIVE OUT
#include <cstdio>
#include <string>

#include "archive/tam_archive_expand.h"
#include "game/stage_file.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fputs("usage: stagetitles ARCHIVE OUT\n", stderr);
    return 2;
  }
  const char* archive_path = argv[1];
  CTamArchiveExpand archive;
  if (archive.OpenArchive(archive_path) != 0) {
    std::fprintf(stderr, "stagetitles: '%s' is not a readable archive\n", archive_path);
    return 1;
  }
  std::string titles;
  for (int i = 0; i < archive.GetDataCount(); ++i) {
    unsigned char* data = nullptr;
    const int size = archive.GetMemory(i, &data);
    torv::StageFile stage;
    const torv::StageFileError error =
        size < 0 ? torv::StageFileError::kTruncated : torv::read_stage_file(data, static_cast<size_t>(size), &stage);
    // A member the game could not load would leave its title's characters out.
    if (error != torv::StageFileError::kNone) {
      std::fprintf(stderr, "stagetitles: '%s', member '%s': %s\n", archive_path, archive.GetFileTitle(i),
                   torv::stage_file_error_text(error));
      return 1;
    }
    titles += stage.title + "\n";
  }
  std::FILE* out = std::fopen(argv[2], "wb");
  bool written = out && std::fwrite(titles.data(), 1, titles.size(), out) == titles.size();
  if (out && std::fclose(out) != 0) written = false;
  if (!written) {
    std::fprintf(stderr, "stagetitles: cannot write '%s'\n", argv[2]);
    return 1;
  }
  return 0;
}
