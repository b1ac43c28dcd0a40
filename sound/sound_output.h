// The output device the sound core plays through: DirectSound on Windows, a
// recording fake in the tests. The core never sees a platform header.
#pragma once

#include <cstdint>
#include <memory>

#include "sound/ogg_memory_decoder.h"

namespace torv {

// One hardware-mixed buffer of `size` bytes of 16-bit PCM, used either whole (an
// effect) or as a ring that the play cursor runs round (a streamed sound).
class ISoundVoice {
public:
  virtual ~ISoundVoice() = default;
  // Copies len bytes to offset; offset + len never passes the buffer's end.
  virtual bool Write(uint32_t offset, const uint8_t* data, uint32_t len) = 0;
  // Starts from the current position; loop: wrap at the end instead of stopping.
  virtual void Play(bool loop) = 0;
  virtual void Stop() = 0;
  virtual void SetPosition(uint32_t offset) = 0;
  // Byte offset of the sample being played, 0 .. size-1.
  virtual uint32_t PlayCursor() = 0;
  virtual bool IsPlaying() = 0;
  // Attenuation in hundredths of a decibel, -10000 (silent) to 0.
  virtual void SetAttenuation(int32_t hundredths_db) = 0;
  // True when the device took the memory away and gave it back empty: the caller
  // must write the contents again.
  virtual bool Restore() = 0;
};

class ISoundDevice {
public:
  virtual ~ISoundDevice() = default;
  // A stopped, silent buffer, or null when the device refuses one.
  virtual std::unique_ptr<ISoundVoice> CreateVoice(const PcmFormat& format, uint32_t size) = 0;
};

}  // namespace torv
