// sound_check: finds a sound in a recording of the audio output. The recording is
// 16-bit stereo at the mixer's rate (as recorded from a PulseAudio null sink's
// monitor); the sound is an Ogg file, decoded with the game's decoder and played as
// the mixer plays it (mono on both sides, a piece looping). A busy machine may leave
// gaps in the recording (the device ran dry), so the recording is taken as runs:
// stretches of at least kShortestRun frames that equal the sound sample for sample.
// Prints the frames found in such runs, the longest run, the sounding frames in no
// run, and the recording's peak. Exit status 0 when at least MIN_FRAMES frames were
// found, nothing reached full scale (clipped), and with --alone nothing else sounds.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <unordered_map>
#include <vector>

#include "game/host/sound_mixer.h"

namespace {

constexpr size_t kShortestRun = 32;

std::vector<uint8_t> read_file(const char* path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::vector<int16_t> samples_of(const std::vector<uint8_t>& bytes) {
  std::vector<int16_t> s(bytes.size() / 2);
  for (size_t i = 0; i < s.size(); ++i) s[i] = static_cast<int16_t>(bytes[i * 2] | bytes[i * 2 + 1] << 8);
  return s;
}

uint64_t key_at(const std::vector<int16_t>& s, size_t frame) {
  uint64_t key = 0;
  for (int i = 0; i < 4; ++i) key = key * 1000003u + static_cast<uint16_t>(s[frame * 2 + i]);
  return key;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4 && !(argc == 5 && std::string(argv[4]) == "--alone")) {
    std::fprintf(stderr, "usage: sound_check RECORDING.raw SOUND.ogg MIN_FRAMES [--alone]\n");
    return 2;
  }
  const std::vector<int16_t> recording = samples_of(read_file(argv[1]));
  auto ogg = std::make_shared<std::vector<uint8_t>>(read_file(argv[2]));
  torv::COggMemoryDecoder decoder;
  std::vector<uint8_t> pcm;
  if (!decoder.Open(ogg) || !decoder.ReadAll(pcm, size_t{1} << 30)) {
    std::fprintf(stderr, "sound_check: %s does not decode\n", argv[2]);
    return 2;
  }
  const std::vector<int16_t> sound =
      torv::to_mixer_format(samples_of(pcm), decoder.Format().channels, decoder.Format().rate);
  const size_t sound_frames = sound.size() / 2;
  const size_t recorded_frames = recording.size() / 2;
  if (sound_frames < 4 || recorded_frames < 4) {
    std::fprintf(stderr, "sound_check: nothing to compare\n");
    return 1;
  }
  // Where each run of four frames of the sound starts (silent stretches left out:
  // they match anything quiet).
  std::unordered_multimap<uint64_t, size_t> starts;
  for (size_t f = 0; f + 4 <= sound_frames; ++f) {
    if (sound[f * 2] != 0 || sound[f * 2 + 1] != 0) starts.emplace(key_at(sound, f), f);
  }
  size_t longest = 0, longest_at = 0, found = 0, stray = 0;
  for (size_t r = 0; r + 4 <= recorded_frames;) {
    size_t best = 0;
    const auto range = starts.equal_range(key_at(recording, r));
    for (auto it = range.first; it != range.second; ++it) {
      size_t n = 0;
      while (r + n < recorded_frames) {
        const size_t f = (it->second + n) % sound_frames;  // a piece loops
        if (recording[(r + n) * 2] != sound[f * 2] || recording[(r + n) * 2 + 1] != sound[f * 2 + 1]) break;
        ++n;
      }
      if (n > best) best = n;
    }
    if (best > longest) {
      longest = best;
      longest_at = r;
    }
    if (best >= kShortestRun) {
      found += best;
      r += best;
    } else {
      stray += recording[r * 2] != 0 || recording[r * 2 + 1] != 0;
      ++r;
    }
  }
  int peak = 0;
  for (int16_t s : recording) peak = std::max(peak, std::abs(static_cast<int>(s)));
  const long min_frames = std::strtol(argv[3], nullptr, 10);
  const bool alone = argc == 5;
  std::printf("%s: %zu frames found exactly, the longest run %zu frames at recorded frame %zu; %zu other sounding "
              "frames; recording peak %d\n",
              argv[2], found, longest, longest_at, stray, peak);
  return found >= static_cast<size_t>(min_frames) && peak < 32767 && (!alone || stray == 0) ? 0 : 1;
}
