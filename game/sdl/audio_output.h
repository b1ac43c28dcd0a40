// Platform seam: the audio device the mixer plays through (audio_output_sdl.cpp:
// SDL's default output device, 16-bit stereo at the mixer's rate, filled from SDL's
// audio callback). Without a device the game plays silent.
#pragma once

#include <string>

#include "game/host/sound_mixer.h"

namespace torv {

class AudioOutput {
public:
  AudioOutput() = default;
  ~AudioOutput() { close(); }
  AudioOutput(const AudioOutput&) = delete;
  AudioOutput& operator=(const AudioOutput&) = delete;

  // Opens the device and starts pulling from mixer, which must outlive the device
  // (close() first). False with *error saying why when there is no device.
  bool open(SoundMixer& mixer, std::string* error);
  void close();
  bool is_open() const { return device_ != 0; }

private:
  unsigned device_ = 0;
};

}  // namespace torv
