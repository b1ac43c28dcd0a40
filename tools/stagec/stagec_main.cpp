// stagec: compiles a text stage into the game's stage file, or draws its overview.
//   stagec SOURCE.txt OUT.afb
//   stagec --png OUT.png --images DIR [--scale N] [--crop] SOURCE.txt
#include <cstdio>
#include <string>

#include "tools/contentkit/text_source.h"
#include "tools/stagec/stage_file.h"
#include "tools/stagec/stage_overview.h"
#include "tools/stagec/stage_source.h"

namespace {

int usage() {
  std::fprintf(stderr,
               "usage: stagec SOURCE.txt OUT.afb\n"
               "       stagec --png OUT.png --images DIR [--scale N] [--crop] SOURCE.txt\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::string png, images, source, output;
  int scale = 1;
  bool crop = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool has_value = i + 1 < argc;
    if (arg == "--png" && has_value)
      png = argv[++i];
    else if (arg == "--images" && has_value)
      images = argv[++i];
    else if (arg == "--crop")
      crop = true;
    else if (arg == "--scale" && has_value) {
      if (!contentkit::parse_int(argv[++i], scale) || scale < 1 || scale > 24) return usage();
    } else if (!arg.empty() && arg[0] == '-')
      return usage();
    else if (source.empty())
      source = arg;
    else if (output.empty())
      output = arg;
    else
      return usage();
  }
  if (source.empty() || (png.empty() == output.empty()) || (!png.empty() && images.empty())) return usage();

  std::string text;
  if (!contentkit::read_text_file(source, text)) {
    std::fprintf(stderr, "stagec: cannot read %s\n", source.c_str());
    return 1;
  }
  stagec::Stage stage;
  if (std::string e = stagec::parse_stage(text, source, stage); !e.empty()) {
    std::fprintf(stderr, "%s\n", e.c_str());
    return 1;
  }
  if (!output.empty()) {
    const std::vector<uint8_t> bytes = stagec::encode_stage(stage);
    if (std::string e = contentkit::write_binary_file(output, std::string(bytes.begin(), bytes.end())); !e.empty()) {
      std::fprintf(stderr, "stagec: %s\n", e.c_str());
      return 1;
    }
    return 0;
  }
  contentkit::Image overview;
  if (std::string e = stagec::render_overview(stage, images, overview); !e.empty()) {
    std::fprintf(stderr, "stagec: %s\n", e.c_str());
    return 1;
  }
  if (crop) {
    int first = 0, last = 0;
    stagec::used_rows(stage, first, last);
    contentkit::Image part(overview.width(), (last - first + 1) * stagec::kCell);
    for (int y = 0; y < part.height(); ++y)
      for (int x = 0; x < part.width(); ++x) part.at(x, y) = overview.at(x, first * stagec::kCell + y);
    overview = std::move(part);
  }
  if (scale > 1) overview = contentkit::scale_down(overview, scale);
  if (std::string e = contentkit::write_png(png, overview, false); !e.empty()) {
    std::fprintf(stderr, "stagec: %s\n", e.c_str());
    return 1;
  }
  return 0;
}
