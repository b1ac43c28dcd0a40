// The game's sounds mixed in software into one 16-bit stereo stream, for a front-end
// whose platform gives it a single audio stream to fill (SDL's audio callback).
//
// What the game relies on, kept from the sound module:
// - an effect is decoded whole when loaded; playing it again while it still plays
//   restarts it from its first sample (one voice per effect, never two at once);
// - a looping effect (the time bonus) repeats until stopped;
// - the music is decoded as it plays and loops without a gap: the sample after the
//   piece's last one is its first;
// - everything is summed at full volume, as the hardware mixer of the Windows
//   sound module does, and the sum saturates at the 16-bit limits. The game's sounds
//   leave the headroom for that (effects below 0.6 of full scale, music below 0.4),
//   so an effect over the music never clips.
// Sounds at another rate than the stream's are resampled linearly; at the stream's
// own rate their samples pass unchanged.
//
// SDL2_mixer 2.6 was measured against these rules (its output captured through
// SDL's disk driver): an effect replayed on its channel restarts, the music loops
// without a gap and sums at full volume with saturation. It decodes with a decoder
// of its own, though, where this mixer plays what the game's Ogg decoder gives.
//
// Threads: mix() runs on the audio thread (or the main thread where the platform
// has no other); everything else on the game's thread. One lock guards the voices;
// decoding a new piece of music happens outside it.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "game/resource_tables.h"
#include "sound/ogg_memory_decoder.h"

namespace torv {

class SoundMixer {
public:
  static constexpr int kRate = 44100;
  static constexpr int kChannels = 2;

  SoundMixer();
  ~SoundMixer();
  SoundMixer(const SoundMixer&) = delete;
  SoundMixer& operator=(const SoundMixer&) = delete;

  // Decodes an effect whole. False when the bytes are not an intact Ogg Vorbis
  // stream (the effect then stays silent).
  bool load_effect(Effect effect, const OggBytes& bytes);

  // Starts an effect from its beginning, once or repeating until stop_effect.
  void play_effect(Effect effect, bool loop);
  void stop_effect(Effect effect);

  // Replaces the music by a new piece and plays it in a loop from its start. False
  // when the bytes do not decode: the music is then silent until the next piece.
  bool start_music(const OggBytes& bytes);
  void stop_music();

  // Fills frames sample frames (left, right interleaved) with the sum of everything
  // that plays, and moves every voice on.
  void mix(int16_t* out, int frames);

  // What plays now (for tests and diagnostics).
  bool effect_playing(Effect effect);
  bool music_playing();

private:
  struct Effect16 {
    std::vector<int16_t> samples;  // stereo at kRate
    size_t frames() const { return samples.size() / kChannels; }
  };
  struct EffectVoice {
    std::shared_ptr<const Effect16> sound;
    size_t position = 0;  // next frame
    bool playing = false;
    bool loop = false;
  };
  class MusicStream;

  std::mutex mutex_;
  std::array<EffectVoice, kEffectCount> effects_;
  std::unique_ptr<MusicStream> music_;
  std::vector<int32_t> sum_;  // the mixing sum of one call
};

// Converts 16-bit interleaved PCM of channels (1 or 2) at rate to stereo at
// SoundMixer::kRate, by linear interpolation (exact copies when the rates agree).
std::vector<int16_t> to_mixer_format(const std::vector<int16_t>& pcm, int channels, int rate);

}  // namespace torv
