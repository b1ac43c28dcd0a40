// bggen: draws the large pictures (stage backgrounds, title, status bar) from scene files.
//   bggen --out DIR [--images DIR] SCENE.txt...
#include <cstdio>
#include <string>
#include <vector>

#include "tools/bggen/scene.h"
#include "tools/contentkit/text_source.h"

namespace {

int usage() {
  std::fprintf(stderr, "usage: bggen --out DIR [--images DIR] SCENE.txt...\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::string out_dir, images_dir = ".";
  std::vector<std::string> inputs;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--out" && i + 1 < argc)
      out_dir = argv[++i];
    else if (arg == "--images" && i + 1 < argc)
      images_dir = argv[++i];
    else if (!arg.empty() && arg[0] == '-')
      return usage();
    else
      inputs.push_back(arg);
  }
  if (out_dir.empty() || inputs.empty()) return usage();
  for (const std::string& path : inputs) {
    std::string text;
    if (!contentkit::read_text_file(path, text)) {
      std::fprintf(stderr, "bggen: cannot read %s\n", path.c_str());
      return 1;
    }
    std::vector<bggen::Picture> pictures;
    if (std::string e = bggen::render_scene(text, path, images_dir, pictures); !e.empty()) {
      std::fprintf(stderr, "%s\n", e.c_str());
      return 1;
    }
    for (const bggen::Picture& p : pictures)
      if (std::string e = contentkit::write_png(out_dir + "/" + p.name, p.image, p.alpha); !e.empty()) {
        std::fprintf(stderr, "bggen: %s\n", e.c_str());
        return 1;
      }
  }
  return 0;
}
