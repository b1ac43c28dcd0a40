// The software mixer: what the game relies on from its sounds (an effect played
// again restarts, the music loops without a gap, everything is summed at full
// volume and saturates instead of wrapping), checked sample for sample against the
// Ogg decoder's own output, and the game's own sounds mixed at their loudest.
#include "game/host/sound_mixer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "game/host/archive_files.h"

namespace torv {
namespace {

OggBytes fixture(const std::string& name) {
  std::ifstream in(std::string(TORV_OGG_FIXTURES) + "/" + name, std::ios::binary);
  auto bytes = std::make_shared<std::vector<uint8_t>>((std::istreambuf_iterator<char>(in)),
                                                      std::istreambuf_iterator<char>());
  EXPECT_FALSE(bytes->empty()) << "missing fixture " << name;
  return bytes;
}

// The whole stream as the decoder gives it, interleaved 16-bit samples.
std::vector<int16_t> decoded(const OggBytes& bytes, int* channels = nullptr, int* rate = nullptr) {
  COggMemoryDecoder decoder;
  std::vector<uint8_t> pcm;
  EXPECT_TRUE(decoder.Open(bytes));
  EXPECT_TRUE(decoder.ReadAll(pcm, size_t{1} << 28));
  if (channels) *channels = decoder.Format().channels;
  if (rate) *rate = decoder.Format().rate;
  std::vector<int16_t> samples(pcm.size() / 2);
  for (size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<int16_t>(pcm[i * 2] | pcm[i * 2 + 1] << 8);
  return samples;
}

// Mixes frames in uneven pieces, as an audio callback asks for them.
std::vector<int16_t> mix(SoundMixer& mixer, size_t frames) {
  std::vector<int16_t> out(frames * 2);
  static constexpr size_t kPieces[] = {1024, 333, 4096, 7, 512};
  size_t done = 0;
  for (int i = 0; done < frames; ++i) {
    const size_t n = std::min(kPieces[i % 5], frames - done);
    mixer.mix(&out[done * 2], static_cast<int>(n));
    done += n;
  }
  return out;
}

constexpr char kStereo44[] = "tone1000-500_s44_1000ms.ogg";
constexpr char kLongStereo44[] = "tone220-330_s44_3000ms.ogg";
constexpr char kMono22[] = "tone440_m22_500ms.ogg";

TEST(SoundMixer, PlayingAnEffectAgainRestartsItFromItsFirstSample) {
  SoundMixer mixer;
  const OggBytes bytes = fixture(kStereo44);
  const std::vector<int16_t> effect = decoded(bytes);
  ASSERT_TRUE(mixer.load_effect(kEffectJump, bytes));
  mixer.play_effect(kEffectJump, false);
  const std::vector<int16_t> first = mix(mixer, 3000);
  EXPECT_TRUE(std::equal(first.begin(), first.end(), effect.begin()));
  mixer.play_effect(kEffectJump, false);
  const size_t frames = effect.size() / 2;
  const std::vector<int16_t> again = mix(mixer, frames + 100);
  // The whole effect once more from its start, not the rest of the first play on top.
  EXPECT_TRUE(std::equal(effect.begin(), effect.end(), again.begin()));
  EXPECT_TRUE(std::all_of(again.begin() + static_cast<ptrdiff_t>(effect.size()), again.end(),
                          [](int16_t s) { return s == 0; }));
  EXPECT_FALSE(mixer.effect_playing(kEffectJump));
}

TEST(SoundMixer, MusicLoopsWithoutAGapAtTheSeam) {
  SoundMixer mixer;
  const OggBytes bytes = fixture(kLongStereo44);
  const std::vector<int16_t> piece = decoded(bytes);
  ASSERT_TRUE(mixer.start_music(bytes));
  const size_t frames = piece.size() / 2;
  const std::vector<int16_t> out = mix(mixer, frames * 2 + 5000);
  size_t wrong = 0;
  for (size_t i = 0; i < out.size(); ++i) wrong += out[i] != piece[i % piece.size()];
  EXPECT_EQ(wrong, 0u) << "the looped music differs from the piece played over and over";
  EXPECT_TRUE(mixer.music_playing());
}

TEST(SoundMixer, SumsAtFullVolumeAndSaturatesInsteadOfWrapping) {
  SoundMixer mixer;
  const OggBytes bytes = fixture(kStereo44);
  const std::vector<int16_t> sound = decoded(bytes);
  ASSERT_TRUE(mixer.load_effect(kEffectFire, bytes));
  ASSERT_TRUE(mixer.load_effect(kEffectFreeze, bytes));
  ASSERT_TRUE(mixer.start_music(bytes));
  mixer.play_effect(kEffectFire, false);
  mixer.play_effect(kEffectFreeze, false);
  const std::vector<int16_t> out = mix(mixer, sound.size() / 2);
  int saturated = 0;
  for (size_t i = 0; i < out.size(); ++i) {
    const int32_t sum = 3 * static_cast<int32_t>(sound[i]);
    const int32_t expected = std::clamp<int32_t>(sum, -32768, 32767);
    ASSERT_EQ(out[i], expected) << "sample " << i;
    saturated += expected != sum;
  }
  EXPECT_GT(saturated, 0) << "three half-scale sines must exceed full scale somewhere";
}

TEST(SoundMixer, LoopingEffectRepeatsUntilStopped) {
  SoundMixer mixer;
  const OggBytes bytes = fixture(kStereo44);
  const std::vector<int16_t> effect = decoded(bytes);
  ASSERT_TRUE(mixer.load_effect(kEffectTimeBonus, bytes));
  mixer.play_effect(kEffectTimeBonus, true);
  const std::vector<int16_t> out = mix(mixer, effect.size() / 2 * 2 + 10);
  for (size_t i = 0; i < out.size(); ++i) ASSERT_EQ(out[i], effect[i % effect.size()]) << "sample " << i;
  mixer.stop_effect(kEffectTimeBonus);
  const std::vector<int16_t> after = mix(mixer, 100);
  EXPECT_TRUE(std::all_of(after.begin(), after.end(), [](int16_t s) { return s == 0; }));
}

TEST(SoundMixer, MonoPlaysOnBothSidesAndOtherRatesAreResampled) {
  SoundMixer mixer;
  const OggBytes bytes = fixture(kMono22);
  int channels = 0, rate = 0;
  const std::vector<int16_t> mono = decoded(bytes, &channels, &rate);
  ASSERT_EQ(channels, 1);
  ASSERT_EQ(rate, 22050);
  ASSERT_TRUE(mixer.load_effect(kEffectItem, bytes));
  mixer.play_effect(kEffectItem, false);
  const std::vector<int16_t> out = mix(mixer, mono.size() * 2 + 50);
  size_t sounding = 0;
  for (size_t i = 0; i < out.size() / 2; ++i) {
    ASSERT_EQ(out[i * 2], out[i * 2 + 1]);
    if (out[i * 2] != 0) sounding = i + 1;
  }
  // Twice as many frames at twice the rate, each source sample kept at even frames
  // and the odd ones halfway between their neighbours.
  EXPECT_NEAR(static_cast<double>(sounding), 2.0 * static_cast<double>(mono.size()), 2.0);
  for (size_t i = 0; i + 1 < mono.size(); ++i) {
    ASSERT_EQ(out[i * 4], mono[i]);
    ASSERT_EQ(out[i * 4 + 2], static_cast<int16_t>(mono[i] + ((mono[i + 1] - mono[i]) >> 1)));
  }
}

TEST(SoundMixer, NewMusicStartsAtItsBeginningAndDamagedPiecesAreSilent) {
  SoundMixer mixer;
  const OggBytes first = fixture(kLongStereo44);
  const OggBytes second = fixture(kStereo44);
  const std::vector<int16_t> second_pcm = decoded(second);
  ASSERT_TRUE(mixer.start_music(first));
  mix(mixer, 10000);
  ASSERT_TRUE(mixer.start_music(second));
  const std::vector<int16_t> out = mix(mixer, 2000);
  EXPECT_TRUE(std::equal(out.begin(), out.end(), second_pcm.begin()));

  auto damaged = std::make_shared<std::vector<uint8_t>>(second->begin(), second->begin() + second->size() / 2);
  EXPECT_FALSE(mixer.start_music(damaged));
  EXPECT_FALSE(mixer.music_playing());
  const std::vector<int16_t> silence = mix(mixer, 500);
  EXPECT_TRUE(std::all_of(silence.begin(), silence.end(), [](int16_t s) { return s == 0; }));
  EXPECT_FALSE(mixer.load_effect(kEffectBreak, damaged));
  mixer.play_effect(kEffectBreak, false);
  EXPECT_FALSE(mixer.effect_playing(kEffectBreak));
}

// The game's own sounds: the loudest effect started so that its peak meets the
// loudest moment of each piece of music still gives the exact sum, far from full
// scale, so no effect ever clips over the music.
TEST(SoundMixer, GameEffectsOverGameMusicNeverClip) {
  ArchiveReader reader(TORV_DATA_DIR);
  auto read = [&](const std::string& member) {
    auto bytes = std::make_shared<std::vector<uint8_t>>();
    EXPECT_EQ(reader.read(kDataArchive, member, *bytes), 0) << member;
    return OggBytes(bytes);
  };
  auto peak_at = [](const std::vector<int16_t>& s, size_t* where) {
    int peak = 0;
    for (size_t i = 0; i < s.size(); ++i) {
      if (std::abs(s[i]) > peak) {
        peak = std::abs(s[i]);
        *where = i / 2;
      }
    }
    return peak;
  };
  int loudest = -1;
  size_t effect_peak_frame = 0;
  int effect_peak = 0;
  std::vector<int16_t> effect;
  for (int e = 0; e < kEffectCount; ++e) {
    SoundMixer probe;
    ASSERT_TRUE(probe.load_effect(static_cast<Effect>(e), read(kEffectFiles[e])));
    probe.play_effect(static_cast<Effect>(e), false);
    std::vector<int16_t> pcm = mix(probe, SoundMixer::kRate * 4);
    size_t where = 0;
    const int peak = peak_at(pcm, &where);
    if (peak > effect_peak) {
      effect_peak = peak;
      effect_peak_frame = where;
      loudest = e;
      effect = std::move(pcm);
    }
  }
  ASSERT_GE(loudest, 0);
  for (int n = 1; n <= 5; ++n) {
    const std::string name = "BGM" + std::to_string(n) + ".ogg";
    const OggBytes music_bytes = read(name);
    const std::vector<int16_t> music = decoded(music_bytes);
    size_t music_peak_frame = 0;
    const int music_peak = peak_at(music, &music_peak_frame);
    SoundMixer mixer;
    ASSERT_TRUE(mixer.load_effect(static_cast<Effect>(loudest), read(kEffectFiles[loudest])));
    ASSERT_TRUE(mixer.start_music(music_bytes));
    const size_t start = music_peak_frame > effect_peak_frame ? music_peak_frame - effect_peak_frame : 0;
    mix(mixer, start);
    mixer.play_effect(static_cast<Effect>(loudest), false);
    const std::vector<int16_t> out = mix(mixer, effect.size() / 2);
    int out_peak = 0;
    for (size_t i = 0; i < out.size(); ++i) {
      const int32_t sum = music[(start * 2 + i) % music.size()] + effect[i];
      ASSERT_EQ(out[i], sum) << name << " sample " << i;
      out_peak = std::max(out_peak, std::abs(sum));
    }
    EXPECT_LT(out_peak, 32767) << name << " with " << kEffectFiles[loudest];
    EXPECT_LT(music_peak + effect_peak, 32767) << name << " peaks " << music_peak << " + " << effect_peak;
  }
}

}  // namespace
}  // namespace torv
