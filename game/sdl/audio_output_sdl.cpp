// The mixer on SDL's audio callback.
#include <SDL2/SDL.h>

#include "game/sdl/audio_output.h"

namespace torv {

namespace {

// About 23 ms at 44100 Hz: short enough that an effect follows its cause within
// two frames, long enough for a busy machine.
constexpr Uint16 kCallbackFrames = 1024;

void fill(void* mixer, Uint8* stream, int bytes) {
  static_cast<SoundMixer*>(mixer)->mix(reinterpret_cast<int16_t*>(stream), bytes / (SoundMixer::kChannels * 2));
}

}  // namespace

bool AudioOutput::open(SoundMixer& mixer, std::string* error) {
  close();
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    *error = SDL_GetError();
    return false;
  }
  SDL_AudioSpec want{};
  want.freq = SoundMixer::kRate;
  want.format = AUDIO_S16SYS;
  want.channels = SoundMixer::kChannels;
  want.samples = kCallbackFrames;
  want.callback = fill;
  want.userdata = &mixer;
  // No changes allowed: SDL converts to whatever the device wants.
  const SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0);
  if (device == 0) {
    *error = SDL_GetError();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  device_ = device;
  SDL_PauseAudioDevice(device, 0);
  return true;
}

void AudioOutput::close() {
  if (device_ == 0) return;
  SDL_CloseAudioDevice(device_);
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  device_ = 0;
}

}  // namespace torv
