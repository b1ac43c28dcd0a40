// soundsynth: renders score files into Ogg Vorbis sounds (or WAV for listening).
//   soundsynth --out DIR [--wav] [--report] SCORE.txt...
#include <cstdio>
#include <string>
#include <vector>

#include "tools/contentkit/text_source.h"
#include "tools/soundsynth/audio_file.h"
#include "tools/soundsynth/score.h"
#include "tools/soundsynth/synth.h"

namespace {

int usage() {
  std::fprintf(stderr, "usage: soundsynth --out DIR [--wav] [--report] SCORE.txt...\n");
  return 2;
}

int serial_for(const std::string& name) {
  uint32_t h = 2166136261u;  // FNV-1a: a fixed serial number per sound name
  for (unsigned char c : name) h = (h ^ c) * 16777619u;
  return static_cast<int>(h & 0x7FFFFFFF);
}

}  // namespace

int main(int argc, char** argv) {
  std::string out_dir;
  bool wav = false, report = false;
  std::vector<std::string> inputs;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--out" && i + 1 < argc)
      out_dir = argv[++i];
    else if (arg == "--wav")
      wav = true;
    else if (arg == "--report")
      report = true;
    else if (!arg.empty() && arg[0] == '-')
      return usage();
    else
      inputs.push_back(arg);
  }
  if (out_dir.empty() || inputs.empty()) return usage();
  for (const std::string& path : inputs) {
    std::string text;
    if (!contentkit::read_text_file(path, text)) {
      std::fprintf(stderr, "soundsynth: cannot read %s\n", path.c_str());
      return 1;
    }
    std::vector<soundsynth::Sound> sounds;
    if (std::string e = soundsynth::parse_score(text, path, sounds); !e.empty()) {
      std::fprintf(stderr, "%s\n", e.c_str());
      return 1;
    }
    for (const soundsynth::Sound& s : sounds) {
      const soundsynth::Rendered r = soundsynth::render(s);
      if (r.peak > soundsynth::kPeakLimit) {
        std::fprintf(stderr, "%s: sound \"%s\" peaks at %.3f, above the limit %.3f: lower its gain or volumes\n",
                     path.c_str(), s.name.c_str(), r.peak, soundsynth::kPeakLimit);
        return 1;
      }
      if (report)
        std::printf("%-14s %7.2f s  peak %.3f\n", s.name.c_str(), static_cast<double>(r.frames()) / r.rate, r.peak);
      std::string name = s.name;
      if (wav) name = name.substr(0, name.find_last_of('.')) + ".wav";
      const std::string target = out_dir + "/" + name;
      const std::string e = wav ? soundsynth::write_wav(target, r) : soundsynth::write_ogg(target, r, s.quality, serial_for(s.name));
      if (!e.empty()) {
        std::fprintf(stderr, "soundsynth: %s\n", e.c_str());
        return 1;
      }
    }
  }
  return 0;
}
