// spritec: turns text pixel art into PNG files.
//   spritec --palette FILE --out DIR [--preview FILE.png [--scale N]] SPRITES.txt...
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "tools/contentkit/text_source.h"
#include "tools/sprite/sprite_source.h"

namespace {

int usage() {
  std::fprintf(stderr, "usage: spritec --palette FILE --out DIR [--preview FILE.png [--scale N]] SPRITES.txt...\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::string palette_path, out_dir, preview;
  int scale = 4;
  std::vector<std::string> inputs;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool has_value = i + 1 < argc;
    if (arg == "--palette" && has_value)
      palette_path = argv[++i];
    else if (arg == "--out" && has_value)
      out_dir = argv[++i];
    else if (arg == "--preview" && has_value)
      preview = argv[++i];
    else if (arg == "--scale" && has_value) {
      if (!contentkit::parse_int(argv[++i], scale) || scale < 1 || scale > 16) return usage();
    } else if (!arg.empty() && arg[0] == '-')
      return usage();
    else
      inputs.push_back(arg);
  }
  if (palette_path.empty() || (out_dir.empty() && preview.empty()) || inputs.empty()) return usage();

  std::string text;
  if (!contentkit::read_text_file(palette_path, text)) {
    std::fprintf(stderr, "spritec: cannot read %s\n", palette_path.c_str());
    return 1;
  }
  sprite::Palette palette;
  if (std::string e = sprite::parse_palette(text, palette_path, palette); !e.empty()) {
    std::fprintf(stderr, "%s\n", e.c_str());
    return 1;
  }
  std::vector<sprite::Sprite> sprites;
  for (const std::string& path : inputs) {
    if (!contentkit::read_text_file(path, text)) {
      std::fprintf(stderr, "spritec: cannot read %s\n", path.c_str());
      return 1;
    }
    if (std::string e = sprite::parse_sprites(text, path, palette, sprites); !e.empty()) {
      std::fprintf(stderr, "%s\n", e.c_str());
      return 1;
    }
  }
  if (!out_dir.empty())
    for (const sprite::Sprite& s : sprites)
      if (std::string e = contentkit::write_png(out_dir + "/" + s.name, sprite::render_sprite(s, palette), true);
          !e.empty()) {
        std::fprintf(stderr, "spritec: %s\n", e.c_str());
        return 1;
      }
  if (!preview.empty())
    if (std::string e = contentkit::write_png(preview, sprite::contact_sheet(sprites, palette, scale), false);
        !e.empty()) {
      std::fprintf(stderr, "spritec: %s\n", e.c_str());
      return 1;
    }
  return 0;
}
