// Software mixing of the effects and the looping music.
#include "game/host/sound_mixer.h"

#include <algorithm>
#include <limits>

namespace torv {

namespace {

// Longest effect decoded whole: ten minutes at the highest rate accepted, stereo.
constexpr size_t kMaxEffectBytes = size_t{600} * 192000 * 4;
// Bytes decoded at a time while the music plays.
constexpr long kMusicChunkBytes = 16384;
constexpr int kFractionBits = 32;
constexpr uint64_t kOne = uint64_t{1} << kFractionBits;

int16_t read_le16(const uint8_t* p) { return static_cast<int16_t>(static_cast<uint16_t>(p[0] | p[1] << 8)); }

int16_t saturate(int32_t value) {
  return static_cast<int16_t>(std::clamp<int32_t>(value, std::numeric_limits<int16_t>::min(),
                                                  std::numeric_limits<int16_t>::max()));
}

// Linear interpolation from a source rate to the mixer's: next(frame) gives the
// source's next stereo frame (false at its end). At equal rates every source frame
// comes out unchanged.
class Resampler {
public:
  explicit Resampler(int source_rate)
      : step_((static_cast<uint64_t>(source_rate) << kFractionBits) / SoundMixer::kRate) {}

  template <typename Next>
  bool produce(int16_t* out, Next&& next) {
    if (!primed_) {
      if (!next(a_)) return false;
      have_b_ = next(b_);
      primed_ = true;
    } else {
      while (fraction_ >= kOne) {
        fraction_ -= kOne;
        if (!have_b_) return false;
        a_[0] = b_[0];
        a_[1] = b_[1];
        have_b_ = next(b_);
      }
    }
    for (int c = 0; c < SoundMixer::kChannels; ++c) {
      if (fraction_ == 0 || !have_b_) {
        out[c] = a_[c];
      } else {
        const int64_t delta = static_cast<int64_t>(b_[c]) - a_[c];
        out[c] = static_cast<int16_t>(a_[c] + ((delta * static_cast<int64_t>(fraction_)) >> kFractionBits));
      }
    }
    fraction_ += step_;
    return true;
  }

private:
  uint64_t step_;
  uint64_t fraction_ = 0;
  int16_t a_[SoundMixer::kChannels] = {};
  int16_t b_[SoundMixer::kChannels] = {};
  bool have_b_ = false;
  bool primed_ = false;
};

}  // namespace

std::vector<int16_t> to_mixer_format(const std::vector<int16_t>& pcm, int channels, int rate) {
  std::vector<int16_t> out;
  if (channels < 1 || channels > 2 || rate <= 0) return out;
  const size_t frames = pcm.size() / static_cast<size_t>(channels);
  out.reserve(static_cast<size_t>(static_cast<double>(frames) * SoundMixer::kRate / rate + 2) * 2);
  size_t i = 0;
  Resampler resampler(rate);
  int16_t frame[2];
  while (resampler.produce(frame, [&](int16_t* f) {
    if (i >= frames) return false;
    f[0] = pcm[i * channels];
    f[1] = pcm[i * channels + channels - 1];
    ++i;
    return true;
  })) {
    out.push_back(frame[0]);
    out.push_back(frame[1]);
  }
  return out;
}

// The music: decoded chunk by chunk as the stream needs it, rewound at its end.
class SoundMixer::MusicStream {
public:
  explicit MusicStream(std::unique_ptr<COggMemoryDecoder> decoder)
      : decoder_(std::move(decoder)),
        channels_(decoder_->Format().channels),
        resampler_(decoder_->Format().rate),
        chunk_(static_cast<size_t>(kMusicChunkBytes)) {}

  // Adds frames of music to sum. False once the piece cannot go on (damaged
  // further in, or it cannot start over): it is then over.
  bool add_to(int32_t* sum, int frames) {
    int16_t frame[2];
    for (int i = 0; i < frames; ++i) {
      if (!resampler_.produce(frame, [this](int16_t* f) { return next_frame(f); })) return false;
      sum[i * 2] += frame[0];
      sum[i * 2 + 1] += frame[1];
    }
    return true;
  }

private:
  bool next_frame(int16_t* f) {
    const size_t frame_bytes = static_cast<size_t>(channels_) * 2;
    if (position_ + frame_bytes > length_ && !refill()) return false;
    const uint8_t* p = chunk_.data() + position_;
    f[0] = read_le16(p);
    f[1] = read_le16(p + (channels_ - 1) * 2);
    position_ += frame_bytes;
    return true;
  }

  bool refill() {
    position_ = 0;
    length_ = 0;
    long got = decoder_->Read(chunk_.data(), kMusicChunkBytes);
    if (got == 0) {
      // The end of the piece: its first sample follows at once.
      if (!decoder_->Rewind()) return false;
      got = decoder_->Read(chunk_.data(), kMusicChunkBytes);
    }
    if (got <= 0) return false;
    length_ = static_cast<size_t>(got);
    return true;
  }

  std::unique_ptr<COggMemoryDecoder> decoder_;
  int channels_;
  Resampler resampler_;
  std::vector<uint8_t> chunk_;
  size_t position_ = 0;
  size_t length_ = 0;
};

SoundMixer::SoundMixer() = default;
SoundMixer::~SoundMixer() = default;

bool SoundMixer::load_effect(Effect effect, const OggBytes& bytes) {
  COggMemoryDecoder decoder;
  std::vector<uint8_t> pcm;
  if (!bytes || !decoder.Open(bytes) || !decoder.ReadAll(pcm, kMaxEffectBytes)) return false;
  std::vector<int16_t> samples(pcm.size() / 2);
  for (size_t i = 0; i < samples.size(); ++i) samples[i] = read_le16(&pcm[i * 2]);
  auto sound = std::make_shared<Effect16>();
  sound->samples = to_mixer_format(samples, decoder.Format().channels, decoder.Format().rate);
  std::lock_guard<std::mutex> lock(mutex_);
  effects_[effect] = EffectVoice{std::move(sound), 0, false, false};
  return true;
}

void SoundMixer::play_effect(Effect effect, bool loop) {
  std::lock_guard<std::mutex> lock(mutex_);
  EffectVoice& voice = effects_[effect];
  if (!voice.sound) return;
  voice.position = 0;
  voice.playing = true;
  voice.loop = loop;
}

void SoundMixer::stop_effect(Effect effect) {
  std::lock_guard<std::mutex> lock(mutex_);
  effects_[effect].playing = false;
}

bool SoundMixer::start_music(const OggBytes& bytes) {
  std::unique_ptr<MusicStream> next;
  auto decoder = std::make_unique<COggMemoryDecoder>();
  if (bytes && decoder->Open(bytes)) next = std::make_unique<MusicStream>(std::move(decoder));
  const bool started = next != nullptr;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    music_.swap(next);
  }
  return started;  // the old piece is released here, outside the lock
}

void SoundMixer::stop_music() {
  std::unique_ptr<MusicStream> old;
  std::lock_guard<std::mutex> lock(mutex_);
  music_.swap(old);
}

void SoundMixer::mix(int16_t* out, int frames) {
  if (frames <= 0) return;
  std::unique_ptr<MusicStream> ended;
  std::lock_guard<std::mutex> lock(mutex_);
  sum_.assign(static_cast<size_t>(frames) * kChannels, 0);
  if (music_ && !music_->add_to(sum_.data(), frames)) ended.swap(music_);
  for (EffectVoice& voice : effects_) {
    if (!voice.playing) continue;
    const size_t length = voice.sound->frames();
    const int16_t* samples = voice.sound->samples.data();
    for (int i = 0; i < frames && voice.playing; ++i) {
      if (voice.position >= length) {
        if (!voice.loop || length == 0) {
          voice.playing = false;
          break;
        }
        voice.position = 0;
      }
      sum_[static_cast<size_t>(i) * 2] += samples[voice.position * 2];
      sum_[static_cast<size_t>(i) * 2 + 1] += samples[voice.position * 2 + 1];
      ++voice.position;
    }
    if (voice.position >= length && !voice.loop) voice.playing = false;
  }
  for (size_t i = 0; i < sum_.size(); ++i) out[i] = saturate(sum_[i]);
}

bool SoundMixer::effect_playing(Effect effect) {
  std::lock_guard<std::mutex> lock(mutex_);
  return effects_[effect].playing;
}

bool SoundMixer::music_playing() {
  std::lock_guard<std::mutex> lock(mutex_);
  return music_ != nullptr;
}

}  // namespace torv
