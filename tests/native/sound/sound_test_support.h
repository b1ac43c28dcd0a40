// Helpers for the sound core's tests: the build-time Ogg fixtures, a byte-level
// sine check, a non-Vorbis Ogg stream, and a recording stand-in for the device.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "sound/ogg_memory_decoder.h"
#include "sound/sound_output.h"

namespace sound_test {

std::string fixture_path(const std::string& name);
torv::OggBytes read_fixture(const std::string& name);
torv::OggBytes bytes_of(std::vector<uint8_t> v);

// 16-bit samples of one channel out of interleaved PCM bytes.
std::vector<int16_t> channel_samples(const std::vector<uint8_t>& pcm, int channels, int channel);
// Sign changes of a sine, with hysteresis so codec noise near zero is not counted.
int count_crossings(const std::vector<int16_t>& samples);

// The same Ogg file with every page moved to another logical stream number.
std::vector<uint8_t> with_serial(const std::vector<uint8_t>& ogg, uint32_t serial);

// The same file with its last page's granule position (the length in sample frames
// the stream claims) set to frames, checksum made right again.
std::vector<uint8_t> with_claimed_frames(const std::vector<uint8_t>& ogg, int64_t frames);

// The same file with the first codebook of its setup header made impossible (every
// code one bit long), page checksums made right again. Empty if the first codebook
// is not stored in the plain way this rewrite handles.
std::vector<uint8_t> with_broken_first_codebook(const std::vector<uint8_t>& ogg);

// A well-formed Ogg stream (first and last page flagged) whose packets are not Vorbis.
std::vector<uint8_t> make_plain_ogg_stream();

// A voice over plain memory whose play cursor moves only when the test says so.
class FakeVoice : public torv::ISoundVoice {
public:
  explicit FakeVoice(uint32_t size) : memory(size, 0xEE) {}
  bool Write(uint32_t offset, const uint8_t* data, uint32_t len) override;
  void Play(bool loop_flag) override {
    playing = true;
    loop = loop_flag;
    ++plays;
  }
  void Stop() override { playing = false; }
  void SetPosition(uint32_t offset) override { cursor = offset; }
  uint32_t PlayCursor() override { return cursor; }
  bool IsPlaying() override { return playing; }
  void SetAttenuation(int32_t hundredths_db) override { attenuation = hundredths_db; }
  bool Restore() override {
    const bool was = lost;
    lost = false;
    return was;
  }
  // Plays bytes from the cursor on, as a device would, and returns them.
  std::vector<uint8_t> Advance(uint32_t bytes);

  std::vector<uint8_t> memory;
  uint32_t cursor = 0;
  bool playing = false;
  bool loop = false;
  bool lost = false;
  int plays = 0;
  int32_t attenuation = 0;
  bool write_past_end = false;  // set when a write ran over the buffer's end
};

// A device whose voices stay reachable from the test after being handed out.
class FakeDevice : public torv::ISoundDevice {
public:
  std::unique_ptr<torv::ISoundVoice> CreateVoice(const torv::PcmFormat& format, uint32_t size) override;
  bool refuse = false;
  std::vector<FakeVoice*> voices;  // every voice made, newest last (not owned)
  std::vector<torv::PcmFormat> formats;
};

}  // namespace sound_test
