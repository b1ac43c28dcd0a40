// The three kinds of sound a handle can hold: void (silent), an effect decoded whole,
// and a streamed sound refilled into a ring while it plays. A null voice means no
// device: every operation still answers, nothing is heard.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "sound/ogg_memory_decoder.h"
#include "sound/sound_output.h"
#include "sound/tamSound.h"

namespace torv {

enum class SoundKind { kVoid = 0, kEffect = 1, kStream = 2 };

class CSoundBuffer {
public:
  virtual ~CSoundBuffer() = default;
  virtual SoundKind Kind() const = 0;
  // From the beginning; loop repeats without a gap until Stop.
  virtual void Play(bool loop) = 0;
  virtual void Stop() = 0;
  virtual bool IsPlaying() = 0;
  bool IsLooping() const { return looping_; }
  virtual void SetAttenuation(int32_t /*hundredths_db*/) {}
  // Called by the refill thread; only streamed sounds have work to do.
  virtual void Refill(uint32_t /*read_chunk*/) {}
  // Fills the fields that describe the sound (not volume or device).
  virtual void Describe(TamSoundStatus& status);

protected:
  bool looping_ = false;
};

class CVoidSoundBuffer : public CSoundBuffer {
public:
  SoundKind Kind() const override { return SoundKind::kVoid; }
  void Play(bool loop) override {
    looping_ = loop;
    playing_ = true;
  }
  void Stop() override { playing_ = false; }
  bool IsPlaying() override { return playing_; }

private:
  bool playing_ = false;
};

class CEffectSoundBuffer : public CSoundBuffer {
public:
  // voice may be null (no device); otherwise it already holds pcm.
  CEffectSoundBuffer(const PcmFormat& format, std::vector<uint8_t> pcm, std::unique_ptr<ISoundVoice> voice);
  ~CEffectSoundBuffer() override;
  SoundKind Kind() const override { return SoundKind::kEffect; }
  void Play(bool loop) override;
  void Stop() override;
  bool IsPlaying() override;
  void SetAttenuation(int32_t hundredths_db) override;
  void Describe(TamSoundStatus& status) override;

private:
  PcmFormat format_;
  std::vector<uint8_t> pcm_;  // kept to write again after a lost buffer
  std::unique_ptr<ISoundVoice> voice_;
  bool playing_ = false;  // what was asked, for the silent case
};

// The ring: a voice of ring_bytes that always loops, kept ahead of its play cursor
// by Refill. Positions are counted in bytes since the last Start, so a wrap of the
// cursor is told from a standstill as long as Refill runs at least once per ring.
class CStreamSoundBuffer : public CSoundBuffer {
public:
  CStreamSoundBuffer(std::unique_ptr<COggMemoryDecoder> decoder, std::unique_ptr<ISoundVoice> voice,
                     uint32_t ring_bytes, uint32_t read_chunk);
  ~CStreamSoundBuffer() override;
  SoundKind Kind() const override { return SoundKind::kStream; }
  void Play(bool loop) override;
  void Stop() override;
  bool IsPlaying() override { return playing_; }
  void SetAttenuation(int32_t hundredths_db) override;
  void Refill(uint32_t read_chunk) override;
  void Describe(TamSoundStatus& status) override;

  uint64_t Played() const { return played_; }
  uint64_t Written() const { return written_; }
  uint64_t Seams() const { return seams_; }
  uint32_t RingBytes() const { return ring_bytes_; }

private:
  void Fill(uint64_t bytes, uint32_t read_chunk);
  // Decodes up to len bytes into staging_; 0 once the piece is over for good.
  uint32_t Decode(uint32_t len);

  std::unique_ptr<COggMemoryDecoder> decoder_;
  std::unique_ptr<ISoundVoice> voice_;
  uint32_t ring_bytes_;
  std::vector<uint8_t> staging_;
  bool playing_ = false;
  bool source_done_ = false;  // the piece ended (not looping): only silence follows
  uint64_t end_at_ = 0;       // with source_done_: where the piece's last byte lies
  uint64_t played_ = 0;
  uint64_t written_ = 0;
  uint64_t seams_ = 0;
  uint64_t since_rewind_ = 0;  // bytes decoded since the last rewind
  uint32_t last_cursor_ = 0;
};

}  // namespace torv
