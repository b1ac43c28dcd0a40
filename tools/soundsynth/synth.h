// The synthesiser: renders a parsed score into floating-point samples.
#pragma once

#include <vector>

#include "tools/soundsynth/score.h"

namespace soundsynth {

struct Rendered {
  int rate = 44100;
  int channels = 1;
  std::vector<float> samples;  // interleaved, frames * channels
  double peak = 0.0;           // largest absolute sample
  size_t frames() const { return channels ? samples.size() / channels : 0; }
};

// A looping sound is exactly as long as its tracks, and what rings past the end
// (releases, echoes) wraps round to the start, so the loop has no seam. Other
// sounds last until their last note and echo have died away.
Rendered render(const Sound& sound);

// Loudest sample allowed in a finished sound: 1 dB below full scale leaves room for
// the encoder's small overshoots.
constexpr double kPeakLimit = 0.891;

}  // namespace soundsynth
